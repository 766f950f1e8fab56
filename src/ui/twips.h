#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QWidget;

namespace kurubako {

// Window geometry is given in twips (1/1440 inch). Fifteen twips make one device-independent
// pixel; Qt's high-DPI scaling takes it from there.
inline constexpr int TwipsPerPixel = 15;

struct TwipRect
{
    int left;
    int top;
    int width;
    int height;
};

int twipsToPixels(int twips);
int pixelsToTwips(int pixels);
QRect toPixels(const TwipRect &rect);

// Places `control` at `rect`, relative to its parent, and gives it the program's font at
// `pointSize` (0: it keeps its window's font).
void place(QWidget *control, const TwipRect &rect, qreal pointSize = 0, bool bold = false);

// The program's font, "ＭＳ Ｐゴシック", at a point size; where it is missing under that name
// the system substitutes it under its English name, MS PGothic, or IPAPGothic, which has the
// same metrics.
QFont programFont(qreal pointSize, bool bold = false);

// Makes the program's font at 9 pt the font of every window and of what Qt shows of its own
// (menus' drop-downs, pop-up menus, message boxes), and its name resolve to a font this
// system has.
void useProgramFont();

} // namespace kurubako
