// Moving snacks on FUSE file systems built on libfuse 2, which refuse the no-replace flag of
// renameat2, while another program puts files of its own under the old names: bindfs, and
// libfuse's pass-through example, which numbers each name of a file on its own.

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
#include <optional>
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

QByteArray todayName(int i)
{
    return "snack" + QByteArray::number(i) + ".pac";
}

// A new file of `contents` under `path` through an exclusive create, as a careful program makes
// one where the file system has no rename that refuses to replace.
bool createExclusively(const QByteArray &path, const QByteArray &contents)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    const bool written = fd >= 0 && ::write(fd, contents.constData(), contents.size()) == contents.size();
    return (fd < 0 || ::close(fd) == 0) && written;
}

// The real system calls; a snack's new name, by link or by a rename over its reservation,
// tells which snack has just got it.
class NameWatch final : public Syscalls
{
public:
    std::atomic<int> named{-1};
    std::atomic<int> hidden{-1}; // the snack that has just left its old name

    int link(int dirFd, const char *from, const char *to) override
    {
        return watched(Syscalls::link(dirFd, from, to), from, to);
    }
    int rename(int dirFd, const char *from, const char *to) override
    {
        return watched(Syscalls::rename(dirFd, from, to), from, to);
    }

private:
    int watched(int result, const char *from, const char *to)
    {
        const auto number = [](const char *name) { return QByteArray(name).mid(5).chopped(4).toInt(); };
        if (result == 0 && to[0] != '.')
            named.store(number(to));
        else if (result == 0 && from[0] != '.')
            hidden.store(number(from));
        return result;
    }
};

// Runs a program to its end, keeping its output; what it wrote to its error output where it
// failed.
std::optional<QString> runFailure(QStringList command, QByteArray *output = nullptr)
{
    const QString program = QStandardPaths::findExecutable(command.constFirst());
    if (program.isEmpty())
        return command.constFirst() + u" is missing: scripts/install-deps installs it"_s;
    QProcess process;
    process.start(program, command.mid(1));
    const bool finished = process.waitForFinished(30000);
    if (output)
        *output = process.readAllStandardOutput();
    if (finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return std::nullopt;
    return command.join(u' ') + u": "_s + QString::fromLocal8Bit(process.readAllStandardError());
}

// A FUSE file system of `kind` mounted over a temporary folder while it lives: "bindfs",
// "fusexmp", "exfat" (exfat-fuse on an image in a loop device) or "sshfs" (from an SSH server on
// 127.0.0.1); `why` tells why it could not be mounted.
struct Mount
{
    explicit Mount(const QByteArray &kind)
    {
        QStringList command{u"bindfs"_s, u"--no-allow-other"_s, backing.path(), folder.path()};
        if (kind == "fusexmp") {
#ifdef KURUBAKO_FUSEXMP
            command = {QStringLiteral(KURUBAKO_FUSEXMP), u"-o"_s,
                       u"modules=subdir,subdir="_s + backing.path(), folder.path()};
#else
            why = QStringLiteral(KURUBAKO_FUSEXMP_MISSING);
#endif
        }
        if (::access("/dev/fuse", R_OK | W_OK) != 0)
            why = u"FUSE cannot be mounted here: /dev/fuse: "_s + QString::fromLocal8Bit(strerror(errno));
        if (kind == "exfat" && why.isEmpty()) {
            // exfat-fuse mounts only a block device when run as root, so the image goes into a
            // loop device, which only root can set up.
            const QString image = backing.path() + u"/exfat.img"_s;
            QByteArray device;
            for (const QStringList &step :
                 {QStringList{u"truncate"_s, u"-s"_s, u"64M"_s, image}, QStringList{u"mkfs.exfat"_s, image},
                  QStringList{u"losetup"_s, u"--find"_s, u"--show"_s, image}}) {
                if (auto failed = runFailure(step, &device)) {
                    why = *failed;
                    return;
                }
            }
            m_loopDevice = QString::fromLocal8Bit(device).trimmed();
            command = {u"mount.exfat-fuse"_s, m_loopDevice, folder.path()};
        }
        if (kind == "sshfs" && why.isEmpty())
            command = startSshServer();
        if (!why.isEmpty())
            return;
        if (auto failed = runFailure(command))
            why = u"FUSE cannot be mounted here: "_s + *failed;
    }
    // An SSH server of the test's own on 127.0.0.1 that serves `backing` to a key of its own,
    // and the sshfs command that mounts it with sshfs's default options.
    QStringList startSshServer()
    {
        const QString sshd = QStandardPaths::findExecutable(u"sshd"_s, {u"/usr/sbin"_s});
        if (sshd.isEmpty() || ::geteuid() != 0) {
            why = u"no SSH server: sshd (openssh-server) is missing, or the test does not run as root"_s;
            return {};
        }
        const QString dir = state.path();
        // One key serves the host and the user.
        if (auto failed = runFailure({u"ssh-keygen"_s, u"-q"_s, u"-t"_s, u"ed25519"_s, u"-N"_s, QString(),
                                      u"-f"_s, dir + u"/key"_s})) {
            why = *failed;
            return {};
        }
        const QString port = QString::number(20000 + ::getpid() % 20000);
        ::mkdir("/run/sshd", 0755); // where sshd confines its unprivileged part
        m_sshd.setProcessChannelMode(QProcess::MergedChannels);
        m_sshd.start(sshd,
                     {u"-D"_s, u"-e"_s, u"-f"_s, u"/dev/null"_s, u"-p"_s, port, u"-h"_s, dir + u"/key"_s,
                      u"-o"_s, u"ListenAddress=127.0.0.1"_s, u"-o"_s,
                      u"AuthorizedKeysFile="_s + dir + u"/key.pub"_s, u"-o"_s, u"StrictModes=no"_s, u"-o"_s,
                      u"PidFile=none"_s, u"-o"_s, u"Subsystem=sftp internal-sftp"_s});
        QByteArray said;
        while (!said.contains("Server listening")) {
            if (!m_sshd.waitForReadyRead(10000)) {
                why = u"the SSH server did not start: "_s + QString::fromLocal8Bit(said);
                return {};
            }
            said += m_sshd.readAll();
        }
        return {u"sshfs"_s,
                u"-p"_s,
                port,
                u"-o"_s,
                u"IdentityFile="_s + dir
                    + u"/key,StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null,BatchMode=yes"_s,
                u"root@127.0.0.1:"_s + backing.path(),
                folder.path()};
    }
    ~Mount()
    {
        if (why.isEmpty())
            runFailure({u"fusermount"_s, u"-u"_s, folder.path()});
        if (!m_loopDevice.isEmpty())
            runFailure({u"losetup"_s, u"-d"_s, m_loopDevice});
    }
    QString path() const
    {
        return folder.path();
    }

    QString why;
    QString m_loopDevice;
    QProcess m_sshd; // ended with the mount
    testfolder::TempFolder state; // the SSH server's keys and configuration
    testfolder::TempFolder backing;
    testfolder::TempFolder folder;
};

} // namespace

