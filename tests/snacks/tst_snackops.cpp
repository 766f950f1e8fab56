#include "platform/fileops_posix.h"
#include "snacks/snackops.h"
#include "snacks/snackscan.h"

#include "../common/testfolder.h"

#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

using namespace kurubako;

using Names = QByteArrayList;

namespace {

const QByteArray SjisSoft("\x83\x5c\x83\x74\x83\x67"); // "ソフト" in Shift_JIS

} // namespace

// Moves and renames on real files, of the snacks as the scan lists them.
class TestSnackOps : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void move_data();
    void move();
    void rename_data();
    void rename();
};

namespace {

// Another program's changes between the scan and the move: "-name" removes a file, "+name"
// makes one as make() does.
void changeFolder(const QString &dir, const Names &changes)
{
    for (const QByteArray &change : changes) {
        if (change.startsWith('-'))
            QVERIFY(::unlink(testfolder::pathOf(dir, change.mid(1)).constData()) == 0);
        else
            QVERIFY(testfolder::make(dir, {change.mid(1)}));
    }
}

} // namespace

void TestSnackOps::move_data()
{
    QTest::addColumn<Names>("files");
    QTest::addColumn<Names>("changes"); // after the scan
    QTest::addColumn<bool>("stock"); // every snack of that set is moved
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("completed");
    QTest::addColumn<Names>("after");

    const Names none;
    QTest::newRow("upper-case extension") << Names{"B.PA_"} << none << true << 0 << 1 << Names{"B.pac<B.PA_"};
    QTest::newRow("today to stock") << Names{"a.pac", "b.PAC", "c.pa_"} << none << false << 0 << 2
                                    << Names{"a.pa_<a.pac", "b.pa_<b.PAC", "c.pa_"};
    QTest::newRow("stops at a clash") << Names{"a.pa_", "b.pa_", "B.pac"} << none << true << 58 << 1
                                      << Names{"a.pac<a.pa_", "b.pa_", "B.pac"};
    // Both show as "ソフト": the Shift_JIS file sorts first and moves under its own bytes,
    // after which the UTF-8 one would take the same name.
    QTest::newRow("Shift_JIS name") << Names{SjisSoft + ".pa_", "ソフト.pa_"} << none << true << 58 << 1
                                    << Names{SjisSoft + ".pac<" + SjisSoft + ".pa_", "ソフト.pa_"};
    // Neither UTF-8 nor Shift_JIS: both show as "caf" and a replacement character, and are two files.
    QTest::newRow("names that show alike") << Names{"caf\xe9.pa_", "caf\xe8.pac"} << none << true << 0 << 1
                                           << Names{"caf\xe9.pac<caf\xe9.pa_", "caf\xe8.pac"};
    QTest::newRow("device name") << Names{"a.pa_", "Con.pa_"} << none << true << 52 << 1
                                 << Names{"a.pac<a.pa_", "Con.pa_"};
    QTest::newRow("entry without a dot") << Names{"snackpa_"} << none << true << 53 << 0 << Names{"snackpa_"};
    // "snac-pac" shows as "snac" too, before "snac.pac": it stops the run, and "snac.pac" stays.
    QTest::newRow("entry without a dot beside its look-alike")
        << Names{"snac-pac", "snac.pac"} << none << false << 53 << 0 << Names{"snac-pac", "snac.pac"};
    // "Xpac" shows as an empty entry, whose file ".pac" the lists never show.
    QTest::newRow("entry whose file would be hidden")
        << Names{"Xpac", ".pac"} << none << false << 53 << 0 << Names{"Xpac", ".pac"};
    // Only the file the lists showed, under its very bytes, is ever renamed.
    QTest::newRow("file replaced by one in another letter case")
        << Names{"A.pa_"} << Names{"-A.pa_", "+a.pa_"} << true << 53 << 0 << Names{"a.pa_"};
    QTest::newRow("Shift_JIS file replaced by a UTF-8 one of the same text")
        << Names{SjisSoft + ".pa_"} << Names{"-" + SjisSoft + ".pa_", "+ソフト.pa_"} << true << 53 << 0
        << Names{"ソフト.pa_"};
    QTest::newRow("file replaced by a folder")
        << Names{"a.pa_"} << Names{"-a.pa_", "+a.pa_/"} << true << 53 << 0 << Names{"a.pa_/"};
}

