// What the user sees, and what becomes of the snack files, when the file system refuses or
// another program changes the snack folder while a transfer or a rename is under way; and the
// start-up with a settings file that cannot be read or written.

#include "uifixture.h"

#include "../common/faultysyscalls.h"
#include "common/latchedfileops.h"

#include "app/preferencesstore.h"
#include "platform/fileops_posix.h"
#include "platform/settingsstore.h"
#include "snacks/snackscan.h"
#include "ui/folderchooserdialog.h"
#include "ui/renamedialog.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/stat.h>
#include <utility>

using namespace Qt::StringLiterals;

using kurubako::MsgBox;

namespace {

using Names = QByteArrayList;

// Where the snack folder goes when another program takes it away.
QString movedFolder(const QString &snackDir)
{
    return snackDir + u".old"_s;
}

// Carries out one step of a change by another program, written "what:name" (or
// "rename:old>new", which replaces a file of the new name).
void change(const QString &snackDir, const QByteArray &step)
{
    const QByteArray what = step.left(step.indexOf(':'));
    const QByteArray name = step.mid(step.indexOf(':') + 1);
    const QByteArray dir = QFile::encodeName(snackDir);
    bool done = false;
    if (what == "make") {
        done = testfolder::make(snackDir, {name});
    } else if (what == "remove") {
        done = ::unlink(testfolder::pathOf(snackDir, name).constData()) == 0;
    } else if (what == "rename") {
        const QList<QByteArray> pair = name.split('>');
        done = std::rename(testfolder::pathOf(snackDir, pair.at(0)).constData(),
                           testfolder::pathOf(snackDir, pair.at(1)).constData())
            == 0;
    } else if (what == "folder") {
        // The folder goes away with its snacks, and maybe a file takes its name.
        done = std::rename(dir.constData(), QFile::encodeName(movedFolder(snackDir)).constData()) == 0;
        if (done && name == "file")
            done = testfolder::makeFile(QFileInfo(snackDir).path(),
                                        QFile::encodeName(QFileInfo(snackDir).fileName()), "not a folder");
    }
    QVERIFY2(done, step.constData());
}

// The lists as a fresh read of the folder gives them.
QList<kurubako::Snack> scanned(const QString &snackDir, bool stock)
{
    kurubako::PosixFileOps files;
    const kurubako::SnackLists lists = kurubako::scanSnackFolder(files, snackDir);
    return stock ? lists.stock : lists.today;
}

QStringList namesOf(const QList<kurubako::Snack> &snacks)
{
    QStringList names;
    for (const kurubako::Snack &snack : snacks)
        names.append(snack.name + u'|' + QString::fromLatin1(snack.file.toHex()));
    return names;
}

// PostPet's folder on the mount: the main window shows at the start, F3 and F5 wait with the
// window painting, the wait box gives the window back, and F8 ends the run with the settings.
void deadMountUnderMainWindow(const QString &backing, const QString &mount, pid_t daemon)
{
    QVERIFY(QDir().mkpath(backing + u"/PostPet/おやつ"_s));
    QVERIFY(testfolder::make(backing + u"/PostPet/おやつ"_s, {"a.pa_", "b.pa_"}));
    UiFixture running;
    UiFixture starting;
    // The file operations wait for the calls that the mount held, once it answers again.
    const auto resume = qScopeGuard([&] { ::kill(daemon, SIGCONT); });
    for (UiFixture *f : {&running, &starting}) {
        f->files = std::make_unique<kurubako::LatchedFileOps>(std::move(f->files));
        f->waits = UiFixture::noWaiting();
    }
    const QHash<QString, QString> stored{{u"postpet_dir"_s, mount + u"/PostPet"_s}, {u"Chk1"_s, u"True"_s}};
    const auto giveUp = [](kurubako::MainWindow *window) {
        QTRY_VERIFY(window->findChild<QDialog *>(u"waitBox"_s));
        QVERIFY(window->isVisible() && window->isBusy());
        window->findChild<QDialog *>(u"waitBox"_s)->findChild<QPushButton *>()->click();
        QVERIFY(!window->isBusy());
        QApplication::setActiveWindow(window);
    };

    kurubako::MainWindow *window = running.startMainWindow(stored);
    QTRY_COMPARE(running.names("stockList"), QStringList({u"a"_s, u"b"_s}));
    ::kill(daemon, SIGSTOP);
    QApplication::setActiveWindow(window);
    QVERIFY(running.click("stockSelectAllButton"));
    QTest::keyClick(running.list("stockList"), Qt::Key_F3);
    giveUp(window);
    QTest::keyClick(running.list("stockList"), Qt::Key_F5);
    giveUp(window);
    QCOMPARE(running.names("stockList"), QStringList({u"a"_s, u"b"_s}));

    kurubako::MainWindow *started = starting.startMainWindow(stored);
    QVERIFY(started);
    giveUp(started);
    QVERIFY(starting.names("stockList").isEmpty() && starting.names("todayList").isEmpty());

    running.store.writeLog.clear();
    QApplication::setActiveWindow(window);
    QTest::keyClick(running.list("stockList"), Qt::Key_F8);
    QCOMPARE(running.endCount, 1);
    QVERIFY(running.store.writeLog.contains(u"Chk1=True"_s));
}

// One fault of fileSystemFaults: what fails or changes, and what the user then sees.
struct Fault
{
    Names extraFiles = {}; // beside stock a and b and today's c
    QString newName = {}; // null: a transfer
    int renameErrno = 0; // renameat2 fails so from call renameFailsFrom on
    int renameFailsFrom = 1;
    int linkErrno = 0;
    Names unlinkFailing = {};
    QByteArray when = {}; // "now", "rename#n", "link" or "slow"
    QByteArray change = {}; // by another program, at `when`
    int number = 0; // of the error box; 0: none
    QString description = {};
    Names after = {}; // the folder afterwards; empty: as before
};

} // namespace

