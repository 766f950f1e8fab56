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

DialogPosition PlaceBelowMainWindow(int mainTop, int mainLeft, int mainWidth, int dialogHeight, int dialogWidth,
                                    int screenHeight, int screenWidth)
{
    int top = roundHalfEven(static_cast<double>(mainTop) + 1000);
    if (static_cast<qint64>(top) + dialogHeight > screenHeight)
        top = screenHeight - dialogHeight;

    int left = roundHalfEven(mainWidth / 2.0 + mainLeft - dialogWidth / 2.0);
    if (static_cast<qint64>(left) + dialogWidth > screenWidth)
        left = screenWidth - dialogWidth;
    else if (left < 0)
        left = 0;
    return {top, left};
}

void placeBelowMainWindow(QWidget *dialog, const QWidget *mainWindow)
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

    const DialogPosition position = PlaceBelowMainWindow(
        pixelsToTwips(mainFrame.top()), pixelsToTwips(mainFrame.left()), pixelsToTwips(mainFrame.width()),
        pixelsToTwips(outer.height()), pixelsToTwips(outer.width()), pixelsToTwips(screenSize.height()),
        pixelsToTwips(screenSize.width()));
    dialog->move(twipsToPixels(position.left), twipsToPixels(position.top));
}

} // namespace kurubako
