#pragma once

#include <QString>

class QLabel;

namespace kurubako {

// Shows `path` in `label`, whole in its tool tip, and as its text on at most two lines of the
// label's width: broken after a separator or a space where the second line can then hold the
// rest, else at any character. Where two lines are too short, the middle gives way to "…": the
// first line keeps the path's start, the second its end, the last folder's name whole wherever
// a line can hold it.
void showPath(QLabel &label, const QString &path);

} // namespace kurubako
