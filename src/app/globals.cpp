#include "globals.h"

#include <QDir>

namespace kurubako {

void Globals::setPostPetDir(const QString &folder)
{
    PostPetDir = folder;
    SnackDir = snackDirOf(folder);
}

QString snackDirOf(const QString &postPetDir)
{
    return postPetDir + QDir::separator() + u"おやつ"_qs;
}

} // namespace kurubako
