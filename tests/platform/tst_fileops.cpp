#include "platform/fileops_posix.h"

#include "../common/faultysyscalls.h"
#include "../common/testfolder.h"

#include <QTest>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kurubako;

namespace {

using Names = QByteArrayList;

} // namespace

class TestFileOps : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void renameFiles_data();
    void renameFiles();
    void syscallFaults_data();
    void syscallFaults();
    void lookAlikeFiles_keepBoth_data();
    void lookAlikeFiles_keepBoth();
    void interruptions_data();
    void interruptions();
};

void TestFileOps::renameFiles_data()
{
    QTest::addColumn<Names>("files");
    QTest::addColumn<Names>("renames"); // "old>new"
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("completed");
    QTest::addColumn<Names>("after"); // empty: unchanged

    QTest::newRow("target exists") << Names{"a.pac", "b.pac"} << Names{"a.pac>b.pac"} << 58 << 0 << Names{};
    QTest::newRow("target exists in other case")
        << Names{"x.pac", "A.PAC"} << Names{"x.pac>a.pac"} << 58 << 0 << Names{};
    QTest::newRow("missing source") << Names{"a.pac"} << Names{"z.pac>y.pac"} << 53 << 0 << Names{};
    QTest::newRow("source in two cases")
        << Names{"A.pac", "a.PAC"} << Names{"a.pac>b.pac"} << 53 << 0 << Names{};
    // Only the file of the exact name, and only one that the lists show.
    QTest::newRow("source in other case only")
        << Names{"A.PA_"} << Names{"a.pa_>A.pac"} << 53 << 0 << Names{};
    QTest::newRow("folder") << Names{"a.pa_/"} << Names{"a.pa_>a.pac"} << 53 << 0 << Names{};
    QTest::newRow("FIFO") << Names{"a.pa_|"} << Names{"a.pa_>a.pac"} << 53 << 0 << Names{};
    QTest::newRow("link to a folder")
        << Names{"d/", "a.pa_->d"} << Names{"a.pa_>a.pac"} << 53 << 0 << Names{};
    QTest::newRow("link to a file") << Names{"t", "a.pa_->t"} << Names{"a.pa_>a.pac"} << 0 << 1
                                    << Names{"t", "a.pac<t"};
    QTest::newRow("hidden source") << Names{".pac"} << Names{".pac>.pa_"} << 53 << 0 << Names{};
    QTest::newRow("hidden new name") << Names{"a.pac"} << Names{"a.pac>.pac"} << 52 << 0 << Names{};
    QTest::newRow("case only") << Names{"a.pac"} << Names{"a.pac>A.pac"} << 0 << 1 << Names{"A.pac<a.pac"};
    // Letter case as Windows compares names: each UTF-16 unit upper-cased on its own.
    QTest::newRow("Kelvin sign and k: two names")
        << Names{"\u212A.pa_", "k.pac"} << Names{"\u212A.pa_>\u212A.pac"} << 0 << 1
        << Names{"\u212A.pac<\u212A.pa_", "k.pac"};
    QTest::newRow("sharp s and capital sharp s: two names, as sharp s has no upper case")
        << Names{"ß.pac", "x.pac"} << Names{"x.pac>ẞ.pac"} << 0 << 1 << Names{"ß.pac", "ẞ.pac<x.pac"};
    QTest::newRow("full-width a and A: one name")
        << Names{"ａ.pac", "x.pac"} << Names{"x.pac>Ａ.pac"} << 58 << 0 << Names{};
    QTest::newRow("full-width A and A: two names")
        << Names{"A.pac", "x.pac"} << Names{"x.pac>Ａ.pac"} << 0 << 1 << Names{"A.pac", "Ａ.pac<x.pac"};
    // A run stopped half-way left both names: the old one goes.
    QTest::newRow("both names of one file")
        << Names{"a.pa_", "a.pac=>a.pa_"} << Names{"a.pa_>a.pac"} << 0 << 1 << Names{"a.pac<a.pa_"};
    QTest::newRow("batch stops at a clash")
        << Names{"a.pa_", "b.pa_", "c.pa_", "B.pac"} << Names{"a.pa_>a.pac", "b.pa_>b.pac", "c.pa_>c.pac"}
        << 58 << 1 << Names{"a.pac<a.pa_", "b.pa_", "c.pa_", "B.pac"};
    QTest::newRow("clash with a name given in the batch")
        << Names{"a.pa_", "c.pa_"} << Names{"a.pa_>b.pac", "c.pa_>B.PAC"} << 58 << 1
        << Names{"b.pac<a.pa_", "c.pa_"};
}

