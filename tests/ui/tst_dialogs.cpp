#include "uifixture.h"

#include "ui/folderchooserdialog.h"
#include "ui/placement.h"
#include "ui/renamedialog.h"
#include "ui/settingsdialog.h"
#include "ui/versiondialog.h"

#include <QAccessible>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTimer>

using namespace Qt::StringLiterals;

using kurubako::FolderChooserDialog;
using kurubako::MsgBox;
using kurubako::SettingsDialog;

class TestDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void placement_data();
    void placement();
    void placement_throughEachDialog_data();
    void placement_throughEachDialog();
    void settings_opensOnCurrentValues();
    void settings_ok_data();
    void settings_ok();
    void settings_cancelAppliesNothing_data();
    void settings_cancelAppliesNothing();
    void settings_doubleClickActionReachesStoreOnlyAtClose();
    void settings_chooserOpensOnFolderInUse();
    void version_showsNameAndVersion();
    void help_data();
    void help();
    void accessibleNames_data();
    void accessibleNames();
};

void TestDialogs::placement_data()
{
    QTest::addColumn<QList<int>>("in"); // main top, left, width, dialog height, width, screen height, width
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("left");
    QTest::newRow("room everywhere") << QList<int>{1500, 3000, 7200, 2000, 4000, 11520, 15360} << 2500
                                     << 4600;
    QTest::newRow("bottom exactly at the edge")
        << QList<int>{8520, 0, 7200, 2000, 4000, 11520, 15360} << 9520 << 1600;
    QTest::newRow("one twip past the bottom")
        << QList<int>{8521, 0, 7200, 2000, 4000, 11520, 15360} << 9520 << 1600;
    QTest::newRow("right exactly at the edge")
        << QList<int>{0, 9760, 7200, 2000, 4000, 11520, 15360} << 1000 << 11360;
    QTest::newRow("one twip past the right")
        << QList<int>{0, 9761, 7200, 2000, 4000, 11520, 15360} << 1000 << 11360;
    QTest::newRow("left of the screen") << QList<int>{0, -3000, 7200, 2000, 4000, 11520, 15360} << 1000 << 0;
    QTest::newRow("right wins over left")
        << QList<int>{0, 5400, 7200, 2000, 20000, 11520, 15360} << 1000 << -4640;
    QTest::newRow("top above the screen")
        << QList<int>{-5000, 0, 7200, 2000, 4000, 11520, 15360} << -4000 << 1600;
    QTest::newRow("half rounds to even (down)")
        << QList<int>{0, 0, 7201, 2000, 4000, 11520, 15360} << 1000 << 1600;
    QTest::newRow("half rounds to even (up)")
        << QList<int>{0, 0, 7203, 2000, 4000, 11520, 15360} << 1000 << 1602;
}

void TestDialogs::placement()
{
    QFETCH(QList<int>, in);
    QFETCH(int, top);
    QFETCH(int, left);
    const QPoint position =
        kurubako::dialogPosition({in[1], in[0], in[2], 4500}, {in[4], in[3]}, {in[6], in[5]});
    QCOMPARE(position.y(), top);
    QCOMPARE(position.x(), left);
}

void TestDialogs::placement_throughEachDialog_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::newRow("settings") << u"SettingsDialog"_s;
    QTest::newRow("version") << u"VersionDialog"_s;
    QTest::newRow("rename") << u"RenameDialog"_s;
}

void TestDialogs::placement_throughEachDialog()
{
    QFETCH(QString, dialog);
    UiFixture f;
    f.startMainWindow();
    const QSize screen = f.window()->screen()->geometry().size();
    // The main window low and far right: the dialog's bottom-right corner meets the screen's.
    f.window()->move(screen.width() - 100, screen.height() - 60);
    const auto open = [&]() -> std::unique_ptr<QDialog> {
        if (dialog == u"SettingsDialog")
            return std::make_unique<SettingsDialog>(*f.files, f.box, f.waits, f.postPetDir,
                                                    kurubako::DoubleClickAction::Move, f.window());
        if (dialog == u"VersionDialog")
            return std::make_unique<kurubako::VersionDialog>(1.1f, f.window());
        return f.renameDialog(kurubako::SnackSet::Stock);
    };
    std::unique_ptr<QDialog> shown = open();
    // Before it is shown a dialog has no frame; it is placed as framed like the main window.
    const QSize frame = f.window()->frameGeometry().size() - f.window()->size();
    const QPoint outerEnd =
        shown->pos() + QPoint(shown->width() + frame.width(), shown->height() + frame.height());
    QCOMPARE(outerEnd, QPoint(screen.width(), screen.height()));

    f.window()->move(-600, 40); // far left: the dialog's left is 0
    shown = open();
    QCOMPARE(shown->pos(), QPoint(0, 107)); // 600 + 1000 twips, in pixels
}

