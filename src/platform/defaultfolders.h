#pragma once

#include <QStringList>

namespace kurubako {

// The folder the first run offers for PostPet: its usual installation folder on Windows (the
// one under "Program Files (x86)" where only that one exists), the same folder inside the
// default Wine prefix elsewhere.
QString defaultPostPetFolder();

// The places a user starts browsing from: the drives on Windows; elsewhere "/", the home
// folder and each mounted volume.
QStringList browseRoots();

} // namespace kurubako
