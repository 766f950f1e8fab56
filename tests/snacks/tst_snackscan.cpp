#include "platform/fileops_posix.h"
#include "snacks/snackscan.h"

#include "../common/testfolder.h"

#include <QLocale>
#include <QTest>

#include <algorithm>

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
    void countText() { QCOMPARE(snackCountText(3), u"全部で 3 個"_qs); }
};

void TestSnackScan::scan_data()
{
    QTest::addColumn<Names>("files"); // "name/" a folder, "name->target" a link
    QTest::addColumn<Names>("today");
    QTest::addColumn<Names>("stock");

    QTest::newRow("both sets among other files") << Names{"a.pac", "B.PAC", "c.pa_", "readme.txt", "d.pac.bak"}
                                                 << Names{"a=a.pac", "B=B.PAC"} << Names{"c=c.pa_"};
    QTest::newRow("same snack in both sets") << Names{"x.pac", "x.pa_"} << Names{"x=x.pac"} << Names{"x=x.pa_"};
    QTest::newRow("extension in any case") << Names{"e.PAC", "F.Pa_"} << Names{"e=e.PAC"} << Names{"F=F.Pa_"};
    QTest::newRow("no dot") << Names{"snackpac"} << Names{"snac=snackpac"} << Names{};
    QTest::newRow("folders, hidden files, bare extensions")
        << Names{"y.pac/", ".h.pac", ".pac", "pac", "PA_"} << Names{} << Names{};
    QTest::newRow("links: to a file listed, broken or to a folder not")
        << Names{"a.pac", "sub/", "l.pa_->a.pac", "m.pac->gone.pac", "n.pac->sub"} << Names{"a=a.pac"}
        << Names{"l=l.pa_"};
    QTest::newRow("empty folder") << Names{} << Names{} << Names{};
    QTest::newRow("Shift_JIS name") << Names{SjisSoft + ".pac"} << Names{"ソフト=" + SjisSoft + ".pac"} << Names{};
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

    lists = scanSnackFolder(ops, dir.path() + u"/missing"_qs);
    QVERIFY(lists.today.isEmpty() && lists.stock.isEmpty());
}

void TestSnackScan::order_data()
{
    QTest::addColumn<Names>("sorted"); // file names in list order

    QTest::newRow("Latin, any case") << Names{"apple.pac", "Banana.pac", "banana.pac", "cherry.pac", "Date.pac"};
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

QTEST_GUILESS_MAIN(TestSnackScan)
#include "tst_snackscan.moc"