void TestDialogs::settings_opensOnCurrentValues()
{
    UiFixture f;
    f.startMainWindow({{u"Chk2"_s, u"1"_s}});
    QVERIFY(f.withDialog<SettingsDialog>("settingsAction", [&](SettingsDialog &dialog) {
        QCOMPARE(dialog.windowTitle(), u"くるみ箱 設定♪"_s);
        QCOMPARE(dialog.findChild<QLineEdit *>(u"postPetFolder"_s)->text(), f.postPetDir);
        QVERIFY(dialog.findChild<QLineEdit *>(u"postPetFolder"_s)->isReadOnly());
        QVERIFY(dialog.findChild<QRadioButton *>(u"renameOption"_s)->isChecked());
        auto *tabs = dialog.findChild<QTabBar *>();
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), u"PostPetディレクトリは？"_s);
        QCOMPARE(tabs->tabText(1), u"ﾘｽﾄをﾀﾞﾌﾞﾙｸﾘｯｸしたときは？"_s);
        QCOMPARE(tabs->currentIndex(), 0);
        QVERIFY(dialog.findChild<QPushButton *>(u"cancelButton"_s)->isDefault());
    }));
}

void TestDialogs::settings_ok_data()
{
    QTest::addColumn<QString>("chosen"); // the folder the chooser hands back; empty: "変更" not used
    QTest::addColumn<bool>("stored");
    QTest::newRow("OK without 変更") << QString() << false;
    QTest::newRow("the folder in force") << u"same"_s << false;
    QTest::newRow("another folder") << u"other"_s << true;
    QTest::newRow("only the letter case differs") << u"case"_s << true;
}

void TestDialogs::settings_ok()
{
    QFETCH(QString, chosen);
    QFETCH(bool, stored);
    UiFixture f;
    QVERIFY(f.addSnacks({"old.pac"}));
    QString other;
    if (chosen == u"same")
        other = f.postPetDir;
    else if (chosen == u"other")
        other = QDir::toNativeSeparators(f.folder.path() + u"/Other"_s);
    else if (chosen == u"case")
        other = QDir::toNativeSeparators(f.folder.path() + u"/POSTPET"_s);
    if (!other.isEmpty() && other != f.postPetDir) {
        QVERIFY(QDir().mkpath(other + u"/おやつ"_s));
        QVERIFY(testfolder::makeFile(other, "postpet20.EXE", "MZ"));
        QVERIFY(testfolder::makeFile(other + u"/おやつ"_s, "new.pa_", "x"));
    }
    f.startMainWindow();
    f.store.writeLog.clear();

    int result = -1;
    QVERIFY(f.withDialog<SettingsDialog>("settingsAction", [&](SettingsDialog &dialog) {
        if (!other.isEmpty()) {
            QTimer::singleShot(0, [&] {
                auto *chooser = qobject_cast<FolderChooserDialog *>(QApplication::activeModalWidget());
                QVERIFY(chooser);
                QCOMPARE(chooser->windowTitle(), u"PostPetのあるディレクトリは？"_s);
                QCOMPARE(chooser->chosenFolder(), f.postPetDir);
                QVERIFY(chooser->openFolder(other));
                chooser->findChild<QPushButton *>(u"okButton"_s)->click();
            });
            dialog.findChild<QPushButton *>(u"changeFolderButton"_s)->click();
            QCOMPARE(dialog.findChild<QLineEdit *>(u"postPetFolder"_s)->text(), other);
            QVERIFY(f.store.writeLog.isEmpty()); // nothing before OK
        }
        // The option takes a click anywhere in its rectangle, beyond its indicator and text too.
        auto *rename = dialog.findChild<QRadioButton *>(u"renameOption"_s);
        QCOMPARE(rename->geometry(), QRect(176, 16, 145, 25));
        QTest::mouseClick(rename, Qt::LeftButton, {}, rename->rect().bottomRight());
        dialog.findChild<QPushButton *>(u"okButton"_s)->click();
        result = dialog.result();
    }));

    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(f.window()->preferences().doubleClickAction, kurubako::DoubleClickAction::Rename);
    if (stored) {
        QCOMPARE(f.store.writeLog, QStringList({u"postpet_dir="_s + other}));
        QCOMPARE(f.window()->preferences().postPetDir, other);
        QCOMPARE(f.window()->preferences().snackDir(), other + QDir::separator() + u"おやつ"_s);
        QCOMPARE(f.names("stockList"), QStringList({u"new"_s}));
        // Where letter case makes no difference (Windows), POSTPET is PostPet's own folder.
        const bool sameFolder = QFileInfo::exists(other + u"/おやつ/old.pac"_s);
        QCOMPARE(f.names("todayList"), sameFolder ? QStringList({u"old"_s}) : QStringList());
    } else {
        QVERIFY(f.store.writeLog.isEmpty());
        QCOMPARE(f.window()->preferences().postPetDir, f.postPetDir);
        QCOMPARE(f.names("todayList"), QStringList({u"old"_s}));
    }
    QVERIFY(f.box.shown.isEmpty());
}

