#pragma once

class QWidget;

namespace kurubako {

struct DialogPosition
{
    int top;
    int left;
};

// Where a dialog goes: 1000 twips below the main window's top, centred on it, pushed back
// inside the screen at the bottom and the right, and at the left to 0. A dialog that would
// end exactly at the screen's edge stays; there is no lower limit for the top. All values in
// twips, sizes outer sizes; halves round to the even neighbour.
DialogPosition PlaceBelowMainWindow(int mainTop, int mainLeft, int mainWidth, int dialogHeight, int dialogWidth,
                                    int screenHeight, int screenWidth);

// Moves `dialog` (not yet shown) to its place below `mainWindow`.
void placeBelowMainWindow(QWidget *dialog, const QWidget *mainWindow);

} // namespace kurubako
