#include "uifixture.h"

#include "platform/defaultfolders.h"
#include "ui/folderchooserdialog.h"

#include <QComboBox>
#include <QOperatingSystemVersion>
#include <QScopeGuard>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

using kurubako::FolderChooserDialog;
using kurubako::MsgBox;

namespace {

// The folder that the chooser's label shows, on one line or broken onto two.
QString shownFolder(const FolderChooserDialog *chooser)
{
    return chooser->findChild<QLabel *>(u"chosenFolderLabel"_s)->text().remove(u'\n');
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void firstRun_data();
    void firstRun();
    void firstRun_okWithoutExecutableKeepsChooser();
    void firstRun_cancelEndsWithNothingStored_data();
    void firstRun_cancelEndsWithNothingStored();
    void defaultFolder_opensWhenItExists();
    void highlightedFolderIsNotTheChosenOne();
    void folderList_opensFolderOnActivation();
    void wineDrive_opensDriveC_hiddenFoldersListed();
    void settingsMode_opensOnFolderInUseAndStoresNothing();
    void settingsMode_unreadableFolderStaysOnCurrent();

private:
    QString m_home;
    QTemporaryDir m_homeDir;
};

void TestStartup::initTestCase()
{
    // The chooser's default folder lives under the home folder: keep it in a folder of ours.
    m_home = m_homeDir.path();
    qputenv("HOME", QFile::encodeName(m_home));
    qunsetenv("WINEPREFIX");
}

void TestStartup::firstRun_data()
{
    QTest::addColumn<QString>("storedFolder");
    QTest::addColumn<QString>("executable");
    QTest::newRow("empty store") << QString() << u"Postpet20.exe"_s;
    QTest::newRow("empty postpet_dir") << u""_s << u"POSTPET20.EXE"_s;
}

void TestStartup::firstRun()
{
    QFETCH(QString, storedFolder);
    QFETCH(QString, executable);
    UiFixture f;
    QFile::remove(f.postPetDir + u"/Postpet20.exe"_s);
    QVERIFY(testfolder::makeFile(f.postPetDir, executable.toUtf8(), "MZ"));
    QVERIFY(f.addSnacks({"a.pac", "b.pa_"}));
    if (!storedFolder.isNull())
        f.store.setValue(u"postpet_dir"_s, storedFolder);
    f.start();

    QVERIFY(!f.window());
    FolderChooserDialog *chooser = f.program->folderChooser();
    QVERIFY(chooser);
    QCOMPARE(chooser->windowTitle(), u"初期設定：PostPetのあるディレクトリは？"_s);
    // No default folder here: the chooser opens on the program's own folder, whose path, as
    // long as the checkout's, the label may shorten: its tool tip holds it whole.
    const auto *label = chooser->findChild<QLabel *>(u"chosenFolderLabel"_s);
    QCOMPARE(label->toolTip(), QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
    QVERIFY(2 * label->fontMetrics().lineSpacing() <= label->contentsRect().height()); // room for two lines
    QCOMPARE(label->geometry(), QRect(8, 8, 313, 25));
    QCOMPARE(chooser->pos(), QPoint(0, 0));
    QCOMPARE(QStringList(f.store.writeLog),
             QStringList({u"top=0"_s, u"left=0"_s, u"Chk1=False"_s, u"Chk2=0"_s, u"ver=1.1"_s}));

    QVERIFY(chooser->openFolder(f.postPetDir));
    QCOMPARE(shownFolder(chooser), f.postPetDir);
    chooser->findChild<QPushButton *>(u"okButton"_s)->click();

    QVERIFY2(f.box.shown.isEmpty(), qPrintable(f.box.shown.value(0).text));
    QCOMPARE(f.store.value(u"postpet_dir"_s), f.postPetDir);
    QVERIFY(f.window());
    QCOMPARE(f.window()->preferences().snackDir(), f.snackDir);
    QCOMPARE(f.window()->frameGeometry().topLeft(), QPoint(0, 0));
    QCOMPARE(f.names("stockList"), QStringList({u"b"_s}));
    QCOMPARE(f.names("todayList"), QStringList({u"a"_s}));
    QTRY_VERIFY(!f.program->folderChooser()); // closed and gone
    QCOMPARE(f.endCount, 0);
}

void TestStartup::firstRun_okWithoutExecutableKeepsChooser()
{
    UiFixture f;
    f.start();
    FolderChooserDialog *chooser = f.program->folderChooser();
    QVERIFY(chooser->openFolder(f.snackDir));
    for (int attempt = 1; attempt <= 2; ++attempt) {
        chooser->findChild<QPushButton *>(u"okButton"_s)->click();
        QCOMPARE(f.box.shown.size(), attempt);
    }
    QCOMPARE(f.box.shown[0].text, u"そのディレクトリはPostPetのディレクトリではありません。"_s);
    QCOMPARE(f.box.shown[0].title, u"PostPet20.exeなし"_s);
    QCOMPARE(f.box.shown[0].icon, MsgBox::Icon::Critical);
    QVERIFY(f.program->folderChooser());
    QCOMPARE(chooser->chosenFolder(), f.snackDir);
    QVERIFY(!f.window());
    QVERIFY(!f.store.contains(u"postpet_dir"_s));
}

void TestStartup::firstRun_cancelEndsWithNothingStored_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << u"Cancel"_s;
    QTest::newRow("Enter, Cancel being the default") << u"Enter"_s;
    QTest::newRow("frame close box") << u"frame"_s;
}

void TestStartup::firstRun_cancelEndsWithNothingStored()
{
    QFETCH(QString, how);
    UiFixture f;
    f.start();
    FolderChooserDialog *chooser = f.program->folderChooser();
    chooser->openFolder(f.postPetDir);
    f.store.writeLog.clear();
    if (how == u"Cancel")
        chooser->findChild<QPushButton *>(u"cancelButton"_s)->click();
    else if (how == u"Enter") {
        QApplication::setActiveWindow(chooser);
        auto *drives = chooser->findChild<QComboBox *>(u"driveList"_s);
        drives->setFocus();
        QTRY_VERIFY(drives->hasFocus());
        QTest::keyClick(drives, Qt::Key_Return);
    } else
        chooser->close();
    QCOMPARE(f.endCount, 1);
    QVERIFY(f.store.writeLog.isEmpty());
    QVERIFY(!f.window());
}

void TestStartup::defaultFolder_opensWhenItExists()
{
    // Under the test's home folder, or on Windows in Program Files: a PostPet installed there
    // is left alone, and the folders that the test makes there it removes.
    const QString defaultFolder = kurubako::defaultPostPetFolder();
    if (QFileInfo::exists(defaultFolder))
        QSKIP("PostPet is installed in its default folder here");
    QString outermostMade = defaultFolder;
    while (!QFileInfo::exists(QFileInfo(outermostMade).path()))
        outermostMade = QFileInfo(outermostMade).path();
    QVERIFY(QDir().mkpath(defaultFolder));
    QVERIFY(testfolder::makeFile(defaultFolder, "Postpet20.exe", "MZ"));
    UiFixture f;
    f.start();
    FolderChooserDialog *chooser = f.program->folderChooser();
    QCOMPARE(chooser->chosenFolder(), defaultFolder);
    chooser->findChild<QPushButton *>(u"okButton"_s)->click();
    QCOMPARE(f.store.value(u"postpet_dir"_s), defaultFolder);
    QVERIFY(f.window());
    QDir(outermostMade).removeRecursively();
}

void TestStartup::highlightedFolderIsNotTheChosenOne()
{
    UiFixture f;
    f.start();
    FolderChooserDialog *chooser = f.program->folderChooser();
    QVERIFY(chooser->openFolder(f.folder.path()));
    auto *folderList = chooser->findChild<QTreeWidget *>(u"folderList"_s);
    const auto found = folderList->findItems(u"PostPet"_s, Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(found.size(), 1);
    folderList->setCurrentItem(found[0]); // highlighted, not opened
    chooser->findChild<QPushButton *>(u"okButton"_s)->click();
    QCOMPARE(f.box.shown.size(), 1);
    QVERIFY(!f.window());
}

void TestStartup::folderList_opensFolderOnActivation()
{
    UiFixture f;
    f.start();
    FolderChooserDialog *chooser = f.program->folderChooser();
    QVERIFY(chooser->openFolder(f.folder.path()));
    auto *folderList = chooser->findChild<QTreeWidget *>(u"folderList"_s);
    QTreeWidgetItem *item =
        folderList->findItems(u"PostPet"_s, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    QVERIFY(item);
    // A double-click opens the folder: its parents above it, its sub-folders below.
    const QRect rect = folderList->visualItemRect(item);
    QTest::mouseClick(folderList->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(folderList->viewport(), Qt::LeftButton, {}, rect.center());
    QTRY_COMPARE(chooser->chosenFolder(), f.postPetDir);
    QCOMPARE(shownFolder(chooser), f.postPetDir);
    QVERIFY(!folderList->findItems(u"おやつ"_s, Qt::MatchExactly | Qt::MatchRecursive).isEmpty());
    QDir root(f.folder.path());
    while (root.cdUp()) { }
    const QString rootName = QDir::toNativeSeparators(root.absolutePath()); // "/" or a drive
    QVERIFY(!folderList->findItems(rootName, Qt::MatchExactly | Qt::MatchRecursive).isEmpty());

    // Enter on the parent's item goes back up.
    folderList->setFocus();
    const QString parentName = QDir(f.folder.path()).dirName();
    folderList->setCurrentItem(
        folderList->findItems(parentName, Qt::MatchExactly | Qt::MatchRecursive).value(0));
    QTest::keyClick(folderList, Qt::Key_Return);
    QTRY_COMPARE(chooser->chosenFolder(), QDir::toNativeSeparators(f.folder.path()));
}

void TestStartup::wineDrive_opensDriveC_hiddenFoldersListed()
{
    if (QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows)
        QSKIP("Windows offers its own drives, no Wine prefixes");
    const QString driveC = m_home + u"/.wine/drive_c"_s;
    QVERIFY(QDir().mkpath(driveC + u"/windows"_s));
    const auto removePrefix = qScopeGuard([this] { QDir(m_home + u"/.wine"_s).removeRecursively(); });
    qunsetenv("WINEPREFIX");
    UiFixture f;
    f.start();
    FolderChooserDialog *chooser = f.program->folderChooser();
    auto *drives = chooser->findChild<QComboBox *>(u"driveList"_s);
    const int wine = drives->findText(u"C: (~/.wine)"_s);
    QVERIFY(wine >= 0);
    drives->setCurrentIndex(wine);
    Q_EMIT drives->activated(wine);
    QCOMPARE(chooser->chosenFolder(), driveC);

    // The home folder shows its hidden folders, the prefix among them.
    QVERIFY(chooser->openFolder(m_home));
    auto *folderList = chooser->findChild<QTreeWidget *>(u"folderList"_s);
    QVERIFY(!folderList->findItems(u".wine"_s, Qt::MatchExactly | Qt::MatchRecursive).isEmpty());
}

void TestStartup::settingsMode_opensOnFolderInUseAndStoresNothing()
{
    UiFixture f;
    f.startMainWindow();
    const auto changeFolder = FolderChooserDialog::Purpose::ChangeFolder;
    FolderChooserDialog chooser(*f.files, f.box, f.waits, changeFolder, f.postPetDir, f.window());
    QCOMPARE(chooser.windowTitle(), u"PostPetのあるディレクトリは？"_s);
    QCOMPARE(chooser.chosenFolder(), f.postPetDir);
    f.store.writeLog.clear();
    chooser.findChild<QPushButton *>(u"okButton"_s)->click();
    QCOMPARE(chooser.result(), int(QDialog::Accepted));
    QVERIFY(f.store.writeLog.isEmpty());
    QCOMPARE(f.endCount, 0);

    FolderChooserDialog cancelled(*f.files, f.box, f.waits, changeFolder, f.postPetDir, f.window());
    cancelled.findChild<QPushButton *>(u"cancelButton"_s)->click();
    QCOMPARE(cancelled.result(), int(QDialog::Rejected));
    QCOMPARE(f.endCount, 0);
}

void TestStartup::settingsMode_unreadableFolderStaysOnCurrent()
{
    UiFixture f;
    f.startMainWindow();
    FolderChooserDialog chooser(*f.files, f.box, f.waits, FolderChooserDialog::Purpose::ChangeFolder,
                                f.postPetDir + u"/gone"_s, f.window());
    QCOMPARE(chooser.chosenFolder(), QDir::toNativeSeparators(QDir::currentPath()));
    QVERIFY(!chooser.openFolder(f.postPetDir + u"/gone"_s));
    QCOMPARE(chooser.chosenFolder(), QDir::toNativeSeparators(QDir::currentPath()));
    auto *drives = chooser.findChild<QComboBox *>(u"driveList"_s);
    QCOMPARE(drives->count(), kurubako::folderChooserDrives().size());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
