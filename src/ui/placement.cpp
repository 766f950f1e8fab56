#include "placement.h"

#include "twips.h"

#include <QScreen>
#include <QWidget>

#include <cmath>

namespace kurubako {

namespace {

int roundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value)); // the default rounding mode: halves to even
}

} // namespace

QPoint dialogPosition(const QRect &mainFrame, const QSize &dialogSize, const QSize &screen)
{
    int top = roundHalfEven(static_cast<double>(mainFrame.top()) + 1000);
    if (static_cast<qint64>(top) + dialogSize.height() > screen.height())
        top = screen.height() - dialogSize.height();

    int left = roundHalfEven(mainFrame.width() / 2.0 + mainFrame.left() - dialogSize.width() / 2.0);
    if (static_cast<qint64>(left) + dialogSize.width() > screen.width())
        left = screen.width() - dialogSize.width();
    else if (left < 0)
        left = 0;
    return {left, top};
}

void placeBelow(QWidget *dialog, const QWidget *mainWindow)
{
    if (!mainWindow)
        return;
    // The dialog has no frame before it is shown; it gets the same decorations as the main
    // window, so its outer size is its own size plus the main window's frame margins.
    const QRect mainFrame = mainWindow->frameGeometry();
    const QRect mainClient = mainWindow->geometry();
    const int frameWidth = mainFrame.width() - mainClient.width();
    const int frameHeight = (mainClient.top() - mainFrame.top()) + (mainFrame.bottom() - mainClient.bottom());
    const QSize outer = dialog->size() + QSize(frameWidth, frameHeight);
    const QScreen *screen = mainWindow->screen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize();

    const QPoint position =
        dialogPosition({pixelsToTwips(mainFrame.left()), pixelsToTwips(mainFrame.top()),
                        pixelsToTwips(mainFrame.width()), pixelsToTwips(mainFrame.height())},
                       {pixelsToTwips(outer.width()), pixelsToTwips(outer.height())},
                       {pixelsToTwips(screenSize.width()), pixelsToTwips(screenSize.height())});
    dialog->move(twipsToPixels(position.x()), twipsToPixels(position.y()));
}

} // namespace kurubako