Q_DECLARE_METATYPE(Fault)

class TestFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void fileSystemFaults_data();
    void fileSystemFaults();
    void settingsFileFaults_data();
    void settingsFileFaults();
    void deadMount_data();
    void deadMount();
};

// Stock a and b, today's c. A transfer adds every stock snack (a, then b); a rename gives the
// stock snack a a new name. `change` is done by another program before the click ("now")
// or at a moment inside the file operation ("rename#n", "link").
void TestFaults::fileSystemFaults_data()
{
    QTest::addColumn<Fault>("fault");

    const QString exists = u"同じ名前のファイルが既にあります。"_s;
    const QString denied = u"書き込みが許可されていません。"_s;
    const QString missing = u"ファイルが見つかりません。"_s;
    const QString noFolder = u"おやつのフォルダーが見つかりません。"_s;
    const QString readOnly = u"読み取り専用のドライブなので変更できません。"_s;
    const QString noSpace = u"ディスクの空き容量が足りません。"_s;
    const QString otherDrive = u"別のドライブへは名前の変更で移せません。"_s;
    const QString tooLong = u"ファイル名が長すぎます。"_s;
    const QString ioError = u"デバイスの入出力エラーです。"_s;
    const Names moved{"a.pac<a.pa_", "b.pac<b.pa_", "c.pac"};
    const Names firstMoved{"a.pac<a.pa_", "b.pa_", "c.pac"};

    QTest::newRow("target appears before the rename") << Fault{.when = "rename#1",
                                                               .change = "make:a.pac",
                                                               .number = 58,
                                                               .description = exists,
                                                               .after = {"a.pa_", "a.pac", "b.pa_", "c.pac"}};
    QTest::newRow("target appears before the second rename")
        << Fault{.when = "rename#2",
                 .change = "make:b.pac",
                 .number = 58,
                 .description = exists,
                 .after = {"a.pac<a.pa_", "b.pa_", "b.pac", "c.pac"}};
    QTest::newRow("no-replace refused, target appears before the link")
        << Fault{.renameErrno = EINVAL,
                 .when = "rename#1",
                 .change = "make:a.pac",
                 .number = 58,
                 .description = exists,
                 .after = {"a.pa_", "a.pac", "b.pa_", "c.pac"}};
    QTest::newRow("no-replace refused, no hard links: moved through a reservation")
        << Fault{.renameErrno = EINVAL, .linkErrno = EPERM, .after = moved};
    QTest::newRow("no-replace refused, hard links: moved") << Fault{.renameErrno = EINVAL, .after = moved};
    QTest::newRow("no renameat2, hard links: moved") << Fault{.renameErrno = ENOSYS, .after = moved};
    QTest::newRow("old name stays: new name taken back")
        << Fault{.renameErrno = EINVAL, .unlinkFailing = {"a.pa_"}, .number = 70, .description = denied};
    QTest::newRow("second snack's old name stays") << Fault{.renameErrno = EINVAL,
                                                            .unlinkFailing = {"b.pa_"},
                                                            .number = 70,
                                                            .description = denied,
                                                            .after = firstMoved};
    QTest::newRow("old name taken by another file after the link")
        << Fault{.renameErrno = EINVAL,
                 .when = "link",
                 .change = "rename:c.pac>a.pa_",
                 .after = {"a.pac<a.pa_", "a.pa_<c.pac", "b.pac<b.pa_"}};
    // A run that takes longer than half a second shows its progress; its button stops it.
    QTest::newRow("slow run stopped from its progress box") << Fault{.when = "slow", .after = firstMoved};
    QTest::newRow("EACCES") << Fault{.renameErrno = EACCES, .number = 70, .description = denied};
    QTest::newRow("EPERM on the second") << Fault{
        .renameErrno = EPERM, .renameFailsFrom = 2, .number = 70, .description = denied, .after = firstMoved};
    QTest::newRow("EROFS") << Fault{.renameErrno = EROFS, .number = 75, .description = readOnly};
    QTest::newRow("ENOSPC on the second") << Fault{.renameErrno = ENOSPC,
                                                   .renameFailsFrom = 2,
                                                   .number = 61,
                                                   .description = noSpace,
                                                   .after = firstMoved};
    QTest::newRow("EXDEV") << Fault{.renameErrno = EXDEV, .number = 74, .description = otherDrive};
    QTest::newRow("ENAMETOOLONG") << Fault{.renameErrno = ENAMETOOLONG, .number = 64, .description = tooLong};
    QTest::newRow("EIO on the second") << Fault{
        .renameErrno = EIO, .renameFailsFrom = 2, .number = 57, .description = ioError, .after = firstMoved};
    QTest::newRow("an errno without a number of its own")
        << Fault{.renameErrno = EBUSY,
                 .number = 51,
                 .description = u"予期しないエラーです。（errno "_s + QString::number(EBUSY) + u'）'};
    QTest::newRow("snack removed after the lists were read") << Fault{.when = "now",
                                                                      .change = "remove:a.pa_",
                                                                      .number = 53,
                                                                      .description = missing,
                                                                      .after = {"b.pa_", "c.pac"}};
    QTest::newRow("second snack removed after the lists were read")
        << Fault{.when = "now",
                 .change = "remove:b.pa_",
                 .number = 53,
                 .description = missing,
                 .after = {"a.pac<a.pa_", "c.pac"}};
    QTest::newRow("snack removed during the move") << Fault{.when = "rename#1",
                                                            .change = "remove:a.pa_",
                                                            .number = 53,
                                                            .description = missing,
                                                            .after = {"b.pa_", "c.pac"}};
    QTest::newRow("snack folder gone")
        << Fault{.when = "now", .change = "folder:gone", .number = 76, .description = noFolder};
    QTest::newRow("snack folder replaced by a file")
        << Fault{.when = "now", .change = "folder:file", .number = 76, .description = noFolder};
    QTest::newRow("broken link at the target")
        << Fault{.extraFiles = {"a.pac->nowhere"}, .number = 58, .description = exists};
    QTest::newRow("link to a folder at the target")
        << Fault{.extraFiles = {"A.PAC->.."}, .number = 58, .description = exists};

    // The rename dialog shows the number only, or its own text for a name that is taken.
    QTest::newRow("rename: target appears") << Fault{.newName = u"x"_s,
                                                     .when = "rename#1",
                                                     .change = "make:x.pa_",
                                                     .number = 58,
                                                     .description = exists,
                                                     .after = {"a.pa_", "b.pa_", "c.pac", "x.pa_"}};
    QTest::newRow("rename: EROFS") << Fault{.newName = u"x"_s, .renameErrno = EROFS, .number = 75};
    QTest::newRow("rename: no hard links") << Fault{.newName = u"x"_s,
                                                    .renameErrno = EINVAL,
                                                    .linkErrno = EPERM,
                                                    .after = {"x.pa_<a.pa_", "b.pa_", "c.pac"}};
    QTest::newRow("rename: snack removed") << Fault{.newName = u"x"_s,
                                                    .when = "now",
                                                    .change = "remove:a.pa_",
                                                    .number = 53,
                                                    .after = {"b.pa_", "c.pac"}};
    QTest::newRow("rename: snack folder gone")
        << Fault{.newName = u"x"_s, .when = "now", .change = "folder:gone", .number = 76};
    QTest::newRow("rename: broken link at the new name")
        << Fault{.extraFiles = {"X.pa_->a.pa_x"}, .newName = u"x"_s, .number = 58, .description = exists};
}

