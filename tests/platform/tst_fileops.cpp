#include "platform/fileops_posix.h"

#include "../common/testfolder.h"

#include <QTest>

#include <cerrno>
#include <cstring>

using namespace kurubako;

namespace {

// Fails chosen calls with a chosen errno and passes every other call to the system.
class FaultySyscalls final : public Syscalls
{
public:
    int renameErrno = 0;
    int linkErrno = 0;
    QByteArrayList unlinkFailing; // names whose unlink fails with unlinkErrno
    int unlinkErrno = 0;

    int renameNoReplace(int dirFd, const char *from, const char *to) override
    {
        return renameErrno ? fail(renameErrno) : Syscalls::renameNoReplace(dirFd, from, to);
    }
    int link(int dirFd, const char *from, const char *to) override
    {
        return linkErrno ? fail(linkErrno) : Syscalls::link(dirFd, from, to);
    }
    int unlink(int dirFd, const char *name) override
    {
        return unlinkFailing.contains(QByteArray(name)) ? fail(unlinkErrno) : Syscalls::unlink(dirFd, name);
    }

private:
    static int fail(int error)
    {
        errno = error;
        return -1;
    }
};

// "old>new" pairs to rename requests.
QList<RenameRequest> requestsOf(const QByteArrayList &pairs)
{
    QList<RenameRequest> requests;
    for (const QByteArray &pair : pairs) {
        const QByteArrayList parts = pair.split('>');
        requests.append({parts.at(0), parts.at(1)});
    }
    return requests;
}

} // namespace

class TestFileOps : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void renameFiles_data();
    void renameFiles();
    void syscallFaults_data();
    void syscallFaults();
    void missingFolder();
};

void TestFileOps::renameFiles_data()
{
    QTest::addColumn<QByteArrayList>("files");
    QTest::addColumn<QByteArrayList>("renames");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("completed");
    QTest::addColumn<QByteArrayList>("after"); // empty: the folder is unchanged

    QTest::newRow("target exists") << QByteArrayList{"a.pac", "b.pac"} << QByteArrayList{"a.pac>b.pac"} << 58
                                   << 0 << QByteArrayList{};
    QTest::newRow("target exists in other case")
        << QByteArrayList{"x.pac", "A.PAC"} << QByteArrayList{"x.pac>a.pac"} << 58 << 0 << QByteArrayList{};
    QTest::newRow("target is a folder") << QByteArrayList{"x.pac", "d.pac/"} << QByteArrayList{"x.pac>D.pac"}
                                        << 58 << 0 << QByteArrayList{};
    QTest::newRow("missing source") << QByteArrayList{"a.pac"} << QByteArrayList{"z.pac>y.pac"} << 53 << 0
                                    << QByteArrayList{};
    QTest::newRow("source ambiguous in case")
        << QByteArrayList{"A.pac", "a.PAC"} << QByteArrayList{"a.pac>b.pac"} << 53 << 0 << QByteArrayList{};
    QTest::newRow("slash in target") << QByteArrayList{"a.pac"} << QByteArrayList{"a.pac>x/a.pac"} << 52 << 0
                                     << QByteArrayList{};
    QTest::newRow("source found in other case")
        << QByteArrayList{"A.PA_"} << QByteArrayList{"a.pa_>A.pac"} << 0 << 1 << QByteArrayList{"A.pac<A.PA_"};
    QTest::newRow("case only") << QByteArrayList{"a.pac"} << QByteArrayList{"a.pac>A.pac"} << 0 << 1
                               << QByteArrayList{"A.pac<a.pac"};
    QTest::newRow("batch stops at clash")
        << QByteArrayList{"a.pa_", "b.pa_", "c.pa_", "B.pac"}
        << QByteArrayList{"a.pa_>a.pac", "b.pa_>b.pac", "c.pa_>c.pac"} << 58 << 1
        << QByteArrayList{"a.pac<a.pa_", "b.pa_", "c.pa_", "B.pac"};
    QTest::newRow("clash with a name given earlier in the batch")
        << QByteArrayList{"a.pa_", "c.pa_"} << QByteArrayList{"a.pa_>b.pac", "c.pa_>B.PAC"} << 58 << 1
        << QByteArrayList{"b.pac<a.pa_", "c.pa_"};
    QTest::newRow("source renamed earlier in the batch")
        << QByteArrayList{"a.pa_"} << QByteArrayList{"a.pa_>a.pac", "a.pa_>q.pac"} << 53 << 1
        << QByteArrayList{"a.pac<a.pa_"};
    QTest::newRow("swap through a free name")
        << QByteArrayList{"a.pac", "b.pac"} << QByteArrayList{"a.pac>t.pac", "b.pac>a.pac", "t.pac>b.pac"} << 0
        << 3 << QByteArrayList{"b.pac<a.pac", "a.pac<b.pac"};
}

