#include "platform/fileops_posix.h"
#include "snacks/snackops.h"
#include "snacks/snackscan.h"

#include "../common/testfolder.h"

#include <QTest>

using namespace kurubako;

namespace {

const QByteArray SjisSoft("\x83\x5c\x83\x74\x83\x67"); // "ソフト" in Shift_JIS

const QList<Snack> &listOf(const SnackLists &lists, bool stock)
{
    return stock ? lists.stock : lists.today;
}

} // namespace

// Moves and renames on real files, with the snacks as the scan lists them.
class TestSnackOps : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void move_data();
    void move();
    void rename_data();
    void rename();
};

void TestSnackOps::move_data()
{
    QTest::addColumn<QByteArrayList>("files");
    QTest::addColumn<bool>("fromStock"); // every snack of that set is moved
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("completed");
    QTest::addColumn<QByteArrayList>("after");

    QTest::newRow("upper-case extension")
        << QByteArrayList{"B.PA_"} << true << 0 << 1 << QByteArrayList{"B.pac<B.PA_"};
    QTest::newRow("today to stock") << QByteArrayList{"a.pac", "b.PAC", "c.pa_"} << false << 0 << 2
                                    << QByteArrayList{"a.pa_<a.pac", "b.pa_<b.PAC", "c.pa_"};
    QTest::newRow("stops at the first clash") << QByteArrayList{"a.pa_", "b.pa_", "B.pac"} << true << 58 << 1
                                              << QByteArrayList{"a.pac<a.pa_", "b.pa_", "B.pac"};
    // Both files show as "ソフト"; the Shift_JIS one sorts first and is moved under its own
    // bytes, after which the UTF-8 one would take the same name.
    QTest::newRow("Shift_JIS name") << QByteArrayList{SjisSoft + ".pa_", "ソフト.pa_"} << true << 58 << 1
                                    << QByteArrayList{SjisSoft + ".pac<" + SjisSoft + ".pa_", "ソフト.pa_"};
    QTest::newRow("entry without a dot") << QByteArrayList{"snackpa_"} << true << 53 << 0
                                         << QByteArrayList{"snackpa_"};
}

void TestSnackOps::move()
{
    QFETCH(QByteArrayList, files);
    QFETCH(bool, fromStock);
    QFETCH(int, error);
    QFETCH(int, completed);
    QFETCH(QByteArrayList, after);

    testfolder::TempFolder dir;
    QVERIFY(testfolder::make(dir.path(), files));
    PosixFileOps ops;
    const QList<Snack> snacks = listOf(scanSnackFolder(ops, dir.path()), fromStock);
    QVERIFY(!snacks.isEmpty());
    const RenameOutcome outcome =
        moveSnacks(ops, dir.path(), snacks, fromStock ? SnackSet::Stock : SnackSet::Today);
    QCOMPARE(outcome.error.number, error);
    QCOMPARE(outcome.completed, completed);
    QCOMPARE(testfolder::snapshot(dir.path()), testfolder::expected(after));
}

void TestSnackOps::rename_data()
{
    QTest::addColumn<QByteArrayList>("files");
    QTest::addColumn<bool>("stock"); // the first snack of that set is renamed
    QTest::addColumn<QString>("newName");
    QTest::addColumn<int>("error");
    QTest::addColumn<QByteArrayList>("after");

    QTest::newRow("today") << QByteArrayList{"a.pac"} << false << u"b"_qs << 0 << QByteArrayList{"b.pac<a.pac"};
    QTest::newRow("stock") << QByteArrayList{"a.pa_"} << true << u"c"_qs << 0 << QByteArrayList{"c.pa_<a.pa_"};
    QTest::newRow("upper-case extension")
        << QByteArrayList{"A.PAC"} << false << u"z"_qs << 0 << QByteArrayList{"z.pac<A.PAC"};
    QTest::newRow("letter case only") << QByteArrayList{"a.pac"} << false << u"A"_qs << 0
                                      << QByteArrayList{"A.pac<a.pac"};
    QTest::newRow("taken in other case")
        << QByteArrayList{"a.pac", "B.PAC"} << false << u"b"_qs << 58 << QByteArrayList{"a.pac", "B.PAC"};
    QTest::newRow("same name in the other set") << QByteArrayList{"a.pac", "b.pa_"} << false << u"b"_qs << 0
                                                << QByteArrayList{"b.pac<a.pac", "b.pa_"};
    QTest::newRow("Shift_JIS name") << QByteArrayList{SjisSoft + ".pac"} << false << u"羊羹"_qs << 0
                                    << QByteArrayList{"羊羹.pac<" + SjisSoft + ".pac"};
}

void TestSnackOps::rename()
{
    QFETCH(QByteArrayList, files);
    QFETCH(bool, stock);
    QFETCH(QString, newName);
    QFETCH(int, error);
    QFETCH(QByteArrayList, after);

    testfolder::TempFolder dir;
    QVERIFY(testfolder::make(dir.path(), files));
    PosixFileOps ops;
    const QList<Snack> snacks = listOf(scanSnackFolder(ops, dir.path()), stock);
    QVERIFY(!snacks.isEmpty());
    const FsError result =
        renameSnack(ops, dir.path(), snacks.first(), stock ? SnackSet::Stock : SnackSet::Today, newName);
    QCOMPARE(result.number, error);
    QCOMPARE(testfolder::snapshot(dir.path()), testfolder::expected(after));
}

QTEST_GUILESS_MAIN(TestSnackOps)
#include "tst_snackops.moc"
