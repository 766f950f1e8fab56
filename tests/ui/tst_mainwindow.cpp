#include "uifixture.h"

#include "common/latchedfileops.h"
#include "snacks/folderwatcher.h"

#include "ui/renamedialog.h"
#include "ui/widgetmsgbox.h"

#include <QDialog>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QToolTip>

using namespace Qt::StringLiterals;

using kurubako::MsgBox;

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loading_fillsWindowFromSettingsAndFolder();
    void loading_staleFolderShowsEmptyLists();
    void refresh_dropsSelectionAndShowsFolderAsItIs();
    void refresh_showsFirstEntries();
    void outsideChange_keepsSelectionAndView_data();
    void outsideChange_keepsSelectionAndView();
    void outsideChange_waitsWhileQuestionIsOpen_data();
    void outsideChange_waitsWhileQuestionIsOpen();
    void enterOnFocusedButton_pressesIt_data();
    void enterOnFocusedButton_pressesIt();
    void close_data();
    void close();
    void closeAnsweredNo_keepsEverything();
    void closeStoresMovedPosition();
    void closeUnmoved_storesPositionItRead();
    void closeShown_keepsPositionTheSystemDoesNotTell();
    void nameTooWide_showsWholeAsTooltip();
    void launchAndQuit_data();
    void launchAndQuit();
    void launchOnly_failureIsToldAndWindowStays();
    void functionKeys_data();
    void functionKeys();
    void functionKeys_restWhileModalDialogIsOpen();
    void folderNotAnswering_data();
    void folderNotAnswering();
    void questionSwitch_reversesItsMark();
    void programFont_inMenusAndDialogs();
    void messageBoxes_overTheirWindowInProgramFont();
};

void TestMainWindow::loading_fillsWindowFromSettingsAndFolder()
{
    UiFixture f;
    QVERIFY(f.addSnacks({"b.pac", "A.PAC", "c.pa_", "note.txt"}));
    f.storeKnownFolder();
    f.store.setValue(u"Chk1"_s, u"1"_s);
    f.store.setValue(u"top"_s, u"1500"_s);
    f.store.setValue(u"left"_s, u"3000"_s);
    f.start();
    kurubako::MainWindow *window = f.window();
    QVERIFY(window);
    QVERIFY(!f.program->folderChooser());
    QCOMPARE(window->windowTitle(), u"PostPet くるみ箱 Ver1.1"_s);
    QVERIFY(f.action("skipQuestionsAction")->isChecked());
    QCOMPARE(window->frameGeometry().topLeft(), QPoint(200, 100));
    QCOMPARE(f.names("todayList"), QStringList({u"A"_s, u"b"_s}));
    QCOMPARE(f.names("stockList"), QStringList({u"c"_s}));
    QCOMPARE(f.labelText("stockCount"), u"全部で 1 個"_s);
    QCOMPARE(f.labelText("todayCount"), u"全部で 2 個"_s);
    QCOMPARE(window->findChild<QPushButton *>(u"launchAndQuitButton"_s)->text(),
             u"PostPetを\n起動して終了"_s);
    QVERIFY(!f.list("stockList")->selectionModel()->hasSelection());
    QVERIFY(!f.list("todayList")->currentIndex().isValid());
    QCOMPARE(window->findChild<QWidget *>(u"client"_s)->size(), QSize(473, 381));
    QVERIFY(f.box.shown.isEmpty());
}

void TestMainWindow::loading_staleFolderShowsEmptyLists()
{
    UiFixture f;
    f.storeKnownFolder();
    f.store.setValue(u"postpet_dir"_s, f.postPetDir + u"/gone"_s);
    f.start();
    QVERIFY(f.window());
    QVERIFY(f.names("stockList").isEmpty());
    QCOMPARE(f.labelText("stockCount"), u"全部で 0 個"_s);
    QVERIFY(f.box.shown.isEmpty());
}

