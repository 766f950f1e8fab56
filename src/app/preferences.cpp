#include "preferences.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace kurubako {

QString Preferences::snackDir() const
{
    return snackDirOf(postPetDir);
}

QString snackDirOf(const QString &postPetDir)
{
    return postPetDir + QDir::separator() + u"おやつ"_s;
}

} // namespace kurubako
