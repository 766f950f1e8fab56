#include "uifixture.h"

#include "ui/form4.h"

#include <QLineEdit>
#include <QMenu>
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
    QTest::newRow("add, stock unselected") << u"Command5"_s << QByteArrayList{"a.pa_"}
                                           << u"ストックおやつ選択されていないよ"_s;
    QTest::newRow("add, stock empty") << u"Command5"_s << QByteArrayList{"a.pac"}
                                      << u"ストックおやつ選択されていないよ"_s;
    QTest::newRow("stash, today's unselected") << u"Command6"_s << QByteArrayList{"a.pac"}
                                               << u"おやつが選択されていないよ"_s;
    QTest::newRow("stash, today's empty") << u"Command6"_s << QByteArrayList{} << u"おやつが選択されていないよ"_s;
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
    f.click(button.toLatin1());
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
    f.select("List1", {u"a"_s, u"c"_s, u"d"_s});
    const QByteArray before = f.snapshot();
    f.box.answers = {MsgBox::Button::No};
    f.click("Command5");
    QCOMPARE(f.box.shown.size(), 1);
    QCOMPARE(f.box.shown[0].text, u"3 件のおやつを\"今日のおやつ\"に追加するよ。いい？"_s);
    QCOMPARE(f.box.shown[0].title, u"確認だよ"_s);
    QCOMPARE(f.box.shown[0].icon, MsgBox::Icon::Question);
    QCOMPARE(f.box.shown[0].defaultButton, MsgBox::Button::Yes);
    QCOMPARE(f.snapshot(), before);
    QCOMPARE(f.list("List1")->selectedCount(), 3);
}

void TestSnackMoves::transfer_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("questionsOff");
    QTest::addColumn<QByteArrayList>("files");
    QTest::addColumn<QString>("listName");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QByteArrayList>("after");

    QTest::newRow("add two, asked") << u"Command5"_s << false << QByteArrayList{"a.pa_", "b.pa_", "c.pa_"}
                                    << u"List1"_s << QStringList{u"a"_s, u"c"_s}
                                    << u"2 件のおやつを\"今日のおやつ\"に追加するよ。いい？"_s
                                    << QByteArrayList{"a.pac<a.pa_", "b.pa_", "c.pac<c.pa_"};
    QTest::newRow("stash one, asked") << u"Command6"_s << false << QByteArrayList{"a.pac", "b.pac"} << u"List2"_s
                                      << QStringList{u"b"_s} << u"1 件のおやつを\"ストック\"に待避するよ。いい？"_s
                                      << QByteArrayList{"a.pac", "b.pa_<b.pac"};
    QTest::newRow("questions off") << u"Command6"_s << true << QByteArrayList{"a.pac"} << u"List2"_s
                                   << QStringList{u"a"_s} << QString() << QByteArrayList{"a.pa_<a.pac"};
    QTest::newRow("upper-case extension") << u"Command5"_s << true << QByteArrayList{"B.PA_", "x.Pa_"}
                                          << u"List1"_s << QStringList{u"B"_s, u"x"_s} << QString()
                                          << QByteArrayList{"B.pac<B.PA_", "x.pac<x.Pa_"};
    QTest::newRow("name not in UTF-8") << u"Command5"_s << true << QByteArrayList{"\x83\x5c\x83\x74\x83\x67.pa_"}
                                       << u"List1"_s << QStringList{u"ソフト"_s} << QString()
                                       << QByteArrayList{"\x83\x5c\x83\x74\x83\x67.pac<\x83\x5c\x83\x74\x83\x67.pa_"};
    QTest::newRow("Japanese names") << u"Command6"_s << true << QByteArrayList{"ケーキ.pac", "団子.pac", "ｸｯｷｰ.pac"}
                                    << u"List2"_s << QStringList{u"団子"_s, u"ｸｯｷｰ"_s} << QString()
                                    << QByteArrayList{"ケーキ.pac", "団子.pa_<団子.pac", "ｸｯｷｰ.pa_<ｸｯｷｰ.pac"};
}

