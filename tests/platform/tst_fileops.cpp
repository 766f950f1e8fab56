#include "platform/fileops_posix.h"

#include "../common/faultysyscalls.h"
#include "../common/testfolder.h"

#include <QTest>

#include <algorithm>
#include <cerrno>
#include <cstdio>

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
    void otherFileUnderOldName_neverDeleted_data();
    void otherFileUnderOldName_neverDeleted();
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
    QTest::addColumn<Names>("unlinkFailing");
    QTest::addColumn<QByteArray>(
        "numbering"); // "name": each name its own inode number; "once": no link counts
    QTest::addColumn<int>("error");
    QTest::addColumn<Names>("after");

    const Names renamed{"b.pac<a.pac", "c.pac"};
    const Names unchanged{"a.pac", "c.pac"};
    const QByteArray plain;
    QTest::newRow("no-replace unknown: link, unlink") << EINVAL << 0 << Names{} << plain << 0 << renamed;
    QTest::newRow("no renameat2: link, unlink") << ENOSYS << 0 << Names{} << plain << 0 << renamed;
    QTest::newRow("no hard links either") << EINVAL << EPERM << Names{} << plain << 5 << unchanged;
    QTest::newRow("link finds the name taken") << EINVAL << EEXIST << Names{} << plain << 58 << unchanged;
    QTest::newRow("rename finds the name taken") << EEXIST << 0 << Names{} << plain << 58 << unchanged;
    QTest::newRow("old name stays: new one removed")
        << EINVAL << 0 << Names{"a.pac"} << plain << 70 << unchanged;
    QTest::newRow("both names stay") << EINVAL << 0 << Names{"a.pac", "b.pac"} << plain << 78
                                     << Names{"a.pac", "b.pac<a.pac", "c.pac"};
    QTest::newRow("names numbered apart: by link count")
        << EINVAL << 0 << Names{} << QByteArray("name") << 0 << renamed;
    QTest::newRow("names numbered apart, old name stays")
        << EINVAL << 0 << Names{"a.pac"} << QByteArray("name") << 70 << unchanged;
    QTest::newRow("names numbered apart, no link counts")
        << EINVAL << 0 << Names{} << QByteArray("name once") << 5 << unchanged;
}

void TestFileOps::syscallFaults()
{
    QFETCH(int, renameErrno);
    QFETCH(int, linkErrno);
    QFETCH(Names, unlinkFailing);
    QFETCH(QByteArray, numbering);
    QFETCH(int, error);
    QFETCH(Names, after);

    testfolder::TempFolder dir;
    QVERIFY(testfolder::make(dir.path(), {"a.pac", "c.pac"}));
    FaultySyscalls sys;
    sys.renameErrno = renameErrno;
    sys.linkErrno = linkErrno;
    sys.unlinkFailing = unlinkFailing;
    sys.inodePerName = numbering.contains("name");
    sys.noLinkCounts = numbering.contains("once");
    const RenameOutcome outcome = PosixFileOps(sys).renameFiles(dir.path(), {{"a.pac", "b.pac"}});
    QCOMPARE(outcome.error.number(), error);
    QCOMPARE(outcome.completed, error ? 0 : 1);
    QCOMPARE(testfolder::snapshot(dir.path()), testfolder::expected(after));
}

// On a file system without the no-replace flag, another program puts a file of its own under
// the old name (moving what was there to "moved#<n>.pac") just before the n-th system call of
// the rename of a.pac to b.pac: 1 the refused rename, 2 to 4 linking and removing a file of the
// program's own (how the file system numbers names), 5 the link, 6 moving the old name aside,
// 7 removing the hidden name or putting the other file back, 8 removing the hidden name after
// that. No file is ever lost, and the other program's file keeps a name of its own.
void TestFileOps::otherFileUnderOldName_neverDeleted_data()
{
    QTest::addColumn<QList<int>>("swaps");
    QTest::addColumn<int>("error");
    QTest::addColumn<Names>("after"); // without the hidden file that a failure leaves
    QTest::addColumn<QByteArray>("setAside"); // what that hidden file holds

    QTest::newRow("before the rename")
        << QList<int>{1} << 0 << Names{"b.pac<other#1", "moved#1.pac<a.pac", "c.pac"} << QByteArray();
    QTest::newRow("before the link") << QList<int>{5} << 0
                                     << Names{"b.pac<other#5", "moved#5.pac<a.pac", "c.pac"} << QByteArray();
    QTest::newRow("before the old name is moved aside")
        << QList<int>{6} << 0 << Names{"a.pac<other#6", "b.pac<a.pac", "moved#6.pac<a.pac", "c.pac"}
        << QByteArray();
    QTest::newRow("before the hidden name is removed")
        << QList<int>{7} << 0 << Names{"a.pac<other#7", "b.pac<a.pac", "c.pac"} << QByteArray();
    QTest::newRow("before the other file is put back: old name taken again")
        << QList<int>{6, 7} << 79 << Names{"a.pac<other#7", "b.pac<a.pac", "moved#6.pac<a.pac", "c.pac"}
        << testfolder::contentsFor("other#6");
    QTest::newRow("after the other file is put back")
        << QList<int>{6, 8} << 0
        << Names{"a.pac<other#8", "b.pac<a.pac", "moved#6.pac<a.pac", "moved#8.pac<other#6", "c.pac"}
        << QByteArray();
}

void TestFileOps::otherFileUnderOldName_neverDeleted()
{
    QFETCH(QList<int>, swaps);
    QFETCH(int, error);
    QFETCH(Names, after);
    QFETCH(QByteArray, setAside);

    testfolder::TempFolder dir;
    QVERIFY(testfolder::make(dir.path(), {"a.pac", "c.pac"}));
    FaultySyscalls sys;
    sys.renameErrno = EINVAL;
    sys.beforeCall = [&](int n) {
        if (!swaps.contains(n))
            return;
        const QByteArray old = testfolder::pathOf(dir.path(), "a.pac");
        const QByteArray moved = testfolder::pathOf(dir.path(), "moved#" + QByteArray::number(n) + ".pac");
        ::rename(old.constData(), moved.constData());
        const QByteArray contents = testfolder::contentsFor("other#" + QByteArray::number(n));
        QVERIFY(testfolder::makeFile(dir.path(), "a.pac", contents));
    };
    const RenameOutcome outcome = PosixFileOps(sys).renameFiles(dir.path(), {{"a.pac", "b.pac"}});
    QCOMPARE(outcome.error.number(), error);

    QByteArrayList lines = testfolder::snapshot(dir.path()).split('\n');
    const auto isHidden = [](const QByteArray &line) { return line.startsWith('.'); };
    const auto hidden = std::find_if(lines.begin(), lines.end(), isHidden);
    if (setAside.isEmpty()) {
        QVERIFY(hidden == lines.end());
    } else {
        // The user is told the hidden name under which the other file waits.
        QVERIFY(hidden != lines.end());
        const QByteArray name = hidden->left(hidden->indexOf(" = "));
        QCOMPARE(*hidden, name + " = " + setAside);
        QVERIFY(outcome.error.description.endsWith(QString::fromUtf8(name)));
        lines.erase(hidden);
    }
    QCOMPARE(lines.join('\n'), testfolder::expected(after));
}

QTEST_GUILESS_MAIN(TestFileOps)
#include "tst_fileops.moc"