void TestFileOps::renameFiles()
{
    QFETCH(Names, files);
    QFETCH(Names, renames);
    QFETCH(int, error);
    QFETCH(int, completed);
    QFETCH(Names, after);

    testfolder::TempFolder dir;
    QVERIFY(testfolder::make(dir.path(), files));
    const QByteArray before = testfolder::snapshot(dir.path());
    QList<RenameRequest> requests;
    for (const QByteArray &pair : renames)
        requests.append({pair.split('>').at(0), pair.split('>').at(1)});
    const RenameOutcome outcome = PosixFileOps().renameFiles(dir.path(), requests);
    QCOMPARE(outcome.error.number(), error);
    QCOMPARE(outcome.completed, completed);
    QCOMPARE(testfolder::snapshot(dir.path()), after.isEmpty() ? before : testfolder::expected(after));
}

void TestFileOps::syscallFaults_data()
{
    QTest::addColumn<int>("renameErrno");
    QTest::addColumn<int>("linkErrno");
    QTest::addColumn<int>("createErrno");
    QTest::addColumn<Names>("unlinkFailing");
    QTest::addColumn<bool>("inodePerName");
    QTest::addColumn<int>("error");
    QTest::addColumn<Names>("after");

    const Names renamed{"b.pac<a.pac", "c.pac"};
    const Names unchanged{"a.pac", "c.pac"};
    QTest::newRow("no-replace unknown: link path") << EINVAL << 0 << 0 << Names{} << false << 0 << renamed;
    QTest::newRow("no renameat2: link path") << ENOSYS << 0 << 0 << Names{} << false << 0 << renamed;
    QTest::newRow("no hard links: reservation path")
        << EINVAL << EPERM << 0 << Names{} << false << 0 << renamed;
    QTest::newRow("names numbered apart: reservation path")
        << EINVAL << 0 << 0 << Names{} << true << 0 << renamed;
    QTest::newRow("no exclusive create either")
        << EINVAL << EPERM << EOPNOTSUPP << Names{} << false << 5 << unchanged;
    QTest::newRow("exclusive create denied")
        << EINVAL << EPERM << EACCES << Names{} << false << 70 << unchanged;
    QTest::newRow("rename finds the name taken") << EEXIST << 0 << 0 << Names{} << false << 58 << unchanged;
    QTest::newRow("old name cannot be moved")
        << EINVAL << 0 << 0 << Names{"a.pac"} << false << 70 << unchanged;
}

void TestFileOps::syscallFaults()
{
    QFETCH(int, renameErrno);
    QFETCH(int, linkErrno);
    QFETCH(int, createErrno);
    QFETCH(Names, unlinkFailing);
    QFETCH(bool, inodePerName);
    QFETCH(int, error);
    QFETCH(Names, after);

    testfolder::TempFolder dir;
    QVERIFY(testfolder::make(dir.path(), {"a.pac", "c.pac"}));
    FaultySyscalls sys;
    sys.renameErrno = renameErrno;
    sys.linkErrno = linkErrno;
    sys.createErrno = createErrno;
    sys.unlinkFailing = unlinkFailing;
    sys.inodePerName = inodePerName;
    const RenameOutcome outcome = PosixFileOps(sys).renameFiles(dir.path(), {{"a.pac", "b.pac"}});
    QCOMPARE(outcome.error.number(), error);
    QCOMPARE(outcome.completed, error ? 0 : 1);
    QCOMPARE(testfolder::snapshot(dir.path()), testfolder::expected(after));
}

// Two different files that agree in size, times, owner and link count (each also has a hard
// link in a backup beside the folder), on a file system that numbers each name on its own:
// neither a move onto the other nor the repair of a stranded one removes either.
void TestFileOps::lookAlikeFiles_keepBoth_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::newRow("move onto a look-alike: refused") << QByteArray("x.pa_");
    QTest::newRow("stranded under a hidden name: given its name back")
        << QByteArray(".kurubako-0123abcd-x.pa_");
}

void TestFileOps::lookAlikeFiles_keepBoth()
{
    QFETCH(QByteArray, first);
    testfolder::TempFolder backup;
    testfolder::TempFolder dir;
    const struct timespec times[2] = {{1700000000, 0}, {1700000000, 0}};
    for (const QByteArray &name : {first, QByteArray("x.pac")}) {
        const QByteArray contents = name == first ? "snack AAAA" : "snack BBBB";
        QVERIFY(testfolder::makeFile(dir.path(), name, contents));
        QVERIFY(::utimensat(AT_FDCWD, testfolder::pathOf(dir.path(), name).constData(), times, 0) == 0);
        QVERIFY(::link(testfolder::pathOf(dir.path(), name).constData(),
                       testfolder::pathOf(backup.path(), contents.right(4)).constData())
                == 0);
    }
    FaultySyscalls sys;
    sys.renameErrno = EINVAL;
    sys.inodePerName = true;
    PosixFileOps ops(sys);
    if (first.startsWith('.'))
        ops.finishStoppedRenames(dir.path());
    else
        QCOMPARE(ops.renameFiles(dir.path(), {{first, "x.pac"}}).error.number(), 58);
    QCOMPARE(testfolder::snapshot(dir.path()), "x.pa_ = snack AAAA\nx.pac = snack BBBB");
}

