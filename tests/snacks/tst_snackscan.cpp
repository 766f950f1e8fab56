#include "platform/fileops_posix.h"
#include "snacks/snackscan.h"

#include "../common/testfolder.h"

#include <QCollator>
#include <QLocale>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

using namespace kurubako;

namespace {

using Names = QByteArrayList;

// "ソフト" in Shift_JIS, as PostPet on Windows names files; its second byte is a backslash.
const QByteArray SjisSoft("\x83\x5c\x83\x74\x83\x67");

// Each entry as "name=file": the name in UTF-8, the file as its raw bytes.
Names entries(const QList<Snack> &snacks)
{
    Names out;
    for (const Snack &snack : snacks)
        out.append(snack.name.toUtf8() + '=' + snack.file);
    return out;
}

Names filesOf(const QList<Snack> &snacks)
{
    Names out;
    for (const Snack &snack : snacks)
        out.append(snack.file);
    return out;
}

} // namespace

class TestSnackScan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The C locale, as under LANG=C, where the lists fall back to Japanese collation.
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void scan_data();
    void scan();
    void order_data();
    void order();
    void longListOrder();
    void countText() { QCOMPARE(snackCountText(3), u"全部で 3 個"_s); }
};

void TestSnackScan::scan_data()
{
    QTest::addColumn<Names>("files"); // "name/" a folder, "name->target" a link
    QTest::addColumn<Names>("today");
    QTest::addColumn<Names>("stock");

    QTest::newRow("both sets among other files")
        << Names{"a.pac", "B.PAC", "c.pa_", "readme.txt", "d.pac.bak"} << Names{"a=a.pac", "B=B.PAC"}
        << Names{"c=c.pa_"};
    QTest::newRow("same snack in both sets")
        << Names{"x.pac", "x.pa_"} << Names{"x=x.pac"} << Names{"x=x.pa_"};
    QTest::newRow("extension in any case") << Names{"e.PAC", "F.Pa_"} << Names{"e=e.PAC"} << Names{"F=F.Pa_"};
    QTest::newRow("no dot") << Names{"snackpac"} << Names{"snac=snackpac"} << Names{};
    QTest::newRow("folders, hidden files, bare extensions")
        << Names{"y.pac/", ".h.pac", ".pac", "pac", "PA_"} << Names{} << Names{};
    QTest::newRow("links: to a file listed, broken or to a folder not")
        << Names{"a.pac", "sub/", "l.pa_->a.pac", "m.pac->gone.pac", "n.pac->sub"} << Names{"a=a.pac"}
        << Names{"l=l.pa_"};
    // Left by a stopped run: a hidden second name goes, a stranded file gets its free name back.
    QTest::newRow("hidden second name")
        << Names{"a.pac", ".kurubako-0123abcd-a.pa_=>a.pac"} << Names{"a=a.pac"} << Names{};
    QTest::newRow("stranded file") << Names{".kurubako-0123abcd-b.pa_"} << Names{} << Names{"b=b.pa_"};
    QTest::newRow("stranded file, name taken")
        << Names{"b.PA_", ".kurubako-0123abcd-b.pa_"} << Names{} << Names{"b=b.PA_"};
    QTest::newRow("empty folder") << Names{} << Names{} << Names{};
    QTest::newRow("Shift_JIS name") << Names{SjisSoft + ".pac"} << Names{"ソフト=" + SjisSoft + ".pac"}
                                    << Names{};
}