void TestSnackMoves::transfer()
{
    QFETCH(QString, button);
    QFETCH(bool, questionsOff);
    QFETCH(QByteArrayList, files);
    QFETCH(QString, listName);
    QFETCH(QStringList, selected);
    QFETCH(QString, question);
    QFETCH(QByteArrayList, after);
    UiFixture f;
    QVERIFY(f.addSnacks(files));
    f.startMainWindow();
    if (questionsOff)
        f.action("kakunin")->trigger();
    f.select(listName.toLatin1(), selected);
    QCOMPARE(f.list(listName.toLatin1())->selectedCount(), selected.size());
    f.box.answers = {MsgBox::Button::Yes};
    f.click(button.toLatin1());

    QCOMPARE(f.box.shown.size(), question.isEmpty() ? 0 : 1);
    if (!question.isEmpty())
        QCOMPARE(f.box.shown[0].text, question);
    QCOMPARE(f.snapshot(), testfolder::expected(after));
    QVERIFY(!f.list("List1")->selectionModel()->hasSelection());
    QVERIFY(!f.list("List2")->selectionModel()->hasSelection());
    const QString movedTo = button == u"Command5" ? u"List2"_s : u"List1"_s;
    for (const QString &name : std::as_const(selected))
        QVERIFY(f.names(movedTo.toLatin1()).contains(name));
}

void TestSnackMoves::partialMove_stopsAtFailureAndShowsFolderAsItIs()
{
    UiFixture f;
    QVERIFY(f.addSnacks({"a.pa_", "b.pa_", "c.pa_", "B.PAC"}));
    f.startMainWindow();
    f.select("List1", {u"a"_s, u"b"_s, u"c"_s});
    f.box.answers = {MsgBox::Button::Yes, MsgBox::Button::Ok};
    f.click("Command5");

    QCOMPARE(f.box.shown.size(), 2);
    QCOMPARE(f.box.shown[1].title, u"追加エラー"_s);
    QCOMPARE(f.box.shown[1].icon, MsgBox::Icon::Critical);
    QCOMPARE(f.box.shown[1].text, u"PostPetおやつのあるディレクトリをチェックしてちょ。（58）\r\nエラー内容："_s
                                      + kurubako::fsError(kurubako::FileError::FileExists).description);
    QCOMPARE(f.snapshot(), testfolder::expected({"a.pac<a.pa_", "b.pa_", "c.pa_", "B.PAC"}));
    // The lists show the folder as it now is: "a" has moved, "b" and "c" have not.
    QCOMPARE(f.names("List1"), QStringList({u"b"_s, u"c"_s}));
    QCOMPARE(f.names("List2"), QStringList({u"a"_s, u"B"_s}));
}

void TestSnackMoves::snackInBothLists_cannotMove_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("listName");
    QTest::addColumn<QString>("title");
    QTest::newRow("add") << u"Command5"_s << u"List1"_s << u"追加エラー"_s;
    QTest::newRow("stash") << u"Command6"_s << u"List2"_s << u"待避エラー"_s;
}

void TestSnackMoves::snackInBothLists_cannotMove()
{
    QFETCH(QString, button);
    QFETCH(QString, listName);
    QFETCH(QString, title);
    UiFixture f;
    QVERIFY(f.addSnacks({"x.pac", "x.pa_"}));
    f.startMainWindow();
    f.action("kakunin")->trigger();
    f.select(listName.toLatin1(), {u"x"_s});
    const QByteArray before = f.snapshot();
    f.click(button.toLatin1());
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
    f.select("List2", {u"t"_s});
    f.click("Command3(0)");
    QCOMPARE(f.list("List1")->selectedCount(), 5);
    QCOMPARE(f.list("List2")->selectedCount(), 1);
    f.click("Command4(1)");
    QCOMPARE(f.list("List2")->selectedCount(), 0);
    QCOMPARE(f.list("List1")->selectedCount(), 5);

    f.box.answers = {MsgBox::Button::No};
    f.click("Command5");
    QCOMPARE(f.box.shown.value(0).text, u"5 件のおやつを\"今日のおやつ\"に追加するよ。いい？"_s);
    f.click("Command3(1)");
    QCOMPARE(f.list("List1")->selectedCount(), 0);

    UiFixture empty;
    empty.startMainWindow();
    empty.click("Command4(0)");
    QCOMPARE(empty.list("List2")->selectedCount(), 0);
    QCOMPARE(empty.labelText("Label2"), u"全部で 0 個"_s);
}

