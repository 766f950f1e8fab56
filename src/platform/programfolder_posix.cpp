#include "programfolder.h"

#include <QCoreApplication>

namespace kurubako {

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

} // namespace kurubako
