#include "uifixture.h"

#include "snacks/snackscan.h"
#include "ui/renamedialog.h"

#include <QLineEdit>
#include <QTimer>

using namespace Qt::StringLiterals;

using kurubako::MsgBox;
using kurubako::RenameDialog;

namespace {

const QString ForbiddenMessage =
    u"ファイル名には次の文字は使えません\r\n               \\ / : . ; * ? \" < > | "_s;

QLineEdit *textBox(RenameDialog &dialog, const char *name)
{
    return dialog.findChild<QLineEdit *>(QString::fromLatin1(name));
}

} // namespace

class TestRename : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensOnCurrentItemWithNameSelected();
    void refused_data();
    void refused();
    void renamed_data();
    void renamed();
    void questionAnsweredNo_changesNothing();
    void noCurrentItem_opensEmpty();
    void renamesCurrentItemNotSelection();
    void showRenameDialog_cancelAndEscapeRenameNothingAndGiveFocusBack();
};

void TestRename::opensOnCurrentItemWithNameSelected()
{
    UiFixture f;
    QVERIFY(f.addSnacks({"a.pa_", "ケーキ.pa_", "t.pac"}));
    f.startMainWindow();
    kurubako::SnackListView *list = f.list("stockList");
    list->setCurrentIndex(list->snackModel()->index(1));
    const auto opened = f.renameDialog(kurubako::SnackSet::Stock);
    RenameDialog &dialog = *opened;
    QCOMPARE(dialog.windowTitle(), u"おやつ名変更っ！"_s);
    QCOMPARE(textBox(dialog, "currentName")->text(), u"ケーキ"_s);
    QVERIFY(textBox(dialog, "currentName")->isReadOnly());
    QCOMPARE(textBox(dialog, "newName")->text(), u"ケーキ"_s);
    QCOMPARE(textBox(dialog, "newName")->selectedText(), u"ケーキ"_s);
    QCOMPARE(dialog.size(), QSize(312, 82));
}

void TestRename::refused_data()
{
    QTest::addColumn<QByteArrayList>("files");
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("textAfter"); // what the new name box holds afterwards, all of it selected

    const QString empty = u"おやつ名を入力しないと変更できないよ"_s;
    QTest::newRow("empty name") << QByteArrayList{"a.pac"} << 2 << QString() << empty << u"おやつ名は？"_s
                                << u"a"_s;
    for (const QChar c : kurubako::ForbiddenNameChars) {
        const QString name = u"x"_s + c + u"y"_s;
        QTest::addRow("forbidden %s", qPrintable(name))
            << QByteArrayList{"a.pac"} << 2 << name << ForbiddenMessage << u"名前の変更"_s << name;
    }
    QTest::newRow("several forbidden, one message")
        << QByteArrayList{"a.pac"} << 2 << u"a?b*c"_s << ForbiddenMessage << u"名前の変更"_s << u"a?b*c"_s;
    const QString clash = u"同じ名前のファイルが存在するので変えられないよ"_s;
    QTest::newRow("same name in the set")
        << QByteArrayList{"a.pac", "b.pac"} << 2 << u"b"_s << clash << u"エラー"_s << u"b"_s;
    QTest::newRow("same name in another case")
        << QByteArrayList{"a.pa_", "B.PA_"} << 1 << u"b"_s << clash << u"エラー"_s << u"b"_s;
    QTest::newRow("a snack under a folder's name")
        << QByteArrayList{"a.pac", "d.pac/"} << 2 << u"D"_s << clash << u"エラー"_s << u"D"_s;
    QTest::newRow("name too long") << QByteArrayList{"a.pac"} << 2 << QString(300, u'x')
                                   << u"未知のエラーです(64)"_s << u"エラー"_s << QString(300, u'x');
}

