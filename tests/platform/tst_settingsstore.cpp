#include "platform/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

using namespace kurubako;

namespace {

void useConfigFolder(const QString &folder)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
}

QString read(const QString &key)
{
    return SystemSettingsStore().readKeys(u"Tobiuo"_s, u"Kurubako"_s, {key}).constFirst();
}

bool write(const QString &key, const QString &text)
{
    return SystemSettingsStore().writeKeys(u"Tobiuo"_s, u"Kurubako"_s, {{key, text}});
}

// Readings of the settings file and saves that replace it, since the last call, from an inotify
// watch on its folder. inotify merges an event into an identical one still unread, so the
// reads of one opening count once, and the closings keep openings apart.
std::pair<int, int> settingsFileEvents(int watch)
{
    std::pair counts{0, 0};
    alignas(inotify_event) char buffer[4096];
    for (ssize_t size; (size = ::read(watch, buffer, sizeof buffer)) > 0;) {
        for (ssize_t at = 0; at < size;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            if (event->len > 0 && qstrcmp(event->name, "Kurubako.conf") == 0
                && !(event->mask & IN_CLOSE_NOWRITE))
                ++(event->mask & IN_ACCESS ? counts.first : counts.second);
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    return counts;
}

bool writeSettingsFile(const QString &configFolder, const QByteArray &contents)
{
    QFile file(configFolder + u"/Tobiuo/Kurubako.conf"_s);
    return QDir(configFolder).mkpath(u"Tobiuo"_s) && file.open(QIODevice::WriteOnly)
        && file.write(contents) == contents.size();
}

} // namespace

// The real store, its config folder moved into a temporary folder.
class TestSettingsStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        useConfigFolder(m_dir->path());
    }
    void roundTrip_data();
    void roundTrip();
    void missingKey();
    void unwritable_data();
    void unwritable();
    void damagedFile_keepsKeysReadable_data();
    void damagedFile_keepsKeysReadable();
    void largeFile_parsedOnceWrittenOnce();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSettingsStore::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("spaces") << u"  two  spaces  "_s;
    QTest::newRow("commas") << u"a, b,c"_s;
    QTest::newRow("leading at") << u"@Variant(x)"_s;
    QTest::newRow("Japanese") << u"ポストペット 2.0"_s;
    QTest::newRow("backslashes") << u"C:\\Program Files\\So-net\\"_s;
    QTest::newRow("quotes") << u"say \"hi\" '"_s;
    QTest::newRow("comment and key marks") << u"; a=b # c"_s;
}

void TestSettingsStore::roundTrip()
{
    QFETCH(QString, text);
    QVERIFY(write(u"postpet_dir"_s, text));
    // Read from a copy of the file, so that the text comes from the file and not from what
    // QSettings keeps of the file it wrote.
    QTemporaryDir other;
    QVERIFY(QDir(other.path()).mkpath(u"Tobiuo"_s));
    QVERIFY(
        QFile::copy(m_dir->path() + u"/Tobiuo/Kurubako.conf"_s, other.path() + u"/Tobiuo/Kurubako.conf"_s));
    useConfigFolder(other.path());
    QCOMPARE(read(u"postpet_dir"_s), text);
}

void TestSettingsStore::missingKey()
{
    QCOMPARE(read(u"top"_s), QString());
    QVERIFY(write(u"left"_s, u"5"_s));
    QCOMPARE(read(u"top"_s), QString());
    QCOMPARE(read(u"left"_s), u"5"_s);
}

void TestSettingsStore::unwritable_data()
{
    QTest::addColumn<QByteArray>("setUp");
    QTest::addColumn<QString>("unusable"); // the file that the store names
    const QString conf = u"Kurubako.conf"_s;
    const QString lock = u"Kurubako.conf.lock"_s;
    QTest::newRow("settings file is a folder") << QByteArray("folder") << conf;
    QTest::newRow("config folder is a file") << QByteArray("config-file") << QString();
    QTest::newRow("settings file is a FIFO: never waited for") << QByteArray("fifo") << conf;
    QTest::newRow("settings file links to a device: never replaced") << QByteArray("device") << conf;
    QTest::newRow("lock file is a FIFO: never waited for") << QByteArray("lock-fifo") << lock;
    QTest::newRow("lock file is a folder: never retried") << QByteArray("lock-folder") << lock;
    QTest::newRow("lock file links nowhere") << QByteArray("lock-link") << lock;
}

