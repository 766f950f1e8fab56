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

namespace {

// UTF-8 as it stands, a byte order mark at the start included: fromUtf8() would drop that
// one, and with it part of the file's name.
QString fromUtf8Name(QByteArrayView native)
{
    if (!native.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(native);
    QStringDecoder utf8(QStringConverter::Utf8,
                        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return utf8.decode(native);
}

} // namespace

QString displayName(QByteArrayView native)
{
    if (native.isValidUtf8())
        return fromUtf8Name(native);
    QStringDecoder sjis("Windows-31J", QStringConverter::Flag::Stateless);
    if (sjis.isValid()) {
        QString decoded = sjis.decode(native);
        if (!sjis.hasError() && !decoded.contains(QChar::ReplacementCharacter))
            return decoded;
    }
    return fromUtf8Name(native); // with replacement characters
}

QString foldedName(const QString &name)
{
    QString upper = name;
    for (QChar &unit : upper)
        unit = unit.toUpper(); // a surrogate stays as it is
    return upper;
}

} // namespace kurubako