void TestDialogs::settings_cancelAppliesNothing_data()
{
    QTest::addColumn<bool>("byFrame");
    QTest::newRow("Cancel") << false;
    QTest::newRow("frame close box") << true;
}

void TestDialogs::settings_cancelAppliesNothing()
{
    QFETCH(bool, byFrame);
    UiFixture f;
    QVERIFY(f.addSnacks({"old.pac"}));
    const QString other = f.folder.path() + u"/Other"_s;
    QVERIFY(QDir().mkpath(other));
    QVERIFY(testfolder::makeFile(other, "Postpet20.exe", "MZ"));
    f.startMainWindow();
    f.store.writeLog.clear();
    int result = -1;
    QVERIFY(f.withDialog<SettingsDialog>("settingsAction", [&](SettingsDialog &dialog) {
        QTimer::singleShot(0, [&] {
            auto *chooser = qobject_cast<FolderChooserDialog *>(QApplication::activeModalWidget());
            QVERIFY(chooser);
            chooser->openFolder(other);
            chooser->findChild<QPushButton *>(u"okButton"_s)->click();
        });
        dialog.findChild<QPushButton *>(u"changeFolderButton"_s)->click();
        dialog.findChild<QRadioButton *>(u"renameOption"_s)->setChecked(true);
        if (byFrame)
            dialog.close();
        else
            dialog.findChild<QPushButton *>(u"cancelButton"_s)->click();
        result = dialog.result();
    }));
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(f.store.writeLog.isEmpty());
    QCOMPARE(f.window()->preferences().postPetDir, f.postPetDir);
    QCOMPARE(f.window()->preferences().doubleClickAction, kurubako::DoubleClickAction::Move);
    QCOMPARE(f.names("todayList"), QStringList({u"old"_s}));
}

void TestDialogs::settings_doubleClickActionReachesStoreOnlyAtClose()
{
    UiFixture f;
    f.startMainWindow();
    f.store.writeLog.clear();
    QVERIFY(f.withDialog<SettingsDialog>("settingsAction", [](SettingsDialog &dialog) {
        dialog.findChild<QRadioButton *>(u"renameOption"_s)->setChecked(true);
        dialog.findChild<QPushButton *>(u"okButton"_s)->click();
    }));
    QVERIFY(f.store.writeLog.isEmpty());
    QCOMPARE(f.store.value(u"Chk2"_s), u"0"_s);
    f.box.answers = {MsgBox::Button::Yes};
    f.window()->close();
    QCOMPARE(f.store.value(u"Chk2"_s), u"1"_s);
}

void TestDialogs::settings_chooserOpensOnFolderInUse()
{
    UiFixture f;
    const QString other = f.folder.path() + u"/Other"_s;
    QVERIFY(QDir().mkpath(other));
    QVERIFY(testfolder::makeFile(other, "Postpet20.exe", "MZ"));
    f.startMainWindow();
    SettingsDialog dialog(*f.files, f.box, f.waits, f.postPetDir, kurubako::DoubleClickAction::Move,
                          f.window());
    QStringList openedOn;
    const auto chooseOther = [&] {
        auto *chooser = qobject_cast<FolderChooserDialog *>(QApplication::activeModalWidget());
        QVERIFY(chooser);
        openedOn.append(chooser->chosenFolder());
        chooser->openFolder(other);
        chooser->findChild<QPushButton *>(u"okButton"_s)->click();
    };
    QTimer::singleShot(0, chooseOther);
    dialog.findChild<QPushButton *>(u"changeFolderButton"_s)->click();
    QTimer::singleShot(0, chooseOther);
    dialog.findChild<QPushButton *>(u"changeFolderButton"_s)->click();
    // Both times on the folder in force, not on the one chosen first.
    QCOMPARE(openedOn, QStringList({f.postPetDir, f.postPetDir}));
}