void TestMainWindow::refresh_dropsSelectionAndShowsFolderAsItIs()
{
    UiFixture f;
    QVERIFY(f.addSnacks({"a.pa_", "b.pa_"}));
    f.startMainWindow();
    f.select("stockList", {u"a"_s, u"b"_s});
    QVERIFY(f.addSnacks({"c.pa_"}));
    f.action("refreshAction")->trigger();
    QCOMPARE(f.names("stockList"), QStringList({u"a"_s, u"b"_s, u"c"_s}));
    QCOMPARE(f.labelText("stockCount"), u"全部で 3 個"_s);
    QVERIFY(!f.list("stockList")->selectionModel()->hasSelection());
}

void TestMainWindow::refresh_showsFirstEntries()
{
    UiFixture f;
    QByteArrayList names;
    for (int n = 100; n < 200; ++n)
        names << "s" + QByteArray::number(n) + ".pa_"
              << "t" + QByteArray::number(n) + ".pac";
    QVERIFY(f.addSnacks(names));
    f.startMainWindow();
    for (const char *name : {"stockList", "todayList"}) {
        f.list(name)->scrollToBottom();
        QTRY_VERIFY(f.list(name)->verticalScrollBar()->value() > 0);
    }
    f.action("refreshAction")->trigger();
    for (const char *name : {"stockList", "todayList"}) {
        kurubako::SnackListView *list = f.list(name);
        QTRY_COMPARE(list->verticalScrollBar()->value(), 0);
        QCOMPARE(list->indexAt(QPoint(2, 2)).row(), 0);
    }
}

// While the stock list shows m140 at its top, with b and m150 selected and m150 current,
// another program adds, removes or renames (one of each) stock snacks.
void TestMainWindow::outsideChange_keepsSelectionAndView_data()
{
    QTest::addColumn<QByteArrayList>("removed");
    QTest::addColumn<QByteArrayList>("added");
    QTest::addColumn<QString>("first"); // the first entries after
    QTest::addColumn<int>("selected"); // of b and m150
    QTest::addColumn<QString>("count");
    QTest::newRow("added above and last")
        << QByteArrayList{} << QByteArrayList{"aa.pa_", "zz.pa_"} << u"a aa b c"_s << 2 << u"全部で 105 個"_s;
    QTest::newRow("selected one and last removed") << QByteArrayList{"b.pa_", "m199.pa_"} << QByteArrayList{}
                                                   << u"a c m100 m101"_s << 1 << u"全部で 101 個"_s;
    QTest::newRow("renamed to below") << QByteArrayList{"c.pa_"} << QByteArrayList{"zz.pa_"}
                                      << u"a b m100 m101"_s << 2 << u"全部で 103 個"_s;
}

void TestMainWindow::outsideChange_keepsSelectionAndView()
{
    QFETCH(QByteArrayList, removed);
    QFETCH(QByteArrayList, added);
    QFETCH(QString, first);
    QFETCH(int, selected);
    QFETCH(QString, count);
    UiFixture f;
    QByteArrayList files{"a.pa_", "b.pa_", "c.pa_"};
    for (int n = 100; n < 200; ++n)
        files << "m" + QByteArray::number(n) + ".pa_";
    QVERIFY(f.addSnacks(files));
    f.startMainWindow()->show();
    auto *watcher = f.window()->findChild<kurubako::FolderWatcher *>(u"folderWatcher"_s);
    watcher->setSettleTime(std::chrono::milliseconds(0));
    kurubako::SnackListView *list = f.list("stockList");
    const auto rowOf = [&](const QString &name) {
        return list->snackModel()->index(int(f.names("stockList").indexOf(name)));
    };
    f.select("stockList", {u"b"_s, u"m150"_s});
    list->selectionModel()->setCurrentIndex(rowOf(u"m150"_s), QItemSelectionModel::NoUpdate);
    list->scrollTo(rowOf(u"m140"_s), QAbstractItemView::PositionAtTop);

    QSignalSpy changed(watcher, &kurubako::FolderWatcher::changed);
    const bool renamed = removed.size() == 1 && added.size() == 1;
    QVERIFY(!renamed || testfolder::renameNoReplace(f.snackDir, removed[0], added[0]));
    for (const QByteArray &name : removed)
        QVERIFY(renamed || testfolder::removeFile(f.snackDir, name));
    QVERIFY(renamed || f.addSnacks(added));
    QVERIFY(changed.wait());
    QCOMPARE(f.names("stockList").mid(0, 4).join(u' '), first);
    QCOMPARE(f.labelText("stockCount"), count);
    QCOMPARE(list->selectedCount(), selected);
    QCOMPARE(list->selectedSnacks().last().name, u"m150"_s);
    QCOMPARE(list->currentSnack()->name, u"m150"_s);
    QTRY_COMPARE(list->indexAt(QPoint(2, 2)), rowOf(u"m140"_s));
}

