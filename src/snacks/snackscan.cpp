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

bool endsLikeSnack(QByteArrayView native)
{
    if (native.size() <= 3)
        return false;
    const QByteArrayView ending = native.last(3);
    return qstrnicmp(ending.data(), 3, "pac", 3) == 0 || qstrnicmp(ending.data(), 3, "pa_", 3) == 0;
}

} // namespace

void sortSnacks(QList<Snack> &snacks)
{
    if (snacks.size() < 2)
        return;
    std::vector<int> order(snacks.size());
    std::iota(order.begin(), order.end(), 0);
    {
        // One key per name, compared many times: far cheaper than collating pairs of names.
        const QCollator collator = listCollator();
        std::vector<QCollatorSortKey> keys;
        keys.reserve(snacks.size());
        for (const Snack &snack : std::as_const(snacks))
            keys.push_back(collator.sortKey(snack.name));
        std::sort(order.begin(), order.end(), [&](int a, int b) {
            if (const int byKey = keys[a].compare(keys[b]))
                return byKey < 0;
            if (const int byCase = QString::compare(snacks.at(a).name, snacks.at(b).name, Qt::CaseSensitive))
                return byCase < 0;
            return snacks.at(a).file < snacks.at(b).file;
        });
    } // the keys go before the sorted list comes

    QList<Snack> sorted;
    sorted.reserve(snacks.size());
    for (const int i : order)
        sorted.append(std::move(snacks[i]));
    snacks = std::move(sorted);
}

SnackLists scanSnackFolder(FileOps &files, const QString &snackDir)
{
    SnackLists lists;
    // Names are taken as the folder is read, and decoded only when their bytes end like a
    // snack's: an ending that reads "pac" or "pa_" is made of those very ASCII bytes.
    const bool read = files.visitFiles(snackDir, [&](QByteArrayView native) {
        if (!endsLikeSnack(native))
            return;
        QString name = displayName(native);
        const auto set = snackSetOf(name);
        if (!set)
            return;
        name.truncate(snackNameLength(name));
        (*set == SnackSet::Stock ? lists.stock : lists.today).append({std::move(name), native.toByteArray()});
    });
    if (!read)
        return {};
    sortSnacks(lists.stock);
    sortSnacks(lists.today);
    return lists;
}

QString snackCountText(qsizetype count)
{
    return u"全部で "_qs + QString::number(count) + u" 個"_qs;
}

} // namespace kurubako
