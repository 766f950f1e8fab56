#include "snackscan.h"

#include "platform/fileops.h"
#include "platform/namecollation.h"

#include <algorithm>
#include <numeric>
#include <system_error>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

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

    // A long list is cut into runs, one per core: each run is keyed and sorted beside the others,
    // with a collator of its own, and the sorted runs are merged. Making the keys is most of
    // the cost of a sort, comparing them most of the rest.
    constexpr qsizetype MinimumRun = 1024; // below this a thread costs more than it saves
    const qsizetype cores = std::max(1u, std::thread::hardware_concurrency());
    const qsizetype runs = std::clamp(snacks.size() / MinimumRun, qsizetype(1), cores);
    const qsizetype runLength = (snacks.size() + runs - 1) / runs;
    const auto runEnd = [&](qsizetype run) { return std::min((run + 1) * runLength, snacks.size()); };

    std::vector<int> order(snacks.size());
    std::iota(order.begin(), order.end(), 0);
    {
        // One key per name, compared many times: far cheaper than collating pairs of names.
        std::vector<std::vector<NameSortKey>> keysOfRun(runs);
        const auto before = [&](int a, int b) {
            const NameSortKey &keyA = keysOfRun[a / runLength][a % runLength];
            const NameSortKey &keyB = keysOfRun[b / runLength][b % runLength];
            if (const int byKey = keyA.compare(keyB))
                return byKey < 0;
            if (const int byCase = QString::compare(snacks.at(a).name, snacks.at(b).name, Qt::CaseSensitive))
                return byCase < 0;
            return snacks.at(a).file < snacks.at(b).file;
        };
        const auto sortRun = [&](qsizetype run) {
            const NameCollation collation;
            const qsizetype begin = run * runLength;
            const qsizetype end = runEnd(run);
            std::vector<NameSortKey> &keys = keysOfRun[run];
            keys.reserve(end - begin);
            for (qsizetype i = begin; i < end; ++i)
                keys.push_back(collation.sortKey(snacks.at(i).name));
            std::sort(order.begin() + begin, order.begin() + end, before);
        };
        std::vector<std::thread> helpers;
        helpers.reserve(runs - 1);
        for (qsizetype run = 1; run < runs; ++run) {
            try {
                helpers.emplace_back(sortRun, run);
            } catch (const std::system_error &) {
                sortRun(run); // no thread to be had: this one sorts the run itself
            }
        }
        sortRun(0);
        for (std::thread &helper : helpers)
            helper.join();
        for (qsizetype run = 1; run < runs; ++run)
            std::inplace_merge(order.begin(), order.begin() + run * runLength, order.begin() + runEnd(run),
                               before);
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
    files.finishStoppedRenames(snackDir);
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
    return u"全部で "_s + QString::number(count) + u" 個"_s;
}

} // namespace kurubako
