#include "platform/fileops_posix.h"

#include "../common/faultysyscalls.h"
#include "../common/testfolder.h"

#include <QTest>

#include <cerrno>

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
};

void TestFileOps::renameFiles_data()
{
    QTest::addColumn<Names>("files");
    QTest::addColumn<Names>("renames"); // "old>new"
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("completed");
    QTest::addColumn<Names>("after"); // empty: unchanged

    QTest::newRow("target exists") << Names{"a.pac", "b.pac"} << Names{"a.pac>b.pac"} << 58 << 0 << Names{};
    QTest::newRow("target exists in other case") << Names{"x.pac", "A.PAC"} << Names{"x.pac>a.pac"} << 58 << 0
                                                 << Names{};
    QTest::newRow("missing source") << Names{"a.pac"} << Names{"z.pac>y.pac"} << 53 << 0 << Names{};
    QTest::newRow("source in two cases") << Names{"A.pac", "a.PAC"} << Names{"a.pac>b.pac"} << 53 << 0 << Names{};
    QTest::newRow("source in other case") << Names{"A.PA_"} << Names{"a.pa_>A.pac"} << 0 << 1
                                          << Names{"A.pac<A.PA_"};
    QTest::newRow("case only") << Names{"a.pac"} << Names{"a.pac>A.pac"} << 0 << 1 << Names{"A.pac<a.pac"};
    QTest::newRow("batch stops at a clash")
        << Names{"a.pa_", "b.pa_", "c.pa_", "B.pac"} << Names{"a.pa_>a.pac", "b.pa_>b.pac", "c.pa_>c.pac"} << 58
        << 1 << Names{"a.pac<a.pa_", "b.pa_", "c.pa_", "B.pac"};
    QTest::newRow("clash with a name given in the batch") << Names{"a.pa_", "c.pa_"}
                                                          << Names{"a.pa_>b.pac", "c.pa_>B.PAC"} << 58 << 1
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
    QList<RenameRequest> requests;
    for (const QByteArray &pair : renames)
        requests.append({pair.split('>').at(0), pair.split('>').at(1)});
    const RenameOutcome outcome = PosixFileOps().renameFiles(dir.path(), requests);
    QCOMPARE(outcome.error.number, error);
    QCOMPARE(outcome.completed, completed);
    QCOMPARE(testfolder::snapshot(dir.path()), testfolder::expected(after.isEmpty() ? files : after));
}

void TestFileOps::syscallFaults_data()
{
    QTest::addColumn<int>("renameErrno");
    QTest::addColumn<int>("linkErrno");
    QTest::addColumn<Names>("unlinkFailing");
    QTest::addColumn<int>("error");
    QTest::addColumn<Names>("after");

    const Names renamed{"b.pac<a.pac", "c.pac"};
    const Names unchanged{"a.pac", "c.pac"};
    QTest::newRow("no-replace unknown: link, unlink") << EINVAL << 0 << Names{} << 0 << renamed;
    QTest::newRow("no renameat2: link, unlink") << ENOSYS << 0 << Names{} << 0 << renamed;
    QTest::newRow("no hard links either") << EINVAL << EPERM << Names{} << 5 << unchanged;
    QTest::newRow("link finds the name taken") << EINVAL << EEXIST << Names{} << 58 << unchanged;
    QTest::newRow("rename finds the name taken") << EEXIST << 0 << Names{} << 58 << unchanged;
    QTest::newRow("old name stays: new one removed") << EINVAL << 0 << Names{"a.pac"} << 70 << unchanged;
    QTest::newRow("both names stay") << EINVAL << 0 << Names{"a.pac", "b.pac"} << 78
                                     << Names{"a.pac", "b.pac<a.pac", "c.pac"};
}

void TestFileOps::syscallFaults()
{
    QFETCH(int, renameErrno);
    QFETCH(int, linkErrno);
    QFETCH(Names, unlinkFailing);
    QFETCH(int, error);
    QFETCH(Names, after);

    testfolder::TempFolder dir;
    QVERIFY(testfolder::make(dir.path(), {"a.pac", "c.pac"}));
    FaultySyscalls sys;
    sys.renameErrno = renameErrno;
    sys.linkErrno = linkErrno;
    sys.unlinkFailing = unlinkFailing;
    const RenameOutcome outcome = PosixFileOps(sys).renameFiles(dir.path(), {{"a.pac", "b.pac"}});
    QCOMPARE(outcome.error.number, error);
    QCOMPARE(outcome.completed, error ? 0 : 1);
    QCOMPARE(testfolder::snapshot(dir.path()), testfolder::expected(after));
}

QTEST_GUILESS_MAIN(TestFileOps)
#include "tst_fileops.moc"
