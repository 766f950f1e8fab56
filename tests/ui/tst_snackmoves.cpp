#include "uifixture.h"

#include "ui/renamedialog.h"

#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

using namespace Qt::StringLiterals;

using kurubako::MsgBox;

class TestSnackMoves : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nothingSelected_data();
    void nothingSelected();
    void question_countsSelectionAndNoKeepsIt();
    void transfer_data();
    void transfer();
    void partialMove_stopsAtFailureAndShowsFolderAsItIs();
    void snackInBothLists_cannotMove_data();
    void snackInBothLists_cannotMove();
    void selectAllAndClear();
    void popupMenu_data();
    void popupMenu();
    void popupMenu_entriesRunTheirCommands();
    void doubleClick_data();
    void doubleClick();
};

void TestSnackMoves::nothingSelected_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArrayList>("files");
    QTest::addColumn<QString>("text");
    QTest::newRow("add, stock unselected")
        << u"addToTodayButton"_s << QByteArrayList{"a.pa_"} << u"ストックおやつ選択されていないよ"_s;
    QTest::newRow("add, stock empty")
        << u"addToTodayButton"_s << QByteArrayList{"a.pac"} << u"ストックおやつ選択されていないよ"_s;
    QTest::newRow("stash, today's unselected")
        << u"moveToStockButton"_s << QByteArrayList{"a.pac"} << u"おやつが選択されていないよ"_s;
    QTest::newRow("stash, today's empty")
        << u"moveToStockButton"_s << QByteArrayList{} << u"おやつが選択されていないよ"_s;
}

void TestSnackMoves::nothingSelected()
{
    QFETCH(QString, button);
    QFETCH(QByteArrayList, files);
    QFETCH(QString, text);
    UiFixture f;
    QVERIFY(f.addSnacks(files));
    f.startMainWindow();
    const QByteArray before = f.snapshot();
    QVERIFY(f.click(button.toLatin1()));
    QCOMPARE(f.box.shown.size(), 1);
    QCOMPARE(f.box.shown[0].text, text);
    QCOMPARE(f.box.shown[0].title, u"未選択だよ"_s);
    QCOMPARE(f.box.shown[0].icon, MsgBox::Icon::Critical);
    QCOMPARE(f.box.shown[0].buttons, MsgBox::Buttons::Ok);
    QCOMPARE(f.snapshot(), before);
}

void TestSnackMoves::question_countsSelectionAndNoKeepsIt()
{
    UiFixture f;
    QVERIFY(f.addSnacks({"a.pa_", "b.pa_", "c.pa_", "d.pa_"}));
    f.startMainWindow();
    f.select("stockList", {u"a"_s, u"c"_s, u"d"_s});
    const QByteArray before = f.snapshot();
    f.box.answers = {MsgBox::Button::No};
    QVERIFY(f.click("addToTodayButton"));
    QCOMPARE(f.box.shown.size(), 1);
    QCOMPARE(f.box.shown[0].text, u"3 件のおやつを\"今日のおやつ\"に追加するよ。いい？"_s);
    QCOMPARE(f.box.shown[0].title, u"確認だよ"_s);
    QCOMPARE(f.box.shown[0].icon, MsgBox::Icon::Question);
    QCOMPARE(f.box.shown[0].defaultButton, MsgBox::Button::Yes);
    QCOMPARE(f.snapshot(), before);
    QCOMPARE(f.list("stockList")->selectedCount(), 3);
}

