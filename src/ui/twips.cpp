#include "twips.h"

#include "fonts.h"

#include <QWidget>

#include <cmath>

namespace kurubako {

int twipsToPixels(int twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixel));
}

int pixelsToTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}

QRect toPixels(const TwipRect &rect)
{
    return {twipsToPixels(rect.left), twipsToPixels(rect.top), twipsToPixels(rect.width),
            twipsToPixels(rect.height)};
}

void place(QWidget *control, const Placement &placement)
{
    control->setGeometry(toPixels(placement.rect));
    if (placement.pointSize > 0)
        control->setFont(programFont(placement.pointSize, placement.bold));
}

} // namespace kurubako
