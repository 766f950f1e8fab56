#pragma once

#include <QFont>

namespace kurubako {

// The program's font, "ＭＳ Ｐゴシック", at a point size; where it is missing under that name
// the system substitutes it under its English name, MS PGothic, or IPAPGothic, which has the
// same metrics.
QFont programFont(qreal pointSize, bool bold = false);

// Makes the program's font at 9 pt the font of every window and of what Qt shows of its own
// (menus' drop-downs, pop-up menus, message boxes), and its name resolve to a font this
// system has.
void useProgramFont();

} // namespace kurubako