void TestMainWindow::outsideChange_waitsWhileQuestionIsOpen_data()
{
    QTest::addColumn<MsgBox::Button>("answer");
    QTest::addColumn<QStringList>("stockAfter");
    QTest::newRow("No") << MsgBox::Button::No << QStringList{u"a"_s, u"b"_s, u"c"_s};
    QTest::newRow("Yes") << MsgBox::Button::Yes << QStringList{u"b"_s, u"c"_s};
}

void TestMainWindow::outsideChange_waitsWhileQuestionIsOpen()
{
    QFETCH(MsgBox::Button, answer);
    QFETCH(QStringList, stockAfter);
    UiFixture f;
    QVERIFY(f.addSnacks({"a.pa_", "b.pa_"}));
    f.startMainWindow();
    auto *watcher = f.window()->findChild<kurubako::FolderWatcher *>(u"folderWatcher"_s);
    watcher->setSettleTime(std::chrono::milliseconds(0));
    QSignalSpy changed(watcher, &kurubako::FolderWatcher::changed);
    f.select("stockList", {u"a"_s});
    f.box.answers = {answer};
    f.box.whileShown = [&] {
        QVERIFY(f.addSnacks({"c.pa_"}));
        QTRY_VERIFY(watcher->hasPendingChange());
        QCoreApplication::processEvents(); // the settle time is over
        QCOMPARE(f.names("stockList"), QStringList({u"a"_s, u"b"_s}));
    };
    QVERIFY(f.click("addToTodayButton"));
    if (answer == MsgBox::Button::No)
        QVERIFY(changed.wait());
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::processEvents();
    QCOMPARE(changed.count(), answer == MsgBox::Button::No ? 1 : 0);
    QCOMPARE(f.names("stockList"), stockAfter);
    QCOMPARE(f.labelText("stockCount"), u"全部で "_s + QString::number(stockAfter.size()) + u" 個"_s);
}

void TestMainWindow::enterOnFocusedButton_pressesIt_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Enter on the keypad") << int(Qt::Key_Enter);
}

void TestMainWindow::enterOnFocusedButton_pressesIt()
{
    QFETCH(int, key);
    UiFixture f;
    QVERIFY(f.addSnacks({"a.pa_", "b.pa_"}));
    f.startMainWindow();
    auto *selectAll = f.window()->findChild<QPushButton *>(u"stockSelectAllButton"_s);
    selectAll->setFocus();
    QTRY_VERIFY(selectAll->hasFocus());
    QTest::keyClick(selectAll, Qt::Key(key));
    QCOMPARE(f.list("stockList")->selectedCount(), 2);
}

void TestMainWindow::close_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("skipQuestions");
    QTest::addColumn<QString>("failingKey"); // a key whose save fails
    QTest::newRow("おわる") << u"quitButton"_s << false << QString();
    QTest::newRow("menu exit") << u"quitAction"_s << false << QString();
    QTest::newRow("frame close box") << u"frame"_s << false << QString();
    QTest::newRow("おわる, questions off") << u"quitButton"_s << true << QString();
    QTest::newRow("frame, questions off") << u"frame"_s << true << QString();
    QTest::newRow("save fails: said, run ends") << u"frame"_s << true << u"left"_s;
}