void TestSnackOps::move()
{
    QFETCH(Names, files);
    QFETCH(Names, changes);
    QFETCH(bool, stock);
    QFETCH(int, error);
    QFETCH(int, completed);
    QFETCH(Names, after);

    testfolder::TempFolder dir;
    QVERIFY(testfolder::make(dir.path(), files));
    PosixFileOps ops;
    const SnackLists lists = scanSnackFolder(ops, dir.path());
    changeFolder(dir.path(), changes);
    const RenameOutcome outcome = moveSnacks(ops, dir.path(), stock ? lists.stock : lists.today,
                                             stock ? SnackSet::Stock : SnackSet::Today);
    QCOMPARE(outcome.error.number(), error);
    QCOMPARE(outcome.completed, completed);
    QCOMPARE(testfolder::snapshot(dir.path()), testfolder::expected(after));
}

void TestSnackOps::rename_data()
{
    QTest::addColumn<Names>("files");
    QTest::addColumn<bool>("stock"); // the first snack of that set is renamed
    QTest::addColumn<QString>("newName");
    QTest::addColumn<int>("error");
    QTest::addColumn<Names>("after");

    QTest::newRow("today") << Names{"a.pac"} << false << u"b"_s << 0 << Names{"b.pac<a.pac"};
    QTest::newRow("stock") << Names{"a.pa_"} << true << u"c"_s << 0 << Names{"c.pa_<a.pa_"};
    QTest::newRow("upper-case extension") << Names{"A.PAC"} << false << u"z"_s << 0 << Names{"z.pac<A.PAC"};
    QTest::newRow("letter case only") << Names{"a.pac"} << false << u"A"_s << 0 << Names{"A.pac<a.pac"};
    QTest::newRow("taken in other case")
        << Names{"a.pac", "B.PAC"} << false << u"b"_s << 58 << Names{"a.pac", "B.PAC"};
    QTest::newRow("same name in the other set")
        << Names{"a.pac", "b.pa_"} << false << u"b"_s << 0 << Names{"b.pac<a.pac", "b.pa_"};
    QTest::newRow("Shift_JIS name") << Names{SjisSoft + ".pac"} << false << u"羊羹"_s << 0
                                    << Names{"羊羹.pac<" + SjisSoft + ".pac"};
    QTest::newRow("entry whose file would be hidden")
        << Names{"Xpac", ".pac"} << false << u"b"_s << 53 << Names{"Xpac", ".pac"};
    QTest::newRow("entry without a dot beside its look-alike")
        << Names{"snac-pac", "snac.pac"} << false << u"b"_s << 53 << Names{"snac-pac", "snac.pac"};
    // Names the user could not see as typed: refused, as Windows refuses them.
    QTest::newRow("line break") << Names{"a.pac"} << false << u"b\nc"_s << 52 << Names{"a.pac"};
    QTest::newRow("tab") << Names{"a.pac"} << false << u"\tb"_s << 52 << Names{"a.pac"};
    QTest::newRow("U+001F") << Names{"a.pac"} << false << u"b\u001F"_s << 52 << Names{"a.pac"};
    QTest::newRow("DEL") << Names{"a.pac"} << false << u"b\u007F"_s << 52 << Names{"a.pac"};
    QTest::newRow("U+0085, which Windows takes")
        << Names{"a.pac"} << false << u"b\u0085"_s << 0 << Names{"b\u0085.pac<a.pac"};
    // Devices on Windows, in any letter case, with trailing spaces.
    QTest::newRow("CON") << Names{"a.pac"} << false << u"CON"_s << 52 << Names{"a.pac"};
    QTest::newRow("nul and a space") << Names{"a.pac"} << false << u"nul "_s << 52 << Names{"a.pac"};
    QTest::newRow("Com1") << Names{"a.pac"} << false << u"Com1"_s << 52 << Names{"a.pac"};
    QTest::newRow("LPT9 and spaces") << Names{"a.pac"} << false << u"LPT9  "_s << 52 << Names{"a.pac"};
    QTest::newRow("COM10 is a name") << Names{"a.pac"} << false << u"COM10"_s << 0
                                     << Names{"COM10.pac<a.pac"};
    QTest::newRow("empty: the file would be hidden")
        << Names{"a.pac"} << false << u""_s << 52 << Names{"a.pac"};
}

void TestSnackOps::rename()
{
    QFETCH(Names, files);
    QFETCH(bool, stock);
    QFETCH(QString, newName);
    QFETCH(int, error);
    QFETCH(Names, after);

    testfolder::TempFolder dir;
    QVERIFY(testfolder::make(dir.path(), files));
    PosixFileOps ops;
    const SnackLists lists = scanSnackFolder(ops, dir.path());
    const Snack &snack = (stock ? lists.stock : lists.today).first();
    QCOMPARE(renameSnack(ops, dir.path(), snack, stock ? SnackSet::Stock : SnackSet::Today, newName).number(),
             error);
    QCOMPARE(testfolder::snapshot(dir.path()), testfolder::expected(after));
}

QTEST_GUILESS_MAIN(TestSnackOps)
#include "tst_snackops.moc"