void TestSnackMoves::transfer_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("skipQuestions");
    QTest::addColumn<QByteArrayList>("files");
    QTest::addColumn<QString>("listName");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QByteArrayList>("after");

    QTest::newRow("add two, asked") << u"addToTodayButton"_s << false
                                    << QByteArrayList{"a.pa_", "b.pa_", "c.pa_"} << u"stockList"_s
                                    << QStringList{u"a"_s, u"c"_s}
                                    << u"2 件のおやつを\"今日のおやつ\"に追加するよ。いい？"_s
                                    << QByteArrayList{"a.pac<a.pa_", "b.pa_", "c.pac<c.pa_"};
    QTest::newRow("stash one, asked")
        << u"moveToStockButton"_s << false << QByteArrayList{"a.pac", "b.pac"} << u"todayList"_s
        << QStringList{u"b"_s} << u"1 件のおやつを\"ストック\"に待避するよ。いい？"_s
        << QByteArrayList{"a.pac", "b.pa_<b.pac"};
    QTest::newRow("add two by a drop, asked")
        << u"todayList"_s << false << QByteArrayList{"a.pa_", "b.pa_", "t.pac"} << u"stockList"_s
        << QStringList{u"a"_s, u"b"_s} << u"2 件のおやつを\"今日のおやつ\"に追加するよ。いい？"_s
        << QByteArrayList{"a.pac<a.pa_", "b.pac<b.pa_", "t.pac"};
    QTest::newRow("questions off") << u"moveToStockButton"_s << true << QByteArrayList{"a.pac"}
                                   << u"todayList"_s << QStringList{u"a"_s} << QString()
                                   << QByteArrayList{"a.pa_<a.pac"};
    QTest::newRow("upper-case extension")
        << u"addToTodayButton"_s << true << QByteArrayList{"B.PA_", "x.Pa_"} << u"stockList"_s
        << QStringList{u"B"_s, u"x"_s} << QString() << QByteArrayList{"B.pac<B.PA_", "x.pac<x.Pa_"};
    if (testfolder::namesAreBytes())
        QTest::newRow("name not in UTF-8")
            << u"addToTodayButton"_s << true << QByteArrayList{"\x83\x5c\x83\x74\x83\x67.pa_"}
            << u"stockList"_s << QStringList{u"ソフト"_s} << QString()
            << QByteArrayList{"\x83\x5c\x83\x74\x83\x67.pac<\x83\x5c\x83\x74\x83\x67.pa_"};
    QTest::newRow("Japanese names") << u"moveToStockButton"_s << true
                                    << QByteArrayList{"ケーキ.pac", "団子.pac", "ｸｯｷｰ.pac"} << u"todayList"_s
                                    << QStringList{u"団子"_s, u"ｸｯｷｰ"_s} << QString()
                                    << QByteArrayList{"ケーキ.pac", "団子.pa_<団子.pac", "ｸｯｷｰ.pa_<ｸｯｷｰ.pac"};
}

void TestSnackMoves::transfer()
{
    QFETCH(QString, button);
    QFETCH(bool, skipQuestions);
    QFETCH(QByteArrayList, files);
    QFETCH(QString, listName);
    QFETCH(QStringList, selected);
    QFETCH(QString, question);
    QFETCH(QByteArrayList, after);
    UiFixture f;
    QVERIFY(f.addSnacks(files));
    f.startMainWindow();
    if (skipQuestions)
        f.action("skipQuestionsAction")->trigger();
    f.select(listName.toLatin1(), selected);
    QCOMPARE(f.list(listName.toLatin1())->selectedCount(), selected.size());
    f.box.answers = {MsgBox::Button::Yes};
    if (button.endsWith(u"List")) {
        const auto drop = [](kurubako::SnackListView *list, const QMimeData &data) {
            QDragEnterEvent enter({}, Qt::MoveAction, &data, Qt::LeftButton, {});
            QDropEvent dropped({}, Qt::MoveAction, &data, Qt::LeftButton, {});
            return QApplication::sendEvent(list->viewport(), &enter) && enter.isAccepted()
                && QApplication::sendEvent(list->viewport(), &dropped) && dropped.isAccepted();
        };
        kurubako::SnackListView *from = f.list(listName.toLatin1());
        QMimeData files; // another program's drag
        files.setUrls({QUrl::fromLocalFile(f.snackDir)});
        QVERIFY(!drop(f.list(button.toLatin1()), files));
        QVERIFY(!drop(from, *from->createDragData())); // back on the list it came from
        QVERIFY(drop(f.list(button.toLatin1()), *from->createDragData()));
    } else {
        QVERIFY(f.click(button.toLatin1()));
    }

    QTRY_COMPARE(f.snapshot(), testfolder::expected(after));
    QCOMPARE(f.box.shown.size(), question.isEmpty() ? 0 : 1);
    if (!question.isEmpty())
        QCOMPARE(f.box.shown[0].text, question);
    QVERIFY(!f.list("stockList")->selectionModel()->hasSelection());
    QVERIFY(!f.list("todayList")->selectionModel()->hasSelection());
    const QString movedTo = listName == u"stockList" ? u"todayList"_s : u"stockList"_s;
    for (const QString &name : std::as_const(selected))
        QVERIFY(f.names(movedTo.toLatin1()).contains(name));
}