class TestFuseRename : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void fileSystems_data();
    void noReplaceRefused_data() { fileSystems_data(); }
    void noReplaceRefused();
    void racingWriter_losesNothing_data();
    void racingWriter_losesNothing();
    void leftovers_data();
    void leftovers();
};

void TestFuseRename::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable(u"bindfs"_s).isEmpty(),
             "bindfs is missing: scripts/install-deps installs it");
}

void TestFuseRename::fileSystems_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<bool>("hardLinks");
    QTest::addColumn<bool>("numberedApart"); // two names of one file show two inode numbers
    QTest::newRow("bindfs: link path") << QByteArray("bindfs") << true << false;
    QTest::newRow("fusexmp, each name numbered on its own: reservation path")
        << QByteArray("fusexmp") << true << true;
    QTest::newRow("exFAT through exfat-fuse, no hard links: reservation path")
        << QByteArray("exfat") << false << false;
    QTest::newRow("sshfs, each name numbered on its own: reservation path")
        << QByteArray("sshfs") << true << true;
}

// What makes the program fall back: the file system refuses the flag; and what decides the
// path: whether it makes hard links, and numbers their names apart.
void TestFuseRename::noReplaceRefused()
{
    QFETCH(QByteArray, kind);
    const Mount mount(kind);
    if (!mount.why.isEmpty())
        QSKIP(qPrintable(mount.why));
    QVERIFY(testfolder::makeFile(mount.path(), "a", "a"));
    const QByteArray from = testfolder::pathOf(mount.path(), "a");
    const QByteArray to = testfolder::pathOf(mount.path(), "b");
    QCOMPARE(::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE), -1);
    QCOMPARE(errno, EINVAL);
    QFETCH(bool, hardLinks);
    QFETCH(bool, numberedApart);
    QCOMPARE(::link(from.constData(), to.constData()) == 0, hardLinks);
    struct stat a;
    struct stat b;
    if (hardLinks) {
        QVERIFY(::lstat(from.constData(), &a) == 0 && ::lstat(to.constData(), &b) == 0);
        QCOMPARE(a.st_ino != b.st_ino, numberedApart);
    }
}

void TestFuseRename::racingWriter_losesNothing_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<bool>("newNames");
    for (const QByteArray &kind :
         {QByteArray("bindfs"), QByteArray("fusexmp"), QByteArray("exfat"), QByteArray("sshfs")}) {
        QTest::addRow("%s: old names taken", kind.constData()) << kind << false;
        QTest::addRow("%s: new names created exclusively", kind.constData()) << kind << true;
    }
}