void TestDialogs::version_showsNameAndVersion()
{
    UiFixture f;
    f.startMainWindow();
    kurubako::VersionDialog box(f.window()->preferences().storedVersion, f.window());
    QCOMPARE(box.windowTitle(), u"ﾊﾞｰｼﾞｮﾝ情報"_s);
    QCOMPARE(box.findChild<QLabel *>(u"programName"_s)->text(), u"PostPet くるみ箱"_s);
    QCOMPARE(box.findChild<QLabel *>(u"versionLabel"_s)->text(), u"Ver 1.1"_s);
    QVERIFY(!box.findChild<QLabel *>(u"programIcon"_s)->pixmap().isNull());
    QCOMPARE(box.palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
    box.show();
    auto *ok = box.findChild<QPushButton *>(u"okButton"_s);
    QCOMPARE(ok->text(), u"&OK"_s);
    QVERIFY(ok->isDefault());
    QTest::keyClick(&box, Qt::Key_Return);
    QCOMPARE(box.result(), int(QDialog::Accepted));
    QVERIFY(!box.isVisible());
}

void TestDialogs::help_data()
{
    QTest::addColumn<bool>("opens");
    QTest::newRow("document opens") << true;
    QTest::newRow("document missing or no viewer") << false;
}

void TestDialogs::help()
{
    QFETCH(bool, opens);
    UiFixture f;
    f.startMainWindow();
    f.opener.succeed = opens;
    f.action("showHelpAction")->trigger();
    const QString programFolder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    QCOMPARE(f.opener.opened, QStringList({programFolder + QDir::separator() + u"Kurubako.html"_s}));
    QCOMPARE(f.opener.folders, QStringList({programFolder}));
    if (opens) {
        QVERIFY(f.box.shown.isEmpty());
    } else {
        QCOMPARE(f.box.shown.size(), 1);
        QCOMPARE(f.box.shown[0].text, u"ヘルプが表示できないんだけど・・・"_s);
        QCOMPARE(f.box.shown[0].title, u"ヘルプがないよ"_s);
        QCOMPARE(f.box.shown[0].icon, MsgBox::Icon::Critical);
    }
    QVERIFY(f.window()->isVisible());
}

// What a screen reader says of each control it lands on, and the label it reads with it.
void TestDialogs::accessibleNames_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("label"); // the label read with it as its description; empty: none
    const auto row = [](const char *window, const char *control, const QString &name,
                        const QString &label = {}) {
        QTest::addRow("%s %s", window, control)
            << QString::fromLatin1(window) << QString::fromLatin1(control) << name << label;
    };
    row("main", "stockList", u"ストックおやつ"_s, u"stockCount"_s);
    row("main", "todayList", u"今日のおやつ"_s, u"todayCount"_s);
    row("main", "stockSelectAllButton", u"ストックおやつを全選択"_s);
    row("main", "stockClearButton", u"ストックおやつを全解除"_s);
    row("main", "todaySelectAllButton", u"今日のおやつを全選択"_s);
    row("main", "todayClearButton", u"今日のおやつを全解除"_s);
    row("main", "addToTodayButton", u"今日のおやつに追加"_s);
    row("main", "moveToStockButton", u"ストックに待避"_s);
    row("main", "launchAndQuitButton", u"PostPetを起動して終了"_s);
    row("rename", "currentName", u"いまのおやつ名"_s);
    row("rename", "newName", u"新しいおやつ名"_s);
    row("settings", "postPetFolder", u"PostPetのあるディレクトリ"_s);
    row("chooser", "folderList", u"フォルダー"_s);
}

void TestDialogs::accessibleNames()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, label);
    UiFixture f;
    f.startMainWindow();
    std::unique_ptr<QWidget> dialog;
    if (window == u"rename")
        dialog = f.renameDialog(kurubako::SnackSet::Stock);
    else if (window == u"settings")
        dialog = std::make_unique<SettingsDialog>(*f.files, f.box, f.waits, f.postPetDir,
                                                  kurubako::DoubleClickAction::Move, f.window());
    else if (window == u"chooser")
        dialog = std::make_unique<FolderChooserDialog>(
            *f.files, f.box, f.waits, FolderChooserDialog::Purpose::ChangeFolder, f.postPetDir, f.window());
    QWidget *top = dialog ? dialog.get() : f.window();
    auto *widget = top->findChild<QWidget *>(control);
    QVERIFY(widget);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    QCOMPARE(accessible->text(QAccessible::Name), name);
    if (!label.isEmpty())
        QCOMPARE(accessible->text(QAccessible::Description), top->findChild<QLabel *>(label)->text());
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
