#include "uifixture.h"

#include "ui/form0.h"

#include <QComboBox>
#include <QTreeWidget>

using kurubako::Form0;
using kurubako::MsgBox;

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
    void dir1_opensFolderOnActivation();
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
}

void TestStartup::firstRun_data()
{
    QTest::addColumn<QString>("storedFolder");
    QTest::addColumn<QString>("executable");
    QTest::newRow("empty store") << QString() << u"Postpet20.exe"_qs;
    QTest::newRow("empty postpet_dir") << u""_qs << u"POSTPET20.EXE"_qs;
}

void TestStartup::firstRun()
{
    QFETCH(QString, storedFolder);
    QFETCH(QString, executable);
    UiFixture f;
    QFile::remove(f.postPetDir + u"/Postpet20.exe"_qs);
    QVERIFY(testfolder::makeFile(f.postPetDir, executable.toUtf8(), "MZ"));
    QVERIFY(f.addSnacks({"a.pac", "b.pa_"}));
    if (!storedFolder.isNull())
        f.store.setValue(u"postpet_dir"_qs, storedFolder);
    f.start();

    QVERIFY(!f.window());
    Form0 *chooser = f.program->folderChooser();
    QVERIFY(chooser);
    QCOMPARE(chooser->windowTitle(), u"初期設定：PostPetのあるディレクトリは？"_qs);
    // No default folder here: the chooser opens on the program's own folder.
    QCOMPARE(chooser->findChild<QLabel *>(u"Label1"_qs)->text(), QCoreApplication::applicationDirPath());
    QCOMPARE(chooser->pos(), QPoint(0, 0));
    QCOMPARE(QStringList(f.store.writeLog), QStringList({u"top=0"_qs, u"left=0"_qs, u"Chk1=False"_qs, u"Chk2=0"_qs,
                                                         u"ver=1.1"_qs}));

    QVERIFY(chooser->openFolder(f.postPetDir));
    QCOMPARE(chooser->findChild<QLabel *>(u"Label1"_qs)->text(), f.postPetDir);
    chooser->findChild<QPushButton *>(u"CmdQuit"_qs)->click();

    QVERIFY2(f.box.shown.isEmpty(), qPrintable(f.box.shown.value(0).text));
    QCOMPARE(f.store.value(u"postpet_dir"_qs), f.postPetDir);
    QCOMPARE(f.program->globals.SnackDir, f.postPetDir + u"/おやつ"_qs);
    QVERIFY(f.window());
    QCOMPARE(f.window()->frameGeometry().topLeft(), QPoint(0, 0));
    QCOMPARE(f.names("List1"), QStringList({u"b"_qs}));
    QCOMPARE(f.names("List2"), QStringList({u"a"_qs}));
    QTRY_VERIFY(!f.program->folderChooser()); // closed and gone
    QCOMPARE(f.endCount, 0);
}

void TestStartup::firstRun_okWithoutExecutableKeepsChooser()
{
    UiFixture f;
    f.start();
    Form0 *chooser = f.program->folderChooser();
    QVERIFY(chooser->openFolder(f.snackDir));
    for (int attempt = 1; attempt <= 2; ++attempt) {
        chooser->CmdQuit_Click();
        QCOMPARE(f.box.shown.size(), attempt);
    }
    QCOMPARE(f.box.shown[0].text, u"そのディレクトリはPostPetのディレクトリではありません。"_qs);
    QCOMPARE(f.box.shown[0].title, u"PostPet20.exeなし"_qs);
    QCOMPARE(f.box.shown[0].icon, MsgBox::Icon::Critical);
    QVERIFY(f.program->folderChooser());
    QCOMPARE(chooser->chosenFolder(), f.snackDir);
    QVERIFY(!f.window());
    QVERIFY(!f.store.contains(u"postpet_dir"_qs));
}

void TestStartup::firstRun_cancelEndsWithNothingStored_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << u"Cancel"_qs;
    QTest::newRow("Enter, Cancel being the default") << u"Enter"_qs;
    QTest::newRow("frame close box") << u"frame"_qs;
}

void TestStartup::firstRun_cancelEndsWithNothingStored()
{
    QFETCH(QString, how);
    UiFixture f;
    f.start();
    Form0 *chooser = f.program->folderChooser();
    chooser->openFolder(f.postPetDir);
    f.store.writeLog.clear();
    if (how == u"Cancel")
        chooser->findChild<QPushButton *>(u"Command1"_qs)->click();
    else if (how == u"Enter") {
        QApplication::setActiveWindow(chooser);
        auto *drives = chooser->findChild<QComboBox *>(u"Drive1"_qs);
        drives->setFocus();
        QTRY_VERIFY(drives->hasFocus());
        QTest::keyClick(drives, Qt::Key_Return);
    }
    else
        chooser->close();
    QCOMPARE(f.endCount, 1);
    QVERIFY(f.store.writeLog.isEmpty());
    QVERIFY(!f.window());
}