// A run stopped by a kill after each call that changes the folder, or another program that
// puts a file of its own under the old name before that call, on each path: the next listing
// leaves the snack under exactly one of its names, no hidden name, and every file kept.
void TestFileOps::interruptions_data()
{
    QTest::addColumn<int>("renameErrno");
    QTest::addColumn<int>("linkErrno");
    QTest::addColumn<bool>("inodePerName");
    QTest::addColumn<bool>("newNameTaken"); // another program takes it after the folder was read
    QTest::addColumn<QByteArray>("interruption"); // "kill" or "swap"

    for (const QByteArray &interruption : {QByteArray("kill"), QByteArray("swap")}) {
        const char *what = interruption.constData();
        QTest::addRow("%s: no-replace path", what) << 0 << 0 << false << false << interruption;
        QTest::addRow("%s: link path", what) << EINVAL << 0 << false << false << interruption;
        QTest::addRow("%s: reservation path, no hard links", what)
            << EINVAL << EPERM << false << false << interruption;
        QTest::addRow("%s: reservation path, names numbered apart", what)
            << EINVAL << 0 << true << false << interruption;
    }
    QTest::newRow("kill: link path, new name taken: undone")
        << EINVAL << 0 << false << true << QByteArray("kill");
    QTest::newRow("kill: reservation path, new name taken: undone")
        << EINVAL << EPERM << false << true << QByteArray("kill");
}

void TestFileOps::interruptions()
{
    QFETCH(int, renameErrno);
    QFETCH(int, linkErrno);
    QFETCH(bool, inodePerName);
    QFETCH(bool, newNameTaken);
    QFETCH(QByteArray, interruption);

    for (int step = 1;; ++step) {
        testfolder::TempFolder dir;
        QVERIFY(testfolder::make(dir.path(), {"a.pac", "c.pac"}));
        FaultySyscalls sys;
        sys.renameErrno = renameErrno;
        sys.linkErrno = linkErrno;
        sys.inodePerName = inodePerName;
        if (interruption == "kill")
            sys.killedAfter = step;
        sys.beforeCall = [&](int n) {
            if (newNameTaken && n == 1)
                QVERIFY(testfolder::makeNewFile(dir.path(), "b.pac", "other"));
            if (interruption != "swap" || n != step)
                return;
            ::rename(testfolder::pathOf(dir.path(), "a.pac").constData(),
                     testfolder::pathOf(dir.path(), "moved.pac").constData());
            QVERIFY(testfolder::makeFile(dir.path(), "a.pac", "other"));
        };
        const RenameOutcome outcome = PosixFileOps(sys).renameFiles(dir.path(), {{"a.pac", "b.pac"}});
        const bool ranToItsEnd = sys.changes() < step;
        PosixFileOps().finishStoppedRenames(dir.path());

        const QByteArrayList names = testfolder::namesIn(dir.path());
        const QByteArray where =
            interruption + " at step " + QByteArray::number(step) + ": " + testfolder::snapshot(dir.path());
        QVERIFY2(std::none_of(names.cbegin(), names.cend(), [](auto &name) { return name.startsWith('.'); }),
                 where.constData());
        // Every file once, with its own contents: the snack, c.pac and the other program's file.
        QByteArrayList contents = testfolder::contents(dir.path());
        QByteArrayList expected{testfolder::contentsFor("a.pac"), testfolder::contentsFor("c.pac")};
        if (newNameTaken || (interruption == "swap" && !ranToItsEnd))
            expected.append("other");
        std::sort(expected.begin(), expected.end());
        QVERIFY2(contents == expected, where.constData());
        if (ranToItsEnd) {
            QCOMPARE(outcome.error.number(), newNameTaken ? 58 : 0);
            QCOMPARE(testfolder::describe(dir.path(), newNameTaken ? "a.pac" : "b.pac"),
                     testfolder::contentsFor("a.pac"));
            QVERIFY(step > 1);
            break;
        }
    }
}

QTEST_GUILESS_MAIN(TestFileOps)
#include "tst_fileops.moc"