void TestSettingsStore::unwritable()
{
    QFETCH(QByteArray, setUp);
    QFETCH(QString, unusable);
    const QString file = m_dir->path() + u"/Tobiuo/Kurubako.conf"_s;
    const QByteArray path = QFile::encodeName(file);
    QVERIFY(QDir(m_dir->path()).mkpath(u"Tobiuo"_s));
    QVERIFY(write(u"left"_s, u"5"_s)); // a file to keep away from
    if (setUp == "config-file") {
        QFile plain(m_dir->path() + u"/config"_s);
        QVERIFY(plain.open(QIODevice::WriteOnly));
        useConfigFolder(plain.fileName());
    } else if (setUp == "folder") {
        QVERIFY(QFile::remove(file) && QDir(m_dir->path()).mkpath(u"Tobiuo/Kurubako.conf"_s));
    } else if (setUp == "fifo") {
        QVERIFY(QFile::remove(file) && ::mkfifo(path.constData(), 0600) == 0);
    } else if (setUp == "lock-fifo") {
        QVERIFY(::mkfifo(QByteArray(path + ".lock").constData(), 0600) == 0);
    } else if (setUp == "lock-folder") {
        QVERIFY(QDir().mkpath(file + u".lock"_s));
    } else if (setUp == "lock-link") {
        QVERIFY(::symlink("nowhere", QByteArray(path + ".lock").constData()) == 0);
    } else if (!QFile::remove(file)
               || ::mknod(QFile::encodeName(m_dir->path() + u"/null"_s).constData(), S_IFCHR | 0666,
                          makedev(1, 3))
                   != 0
               || ::symlink("../null", path.constData()) != 0) {
        QSKIP("no device node can be made here");
    }
    SystemSettingsStore store;
    QVERIFY(!store.writeKeys(u"Tobiuo"_s, u"Kurubako"_s, {{u"top"_s, u"0"_s}})
            && store.readKeys(u"Tobiuo"_s, u"Kurubako"_s, {u"left"_s}).constFirst().isEmpty());
    QCOMPARE(store.unusableFile(), unusable.isEmpty() ? QString() : m_dir->path() + u"/Tobiuo/"_s + unusable);
    const QFileInfo device(m_dir->path() + u"/null"_s); // still a device, not a file that took its name
    QVERIFY(setUp != "device" || (device.exists() && !device.isFile()));
}

void TestSettingsStore::damagedFile_keepsKeysReadable_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QStringList>("texts"); // of top, left, Chk1, Chk2, ver

    const QByteArray keys = "top=100\nleft=200\nChk1=True\nChk2=1\nver=1.1\n";
    QTest::newRow("unterminated [General header")
        << "[General\n" + keys << QStringList{u"100"_s, u"200"_s, u"True"_s, u"1"_s, u"1.1"_s};
    QTest::newRow("stray section before Chk1")
        << QByteArray("[General]\ntop=100\nleft=200\n[\nChk1=True\nChk2=1\n")
        << QStringList{u"100"_s, u"200"_s, QString(), QString(), QString()};
}

// A file that QSettings cannot parse to its end still gives the keys before the damage, and
// takes a save, which keeps them.
void TestSettingsStore::damagedFile_keepsKeysReadable()
{
    QFETCH(QByteArray, contents);
    QFETCH(QStringList, texts);

    QVERIFY(writeSettingsFile(m_dir->path(), contents));
    const QStringList keys{u"top"_s, u"left"_s, u"Chk1"_s, u"Chk2"_s, u"ver"_s};
    QCOMPARE(SystemSettingsStore().readKeys(u"Tobiuo"_s, u"Kurubako"_s, keys), texts);
    QVERIFY(write(u"postpet_dir"_s, u"/p"_s));
    QCOMPARE(read(u"top"_s), u"100"_s);
    QCOMPARE(read(u"postpet_dir"_s), u"/p"_s);
}

// A large settings file is read (and parsed) once however often a run reads it, and each save
// of several keys replaces it once.
void TestSettingsStore::largeFile_parsedOnceWrittenOnce()
{
    QByteArray contents = "[General]\ntop=100\nleft=200\nChk1=True\nChk2=1\nver=1.1\npostpet_dir=/p\n";
    for (int i = 0; i < 10'000; ++i)
        contents += "junk" + QByteArray::number(i) + '=' + QByteArray(200, 'x') + '\n';
    QVERIFY(writeSettingsFile(m_dir->path(), contents));
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    const auto closeWatch = qScopeGuard([watch] { ::close(watch); });
    QVERIFY(::inotify_add_watch(watch, QFile::encodeName(m_dir->path() + u"/Tobiuo"_s).constData(),
                                IN_ACCESS | IN_CLOSE_NOWRITE | IN_MOVED_TO)
            >= 0);

    // What start-up reads (the check's keys, then the folder with them again), and what the
    // quit path saves.
    SystemSettingsStore store;
    const QString app = u"Tobiuo"_s;
    const QString section = u"Kurubako"_s;
    QCOMPARE(store.readKeys(app, section, {u"top"_s, u"left"_s, u"Chk1"_s, u"Chk2"_s, u"ver"_s}).constFirst(),
             u"100"_s);
    QCOMPARE(store.readKeys(app, section, {u"postpet_dir"_s, u"Chk1"_s, u"top"_s}).constFirst(), u"/p"_s);
    QCOMPARE(settingsFileEvents(watch), (std::pair{1, 0}));
    QVERIFY(store.writeKeys(
        app, section,
        {{u"Chk1"_s, u"False"_s}, {u"Chk2"_s, u"0"_s}, {u"top"_s, u"300"_s}, {u"left"_s, u"5"_s}}));
    QCOMPARE(settingsFileEvents(watch), (std::pair{0, 1}));

    QCOMPARE(read(u"top"_s), u"300"_s);
    QCOMPARE(read(u"junk7"_s), QString(200, u'x'));
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