void TestMainWindow::close()
{
    QFETCH(QString, how);
    QFETCH(bool, skipQuestions);
    QFETCH(QString, failingKey);
    UiFixture f;
    f.startMainWindow({{u"Chk2"_s, u"1"_s}});
    f.store.failingWrites = QStringList{failingKey};
    if (skipQuestions)
        f.action("skipQuestionsAction")->trigger();
    f.store.writeLog.clear();
    f.box.answers = {MsgBox::Button::Yes};

    if (how == u"quitButton")
        QVERIFY(f.click("quitButton"));
    else if (how == u"quitAction")
        f.action("quitAction")->trigger();
    else
        f.window()->close();

    if (!failingKey.isEmpty()) {
        QCOMPARE(f.box.shown.size(), 1);
        QCOMPARE(f.box.shown[0].text, u"設定を保存できませんでした。"_s);
    } else if (skipQuestions) {
        QVERIFY(f.box.shown.isEmpty());
    } else {
        QCOMPARE(f.box.shown.size(), 1);
        QCOMPARE(f.box.shown[0].text, u"PostPetくるみ箱 を終了させていい？"_s);
        QCOMPARE(f.box.shown[0].title, u"終了確認"_s);
        QCOMPARE(f.box.shown[0].defaultButton, MsgBox::Button::Yes);
    }
    const QString chk1 = skipQuestions ? u"Chk1=True"_s : u"Chk1=False"_s;
    QStringList written{chk1, u"Chk2=1"_s, u"top=0"_s, u"left=0"_s};
    written.removeIf([&](const QString &entry) { return entry.startsWith(failingKey + u'='); });
    QCOMPARE(f.store.writeLog, written);
    QCOMPARE(f.endCount, 1);
}

void TestMainWindow::closeAnsweredNo_keepsEverything()
{
    UiFixture f;
    QVERIFY(f.addSnacks({"a.pa_"}));
    f.startMainWindow();
    f.select("stockList", {u"a"_s});
    f.store.writeLog.clear();
    f.box.answers = {MsgBox::Button::No};
    QTest::keyClick(f.list("stockList"), Qt::Key_F8);
    QCOMPARE(f.box.shown.size(), 1);
    QVERIFY(f.window()->isVisible());
    QVERIFY(f.store.writeLog.isEmpty());
    QCOMPARE(f.endCount, 0);
    QCOMPARE(f.list("stockList")->selectedCount(), 1);
}

void TestMainWindow::closeStoresMovedPosition()
{
    UiFixture f;
    f.startMainWindow();
    f.window()->move(37, 52);
    f.action("skipQuestionsAction")->trigger();
    f.window()->close();
    QCOMPARE(f.store.value(u"top"_s), u"780"_s);
    QCOMPARE(f.store.value(u"left"_s), u"555"_s);

    // The next run opens the window where this one left it.
    UiFixture next;
    next.storeKnownFolder();
    next.store.setValue(u"top"_s, f.store.value(u"top"_s));
    next.store.setValue(u"left"_s, f.store.value(u"left"_s));
    next.start();
    QCOMPARE(next.window()->frameGeometry().topLeft(), QPoint(37, 52));
}

void TestMainWindow::closeUnmoved_storesPositionItRead()
{
    // Positions no whole number of pixels, as another screen's resolution leaves them.
    UiFixture f;
    f.storeKnownFolder();
    f.store.setValue(u"top"_s, u"1507"_s);
    f.store.setValue(u"left"_s, u"-2993"_s);
    f.start();
    QCOMPARE(f.window()->frameGeometry().topLeft(), QPoint(-200, 100));
    f.action("skipQuestionsAction")->trigger();
    f.window()->close();
    QCOMPARE(f.store.value(u"top"_s), u"1507"_s);
    QCOMPARE(f.store.value(u"left"_s), u"-2993"_s);
}

