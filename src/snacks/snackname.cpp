#include "snackname.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace kurubako {

QString snackExtension(SnackSet set)
{
    return set == SnackSet::Stock ? u".pa_"_s : u".pac"_s;
}

SnackSet otherSet(SnackSet set)
{
    return set == SnackSet::Stock ? SnackSet::Today : SnackSet::Stock;
}

std::optional<SnackSet> snackSetOf(const QString &fileName)
{
    if (fileName.size() <= 3)
        return std::nullopt;
    const QStringView ending = QStringView(fileName).right(3);
    if (ending.compare(u"pa_", Qt::CaseInsensitive) == 0)
        return SnackSet::Stock;
    if (ending.compare(u"pac", Qt::CaseInsensitive) == 0)
        return SnackSet::Today;
    return std::nullopt;
}

qsizetype snackNameLength(QStringView fileName)
{
    // The three extension letters, then one more character, counted as a whole code point.
    qsizetype end = fileName.size() - 3;
    if (end <= 0)
        return 0;
    --end;
    if (end > 0 && fileName.at(end).isLowSurrogate() && fileName.at(end - 1).isHighSurrogate())
        --end;
    return end;
}

std::optional<QChar> firstForbiddenChar(QStringView name)
{
    for (const QChar c : name) {
        if (ForbiddenNameChars.contains(c))
            return c;
    }
    return std::nullopt;
}

bool hasControlChar(QStringView name)
{
    return std::any_of(name.begin(), name.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}

} // namespace kurubako
