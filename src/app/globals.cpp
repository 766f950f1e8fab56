#include "globals.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace kurubako {

void Globals::setPostPetDir(const QString &folder)
{
    postPetDir = folder;
    snackDir = snackDirOf(folder);
}

QString snackDirOf(const QString &postPetDir)
{
    return postPetDir + QDir::separator() + u"おやつ"_s;
}

} // namespace kurubako