void TestSnackMoves::partialMove_stopsAtFailureAndShowsFolderAsItIs()
{
    UiFixture f;
    QVERIFY(f.addSnacks({"a.pa_", "b.pa_", "c.pa_", "B.PAC"}));
    f.startMainWindow();
    f.select("stockList", {u"a"_s, u"b"_s, u"c"_s});
    f.box.answers = {MsgBox::Button::Yes, MsgBox::Button::Ok};
    QVERIFY(f.click("addToTodayButton"));

    QCOMPARE(f.box.shown.size(), 2);
    QCOMPARE(f.box.shown[1].title, u"追加エラー"_s);
    QCOMPARE(f.box.shown[1].icon, MsgBox::Icon::Critical);
    QCOMPARE(f.box.shown[1].text,
             u"PostPetおやつのあるディレクトリをチェックしてちょ。（58）\r\nエラー内容："_s
                 + kurubako::FileError(kurubako::FileError::FileExists).description);
    QCOMPARE(f.snapshot(), testfolder::expected({"a.pac<a.pa_", "b.pa_", "c.pa_", "B.PAC"}));
    // The lists show the folder as it now is: "a" has moved, "b" and "c" have not.
    QCOMPARE(f.names("stockList"), QStringList({u"b"_s, u"c"_s}));
    QCOMPARE(f.names("todayList"), QStringList({u"a"_s, u"B"_s}));
}

void TestSnackMoves::snackInBothLists_cannotMove_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("listName");
    QTest::addColumn<QString>("title");
    QTest::newRow("add") << u"addToTodayButton"_s << u"stockList"_s << u"追加エラー"_s;
    QTest::newRow("stash") << u"moveToStockButton"_s << u"todayList"_s << u"待避エラー"_s;
}

void TestSnackMoves::snackInBothLists_cannotMove()
{
    QFETCH(QString, button);
    QFETCH(QString, listName);
    QFETCH(QString, title);
    UiFixture f;
    QVERIFY(f.addSnacks({"x.pac", "x.pa_"}));
    f.startMainWindow();
    f.action("skipQuestionsAction")->trigger();
    f.select(listName.toLatin1(), {u"x"_s});
    const QByteArray before = f.snapshot();
    QVERIFY(f.click(button.toLatin1()));
    QCOMPARE(f.box.shown.size(), 1);
    QCOMPARE(f.box.shown[0].title, title);
    QVERIFY(f.box.shown[0].text.contains(u"（58）\r\n"_s));
    QCOMPARE(f.snapshot(), before);
}

void TestSnackMoves::selectAllAndClear()
{
    UiFixture f;
    QVERIFY(f.addSnacks({"a.pa_", "b.pa_", "c.pa_", "d.pa_", "e.pa_", "t.pac"}));
    f.startMainWindow();
    f.select("todayList", {u"t"_s});
    QVERIFY(f.click("stockSelectAllButton"));
    QCOMPARE(f.list("stockList")->selectedCount(), 5);
    QCOMPARE(f.list("todayList")->selectedCount(), 1);
    // The selection shows in the highlight colour, though the list has no focus and its window
    // is not the active one (a message box is open), where the desktop greys it out.
    kurubako::SnackListView *stock = f.list("stockList");
    QPalette greyedOut = stock->palette();
    greyedOut.setColor(QPalette::Inactive, QPalette::Highlight, QColor(0xEE, 0xEE, 0xEE));
    stock->setPalette(greyedOut);
    QWidget box;
    box.show();
    QApplication::setActiveWindow(&box);
    QVERIFY(!stock->hasFocus() && !stock->isActiveWindow());
    const QRect first = stock->visualRect(stock->snackModel()->index(0));
    QCOMPARE(stock->viewport()->grab().toImage().pixelColor(first.right() - 1, first.center().y()),
             stock->palette().color(QPalette::Active, QPalette::Highlight));
    QVERIFY(f.click("todayClearButton"));
    QCOMPARE(f.list("todayList")->selectedCount(), 0);
    QCOMPARE(f.list("stockList")->selectedCount(), 5);

    f.box.answers = {MsgBox::Button::No};
    QVERIFY(f.click("addToTodayButton"));
    QCOMPARE(f.box.shown.value(0).text, u"5 件のおやつを\"今日のおやつ\"に追加するよ。いい？"_s);
    QVERIFY(f.click("stockClearButton"));
    QCOMPARE(f.list("stockList")->selectedCount(), 0);

    UiFixture empty;
    empty.startMainWindow();
    QVERIFY(empty.click("todaySelectAllButton"));
    QCOMPARE(empty.list("todayList")->selectedCount(), 0);
    QCOMPARE(empty.labelText("todayCount"), u"全部で 0 個"_s);
}

