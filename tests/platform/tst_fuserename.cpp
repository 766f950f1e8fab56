// Moving snacks on a FUSE file system that refuses the no-replace flag of renameat2, as
// ntfs-3g and other file systems built on libfuse 2 do, while another program puts files of its
// own under the old names: bindfs mounted over a temporary folder.

#include "platform/fileops_posix.h"

#include "../common/testfolder.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

using namespace kurubako;

namespace {

QByteArray stockName(int i)
{
    return "snack" + QByteArray::number(i) + ".pa_";
}

// The real system calls; each link made tells which snack has just got its new name.
class LinkWatch final : public Syscalls
{
public:
    std::atomic<int> linked{-1};

    int link(int dirFd, const char *from, const char *to) override
    {
        const int result = Syscalls::link(dirFd, from, to);
        if (result == 0)
            linked.store(QByteArray(from).mid(5).chopped(4).toInt());
        return result;
    }
};

} // namespace

class TestFuseRename : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void noReplaceRefused();
    void racingWriter_losesNothing();

private:
    std::unique_ptr<testfolder::TempFolder> m_backing;
    std::unique_ptr<testfolder::TempFolder> m_mount;
    bool m_mounted = false;
};

void TestFuseRename::initTestCase()
{
    const QString bindfs = QStandardPaths::findExecutable(u"bindfs"_s);
    QVERIFY2(!bindfs.isEmpty(), "bindfs is missing: scripts/install-deps installs it");
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        const QString why = QString::fromLocal8Bit(strerror(errno));
        QSKIP(qPrintable(u"FUSE cannot be mounted here: /dev/fuse: "_s + why));
    }
    m_backing = std::make_unique<testfolder::TempFolder>();
    m_mount = std::make_unique<testfolder::TempFolder>();
    QProcess mount;
    mount.start(bindfs, {u"--no-allow-other"_s, m_backing->path(), m_mount->path()});
    if (!mount.waitForFinished(30000) || mount.exitStatus() != QProcess::NormalExit || mount.exitCode() != 0)
        QSKIP(qPrintable(u"FUSE cannot be mounted here: bindfs: "_s
                         + QString::fromLocal8Bit(mount.readAllStandardError()).trimmed()));
    m_mounted = true;
}

void TestFuseRename::cleanupTestCase()
{
    if (m_mounted) {
        QString fusermount = QStandardPaths::findExecutable(u"fusermount3"_s);
        if (fusermount.isEmpty())
            fusermount = QStandardPaths::findExecutable(u"fusermount"_s);
        QCOMPARE(QProcess::execute(fusermount, {u"-u"_s, m_mount->path()}), 0);
    }
}

// What makes the program fall back to linking: the file system refuses the flag.
void TestFuseRename::noReplaceRefused()
{
    QVERIFY(testfolder::makeFile(m_mount->path(), "a", "a"));
    const QByteArray from = testfolder::pathOf(m_mount->path(), "a");
    const QByteArray to = testfolder::pathOf(m_mount->path(), "b");
    QCOMPARE(::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE), -1);
    QCOMPARE(errno, EINVAL);
    QVERIFY(::unlink(from.constData()) == 0);
}

// A few thousand snacks are moved while another program, the moment each snack has got its
// new name, puts a file of its own under the old one (writing it elsewhere and renaming it
// there, as programs save files). Every snack and every file of the other program is still
// there afterwards.
void TestFuseRename::racingWriter_losesNothing()
{
    constexpr int Snacks = 3000;
    const QString folder = m_mount->path();
    QVERIFY(::mkdir(testfolder::pathOf(folder, "writer").constData(), 0755) == 0);
    QList<RenameRequest> moves;
    for (int i = 0; i < Snacks; ++i) {
        const QByteArray number = QByteArray::number(i);
        QVERIFY(testfolder::makeFile(folder, stockName(i), "snack " + number));
        QVERIFY(testfolder::makeFile(folder, "writer/" + number, "other " + number));
        moves.append({stockName(i), "snack" + number + ".pac"});
    }

    LinkWatch calls;
    std::atomic<bool> done{false};
    std::atomic<int> written{0};
    std::thread writer([&] {
        int last = -1;
        while (!done.load()) {
            const int i = calls.linked.load();
            if (i == last)
                continue;
            last = i;
            const QByteArray from = testfolder::pathOf(folder, "writer/" + QByteArray::number(i));
            if (::rename(from.constData(), testfolder::pathOf(folder, stockName(i)).constData()) == 0)
                ++written;
        }
    });
    const RenameOutcome outcome = PosixFileOps(calls).renameFiles(folder, moves);
    done = true;
    writer.join();
    QCOMPARE(outcome.error.description, QString());
    QCOMPARE(outcome.completed, Snacks);

    // Each snack under its new name, each file of the other program under the old name or
    // still where it wrote it, and nothing left under a hidden name.
    const auto holds = [&](const QByteArray &name, const QByteArray &contents) {
        QFile file(QFile::decodeName(testfolder::pathOf(folder, name)));
        return file.open(QIODevice::ReadOnly) && file.readAll() == contents;
    };
    int lost = 0;
    for (int i = 0; i < Snacks; ++i) {
        const QByteArray number = QByteArray::number(i);
        if (!holds("snack" + number + ".pac", "snack " + number))
            ++lost;
        if (!holds(stockName(i), "other " + number) && !holds("writer/" + number, "other " + number))
            ++lost;
    }
    qInfo("%d snacks moved while %d files were put under their old names", Snacks, written.load());
    QCOMPARE(lost, 0);
    for (const QByteArray &name : testfolder::namesIn(folder))
        QVERIFY2(!name.startsWith('.'), name.constData());
}

QTEST_GUILESS_MAIN(TestFuseRename)
#include "tst_fuserename.moc"