void TestRename::refused()
{
    QFETCH(QByteArrayList, files);
    QFETCH(int, source);
    QFETCH(QString, newName);
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(QString, textAfter);
    UiFixture f;
    QVERIFY(f.addSnacks(files));
    f.startMainWindow();
    f.action("skipQuestionsAction")->trigger();
    const char *listName = source == 1 ? "stockList" : "todayList";
    f.list(listName)->setCurrentIndex(f.list(listName)->snackModel()->index(0));
    const QByteArray before = f.snapshot();

    const auto opened = f.renameDialog(source == 1 ? kurubako::SnackSet::Stock : kurubako::SnackSet::Today);
    RenameDialog &dialog = *opened;
    dialog.show();
    textBox(dialog, "newName")->setText(newName);
    dialog.findChild<QPushButton *>(u"renameButton"_s)->click();

    QCOMPARE(f.box.shown.size(), 1);
    QCOMPARE(f.box.shown[0].text, text);
    QCOMPARE(f.box.shown[0].title, title);
    QCOMPARE(f.box.shown[0].icon, MsgBox::Icon::Critical);
    QVERIFY(dialog.isVisible());
    QCOMPARE(textBox(dialog, "newName")->text(), textAfter);
    QCOMPARE(textBox(dialog, "newName")->selectedText(), textAfter);
    QCOMPARE(f.snapshot(), before);
}

void TestRename::renamed_data()
{
    QTest::addColumn<QByteArrayList>("files");
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QByteArrayList>("after");
    QTest::addColumn<QStringList>("stock");
    QTest::addColumn<QStringList>("today");

    QTest::newRow("today's snack") << QByteArrayList{"a.pac", "z.pac"} << 2 << u"ケーキ"_s
                                   << QByteArrayList{"ケーキ.pac<a.pac", "z.pac"} << QStringList{}
                                   << QStringList{u"z"_s, u"ケーキ"_s};
    QTest::newRow("stock snack to a name of today's")
        << QByteArrayList{"a.pa_", "t.pac"} << 1 << u"t"_s << QByteArrayList{"t.pa_<a.pa_", "t.pac"}
        << QStringList{u"t"_s} << QStringList{u"t"_s};
    QTest::newRow("only the letter case")
        << QByteArrayList{"abc.pac"} << 2 << u"ABC"_s << QByteArrayList{"ABC.pac<abc.pac"} << QStringList{}
        << QStringList{u"ABC"_s};
    QTest::newRow("the same name") << QByteArrayList{"abc.pac"} << 2 << u"abc"_s << QByteArrayList{"abc.pac"}
                                   << QStringList{} << QStringList{u"abc"_s};
    QTest::newRow("upper-case extension gets the set's")
        << QByteArrayList{"B.PAC"} << 2 << u"c"_s << QByteArrayList{"c.pac<B.PAC"} << QStringList{}
        << QStringList{u"c"_s};
    QTest::newRow("full-width forms and spaces")
        << QByteArrayList{"a.pa_"} << 1 << u" ａ／ｂ．ｃ "_s << QByteArrayList{" ａ／ｂ．ｃ .pa_<a.pa_"}
        << QStringList{u" ａ／ｂ．ｃ "_s} << QStringList{};
    QTest::newRow("only spaces") << QByteArrayList{"a.pac"} << 2 << u"   "_s
                                 << QByteArrayList{"   .pac<a.pac"} << QStringList{} << QStringList{u"   "_s};
    if (testfolder::namesAreBytes())
        QTest::newRow("name not in UTF-8")
            << QByteArrayList{"\x83\x5c\x83\x74\x83\x67.pac"} << 2 << u"ソフト2"_s
            << QByteArrayList{"ソフト2.pac<\x83\x5c\x83\x74\x83\x67.pac"} << QStringList{}
            << QStringList{u"ソフト2"_s};
}

void TestRename::renamed()
{
    QFETCH(QByteArrayList, files);
    QFETCH(int, source);
    QFETCH(QString, newName);
    QFETCH(QByteArrayList, after);
    QFETCH(QStringList, stock);
    QFETCH(QStringList, today);
    UiFixture f;
    QVERIFY(f.addSnacks(files));
    f.startMainWindow();
    const char *listName = source == 1 ? "stockList" : "todayList";
    f.list(listName)->setCurrentIndex(f.list(listName)->snackModel()->index(0));

    f.box.answers = {MsgBox::Button::Yes};
    int result = -1;
    QVERIFY(f.withRenameDialog(source == 1 ? kurubako::SnackSet::Stock : kurubako::SnackSet::Today,
                               [&](RenameDialog &dialog) {
                                   textBox(dialog, "newName")->setText(newName);
                                   dialog.findChild<QPushButton *>(u"renameButton"_s)->click();
                                   result = dialog.result();
                               }));

    QCOMPARE(f.box.shown.size(), 1);
    QCOMPARE(f.box.shown[0].text, u"おやつ名を変更するよ。いい？"_s);
    QCOMPARE(f.box.shown[0].title, u"確認だよ"_s);
    QCOMPARE(f.box.shown[0].defaultButton, MsgBox::Button::Yes);
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(f.snapshot(), testfolder::expected(after));
    QCOMPARE(f.names("stockList"), stock);
    QCOMPARE(f.names("todayList"), today);
    QCOMPARE(f.labelText("todayCount"), kurubako::snackCountText(today.size()));
}

