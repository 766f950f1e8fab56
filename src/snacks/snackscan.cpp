#include "snackscan.h"

#include "platform/fileops.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <numeric>
#include <vector>

namespace kurubako {

namespace {

QCollator listCollator()
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::Japanese, QLocale::Japan);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    return collator;
}

} // namespace

void sortSnacks(QList<Snack> &snacks)
{
    if (snacks.size() < 2)
        return;
    const QCollator collator = listCollator();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(snacks.size());
    for (const Snack &snack : std::as_const(snacks))
        keys.push_back(collator.sortKey(snack.name));

    std::vector<qsizetype> order(snacks.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (const int byKey = keys[a].compare(keys[b]))
            return byKey < 0;
        if (const int byCase = QString::compare(snacks.at(a).name, snacks.at(b).name, Qt::CaseSensitive))
            return byCase < 0;
        return snacks.at(a).file < snacks.at(b).file;
    });

    QList<Snack> sorted;
    sorted.reserve(snacks.size());
    for (const qsizetype i : order)
        sorted.append(std::move(snacks[i]));
    snacks = std::move(sorted);
}

SnackLists scanSnackFolder(FileOps &files, const QString &snackDir)
{
    SnackLists lists;
    const auto listing = files.listFiles(snackDir);
    if (!listing)
        return lists;
    for (const FileName &file : *listing) {
        const auto set = snackSetOf(file.display);
        if (!set)
            continue;
        Snack snack{snackNameOf(file.display), file.native};
        (*set == SnackSet::Stock ? lists.stock : lists.today).append(std::move(snack));
    }
    sortSnacks(lists.stock);
    sortSnacks(lists.today);
    return lists;
}

QString snackCountText(qsizetype count)
{
    return u"全部で "_qs + QString::number(count) + u" 個"_qs;
}

} // namespace kurubako