void TestSnackMoves::popupMenu_data()
{
    QTest::addColumn<QString>("listName");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QStringList>("entries"); // visible entries of the pop-up; empty: no pop-up
    QTest::newRow("nothing selected") << u"List1"_s << QStringList{} << QStringList{};
    QTest::newRow("one stock snack") << u"List1"_s << QStringList{u"a"_s}
                                     << QStringList{u"move_oyatu"_s, u"lineC"_s, u"oyatu_renameA"_s};
    QTest::newRow("two stock snacks") << u"List1"_s << QStringList{u"a"_s, u"b"_s}
                                      << QStringList{u"move_oyatu"_s};
    QTest::newRow("one of today's") << u"List2"_s << QStringList{u"t"_s}
                                    << QStringList{u"move_stock"_s, u"lineD"_s, u"oyatu_renameB"_s};
    QTest::newRow("two of today's") << u"List2"_s << QStringList{u"t"_s, u"u"_s} << QStringList{u"move_stock"_s};
}

void TestSnackMoves::popupMenu()
{
    QFETCH(QString, listName);
    QFETCH(QStringList, selected);
    QFETCH(QStringList, entries);
    UiFixture f;
    QVERIFY(f.addSnacks({"a.pa_", "b.pa_", "c.pa_", "t.pac", "u.pac"}));
    f.startMainWindow();
    kurubako::SnackListView *list = f.list(listName.toLatin1());
    f.select(listName.toLatin1(), selected);

    QStringList shown;
    bool popped = false;
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        popped = true;
        for (QAction *action : menu->actions()) {
            if (action->isVisible())
                shown.append(action->objectName());
        }
        menu->close();
    });
    // A right-button press on an item that is not selected leaves the selection alone.
    const QRect unselectedRow = list->visualRect(list->snackModel()->index(2));
    QTest::mousePress(list->viewport(), Qt::RightButton, {}, unselectedRow.center());
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
    f.action("kakunin")->trigger();
    f.select("List1", {u"a"_s});
    f.action("move_oyatu")->trigger();
    f.select("List2", {u"t"_s});
    f.action("move_stock")->trigger();
    QCOMPARE(f.snapshot(), testfolder::expected({"a.pac<a.pa_", "t.pa_<t.pac"}));
}

void TestSnackMoves::doubleClick_data()
{
    QTest::addColumn<QString>("listName");
    QTest::addColumn<int>("action");
    QTest::addColumn<QByteArrayList>("after");
    QTest::addColumn<QString>("renameFrom"); // the name the rename dialog opened on; empty: none
    QTest::newRow("moves today's snack to stock") << u"List2"_s << 0 << QByteArrayList{"a.pa_", "t.pa_<t.pac"}
                                                  << QString();
    QTest::newRow("moves stock snack to today's") << u"List1"_s << 0 << QByteArrayList{"a.pac<a.pa_", "t.pac"}
                                                  << QString();
    QTest::newRow("opens the rename dialog") << u"List1"_s << 1 << QByteArrayList{"a.pa_", "t.pac"} << u"a"_s;
    QTest::newRow("any other value does nothing") << u"List2"_s << 7 << QByteArrayList{"a.pa_", "t.pac"}
                                                  << QString();
}

void TestSnackMoves::doubleClick()
{
    QFETCH(QString, listName);
    QFETCH(int, action);
    QFETCH(QByteArrayList, after);
    QFETCH(QString, renameFrom);
    UiFixture f;
    QVERIFY(f.addSnacks({"a.pa_", "t.pac"}));
    f.startMainWindow();
    f.action("kakunin")->trigger();
    f.program->globals.dblClickAction = qint16(action);
    kurubako::SnackListView *list = f.list(listName.toLatin1());

    QString dialogName;
    QTimer::singleShot(0, [&] {
        if (auto *dialog = qobject_cast<kurubako::Form4 *>(QApplication::activeModalWidget())) {
            dialogName = dialog->findChild<QLineEdit *>(u"Text1"_s)->text();
            dialog->Command2_Click();
        }
    });
    const QPoint row = list->visualRect(list->snackModel()->index(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
    QCoreApplication::processEvents();

    QCOMPARE(dialogName, renameFrom);
    QCOMPARE(f.snapshot(), testfolder::expected(after));
    if (!renameFrom.isEmpty())
        QCOMPARE(f.program->globals.renameSource, qint16(1));
    QVERIFY(f.box.shown.isEmpty());
}

QTEST_MAIN(TestSnackMoves)
#include "tst_snackmoves.moc"
