#pragma once

#include <QList>
#include <QStringList>

namespace kurubako {

// The folder the first run offers for PostPet: its usual installation folder, on Windows or
// inside the Wine prefix in use ($WINEPREFIX when set, else ~/.wine), under
// "Program Files (x86)" where PostPet lies there (64-bit Windows or a 64-bit prefix).
QString defaultPostPetFolder();

// A place the folder chooser offers in its drive list.
struct Drive
{
    QString label; // as the list shows it: "C:\", "/", "C: (~/.wine)"
    QString path; // the folder it opens
};

// The drives of the machine on Windows. Elsewhere "/", the home folder, the C: drive (drive_c)
// of every Wine prefix found ($WINEPREFIX, ~/.wine, each prefix of ~/.local/share/wineprefixes),
// and each mounted volume.
QList<Drive> folderChooserDrives();

} // namespace kurubako
