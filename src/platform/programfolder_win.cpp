#include "programfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace kurubako {

QString programFolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

} // namespace kurubako
