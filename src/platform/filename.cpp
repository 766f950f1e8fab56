#include "fileops.h"

#include <QStringDecoder>

namespace kurubako {

std::optional<QList<FileName>> FileOps::listFiles(const QString &folder)
{
    QList<FileName> files;
    if (!visitFiles(folder, [&](QByteArrayView native) {
            files.append({native.toByteArray(), displayName(native)});
        }))
        return std::nullopt;
    return files;
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

QByteArray encodeName(const QString &name)
{
    return name.toUtf8();
}

bool isDeviceName(QStringView fileName)
{
    QStringView base = fileName.left(fileName.indexOf(u'.'));
    while (base.endsWith(u' ') || base.endsWith(u'.'))
        base.chop(1);
    for (const QStringView device : {u"CON", u"PRN", u"AUX", u"NUL"}) {
        if (base.compare(device, Qt::CaseInsensitive) == 0)
            return true;
    }
    if (base.size() != 4)
        return false;
    const QStringView port = base.left(3);
    const QChar number = base.at(3);
    return (port.compare(u"COM", Qt::CaseInsensitive) == 0 || port.compare(u"LPT", Qt::CaseInsensitive) == 0)
        && ((number >= u'0' && number <= u'9') || number == u'\u00B9' || number == u'\u00B2'
            || number == u'\u00B3');
}

QString foldedName(const QString &name)
{
    QString upper = name;
    for (QChar &unit : upper)
        unit = unit.toUpper(); // a surrogate stays as it is
    return upper;
}

} // namespace kurubako