// Run under weston too, as a native Wayland client: there the system places the window and
// tells no position, and the stored one stays.
void TestMainWindow::closeShown_keepsPositionTheSystemDoesNotTell()
{
    UiFixture f;
    f.startMainWindow({{u"top"_s, u"1500"_s}, {u"left"_s, u"3000"_s}, {u"Chk1"_s, u"True"_s}});
    QVERIFY(QTest::qWaitForWindowExposed(f.window()));
    f.window()->close();
    QCOMPARE(f.endCount, 1);
    QCOMPARE(f.store.value(u"top"_s), u"1500"_s);
    QCOMPARE(f.store.value(u"left"_s), u"3000"_s);
}

void TestMainWindow::nameTooWide_showsWholeAsTooltip()
{
    UiFixture f;
    const QString wide = QString(40, u'お');
    QVERIFY(f.addSnacks({"a.pac", (wide + u".pac"_s).toUtf8()}));
    f.startMainWindow();
    kurubako::SnackListView *list = f.list("todayList");
    for (const QString &name : {u"a"_s, wide}) {
        const QRect item =
            list->visualRect(list->snackModel()->index(int(f.names("todayList").indexOf(name))));
        QHelpEvent hover(QEvent::ToolTip, item.center(), list->viewport()->mapToGlobal(item.center()));
        QApplication::sendEvent(list->viewport(), &hover);
        QCOMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(), name == wide ? wide : QString());
    }
}

void TestMainWindow::launchAndQuit_data()
{
    QTest::addColumn<bool>("hasSnack");
    QTest::addColumn<bool>("skipQuestions");
    QTest::addColumn<QList<MsgBox::Button>>("answers");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<bool>("started");
    QTest::addColumn<bool>("ended");

    using B = MsgBox::Button;
    const QString empty = u"確認だよ"_s;
    const QString quit = u"終了確認"_s;
    QTest::newRow("no snack, No") << false << false << QList<B>{B::No} << QStringList{empty} << false
                                  << false;
    QTest::newRow("no snack, Yes, Yes")
        << false << false << QList<B>{B::Yes, B::Yes} << QStringList{empty, quit} << true << true;
    QTest::newRow("no snack, Yes, then No to quitting")
        << false << false << QList<B>{B::Yes, B::No} << QStringList{empty, quit} << true << false;
    QTest::newRow("snacks: close question only")
        << true << false << QList<B>{B::Yes} << QStringList{quit} << true << true;
    QTest::newRow("questions off") << false << true << QList<B>{} << QStringList{} << true << true;
}

void TestMainWindow::launchAndQuit()
{
    QFETCH(bool, hasSnack);
    QFETCH(bool, skipQuestions);
    QFETCH(QList<MsgBox::Button>, answers);
    QFETCH(QStringList, titles);
    QFETCH(bool, started);
    QFETCH(bool, ended);

    UiFixture f;
    QVERIFY(testfolder::makeFile(f.postPetDir, "Postpet20.exe", "#!/bin/sh\n"));
    QFile(f.postPetDir + u"/Postpet20.exe"_s).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    if (hasSnack)
        QVERIFY(f.addSnacks({"a.pac"}));
    f.startMainWindow();
    if (skipQuestions)
        f.action("skipQuestionsAction")->trigger();
    f.box.answers = answers;
    QVERIFY(f.click("launchAndQuitButton"));

    QStringList shownTitles;
    for (const auto &box : std::as_const(f.box.shown))
        shownTitles.append(box.title);
    QCOMPARE(shownTitles, titles);
    if (!hasSnack && !skipQuestions) {
        QCOMPARE(f.box.shown[0].text, u"おやつがないけど、PostPetを起動してもいい？"_s);
        QCOMPARE(f.box.shown[0].defaultButton, MsgBox::Button::No);
    }
    QCOMPARE(f.starter.starts.size(), started ? 1 : 0);
    if (started)
        QVERIFY(QDir::fromNativeSeparators(f.starter.starts[0].program).endsWith(u"/Postpet20.exe"_s));
    QCOMPARE(f.endCount, ended ? 1 : 0);
    QCOMPARE(f.box.unexpected, 0);
}

