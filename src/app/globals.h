#pragma once

#include <QString>

namespace kurubako {

// The state that lives for the whole run, shared by the windows. One instance exists per
// run; the windows are handed it.
struct Globals
{
    QString PostPetDir;           // PostPet's folder; empty while unknown
    QString SnackDir;             // always snackDirOf(PostPetDir)
    qint32 WindowTop = 0;         // main window's outer top, in twips
    qint32 WindowLeft = 0;        // main window's outer left, in twips
    bool SkipConfirm = false;     // "Chk1": ask no confirmation questions
    qint16 DblClickAction = 0;    // "Chk2": 0 = a double-click moves, 1 = it renames
    float StoredVersion = 0.0f;   // "ver" as read back from the store
    float ProgramVersion = 0.0f;  // the program's own version, set first at start-up
    QString EditedPostPetDir;     // the settings dialog's working copy of the folder
    bool FolderChooserFromSettings = false; // the folder chooser serves the settings dialog
    qint16 RenameSource = 0;      // 1 = stock list, 2 = today's list

    // Sets PostPetDir and SnackDir together, as every change of the folder must.
    void setPostPetDir(const QString &folder);
};

// The snack folder of a PostPet folder: the folder, the platform's separator, "おやつ".
QString snackDirOf(const QString &postPetDir);

} // namespace kurubako
