#include "processstarter.h"

#include <QProcess>

namespace kurubako {

bool QtProcessStarter::startDetached(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

} // namespace kurubako
