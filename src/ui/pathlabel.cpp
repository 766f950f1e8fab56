#include "pathlabel.h"

#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QTextBoundaryFinder>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

// Where `text` can be broken: between any two characters as the user sees them.
QList<qsizetype> characterBoundaries(const QString &text)
{
    QList<qsizetype> boundaries;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary())
        boundaries.append(at);
    return boundaries;
}

// The longest start of `text` that fits `width`, at least one character; with `atWordBreak`,
// the longest that ends after a path separator or a space, where one does.
qsizetype fittingStart(const QString &text, const QFontMetrics &metrics, int width, bool atWordBreak = false)
{
    qsizetype fitting = 0;
    qsizetype wordBreak = 0;
    for (const qsizetype end : characterBoundaries(text)) {
        if (fitting > 0 && metrics.horizontalAdvance(text.left(end)) > width)
            break;
        fitting = end;
        const QChar last = text.at(end - 1);
        if (last == QDir::separator() || last == u'/' || last.isSpace())
            wordBreak = end;
    }
    return atWordBreak && wordBreak > 0 ? wordBreak : fitting;
}

// The longest end of `text` that fits `width` (possibly none).
QString fittingEnd(const QString &text, const QFontMetrics &metrics, int width)
{
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    for (const qsizetype start : characterBoundaries(text)) {
        if (metrics.horizontalAdvance(text.mid(start)) <= width)
            return text.mid(start);
    }
    return {};
}

// `path` on at most two lines of `width` (see showPath).
QString twoLinePath(const QString &path, const QFontMetrics &metrics, int width)
{
    if (metrics.horizontalAdvance(path) <= width)
        return path;
    for (const bool atWordBreak : {true, false}) {
        const qsizetype breakAt = fittingStart(path, metrics, width, atWordBreak);
        if (metrics.horizontalAdvance(path.mid(breakAt)) <= width)
            return path.left(breakAt) + u'\n' + path.mid(breakAt);
    }
    const qsizetype firstLine = fittingStart(path, metrics, width);

    const QString ellipsis = u"…"_s;
    const int endWidth = width - metrics.horizontalAdvance(ellipsis);
    const QString lastName = path.mid(path.lastIndexOf(QDir::separator()));
    if (metrics.horizontalAdvance(lastName) <= endWidth)
        return path.left(firstLine) + u'\n' + ellipsis + fittingEnd(path, metrics, endWidth);
    // A name longer than a line: its start on the first line, its end on the second.
    const QString name = ellipsis + lastName;
    const qsizetype nameStart = fittingStart(name, metrics, width);
    return name.left(nameStart) + u'\n' + ellipsis + fittingEnd(name.mid(nameStart), metrics, endWidth);
}

} // namespace

void showPath(QLabel &label, const QString &path)
{
    label.setText(twoLinePath(path, label.fontMetrics(), label.contentsRect().width()));
    label.setToolTip(path);
}

} // namespace kurubako