void TestMainWindow::launchOnly_failureIsToldAndWindowStays()
{
    UiFixture f;
    QVERIFY(f.addSnacks({"a.pac"}));
    f.startMainWindow();
    QFile::remove(f.postPetDir + u"/Postpet20.exe"_s);
    QVERIFY(f.addSnacks({"b.pac"}));
    f.action("launchPostPetAction")->trigger();
    QCOMPARE(f.box.shown.size(), 1);
    QCOMPARE(f.box.shown[0].text, u"PostPet20.exeが見つからないんだけど・・・"_s);
    QCOMPARE(f.box.shown[0].title, u"EXEがありません"_s);
    QCOMPARE(f.box.shown[0].icon, MsgBox::Icon::Critical);
    QCOMPARE(f.endCount, 0);
    QCOMPARE(f.names("todayList"), QStringList({u"a"_s})); // no rescan
}

void TestMainWindow::functionKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("expectedTitle"); // the box the key leads to; empty for F5
    QTest::newRow("F3 on a button") << int(Qt::Key_F3) << Qt::KeyboardModifiers() << u"quitButton"_s
                                    << u"未選択だよ"_s;
    QTest::newRow("Ctrl+F3 on a list")
        << int(Qt::Key_F3) << Qt::KeyboardModifiers(Qt::ControlModifier) << u"todayList"_s << u"未選択だよ"_s;
    QTest::newRow("Alt+F4") << int(Qt::Key_F4) << Qt::KeyboardModifiers(Qt::AltModifier) << u"stockList"_s
                            << u"未選択だよ"_s;
    QTest::newRow("F5") << int(Qt::Key_F5) << Qt::KeyboardModifiers() << u"launchAndQuitButton"_s
                        << QString();
    QTest::newRow("Shift+F5") << int(Qt::Key_F5) << Qt::KeyboardModifiers(Qt::ShiftModifier) << u"stockList"_s
                              << QString();
    QTest::newRow("Shift+Ctrl+F8") << int(Qt::Key_F8) << (Qt::ShiftModifier | Qt::ControlModifier)
                                   << u"todayList"_s << u"終了確認"_s;
}

void TestMainWindow::functionKeys()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, target);
    QFETCH(QString, expectedTitle);
    UiFixture f;
    f.startMainWindow();
    QVERIFY(f.addSnacks({"late.pa_"}));
    f.box.answers = {MsgBox::Button::No};
    QTest::keyClick(f.window()->findChild<QWidget *>(target), Qt::Key(key), modifiers);
    if (expectedTitle.isEmpty()) {
        QVERIFY(f.box.shown.isEmpty());
        QCOMPARE(f.names("stockList"), QStringList({u"late"_s}));
    } else {
        QCOMPARE(f.box.shown.size(), 1);
        QCOMPARE(f.box.shown[0].title, expectedTitle);
        QVERIFY(f.names("stockList").isEmpty());
    }
    if (key == Qt::Key_F3)
        QCOMPARE(f.box.shown[0].text, u"ストックおやつ選択されていないよ"_s);
}

void TestMainWindow::functionKeys_restWhileModalDialogIsOpen()
{
    UiFixture f;
    f.startMainWindow();
    QVERIFY(f.addSnacks({"late.pa_"}));
    QDialog modal(f.window());
    modal.setModal(true);
    modal.show();
    QTRY_VERIFY(QApplication::activeModalWidget() == &modal);
    QTest::keyClick(f.list("stockList"), Qt::Key_F5);
    QTest::keyClick(f.list("stockList"), Qt::Key_F8);
    QVERIFY(f.names("stockList").isEmpty());
    QVERIFY(f.box.shown.isEmpty());
    modal.close();
    QTest::keyClick(f.list("stockList"), Qt::Key_F5);
    QCOMPARE(f.names("stockList"), QStringList({u"late"_s}));
}

