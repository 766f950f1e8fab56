#include "fonts.h"

#include <QApplication>
#include <QFontDatabase>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

const QString ProgramFontFamily = u"ＭＳ Ｐゴシック"_s;
// First the same font under its English name, as Windows in another language than Japanese
// names it; then fonts of the same metrics that other systems have.
const QStringList FontSubstitutes = {u"MS PGothic"_s, u"IPAPGothic"_s, u"IPAPゴシック"_s, u"VL PGothic"_s,
                                     u"Noto Sans CJK JP"_s};

// The program's font where the system has it, else the first substitute it has. Looked up
// once: asking the font database for a missing family by name is slow.
const QString &installedFamily()
{
    static const QString family = [] {
        if (QFontDatabase::hasFamily(ProgramFontFamily))
            return ProgramFontFamily;
        for (const QString &substitute : FontSubstitutes) {
            if (QFontDatabase::hasFamily(substitute))
                return substitute;
        }
        return ProgramFontFamily;
    }();
    return family;
}

} // namespace

QFont programFont(qreal pointSize, bool bold)
{
    QFont font(installedFamily());
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void useProgramFont()
{
    QFont::insertSubstitutions(ProgramFontFamily, FontSubstitutes);
    // Windows do not pass their font on to the windows they open, menus and boxes included:
    // those take the application's.
    QApplication::setFont(programFont(9));
}

} // namespace kurubako