void TestSnackScan::scan()
{
    QFETCH(Names, files);
    QFETCH(Names, today);
    QFETCH(Names, stock);

    testfolder::TempFolder dir;
    QVERIFY(testfolder::make(dir.path(), files));
    PosixFileOps ops;
    SnackLists lists = scanSnackFolder(ops, dir.path());
    QCOMPARE(entries(lists.today), today);
    QCOMPARE(entries(lists.stock), stock);
    // Each file keeps its names, but for hidden second names of snacks.
    const auto secondNames = std::count_if(files.cbegin(), files.cend(), [](auto &file) {
        return file.startsWith(".k") && file.contains("=>");
    });
    QCOMPARE(testfolder::namesIn(dir.path()).size(), files.size() - secondNames);

    lists = scanSnackFolder(ops, dir.path() + u"/missing"_s);
    QVERIFY(lists.today.isEmpty() && lists.stock.isEmpty());
    lists = scanSnackFolder(ops, dir.path() + QChar(0) + u"/missing"_s); // a NUL names no folder
    QVERIFY(lists.today.isEmpty() && lists.stock.isEmpty());
}

void TestSnackScan::order_data()
{
    QTest::addColumn<Names>("sorted"); // file names in list order

    QTest::newRow("Latin, any case") << Names{"apple.pac", "Banana.pac", "banana.pac", "cherry.pac",
                                              "Date.pac"};
    QTest::newRow("full-width among Latin") << Names{"a.pac", "B.pac", "ｂ.pac", "Ｃ.pac", "ｃ.pac", "d.pac"};
    QTest::newRow("kana") << Names{"あめ.pac", "アメ.pac", "いちご.pac", "かりんとう.pac", "クッキー.pac"};
    QTest::newRow("Latin, kana, kanji") << Names{"Zebra.pac", "おかき.pac", "羊羹.pac", "饅頭.pac"};
    QTest::newRow("same name, other bytes") << Names{SjisSoft + ".pac", "ソフト.pac"};
    // "Ａ" in UTF-8 before "ａ" in Shift_JIS (0x82 0x81), whose bytes are lower.
    QTest::newRow("letter case before bytes") << Names{"Ａ.pac", "\x82\x81.pac"};
}

void TestSnackScan::order()
{
    QFETCH(Names, sorted);

    // Made in reverse order, so that an order kept from the listing shows.
    testfolder::TempFolder dir;
    Names reversed = sorted;
    std::reverse(reversed.begin(), reversed.end());
    QVERIFY(testfolder::make(dir.path(), reversed));
    PosixFileOps ops;
    QList<Snack> snacks = scanSnackFolder(ops, dir.path()).today;
    QCOMPARE(filesOf(snacks), sorted);

    for (int round = 0; round < 3; ++round) {
        std::rotate(snacks.begin(), snacks.begin() + 1, snacks.end());
        std::reverse(snacks.begin(), snacks.end());
        QList<Snack> copy = snacks;
        sortSnacks(copy);
        QCOMPARE(filesOf(copy), sorted);
    }
}

// A list long enough to be keyed in several runs sorts as comparing each pair of names would.
void TestSnackScan::longListOrder()
{
    const QStringList pieces = {u"a"_s,  u"B"_s, u"b"_s,  u"ｂ"_s, u"あ"_s,
                                u"ア"_s, u"ｱ"_s, u"羊"_s, u"1"_s,  u" "_s};
    QList<Snack> snacks;
    quint32 seed = 20261207;
    for (int i = 0; i < 20000; ++i) {
        QString name;
        for (int length = 1 + i % 5; length > 0; --length) {
            seed = seed * 1664525u + 1013904223u;
            name += pieces.at((seed >> 16) % pieces.size());
        }
        snacks.append({name, name.toUtf8() + (i % 2 ? ".pac" : ".PAC")});
    }

    QList<Snack> expected = snacks;
    QCollator collator(QLocale(QLocale::Japanese, QLocale::Japan));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(expected.begin(), expected.end(), [&](const Snack &a, const Snack &b) {
        if (const int byCollation = collator.compare(a.name, b.name))
            return byCollation < 0;
        if (const int byCase = QString::compare(a.name, b.name, Qt::CaseSensitive))
            return byCase < 0;
        return a.file < b.file;
    });

    sortSnacks(snacks);
    QCOMPARE(filesOf(snacks), filesOf(expected));
}

QTEST_GUILESS_MAIN(TestSnackScan)
#include "tst_snackscan.moc"