// A folder that does not answer: the window shows and paints, its commands and keys rest, and a
// box soon names the folder. An answer fills the lists; stopping keeps them as they were (empty
// at start-up) and drops a later answer; a run of moves stops after the snack it is at. The
// close box ends the run all the same.
void TestMainWindow::folderNotAnswering_data()
{
    QTest::addColumn<QByteArray>("command"); // "start", "refresh" or "move"
    QTest::addColumn<QByteArray>("then"); // "answer", "stop" or "close"
    QTest::addColumn<QStringList>("stock"); // the stock list after the answer or the stop
    QTest::addColumn<QByteArrayList>("folder"); // the folder after it (testfolder::expected)

    const QByteArrayList untouched{"a.pa_", "b.pa_", "c.pac", "d.pa_"};
    const auto row = [](const char *name, const char *command, const char *then, const QStringList &stock,
                        const QByteArrayList &folder) {
        QTest::newRow(name) << QByteArray(command) << QByteArray(then) << stock << folder;
    };
    row("start, answers", "start", "answer", {u"a"_s, u"b"_s, u"d"_s}, untouched);
    row("start, stopped", "start", "stop", {}, untouched);
    row("start, closed", "start", "close", {}, untouched);
    row("F5, answers", "refresh", "answer", {u"a"_s, u"b"_s, u"d"_s}, untouched);
    row("F5, stopped", "refresh", "stop", {u"a"_s, u"b"_s}, untouched);
    row("F3, answers", "move", "answer", {}, {"a.pac<a.pa_", "b.pac<b.pa_", "c.pac"});
    row("F3, stopped after the first snack", "move", "stop", {u"a"_s, u"b"_s},
        {"a.pac<a.pa_", "b.pa_", "c.pac"});
}

void TestMainWindow::folderNotAnswering()
{
    using kurubako::LatchedFileOps;
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, then);
    QFETCH(QStringList, stock);
    QFETCH(QByteArrayList, folder);

    UiFixture f;
    QVERIFY(f.addSnacks({"a.pa_", "b.pa_", "c.pac"}));
    auto *files = new LatchedFileOps(std::move(f.files));
    f.files.reset(files);
    f.waits = UiFixture::noWaiting();
    if (command == "move")
        f.waits.progress = std::chrono::milliseconds(0); // the wait box lies on the progress box
    const LatchedFileOps::Call held = command == "move" ? LatchedFileOps::Progress : LatchedFileOps::List;
    if (command == "start") {
        QVERIFY(f.addSnacks({"d.pa_"}));
        files->hold(held);
    }
    kurubako::MainWindow *window = f.startMainWindow({{u"Chk1"_s, u"True"_s}});
    if (command != "start") {
        QTRY_VERIFY(!window->isBusy());
        QApplication::setActiveWindow(window);
        files->hold(held);
        if (command == "refresh") {
            QVERIFY(f.addSnacks({"d.pa_"}));
            QTest::keyClick(f.list("stockList"), Qt::Key_F5);
        } else {
            QVERIFY(f.click("stockSelectAllButton"));
            QTest::keyClick(f.list("stockList"), Qt::Key_F3);
        }
    }
    QTRY_COMPARE(files->waiting(held), 1);
    QVERIFY(window->isVisible() && window->isBusy());
    // Setting up the watch looks the folder up: not before a listing has answered.
    auto *watcher = window->findChild<kurubako::FolderWatcher *>(u"folderWatcher"_s);
    QCOMPARE(watcher->isWatching(), command != "start");
    QVERIFY(!f.action("refreshAction")->isEnabled() && !f.action("addToTodayAction")->isEnabled());
    const int lists = files->made(LatchedFileOps::List);
    QTest::keyClick(f.list("stockList"), Qt::Key_F5);
    QTest::keyClick(f.list("stockList"), Qt::Key_F8);
    QCOMPARE(files->made(LatchedFileOps::List), lists);
    QTRY_VERIFY(window->findChild<QDialog *>(u"waitBox"_s));
    auto *waitBox = window->findChild<QDialog *>(u"waitBox"_s);
    QVERIFY(waitBox->findChild<QLabel *>()->text().contains(f.snackDir));

    if (then == "close") {
        QVERIFY(window->close());
        QCOMPARE(f.endCount, 1);
        QCOMPARE(f.store.value(u"Chk1"_s), u"True"_s);
        return;
    }
    if (then == "stop") {
        QTRY_VERIFY(command != "move" || watcher->hasPendingChange()); // the first snack's rename
        waitBox->findChild<QPushButton *>(u"stopWaitingButton"_s)->click();
        QVERIFY(!window->isBusy() && f.action("refreshAction")->isEnabled());
        QVERIFY(!watcher->hasPendingChange());
        QTRY_COMPARE(QApplication::activeWindow(), window);
    }
    files->release(held);
    QTRY_COMPARE(files->inside(), 0);
    QTRY_VERIFY(!window->isBusy());
    QCoreApplication::processEvents(); // a dropped answer would arrive now
    QCOMPARE(f.names("stockList"), stock);
    QCOMPARE(f.snapshot(), testfolder::expected(folder));
    QVERIFY(!window->findChild<QDialog *>(u"waitBox"_s));
}

