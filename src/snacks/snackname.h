#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kurubako {

// The two sets of snacks, told apart by the snack file's extension.
enum class SnackSet {
    Stock, // ".pa_": set aside until it is added to today's snacks again
    Today, // ".pac": one of today's snacks
};

// The extension of a set's files, with its dot, in lower case.
QString snackExtension(SnackSet set);
SnackSet otherSet(SnackSet set);

// The set a file belongs to by the last three characters of its name in any letter case.
// The character before them is not looked at. A name of only those three characters has no
// snack name and belongs to no set.
std::optional<SnackSet> snackSetOf(const QString &fileName);

// How many characters of a file name its snack name keeps: all but the last four (the dot
// and the extension, normally).
qsizetype snackNameLength(QStringView fileName);

// One entry of a snack list: the name the list shows and the file the scan found.
struct Snack
{
    QString name;
    QByteArray file; // native name of the file behind the entry
};

// The characters a new snack name may not hold, compared by exact code point.
inline constexpr QStringView ForbiddenNameChars = u"\\/:.;*?\"<>|";

// The first character of `name` that ForbiddenNameChars holds, if any.
std::optional<QChar> firstForbiddenChar(QStringView name);

// Whether `name` holds a control character (U+0000 to U+001F, U+007F), which Windows refuses
// in a file name and a list cannot show.
bool hasControlChar(QStringView name);

} // namespace kurubako
