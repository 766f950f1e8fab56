#include "fileops.h"

#include <QStringDecoder>

namespace kurubako {

QString displayName(const QByteArray &native)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString name = utf8.decode(native);
    if (!utf8.hasError())
        return name;
    QStringDecoder sjis("Windows-31J", QStringConverter::Flag::Stateless);
    if (sjis.isValid()) {
        QString decoded = sjis.decode(native);
        if (!sjis.hasError() && !decoded.contains(QChar::ReplacementCharacter))
            return decoded;
    }
    return name;
}

QString foldedName(const QString &name)
{
    return name.toCaseFolded();
}

} // namespace kurubako