void TestSnackMoves::popupMenu_data()
{
    QTest::addColumn<QString>("listName");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QStringList>("entries"); // visible entries of the pop-up; empty: no pop-up
    QTest::addColumn<Qt::Key>("key"); // the key that asks for the pop-up; none: the right button
    const Qt::Key rightButton{};
    QTest::newRow("nothing selected") << u"stockList"_s << QStringList{} << QStringList{} << rightButton;
    QTest::newRow("nothing selected, Menu key")
        << u"stockList"_s << QStringList{} << QStringList{} << Qt::Key_Menu;
    QTest::newRow("one stock snack, Menu key")
        << u"stockList"_s << QStringList{u"a"_s}
        << QStringList{u"addToTodayAction"_s, u"stockMenuSeparator"_s, u"renameStockSnackAction"_s}
        << Qt::Key_Menu;
    QTest::newRow("two of today's, Shift+F10") << u"todayList"_s << QStringList{u"t"_s, u"u"_s}
                                               << QStringList{u"moveToStockAction"_s} << Qt::Key_F10;
    QTest::newRow("one stock snack") << u"stockList"_s << QStringList{u"a"_s}
                                     << QStringList{u"addToTodayAction"_s, u"stockMenuSeparator"_s,
                                                    u"renameStockSnackAction"_s}
                                     << rightButton;
    QTest::newRow("two stock snacks")
        << u"stockList"_s << QStringList{u"a"_s, u"b"_s} << QStringList{u"addToTodayAction"_s} << rightButton;
    QTest::newRow("one of today's") << u"todayList"_s << QStringList{u"t"_s}
                                    << QStringList{u"moveToStockAction"_s, u"todayMenuSeparator"_s,
                                                   u"renameTodaySnackAction"_s}
                                    << rightButton;
    QTest::newRow("two of today's") << u"todayList"_s << QStringList{u"t"_s, u"u"_s}
                                    << QStringList{u"moveToStockAction"_s} << rightButton;
}

void TestSnackMoves::popupMenu()
{
    QFETCH(QString, listName);
    QFETCH(QStringList, selected);
    QFETCH(QStringList, entries);
    QFETCH(Qt::Key, key);
    UiFixture f;
    QVERIFY(f.addSnacks({"a.pa_", "b.pa_", "c.pa_", "t.pac", "u.pac"}));
    f.startMainWindow();
    kurubako::SnackListView *list = f.list(listName.toLatin1());
    f.select(listName.toLatin1(), selected);

    QStringList shown;
    bool popped = false;
    QRect itemShown; // where the current item is, on the screen
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        popped = true;
        if (key != Qt::Key{})
            QVERIFY(menu->geometry().contains(itemShown.center() + QPoint(1, 1)));
        for (QAction *action : menu->actions()) {
            if (action->isVisible())
                shown.append(action->objectName());
        }
        menu->close();
    });
    // A right-button press on an item that is not selected leaves the selection alone.
    const QRect unselectedRow = list->visualRect(list->snackModel()->index(2));
    if (key == Qt::Key{}) {
        QTest::mousePress(list->viewport(), Qt::RightButton, {}, unselectedRow.center());
    } else {
        list->selectionModel()->setCurrentIndex(list->snackModel()->index(2), QItemSelectionModel::NoUpdate);
        itemShown = QRect(list->viewport()->mapToGlobal(unselectedRow.topLeft()), unselectedRow.size());
        QTest::keyClick(list, key, key == Qt::Key_F10 ? Qt::ShiftModifier : Qt::NoModifier);
    }
    QCoreApplication::processEvents();

    QCOMPARE(popped, !entries.isEmpty());
    QCOMPARE(shown, entries);
    QCOMPARE(list->selectedCount(), selected.size());
}

