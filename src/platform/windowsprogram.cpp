#include "windowsprogram.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace kurubako {

ExecutableKind executableKind(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ExecutableKind::Neither;
    const QByteArray dosHeader = file.read(0x40);
    if (dosHeader.size() == 0x40 && dosHeader.startsWith("MZ")) {
        const quint32 peOffset = qFromLittleEndian<quint32>(dosHeader.constData() + 0x3C);
        if (file.seek(peOffset) && file.read(4) == QByteArrayView("PE\0\0", 4))
            return ExecutableKind::Windows;
    }
    return QFileInfo(path).isExecutable() ? ExecutableKind::Native : ExecutableKind::Neither;
}

} // namespace kurubako
