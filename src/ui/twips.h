#pragma once

#include <QRect>

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

// Where a control stands in its container, and the size of the program's font it is drawn
// in (0: its window's font).
struct Placement
{
    TwipRect rect;
    qreal pointSize = 0;
    bool bold = false;
};

int twipsToPixels(int twips);
int pixelsToTwips(int pixels);
QRect toPixels(const TwipRect &rect);

// Places `control` relative to its parent and gives it its font.
void place(QWidget *control, const Placement &placement);

} // namespace kurubako
