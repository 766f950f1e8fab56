#include "testfolder.h"

#include <algorithm>

namespace testfolder {

bool make(const QString &dir, const QByteArrayList &entries)
{
    for (const QByteArray &entry : entries) {
        const qsizetype arrow = entry.indexOf("->");
        const qsizetype second = entry.indexOf("=>");
        const bool made = arrow >= 0 ? makeLink(dir, entry.left(arrow), entry.mid(arrow + 2))
            : second >= 0            ? makeHardLink(dir, entry.left(second), entry.mid(second + 2))
            : entry.endsWith('/')    ? makeFolder(dir, entry.chopped(1))
                                     : makeFile(dir, entry, contentsFor(entry));
        if (!made)
            return false;
    }
    return true;
}

QByteArray snapshot(const QString &dir)
{
    QByteArrayList lines;
    for (const QByteArray &name : namesIn(dir))
        lines.append(name + " = " + describe(dir, name));
    std::sort(lines.begin(), lines.end());
    return lines.join('\n');
}

QByteArrayList contents(const QString &dir)
{
    QByteArrayList all;
    for (const QByteArray &name : namesIn(dir))
        all.append(describe(dir, name));
    std::sort(all.begin(), all.end());
    return all;
}

QByteArray expected(const QByteArrayList &entries)
{
    QByteArrayList lines;
    for (const QByteArray &entry : entries) {
        if (entry.endsWith('/') || entry.endsWith('|')) {
            lines.append(entry.chopped(1) + " = " + entry.right(1));
            continue;
        }
        const qsizetype arrow = entry.indexOf('<');
        lines.append((arrow < 0 ? entry : entry.left(arrow)) + " = "
                     + contentsFor(arrow < 0 ? entry : entry.mid(arrow + 1)));
    }
    std::sort(lines.begin(), lines.end());
    return lines.join('\n');
}

} // namespace testfolder
