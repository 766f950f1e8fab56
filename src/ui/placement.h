#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace kurubako {

// Where a dialog's outer top-left corner goes, all in twips: 1000 below the main window's
// outer top, centred on it, pushed back inside the screen at the bottom and the right, and
// at the left to 0. A dialog that would end exactly at the screen's edge stays; there is no
// lower limit for the top. Halves round to the even neighbour.
QPoint dialogPosition(const QRect &mainFrame, const QSize &dialogSize, const QSize &screen);

// Moves `dialog`, not yet shown, to its dialogPosition below `mainWindow`.
void placeBelow(QWidget *dialog, const QWidget *mainWindow);

} // namespace kurubako