void TestFaults::fileSystemFaults()
{
    QFETCH(Fault, fault);
    const auto &[extraFiles, newName, renameErrno, renameFailsFrom, linkErrno, unlinkFailing, when, change,
                 number, description, after] = fault;

    FaultySyscalls sys;
    UiFixture f;
    QVERIFY(f.addSnacks(Names{"a.pa_", "b.pa_", "c.pac"} + extraFiles));
    const QByteArray before = f.snapshot();
    sys.renameErrno = renameErrno;
    sys.renameFailsFrom = renameFailsFrom;
    sys.linkErrno = linkErrno;
    sys.unlinkFailing = unlinkFailing;
    if (when.startsWith("rename#")) {
        const int call = when.mid(7).toInt();
        sys.beforeRename = [&, call](int n) {
            if (n == call)
                ::change(f.snackDir, change);
        };
    } else if (when == "link") {
        sys.afterLink = [&, done = false](const char *, const char *) mutable {
            if (!std::exchange(done, true))
                ::change(f.snackDir, change);
        };
    }
    auto *latched = when == "slow"
        ? new kurubako::LatchedFileOps(std::make_unique<kurubako::PosixFileOps>(sys))
        : nullptr;
    f.files =
        latched ? std::unique_ptr<kurubako::FileOps>(latched) : std::make_unique<kurubako::PosixFileOps>(sys);
    if (latched) { // progress shows at once; the first report waits until the box was clicked
        latched->hold(kurubako::LatchedFileOps::Progress);
        f.waits.answer = f.waits.progress = std::chrono::milliseconds(0);
    }
    f.startMainWindow();
    f.action("skipQuestionsAction")->trigger(); // no questions: the boxes are the failures only
    QCOMPARE(f.names("stockList"), QStringList({u"a"_s, u"b"_s}));
    if (when == "now")
        ::change(f.snackDir, change);

    QString progressShown;
    QTimer stopper;
    connect(&stopper, &QTimer::timeout, [&] {
        if (auto *progress = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget())) {
            progressShown = progress->labelText();
            progress->findChild<QPushButton *>()->click();
        }
    });
    stopper.start(10);
    std::unique_ptr<kurubako::RenameDialog> dialog;
    if (newName.isNull()) {
        QVERIFY(f.click("stockSelectAllButton"));
        QVERIFY(f.click("addToTodayButton"));
        if (latched) {
            QTRY_VERIFY(!progressShown.isEmpty());
            latched->release(kurubako::LatchedFileOps::Progress);
            QTRY_VERIFY(!f.window()->isBusy());
        }
    } else {
        f.list("stockList")->setCurrentIndex(f.list("stockList")->snackModel()->index(0));
        dialog = f.renameDialog(kurubako::SnackSet::Stock);
        dialog->show();
        dialog->findChild<QLineEdit *>(u"newName"_s)->setText(newName);
        dialog->findChild<QPushButton *>(u"renameButton"_s)->click();
    }

    if (number == 0) {
        QVERIFY2(f.box.shown.isEmpty(), qPrintable(f.box.shown.value(0).text));
    } else {
        QCOMPARE(f.box.shown.size(), 1);
        QCOMPARE(f.box.shown[0].icon, MsgBox::Icon::Critical);
        if (newName.isNull()) {
            QCOMPARE(f.box.shown[0].title, u"追加エラー"_s);
            QCOMPARE(f.box.shown[0].text,
                     u"PostPetおやつのあるディレクトリをチェックしてちょ。（"_s + QString::number(number)
                         + u"）\r\nエラー内容："_s + description);
        } else {
            QCOMPARE(f.box.shown[0].title, u"エラー"_s);
            QCOMPARE(f.box.shown[0].text,
                     number == 58 ? u"同じ名前のファイルが存在するので変えられないよ"_s
                                  : u"未知のエラーです("_s + QString::number(number) + u')');
            QVERIFY(dialog->isVisible());
        }
    }
    // Every snack is where the completed renames put it, with its own contents, and no other
    // file is touched; a folder that went away keeps its snacks wherever it went.
    if (change.startsWith("folder:"))
        QCOMPARE(testfolder::snapshot(movedFolder(f.snackDir)), before);
    else
        QCOMPARE(f.snapshot(), after.isEmpty() ? before : testfolder::expected(after));
    // Only a run that took long showed how far it got.
    QCOMPARE(progressShown, when == "slow" ? u"0 / 2 件のおやつを移動したよ"_s : QString());
    // The program goes on, with lists that show the folder as it is after a transfer.
    QVERIFY(f.window()->isVisible());
    if (newName.isNull()) {
        QCOMPARE(namesOf(f.list("stockList")->snackModel()->snacks()), namesOf(scanned(f.snackDir, true)));
        QCOMPARE(namesOf(f.list("todayList")->snackModel()->snacks()), namesOf(scanned(f.snackDir, false)));
    }
}

