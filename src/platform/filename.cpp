#include "fileops.h"

#include <QStringDecoder>

namespace kurubako {

bool FileOps::visitFiles(const QString &folder, const std::function<void(QByteArrayView native)> &visit)
{
    const auto files = listFiles(folder);
    if (!files)
        return false;
    for (const FileName &file : *files)
        visit(file.native);
    return true;
}

QString displayName(QByteArrayView native)
{
    if (native.isValidUtf8())
        return QString::fromUtf8(native);
    QStringDecoder sjis("Windows-31J", QStringConverter::Flag::Stateless);
    if (sjis.isValid()) {
        QString decoded = sjis.decode(native);
        if (!sjis.hasError() && !decoded.contains(QChar::ReplacementCharacter))
            return decoded;
    }
    return QString::fromUtf8(native); // with replacement characters
}

QString foldedName(const QString &name)
{
    return name.toCaseFolded();
}

} // namespace kurubako