void TestFileOps::renameFiles()
{
    QFETCH(QByteArrayList, files);
    QFETCH(QByteArrayList, renames);
    QFETCH(int, error);
    QFETCH(int, completed);
    QFETCH(QByteArrayList, after);

    testfolder::TempFolder dir;
    QVERIFY(testfolder::make(dir.path(), files));
    PosixFileOps ops;
    const RenameOutcome outcome = ops.renameFiles(dir.path(), requestsOf(renames));
    QCOMPARE(outcome.error.number, error);
    QCOMPARE(outcome.error.description.isEmpty(), error == 0);
    QCOMPARE(outcome.completed, completed);
    QCOMPARE(testfolder::snapshot(dir.path()), testfolder::expected(after.isEmpty() ? files : after));
}

void TestFileOps::syscallFaults_data()
{
    QTest::addColumn<int>("renameErrno");
    QTest::addColumn<int>("linkErrno");
    QTest::addColumn<QByteArrayList>("unlinkFailing");
    QTest::addColumn<int>("error");
    QTest::addColumn<QByteArrayList>("after");

    const QByteArrayList renamed{"b.pac<a.pac", "c.pac"};
    const QByteArrayList unchanged{"a.pac", "c.pac"};
    QTest::newRow("no-replace flag unknown: link and unlink") << EINVAL << 0 << QByteArrayList{} << 0 << renamed;
    QTest::newRow("renameat2 missing: link and unlink") << ENOSYS << 0 << QByteArrayList{} << 0 << renamed;
    QTest::newRow("flag not supported: link and unlink") << EOPNOTSUPP << 0 << QByteArrayList{} << 0 << renamed;
    QTest::newRow("no hard links either") << EINVAL << EPERM << QByteArrayList{} << 5 << unchanged;
    QTest::newRow("link finds the new name taken") << EINVAL << EEXIST << QByteArrayList{} << 58 << unchanged;
    QTest::newRow("rename finds the new name taken") << EEXIST << 0 << QByteArrayList{} << 58 << unchanged;
    QTest::newRow("rename not permitted") << EACCES << 0 << QByteArrayList{} << 70 << unchanged;
    QTest::newRow("old name cannot be removed") << EINVAL << 0 << QByteArrayList{"a.pac"} << 70 << unchanged;
    QTest::newRow("neither name can be removed")
        << EINVAL << 0 << QByteArrayList{"a.pac", "b.pac"} << 78 << QByteArrayList{"a.pac", "b.pac<a.pac", "c.pac"};
}

void TestFileOps::syscallFaults()
{
    QFETCH(int, renameErrno);
    QFETCH(int, linkErrno);
    QFETCH(QByteArrayList, unlinkFailing);
    QFETCH(int, error);
    QFETCH(QByteArrayList, after);

    testfolder::TempFolder dir;
    QVERIFY(testfolder::make(dir.path(), {"a.pac", "c.pac"}));
    FaultySyscalls sys;
    sys.renameErrno = renameErrno;
    sys.linkErrno = linkErrno;
    sys.unlinkFailing = unlinkFailing;
    sys.unlinkErrno = EACCES;
    PosixFileOps ops(sys);
    const RenameOutcome outcome = ops.renameFiles(dir.path(), {{"a.pac", "b.pac"}});
    QCOMPARE(outcome.error.number, error);
    QCOMPARE(outcome.completed, error == 0 ? 1 : 0);
    QCOMPARE(testfolder::snapshot(dir.path()), testfolder::expected(after));
}

void TestFileOps::missingFolder()
{
    testfolder::TempFolder dir;
    PosixFileOps ops;
    const QString gone = dir.path() + u"/gone"_qs;
    QVERIFY(!ops.listFiles(gone));
    QCOMPARE(ops.renameFiles(gone, {{"a.pac", "b.pac"}}).error.number, 76);
}

QTEST_GUILESS_MAIN(TestFileOps)
#include "tst_fileops.moc"
