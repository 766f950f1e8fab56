#include "preferences.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace kurubako {

QString Preferences::snackDir() const
{
    return postPetDir + QDir::separator() + u"おやつ"_s;
}

} // namespace kurubako