void TestSnackMoves::popupMenu_entriesRunTheirCommands()
{
    UiFixture f;
    QVERIFY(f.addSnacks({"a.pa_", "t.pac"}));
    f.startMainWindow();
    f.action("skipQuestionsAction")->trigger();
    f.select("stockList", {u"a"_s});
    f.action("addToTodayAction")->trigger();
    f.select("todayList", {u"t"_s});
    f.action("moveToStockAction")->trigger();
    QCOMPARE(f.snapshot(), testfolder::expected({"a.pac<a.pa_", "t.pa_<t.pac"}));
}

void TestSnackMoves::doubleClick_data()
{
    QTest::addColumn<QString>("listName");
    QTest::addColumn<int>("action");
    QTest::addColumn<QByteArrayList>("after");
    QTest::addColumn<QString>("renameFrom"); // the name the rename dialog opened on; null: none
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("row"); // the item double-clicked; -1: below the last one
    QTest::newRow("moves today's snack to stock")
        << u"todayList"_s << 0 << QByteArrayList{"a.pa_", "t.pa_<t.pac"} << QString() << Qt::LeftButton << 0;
    QTest::newRow("moves stock snack to today's")
        << u"stockList"_s << 0 << QByteArrayList{"a.pac<a.pa_", "t.pac"} << QString() << Qt::LeftButton << 0;
    QTest::newRow("opens the rename dialog")
        << u"stockList"_s << 1 << QByteArrayList{"a.pa_", "t.pac"} << u"a"_s << Qt::LeftButton << 0;
    QTest::newRow("below the items, no current snack to rename")
        << u"todayList"_s << 1 << QByteArrayList{"a.pa_", "t.pac"} << u""_s << Qt::LeftButton << -1;
    // Neither selects nor runs the action (which would move, or tell that nothing is selected).
    QTest::newRow("middle button does nothing")
        << u"todayList"_s << 0 << QByteArrayList{"a.pa_", "t.pac"} << QString() << Qt::MiddleButton << 0;
    QTest::newRow("right button does nothing")
        << u"stockList"_s << 0 << QByteArrayList{"a.pa_", "t.pac"} << QString() << Qt::RightButton << 0;
}

void TestSnackMoves::doubleClick()
{
    QFETCH(QString, listName);
    QFETCH(int, action);
    QFETCH(QByteArrayList, after);
    QFETCH(QString, renameFrom);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, row);
    UiFixture f;
    QVERIFY(f.addSnacks({"a.pa_", "t.pac"}));
    f.startMainWindow({{u"Chk2"_s, QString::number(action)}});
    f.action("skipQuestionsAction")->trigger();
    kurubako::SnackListView *list = f.list(listName.toLatin1());

    std::optional<QString> dialogName;
    // Answers whatever opens: the rename dialog is cancelled, a pop-up menu closed.
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&] {
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        if (auto *dialog = qobject_cast<kurubako::RenameDialog *>(QApplication::activeModalWidget())) {
            dialogName = dialog->findChild<QLineEdit *>(u"currentName"_s)->text();
            dialog->findChild<QPushButton *>(u"cancelButton"_s)->click();
        }
    });
    answer.start(0);
    // A click first, with the left button but where the middle one is tried.
    const QPoint at = row < 0 ? list->viewport()->rect().bottomLeft() + QPoint(8, -4)
                              : list->visualRect(list->snackModel()->index(row)).center();
    QTest::mouseClick(list->viewport(), button == Qt::MiddleButton ? button : Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), button, {}, at);
    QCoreApplication::processEvents();
    answer.stop();
    const bool moved = after.join().contains('<'); // a move refreshes the lists, unselected
    QCOMPARE(list->selectionModel()->hasSelection(), button != Qt::MiddleButton && !moved && row >= 0);

    QCOMPARE(dialogName, renameFrom.isNull() ? std::nullopt : std::optional(renameFrom));
    QCOMPARE(f.snapshot(), testfolder::expected(after));
    QVERIFY(f.box.shown.isEmpty());
}

QTEST_MAIN(TestSnackMoves)
#include "tst_snackmoves.moc"