void TestRename::questionAnsweredNo_changesNothing()
{
    UiFixture f;
    QVERIFY(f.addSnacks({"a.pac"}));
    f.startMainWindow();
    f.list("todayList")->setCurrentIndex(f.list("todayList")->snackModel()->index(0));
    const auto opened = f.renameDialog(kurubako::SnackSet::Today);
    RenameDialog &dialog = *opened;
    dialog.show();
    textBox(dialog, "newName")->setText(u"b"_s);
    textBox(dialog, "newName")->setCursorPosition(1);
    f.box.answers = {MsgBox::Button::No};
    dialog.findChild<QPushButton *>(u"renameButton"_s)->click();
    QVERIFY(dialog.isVisible());
    QCOMPARE(textBox(dialog, "newName")->text(), u"b"_s);
    QCOMPARE(f.snapshot(), testfolder::expected({"a.pac"}));
}

void TestRename::noCurrentItem_opensEmpty()
{
    UiFixture f;
    QVERIFY(f.addSnacks({"a.pac"}));
    f.startMainWindow();
    const auto opened = f.renameDialog(kurubako::SnackSet::Today);
    RenameDialog &dialog = *opened;
    QVERIFY(textBox(dialog, "currentName")->text().isEmpty());
    QVERIFY(textBox(dialog, "newName")->text().isEmpty());
    dialog.findChild<QPushButton *>(u"renameButton"_s)->click();
    QCOMPARE(f.box.shown.value(0).title, u"おやつ名は？"_s);
    QVERIFY(textBox(dialog, "newName")->text().isEmpty());
}

void TestRename::renamesCurrentItemNotSelection()
{
    UiFixture f;
    QVERIFY(f.addSnacks({"a.pac", "b.pac"}));
    f.startMainWindow();
    f.action("skipQuestionsAction")->trigger();
    kurubako::SnackListView *list = f.list("todayList");
    f.select("todayList", {u"a"_s});
    list->selectionModel()->setCurrentIndex(list->snackModel()->index(1), QItemSelectionModel::NoUpdate);
    QVERIFY(f.withRenameDialog(kurubako::SnackSet::Today, [](RenameDialog &dialog) {
        textBox(dialog, "newName")->setText(u"c"_s);
        dialog.findChild<QPushButton *>(u"renameButton"_s)->click();
    }));
    QCOMPARE(f.snapshot(), testfolder::expected({"a.pac", "c.pac<b.pac"}));
    QCOMPARE(f.names("todayList"), QStringList({u"a"_s, u"c"_s}));
}

void TestRename::showRenameDialog_cancelAndEscapeRenameNothingAndGiveFocusBack()
{
    UiFixture f;
    QVERIFY(f.addSnacks({"a.pa_"}));
    f.startMainWindow();
    f.action("skipQuestionsAction")->trigger();
    f.list("stockList")->setCurrentIndex(f.list("stockList")->snackModel()->index(0));
    for (const bool escape : {false, true}) {
        QString opened;
        QVERIFY(f.withRenameDialog(kurubako::SnackSet::Stock, [&](RenameDialog &dialog) {
            opened = textBox(dialog, "currentName")->text();
            textBox(dialog, "newName")->setText(u"zzz"_s);
            if (escape)
                QTest::keyClick(textBox(dialog, "newName"), Qt::Key_Escape);
            else
                dialog.findChild<QPushButton *>(u"cancelButton"_s)->click();
            QVERIFY(!dialog.isVisible());
        }));
        QCOMPARE(opened, u"a"_s);
        // The main window has the focus back, so that its function keys work at once.
        QTRY_COMPARE(QApplication::activeWindow(), f.window());
    }
    QCOMPARE(f.snapshot(), testfolder::expected({"a.pa_"}));
    QVERIFY(f.box.shown.isEmpty());
}

QTEST_MAIN(TestRename)
#include "tst_rename.moc"
