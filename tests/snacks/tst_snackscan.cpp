#include "platform/fileops_posix.h"
#include "snacks/snackscan.h"

#include "../common/testfolder.h"

#include <QLocale>
#include <QTest>

#include <algorithm>

using namespace kurubako;

namespace {

// "ソフト" in Shift_JIS, as PostPet on Windows names files; its second byte is a backslash.
const QByteArray SjisSoft("\x83\x5c\x83\x74\x83\x67");

// Each entry as "name=file", the name in UTF-8 and the file as its raw bytes.
QByteArrayList entries(const QList<Snack> &snacks)
{
    QByteArrayList out;
    for (const Snack &snack : snacks)
        out.append(snack.name.toUtf8() + '=' + snack.file);
    return out;
}

QByteArrayList filesOf(const QList<Snack> &snacks)
{
    QByteArrayList out;
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
    void missingFolder();
    void order_data();
    void order();
    void countText();
};

void TestSnackScan::scan_data()
{
    QTest::addColumn<QByteArrayList>("files");
    QTest::addColumn<QByteArrayList>("today");
    QTest::addColumn<QByteArrayList>("stock");

    QTest::newRow("both sets among other files")
        << QByteArrayList{"a.pac", "B.PAC", "c.pa_", "readme.txt", "d.pac.bak"}
        << QByteArrayList{"a=a.pac", "B=B.PAC"} << QByteArrayList{"c=c.pa_"};
    QTest::newRow("same snack in both sets")
        << QByteArrayList{"x.pac", "x.pa_"} << QByteArrayList{"x=x.pac"} << QByteArrayList{"x=x.pa_"};
    QTest::newRow("extension in any case")
        << QByteArrayList{"e.PAC", "F.Pa_", "g.pAc"} << QByteArrayList{"e=e.PAC", "g=g.pAc"}
        << QByteArrayList{"F=F.Pa_"};
    QTest::newRow("no dot before the extension")
        << QByteArrayList{"snackpac"} << QByteArrayList{"snac=snackpac"} << QByteArrayList{};
    QTest::newRow("folders, hidden files and bare extensions")
        << QByteArrayList{"y.pac/", ".h.pac", ".pac", "pac", "PA_"} << QByteArrayList{} << QByteArrayList{};
    QTest::newRow("links: to a file listed, broken or to a folder not")
        << QByteArrayList{"a.pac", "sub/", "l.pa_->a.pac", "m.pac->gone.pac", "n.pac->sub"}
        << QByteArrayList{"a=a.pac"} << QByteArrayList{"l=l.pa_"};
    QTest::newRow("empty folder") << QByteArrayList{} << QByteArrayList{} << QByteArrayList{};
    QTest::newRow("Shift_JIS name")
        << QByteArrayList{SjisSoft + ".pac", "ソフト.pa_"} << QByteArrayList{"ソフト=" + SjisSoft + ".pac"}
        << QByteArrayList{"ソフト=ソフト.pa_"};
    QTest::newRow("Japanese names") << QByteArrayList{"おせんべい.pac", "羊羹.pa_", "ＰＯＳＴ.pac"}
                                    << QByteArrayList{"ＰＯＳＴ=ＰＯＳＴ.pac", "おせんべい=おせんべい.pac"}
                                    << QByteArrayList{"羊羹=羊羹.pa_"};
}

void TestSnackScan::scan()
{
    QFETCH(QByteArrayList, files);
    QFETCH(QByteArrayList, today);
    QFETCH(QByteArrayList, stock);

    testfolder::TempFolder dir;
    QVERIFY(testfolder::make(dir.path(), files));
    PosixFileOps ops;
    const SnackLists lists = scanSnackFolder(ops, dir.path());
    QCOMPARE(entries(lists.today), today);
    QCOMPARE(entries(lists.stock), stock);
}

void TestSnackScan::missingFolder()
{
    testfolder::TempFolder dir;
    PosixFileOps ops;
    const SnackLists lists = scanSnackFolder(ops, dir.path() + u"/おやつ"_qs);
    QVERIFY(lists.today.isEmpty());
    QVERIFY(lists.stock.isEmpty());
}

void TestSnackScan::order_data()
{
    QTest::addColumn<QByteArrayList>("sorted"); // file names in list order

    QTest::newRow("Latin without regard to case")
        << QByteArrayList{"apple.pac", "Banana.pac", "banana.pac", "cherry.pac", "Date.pac"};
    QTest::newRow("full-width among Latin")
        << QByteArrayList{"a.pac", "B.pac", "ｂ.pac", "Ｃ.pac", "ｃ.pac", "d.pac"};
    QTest::newRow("kana") << QByteArrayList{"あめ.pac", "アメ.pac", "いちご.pac", "かりんとう.pac", "クッキー.pac"};
    QTest::newRow("Latin, kana, kanji") << QByteArrayList{"Zebra.pac", "おかき.pac", "羊羹.pac", "饅頭.pac"};
    QTest::newRow("same name from different bytes") << QByteArrayList{SjisSoft + ".pac", "ソフト.pac"};
    // "Ａ" in UTF-8 sorts before "ａ" in Shift_JIS (0x82 0x81), whose bytes are lower.
    QTest::newRow("letter case before bytes") << QByteArrayList{"Ａ.pac", "\x82\x81.pac"};
}

void TestSnackScan::order()
{
    QFETCH(QByteArrayList, sorted);

    // Made in reverse order, so that an order left from the listing shows.
    testfolder::TempFolder dir;
    QByteArrayList reversed = sorted;
    std::reverse(reversed.begin(), reversed.end());
    QVERIFY(testfolder::make(dir.path(), reversed));
    PosixFileOps ops;
    const SnackLists lists = scanSnackFolder(ops, dir.path());
    QCOMPARE(filesOf(lists.today), sorted);

    // The same from every starting order.
    QList<Snack> snacks = lists.today;
    for (int round = 0; round < 3; ++round) {
        std::rotate(snacks.begin(), snacks.begin() + 1, snacks.end());
        std::reverse(snacks.begin(), snacks.end());
        QList<Snack> copy = snacks;
        sortSnacks(copy);
        QCOMPARE(filesOf(copy), sorted);
    }
}

void TestSnackScan::countText()
{
    QCOMPARE(snackCountText(3), u"全部で 3 個"_qs);
    QCOMPARE(snackCountText(0), u"全部で 0 個"_qs);
}

QTEST_GUILESS_MAIN(TestSnackScan)
#include "tst_snackscan.moc"