void TestMainWindow::questionSwitch_reversesItsMark()
{
    UiFixture f;
    f.startMainWindow();
    QAction *skipQuestions = f.action("skipQuestionsAction");
    QVERIFY(!skipQuestions->isChecked());
    skipQuestions->trigger();
    QVERIFY(skipQuestions->isChecked());
    skipQuestions->trigger();
    QVERIFY(!skipQuestions->isChecked());
    QVERIFY(f.store.writeLog.isEmpty() || !f.store.writeLog.last().startsWith(u"Chk1"_s));
}

void TestMainWindow::programFont_inMenusAndDialogs()
{
    UiFixture f;
    f.startMainWindow();
    const QString family = QFontInfo(kurubako::programFont(9)).family();
    for (const char *name : {"fileMenu", "optionMenu", "helpMenu", "stockMenu", "todayMenu"})
        QCOMPARE(QFontInfo(f.window()->findChild<QMenu *>(QString::fromLatin1(name))->font()).family(),
                 family);
    const auto rename = f.renameDialog(kurubako::SnackSet::Stock);
    for (const char *name : {"renameButton", "cancelButton"})
        QCOMPARE(QFontInfo(rename->findChild<QPushButton *>(QString::fromLatin1(name))->font()).family(),
                 family);
}

void TestMainWindow::messageBoxes_overTheirWindowInProgramFont()
{
    UiFixture f;
    f.startMainWindow();
    kurubako::WidgetMsgBox boxes;
    struct Shown
    {
        QWidget *owner;
        QString family;
    };
    QList<Shown> shown;
    const auto answerNextBox = [&shown] {
        QTimer::singleShot(0, [&shown] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown.append({box->parentWidget(), QFontInfo(box->font()).family()});
            box->defaultButton()->click();
        });
    };
    // A question, then the box that follows it; no window is active before either.
    QApplication::setActiveWindow(nullptr);
    answerNextBox();
    QVERIFY(boxes.askYes(u"いい？"_s, u"確認だよ"_s));
    QApplication::setActiveWindow(nullptr);
    answerNextBox();
    boxes.critical(u"だめ"_s, u"エラー"_s);
    // Over a dialog, the dialog's.
    QDialog dialog(f.window());
    dialog.setModal(true);
    dialog.show();
    QTRY_VERIFY(QApplication::activeModalWidget() == &dialog);
    answerNextBox();
    boxes.critical(u"だめ"_s, u"エラー"_s);

    QCOMPARE(shown.size(), 3);
    const QString family = QFontInfo(kurubako::programFont(9)).family();
    for (qsizetype index = 0; index < shown.size(); ++index) {
        QCOMPARE(shown[index].owner, index < 2 ? static_cast<QWidget *>(f.window()) : &dialog);
        QCOMPARE(shown[index].family, family);
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