// The settings file in the way: the check writes its defaults wherever the store takes them,
// shows nothing, and the program starts (on the folder chooser, as PostPet's folder cannot
// be read back).
void TestFaults::settingsFileFaults_data()
{
    QTest::addColumn<QByteArray>("setUp");
    QTest::addColumn<bool>("writable");

    QTest::newRow("settings file is a folder") << QByteArray("folder") << false;
    QTest::newRow("config folder is a file") << QByteArray("config-file") << false;
    QTest::newRow("settings file is a link to itself") << QByteArray("loop") << true;
    QTest::newRow("settings file holds no settings") << QByteArray("garbage") << true;
    QTest::newRow("settings file is a FIFO") << QByteArray("fifo") << false;
    QTest::newRow("lock file is a FIFO") << QByteArray("lock-fifo") << false;
    QTest::newRow("lock file is a folder") << QByteArray("lock-folder") << false;
}

void TestFaults::settingsFileFaults()
{
    QFETCH(QByteArray, setUp);
    QFETCH(bool, writable);
    QTemporaryDir config;
    QString configFolder = config.path();
    const QString file = configFolder + u"/Tobiuo/Kurubako.conf"_s;
    QVERIFY(QDir(configFolder).mkpath(u"Tobiuo"_s));
    if (setUp == "folder") {
        QVERIFY(QDir().mkpath(file));
    } else if (setUp == "config-file") {
        configFolder += u"/plain"_s;
        QVERIFY(testfolder::makeFile(config.path(), "plain", "not a folder"));
    } else if (setUp == "loop") {
        QVERIFY(::symlink("Kurubako.conf", QFile::encodeName(file).constData()) == 0);
    } else if (setUp == "fifo" || setUp == "lock-fifo") {
        QVERIFY(::mkfifo(QFile::encodeName(setUp == "fifo" ? file : file + u".lock"_s).constData(), 0600)
                == 0);
    } else if (setUp == "lock-folder") {
        QVERIFY(QDir().mkpath(file + u".lock"_s));
    } else {
        const char garbage[] = "\xff\xfe\0[General\n=\n\x81\x82\n[\n=x=\n\"top\"=\"\n";
        QVERIFY(testfolder::makeFile(configFolder + u"/Tobiuo"_s, "Kurubako.conf",
                                     QByteArray(garbage, sizeof garbage - 1)));
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configFolder);

    kurubako::SystemSettingsStore store;
    UiFixture f;
    f.program = std::make_unique<kurubako::Program>(f.services(), store, [] {});
    f.program->start();

    QVERIFY2(f.box.shown.isEmpty(), qPrintable(f.box.shown.value(0).text));
    QVERIFY(f.program->folderChooser() && f.program->folderChooser()->isVisible());
    // What was written, as a later run reads it.
    const auto stored = [&](const QString &key) {
        return kurubako::SystemSettingsStore().readKeys(u"Tobiuo"_s, u"Kurubako"_s, {key}).constFirst();
    };
    const QStringList expected = writable
        ? QStringList{u"0"_s, u"0"_s, u"False"_s, u"0"_s, u"1.1"_s}
        : QStringList{QString(), QString(), QString(), QString(), QString()};
    QCOMPARE(QStringList({stored(u"top"_s), stored(u"left"_s), stored(u"Chk1"_s), stored(u"Chk2"_s),
                          stored(u"ver"_s)}),
             expected);
    // PostPet's folder, chosen now, is there at the next start wherever the store takes it.
    QCOMPARE(kurubako::PreferencesStore(store).savePostPetDir(f.postPetDir), writable);
    QCOMPARE(stored(u"postpet_dir"_s), writable ? f.postPetDir : QString());
}