void TestStartup::defaultFolder_opensWhenItExists()
{
    const QString defaultFolder = m_home + u"/.wine/drive_c/Program Files/So-net/PostPet for Windows ver. 2.0"_qs;
    QVERIFY(QDir().mkpath(defaultFolder));
    QVERIFY(testfolder::makeFile(defaultFolder, "Postpet20.exe", "MZ"));
    UiFixture f;
    f.start();
    Form0 *chooser = f.program->folderChooser();
    QCOMPARE(chooser->chosenFolder(), defaultFolder);
    chooser->CmdQuit_Click();
    QCOMPARE(f.store.value(u"postpet_dir"_qs), defaultFolder);
    QVERIFY(f.window());
    QDir(m_home + u"/.wine"_qs).removeRecursively();
}

void TestStartup::highlightedFolderIsNotTheChosenOne()
{
    UiFixture f;
    f.start();
    Form0 *chooser = f.program->folderChooser();
    QVERIFY(chooser->openFolder(f.folder.path()));
    auto *dir1 = chooser->findChild<QTreeWidget *>(u"Dir1"_qs);
    const auto found = dir1->findItems(u"PostPet"_qs, Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(found.size(), 1);
    dir1->setCurrentItem(found[0]); // highlighted, not opened
    chooser->CmdQuit_Click();
    QCOMPARE(f.box.shown.size(), 1);
    QVERIFY(!f.window());
}

void TestStartup::dir1_opensFolderOnActivation()
{
    UiFixture f;
    f.start();
    Form0 *chooser = f.program->folderChooser();
    QVERIFY(chooser->openFolder(f.folder.path()));
    auto *dir1 = chooser->findChild<QTreeWidget *>(u"Dir1"_qs);
    QTreeWidgetItem *item = dir1->findItems(u"PostPet"_qs, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    QVERIFY(item);
    // A double-click opens the folder: its parents above it, its sub-folders below.
    const QRect rect = dir1->visualItemRect(item);
    QTest::mouseClick(dir1->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(dir1->viewport(), Qt::LeftButton, {}, rect.center());
    QTRY_COMPARE(chooser->chosenFolder(), f.postPetDir);
    QCOMPARE(chooser->findChild<QLabel *>(u"Label1"_qs)->text(), f.postPetDir);
    QVERIFY(!dir1->findItems(u"おやつ"_qs, Qt::MatchExactly | Qt::MatchRecursive).isEmpty());
    QVERIFY(!dir1->findItems(u"/"_qs, Qt::MatchExactly | Qt::MatchRecursive).isEmpty());

    // Enter on the parent's item goes back up.
    dir1->setFocus();
    const QString parentName = QDir(f.folder.path()).dirName();
    dir1->setCurrentItem(dir1->findItems(parentName, Qt::MatchExactly | Qt::MatchRecursive).value(0));
    QTest::keyClick(dir1, Qt::Key_Return);
    QTRY_COMPARE(chooser->chosenFolder(), f.folder.path());
}

void TestStartup::settingsMode_opensOnFolderInUseAndStoresNothing()
{
    UiFixture f;
    f.startMainWindow();
    f.program->globals.FolderChooserFromSettings = true;
    Form0 chooser(*f.program, f.window());
    QCOMPARE(chooser.windowTitle(), u"PostPetのあるディレクトリは？"_qs);
    QCOMPARE(chooser.chosenFolder(), f.postPetDir);
    f.store.writeLog.clear();
    chooser.CmdQuit_Click();
    QCOMPARE(chooser.result(), int(QDialog::Accepted));
    QVERIFY(f.store.writeLog.isEmpty());
    QCOMPARE(f.endCount, 0);

    Form0 cancelled(*f.program, f.window());
    cancelled.Command1_Click();
    QCOMPARE(cancelled.result(), int(QDialog::Rejected));
    QCOMPARE(f.endCount, 0);
}

void TestStartup::settingsMode_unreadableFolderStaysOnCurrent()
{
    UiFixture f;
    f.startMainWindow();
    f.program->globals.FolderChooserFromSettings = true;
    f.program->globals.PostPetDir = f.postPetDir + u"/gone"_qs;
    Form0 chooser(*f.program, f.window());
    QCOMPARE(chooser.chosenFolder(), QDir::toNativeSeparators(QDir::currentPath()));
    QVERIFY(!chooser.openFolder(f.postPetDir + u"/gone"_qs));
    QCOMPARE(chooser.chosenFolder(), QDir::toNativeSeparators(QDir::currentPath()));
    auto *drives = chooser.findChild<QComboBox *>(u"Drive1"_qs);
    QVERIFY(drives->count() >= 2); // "/" and the home folder at least
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