// A thousand snacks are moved while another program puts a file of its own, for each snack,
// under its old name the moment the snack has its new name (writing it elsewhere and renaming
// it there, as programs save files), or under its new name with an exclusive create the moment
// the snack has left its old name (racing the reservation or the link). Every snack and every
// file of the other program is there afterwards, each snack under one name, and no hidden name.
void TestFuseRename::racingWriter_losesNothing()
{
    QFETCH(QByteArray, kind);
    QFETCH(bool, newNames);
    const Mount mount(kind);
    if (!mount.why.isEmpty())
        QSKIP(qPrintable(mount.why));
    constexpr int Snacks = 1000;
    const QString folder = mount.path();
    QVERIFY(::mkdir(testfolder::pathOf(folder, "writer").constData(), 0755) == 0);
    QList<RenameRequest> moves;
    for (int i = 0; i < Snacks; ++i) {
        const QByteArray number = QByteArray::number(i);
        QVERIFY(testfolder::makeFile(folder, stockName(i), "snack " + number));
        QVERIFY(testfolder::makeFile(folder, "writer/" + number, "other " + number));
        moves.append({stockName(i), todayName(i)});
    }

    NameWatch calls;
    std::atomic<bool> done{false};
    std::atomic<int> written{0};
    std::thread writer([&] {
        int last = -1;
        while (!done.load()) {
            const int i = (newNames ? calls.hidden : calls.named).load();
            if (i == last)
                continue;
            last = i;
            const QByteArray from = testfolder::pathOf(folder, "writer/" + QByteArray::number(i));
            if (newNames
                    ? createExclusively(testfolder::pathOf(folder, todayName(i)),
                                        "other " + QByteArray::number(i))
                        && ::unlink(from.constData()) == 0
                    : ::rename(from.constData(), testfolder::pathOf(folder, stockName(i)).constData()) == 0)
                ++written;
        }
    });
    // A snack whose new name the other program took keeps its old one; the run goes on after it.
    int refused = 0;
    for (qsizetype next = 0; next < moves.size();) {
        const RenameOutcome outcome = PosixFileOps(calls).renameFiles(folder, moves.mid(next));
        next += outcome.completed;
        if (outcome.error.failed()) {
            QCOMPARE(outcome.error.number(), newNames ? 58 : 0);
            ++refused;
            ++next;
        }
    }
    done = true;
    writer.join();

    const auto holds = [&](const QByteArray &name, const QByteArray &contents) {
        QFile file(QFile::decodeName(testfolder::pathOf(folder, name)));
        return file.open(QIODevice::ReadOnly) && file.readAll() == contents;
    };
    int lost = 0;
    int twice = 0;
    for (int i = 0; i < Snacks; ++i) {
        const QByteArray snack = "snack " + QByteArray::number(i);
        const QByteArray other = "other " + QByteArray::number(i);
        if (holds(todayName(i), snack) == holds(stockName(i), snack))
            ++(holds(todayName(i), snack) ? twice : lost);
        if (!holds(stockName(i), other) && !holds(todayName(i), other)
            && !holds("writer/" + QByteArray::number(i), other))
            ++lost;
    }
    qInfo("%d snacks moved, %d refused, while %d files were put under their names", Snacks - refused, refused,
          written.load());
    QCOMPARE(lost, 0);
    QCOMPARE(twice, 0);
    for (const QByteArray &name : testfolder::namesIn(folder))
        QVERIFY2(!name.startsWith('.'), name.constData());
}

// What an older version, stopped half-way, left on bindfs is mended by the listing's repair
// step or by the next move.
void TestFuseRename::leftovers_data()
{
    QTest::addColumn<QByteArrayList>("files");
    QTest::addColumn<QByteArrayList>("after");
    QTest::newRow("snack under both names")
        << QByteArrayList{"a.pa_", "a.pac=>a.pa_"} << QByteArrayList{"a.pac<a.pa_"};
    QTest::newRow("hidden second name")
        << QByteArrayList{"a.pa_", ".kurubako-0123abcd-a.pac=>a.pa_"} << QByteArrayList{"a.pac<a.pa_"};
    QTest::newRow("link to a file, with a hidden second name")
        << QByteArrayList{"t", "a.pa_->t", ".kurubako-0123abcd-a.pac=>a.pa_"}
        << QByteArrayList{"t", "a.pac<t"};
}

void TestFuseRename::leftovers()
{
    QFETCH(QByteArrayList, files);
    QFETCH(QByteArrayList, after);
    const Mount mount("bindfs");
    if (!mount.why.isEmpty())
        QSKIP(qPrintable(mount.why));
    QVERIFY(testfolder::make(mount.path(), files));
    PosixFileOps ops;
    ops.finishStoppedRenames(mount.path());
    QCOMPARE(ops.renameFiles(mount.path(), {{"a.pa_", "a.pac"}}).error.description, QString());
    QCOMPARE(testfolder::snapshot(mount.path()), testfolder::expected(after));
}

QTEST_GUILESS_MAIN(TestFuseRename)
#include "tst_fuserename.moc"