// A mount whose FUSE daemon is stopped, where every look waits: the chooser appears at once
// all the same, on another folder, and a drive on the mount shows as not ready.
void TestFaults::deadMount_data()
{
    QTest::addColumn<QByteArray>("where"); // what lies on the mount
    QTest::newRow("Wine prefix in use: first run") << QByteArray("prefix");
    QTest::newRow("PostPet's folder: settings") << QByteArray("postpet");
    QTest::newRow("PostPet's folder: main window") << QByteArray("window");
}

void TestFaults::deadMount()
{
    QFETCH(QByteArray, where);
    testfolder::TempFolder backing;
    testfolder::TempFolder mount;
    QVERIFY(QDir(backing.path()).mkpath(u"prefix/drive_c"_s));
    QProcess daemon;
    daemon.start(QStandardPaths::findExecutable(u"bindfs"_s), {u"-f"_s, backing.path(), mount.path()});
    QTRY_VERIFY_WITH_TIMEOUT(
        QDir(mount.path() + u"/prefix/drive_c"_s).exists() || daemon.state() == QProcess::NotRunning, 10000);
    if (daemon.state() == QProcess::NotRunning)
        QSKIP("bindfs cannot mount here");
    if (where != "window")
        ::kill(pid_t(daemon.processId()), SIGSTOP);
    const QString prefix = mount.path() + u"/prefix"_s;
    const auto wake = qScopeGuard([&] {
        ::kill(pid_t(daemon.processId()), SIGCONT); // the looks that wait end
        QProcess::execute(QStandardPaths::findExecutable(u"fusermount"_s), {u"-u"_s, u"-z"_s, mount.path()});
        daemon.terminate();
        daemon.waitForFinished(10000);
        qunsetenv("WINEPREFIX");
    });
    if (where == "window") {
        deadMountUnderMainWindow(backing.path(), mount.path(), pid_t(daemon.processId()));
        return;
    }
    UiFixture f;
    f.waits = UiFixture::noWaiting();
    qputenv("WINEPREFIX", QFile::encodeName(where == "prefix" ? prefix : f.postPetDir));
    std::unique_ptr<kurubako::FolderChooserDialog> fromSettings;
    if (where == "prefix") { // the first run's chooser, on PostPet's usual folder in the prefix
        f.start();
    } else {
        f.startMainWindow();
        fromSettings = std::make_unique<kurubako::FolderChooserDialog>(
            *f.files, f.box, f.waits, kurubako::FolderChooserDialog::Purpose::ChangeFolder, prefix,
            f.window());
    }
    kurubako::FolderChooserDialog &chooser = fromSettings ? *fromSettings : *f.program->folderChooser();
    const auto beingRead = [&] {
        return chooser.findChild<QLabel *>(u"chosenFolderLabel"_s)
            ->text()
            .remove(u'\n')
            .endsWith(u"（読み込み中・・・）"_s);
    };
    QVERIFY(chooser.chosenFolder().startsWith(mount.path()) && beingRead());
    auto *drives = chooser.findChild<QComboBox *>(u"driveList"_s);
    const int drive = drives->findData(QString(prefix + u"/drive_c"_s));
    QCOMPARE(drive >= 0, where == "prefix");
    if (drive >= 0) {
        Q_EMIT drives->activated(drive);
        QTRY_VERIFY(drives->itemText(drive).endsWith(u"（準備ができていません）"_s));
    }
    QVERIFY(!chooser.openFolder(prefix) && beingRead());
    // OK names the folder that does not answer, and the user can stop waiting for it.
    chooser.findChild<QPushButton *>(u"okButton"_s)->click();
    QTRY_VERIFY(chooser.findChild<QDialog *>(u"waitBox"_s));
    chooser.findChild<QDialog *>(u"waitBox"_s)->findChild<QPushButton *>(u"stopWaitingButton"_s)->click();
    QTRY_VERIFY(!chooser.findChild<QDialog *>(u"waitBox"_s));
    // An answer, however late, fills the chooser in, and the drive loses its mark.
    ::kill(pid_t(daemon.processId()), SIGCONT);
    QTRY_VERIFY_WITH_TIMEOUT(!beingRead(), 10000);
    QCOMPARE(chooser.chosenFolder(), prefix);
    QVERIFY(f.box.shown.isEmpty()); // the answer to the OK that was given up is dropped
    if (drive >= 0) {
        Q_EMIT drives->activated(drive);
        QTRY_VERIFY(!drives->itemText(drive).endsWith(u"（準備ができていません）"_s));
    }
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
