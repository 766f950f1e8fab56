#include "form1.h"

#include "controls.h"
#include "versiondialog.h"
#include "form3.h"
#include "program.h"
#include "snacklist.h"
#include "twips.h"

#include "app/settings.h"
#include "platform/msgbox.h"
#include "postpet/help.h"
#include "snacks/snackops.h"
#include "snacks/snackscan.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QSessionManager>

using namespace Qt::StringLiterals;

namespace kurubako {

// The values that tell the two transfers apart.
struct Form1::Transfer
{
    SnackSet from;
    SnackListView *list;
    QString nothingSelected;
    QString setName;
    QString questionEnd;
    QString errorTitle;
};

// A list with its pop-up menu and the entries shown only for a single selected snack.
struct Form1::ListSide
{
    SnackListView *list;
    QMenu *menu;
    QAction *separator;
    QAction *renameEntry;
};

namespace {

constexpr TwipRect ClientArea{0, 0, 7095, 5715};

// One side of the window: a frame holding a snack list, its count and the buttons that
// select all of it or none.
struct ListControls
{
    SnackListView *list;
    QLabel *count;
    QPushButton *selectAll;
    QPushButton *clear;
};

ListControls newListControls(const QString &caption, int number, const char *buttonArray, QWidget *client)
{
    auto *frame = new QGroupBox(caption, client);
    frame->setObjectName(u"Frame%1"_s.arg(number));
    auto *list = new SnackListView(frame);
    list->setObjectName(u"List%1"_s.arg(number));
    auto *count = new QLabel(u"全部で 99999 個"_s, frame);
    count->setObjectName(u"Label%1"_s.arg(number));
    const QByteArray buttons(buttonArray);
    return {list, count, newButton(u"全選択"_s, QByteArray(buttons + "(0)").constData(), frame),
            newButton(u"全解除"_s, QByteArray(buttons + "(1)").constData(), frame)};
}

QAction *newAction(const QString &text, const char *name, QMenu *menu)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QAction *newSeparator(const char *name, QMenu *menu)
{
    QAction *separator = menu->addSeparator();
    separator->setObjectName(QString::fromLatin1(name));
    return separator;
}

} // namespace

Form1::Form1(Program &program)
    : QMainWindow(nullptr, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                               | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                               | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_program(program)
{
    setObjectName(u"Form1"_s);
    setFont(programFont(9));
    buildControls();
    buildMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &manager) {
        // The desktop session is ending: the same close as any other, which the user may refuse.
        if (!close())
            manager.cancel();
    });
    Form_Load();
}

Form1::~Form1()
{
    qApp->removeEventFilter(this);
}

void Form1::buildControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(u"client"_s);
    client->setFixedSize(toPixels(ClientArea).size());
    setCentralWidget(client);

    const ListControls stockSide = newListControls(u"ストックおやつ \".pa_\""_s, 1, "Command3", client);
    List1 = stockSide.list;
    Label1 = stockSide.count;
    QPushButton *selectAll1 = stockSide.selectAll;
    QPushButton *clear1 = stockSide.clear;

    QPushButton *Command5 = newButton(u"追加 =>"_s, "Command5", client);
    QPushButton *Command6 = newButton(u"<= 待避"_s, "Command6", client);

    const ListControls todaySide = newListControls(u"今日のおやつ \".pac\""_s, 2, "Command4", client);
    List2 = todaySide.list;
    Label2 = todaySide.count;
    QPushButton *selectAll2 = todaySide.selectAll;
    QPushButton *clear2 = todaySide.clear;

    Command1 = newButton(u"PostPetを起動して終了"_s, "Command1", client);
    QPushButton *Command2 = newButton(u"おわる"_s, "Command2", client);

    layOut(client, {
        {"Frame1", {240, 120, 2685, 4695}, 12},
        {"List1", {240, 360, 2175, 3435}, 11.25},
        {"Label1", {240, 3840, 2175, 255}, 12},
        {"Command3(0)", {240, 4200, 975, 375}, 9.75},
        {"Command3(1)", {1440, 4200, 975, 375}, 9.75},
        {"Command5", {3120, 1320, 855, 375}, 9},
        {"Command6", {3120, 2760, 855, 375}, 9},
        {"Frame2", {4200, 120, 2685, 4695}, 12},
        {"List2", {240, 360, 2175, 3435}, 11.25},
        {"Label2", {240, 3840, 2175, 255}, 12},
        {"Command4(0)", {240, 4200, 975, 375}, 9.75},
        {"Command4(1)", {1440, 4200, 975, 375}, 9.75},
        {"Command1", {4080, 5040, 1335, 495}, 9},
        {"Command2", {5760, 5040, 1095, 495}, 12},
    });

    setTabOrder(Command1, Command2);
    setTabOrder(Command2, List1);
    setTabOrder(List1, selectAll1);
    setTabOrder(selectAll1, clear1);
    setTabOrder(clear1, clear2);
    setTabOrder(clear2, selectAll2);
    setTabOrder(selectAll2, List2);
    setTabOrder(List2, Command5);
    setTabOrder(Command5, Command6);

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(selectAll1, &QPushButton::clicked, this, [this] { Command3_Click(0); });
    connect(clear1, &QPushButton::clicked, this, [this] { Command3_Click(1); });
    connect(selectAll2, &QPushButton::clicked, this, [this] { Command4_Click(0); });
    connect(clear2, &QPushButton::clicked, this, [this] { Command4_Click(1); });
    connect(List1, &SnackListView::rightButtonPressed, this,
            [this](const QPoint &pos) { List1_MouseDown(Qt::RightButton, pos); });
    connect(List2, &SnackListView::rightButtonPressed, this,
            [this](const QPoint &pos) { List2_MouseDown(Qt::RightButton, pos); });
    connect(List1, &QAbstractItemView::doubleClicked, this, &Form1::List1_DblClick);
    connect(List2, &QAbstractItemView::doubleClicked, this, &Form1::List2_DblClick);
}

void Form1::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setFont(programFont(9));

    QMenu *file = bar->addMenu(u"ﾌｧｲﾙ(&F)"_s);
    file->setObjectName(u"file"_s);
    connect(newAction(u"最新の情報に更新(&N or F5)"_s, "new", file), &QAction::triggered, this, &Form1::new_Click);
    newSeparator("lineB", file);
    connect(newAction(u"PostPet起動(&P)"_s, "postpet", file), &QAction::triggered, this, &Form1::postpet_Click);
    connect(newAction(u"PostPet起動して終了(&A)"_s, "postpet_end", file), &QAction::triggered, this,
            &Form1::postpet_end_Click);
    connect(newAction(u"くるみ箱 の終了(&E or F8)"_s, "exit", file), &QAction::triggered, this, &Form1::exit_Click);

    QMenu *option = bar->addMenu(u"ｵﾌﾟｼｮﾝ(&O)"_s);
    option->setObjectName(u"option"_s);
    connect(newAction(u"設定(&C)"_s, "config", option), &QAction::triggered, this, &Form1::config_Click);
    kakunin = newAction(u"確認メッセージは不要(&K)"_s, "kakunin", option);
    kakunin->setCheckable(true);
    // A checkable action reverses its mark before it reports the trigger; kakunin_Click owns
    // that reversal, so the action's own is taken back first.
    connect(kakunin, &QAction::triggered, this, [this](bool checked) {
        kakunin->setChecked(!checked);
        kakunin_Click();
    });

    QMenu *help = bar->addMenu(u"ﾍﾙﾌﾟ(&H)"_s);
    help->setObjectName(u"help"_s);
    connect(newAction(u"ﾍﾙﾌﾟの表示(&H)"_s, "help_dsp", help), &QAction::triggered, this, &Form1::help_dsp_Click);
    connect(newAction(u"ﾊﾞｰｼﾞｮﾝ情報"_s, "version", help), &QAction::triggered, this, &Form1::version_Click);

    // The lists' pop-up menus, never shown in the menu bar.
    stock = new QMenu(u"ｽﾄｯｸ"_s, this);
    stock->setObjectName(u"stock"_s);
    connect(newAction(u"おやつへ移動"_s, "move_oyatu", stock), &QAction::triggered, this, &Form1::move_oyatu_Click);
    lineC = newSeparator("lineC", stock);
    oyatu_renameA = newAction(u"おやつ名変更"_s, "oyatu_renameA", stock);
    connect(oyatu_renameA, &QAction::triggered, this, &Form1::oyatu_renameA_Click);

    oyatu = new QMenu(u"おやつ"_s, this);
    oyatu->setObjectName(u"oyatu"_s);
    connect(newAction(u"ストックへ待避"_s, "move_stock", oyatu), &QAction::triggered, this, &Form1::move_stock_Click);
    lineD = newSeparator("lineD", oyatu);
    oyatu_renameB = newAction(u"おやつ名変更"_s, "oyatu_renameB", oyatu);
    connect(oyatu_renameB, &QAction::triggered, this, &Form1::oyatu_renameB_Click);
}

void Form1::Form_Load()
{
    const Globals &globals = m_program.globals;
    QString version = versionText(globals.storedVersion);
    version.replace(u'.', locale().decimalPoint());
    setWindowTitle(u"PostPet くるみ箱 Ver"_s + version);
    Command1->setText(u"PostPetを"_s + u'\n' + u"起動して終了"_s);
    kakunin->setChecked(globals.skipConfirm);
    move(twipsToPixels(globals.windowLeft), twipsToPixels(globals.windowTop));
    RefreshSnackLists();
    Command1->setFocus();
}

void Form1::RefreshSnackLists()
{
    const Globals &globals = m_program.globals;
    SnackLists lists = scanSnackFolder(m_program.services.files, globals.snackDir);
    List1->snackModel()->setSnacks(std::move(lists.stock));
    List2->snackModel()->setSnacks(std::move(lists.today));
    Label1->setText(snackCountText(List1->snackModel()->rowCount()));
    Label2->setText(snackCountText(List2->snackModel()->rowCount()));
}

bool Form1::questionsOff() const
{
    return kakunin->isChecked();
}

SnackListView *Form1::snackList(qint16 renameSource) const
{
    return renameSource == 1 ? List1 : List2;
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    // The function keys belong to the whole window, whichever control has the focus, and
    // rest while a modal box or dialog is open.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == this && !QApplication::activeModalWidget()) {
        return Form_KeyDown(static_cast<QKeyEvent *>(event)->key());
    }
    return QMainWindow::eventFilter(watched, event);
}

bool Form1::Form_KeyDown(int key)
{
    switch (key) {
    case Qt::Key_F3:
        Command5_Click();
        return true;
    case Qt::Key_F4:
        Command6_Click();
        return true;
    case Qt::Key_F5:
        RefreshSnackLists();
        return true;
    case Qt::Key_F8:
        Command2_Click();
        return true;
    default:
        return false;
    }
}

void Form1::closeEvent(QCloseEvent *event)
{
    MsgBox &box = m_program.services.box;
    if (!questionsOff() && !box.askYes(u"PostPetくるみ箱 を終了させていい？"_s, u"終了確認"_s)) {
        event->ignore();
        return;
    }
    Globals &globals = m_program.globals;
    globals.skipConfirm = questionsOff();
    const QPoint corner = frameGeometry().topLeft();
    globals.windowTop = pixelsToTwips(corner.y());
    globals.windowLeft = pixelsToTwips(corner.x());
    Settings(m_program.services.store).saveOnQuit(globals);
    event->accept();
    m_program.endProgram();
}

void Form1::Command1_Click()
{
    if (List2->snackModel()->rowCount() == 0 && !questionsOff()
        && !m_program.services.box.askNo(u"おやつがないけど、PostPetを起動してもいい？"_s, u"確認だよ"_s)) {
        return;
    }
    m_program.LaunchPostPet();
    m_program.QuitProgram();
}

void Form1::Command2_Click()
{
    m_program.QuitProgram();
}

void Form1::Command5_Click()
{
    runTransfer({SnackSet::Stock, List1, u"ストックおやつ選択されていないよ"_s, u"今日のおやつ"_s,
                 u"に追加するよ。いい？"_s, u"追加エラー"_s});
}

void Form1::Command6_Click()
{
    runTransfer({SnackSet::Today, List2, u"おやつが選択されていないよ"_s, u"ストック"_s,
                 u"に待避するよ。いい？"_s, u"待避エラー"_s});
}

void Form1::runTransfer(const Transfer &transfer)
{
    MsgBox &box = m_program.services.box;
    const QList<Snack> selected = transfer.list->selectedSnacks();
    if (selected.isEmpty()) {
        box.critical(transfer.nothingSelected, u"未選択だよ"_s);
        return;
    }
    if (!questionsOff()) {
        const QString question = QString::number(selected.size()) + u" 件のおやつを"_s + u'"' + transfer.setName
            + u'"' + transfer.questionEnd;
        if (!box.askYes(question, u"確認だよ"_s))
            return;
    }
    const RenameOutcome outcome =
        moveSnacks(m_program.services.files, m_program.globals.snackDir, selected, transfer.from);
    if (outcome.error.failed()) {
        box.critical(u"PostPetおやつのあるディレクトリをチェックしてちょ。（"_s
                         + QString::number(outcome.error.number) + u"）\r\n"_s + u"エラー内容："_s
                         + outcome.error.description,
                     transfer.errorTitle);
    }
    // Also after a failure: the snacks moved before it have left their list.
    RefreshSnackLists();
}

void Form1::kakunin_Click()
{
    // The mark itself is the switch; nothing is stored until the window closes.
    kakunin->setChecked(!kakunin->isChecked());
}

void Form1::Command3_Click(int Index)
{
    List1->setAllSelected(Index == 0);
}

void Form1::Command4_Click(int Index)
{
    List2->setAllSelected(Index == 0);
}

void Form1::List1_MouseDown(Qt::MouseButton Button, const QPoint &globalPos)
{
    showListMenu({List1, stock, lineC, oyatu_renameA}, Button, globalPos);
}

void Form1::List2_MouseDown(Qt::MouseButton Button, const QPoint &globalPos)
{
    showListMenu({List2, oyatu, lineD, oyatu_renameB}, Button, globalPos);
}

void Form1::showListMenu(const ListSide &side, Qt::MouseButton button, const QPoint &globalPos)
{
    if (button != Qt::RightButton)
        return;
    const qsizetype selected = side.list->selectedCount();
    if (selected == 0)
        return;
    side.separator->setVisible(selected == 1);
    side.renameEntry->setVisible(selected == 1);
    side.menu->exec(globalPos);
}

void Form1::List1_DblClick()
{
    doubleClick(SnackSet::Stock);
}

void Form1::List2_DblClick()
{
    doubleClick(SnackSet::Today);
}

void Form1::doubleClick(SnackSet set)
{
    switch (m_program.globals.dblClickAction) {
    case 0:
        set == SnackSet::Stock ? Command5_Click() : Command6_Click();
        break;
    case 1:
        rename(set == SnackSet::Stock ? 1 : 2);
        break;
    default:
        break;
    }
}

void Form1::rename(qint16 renameSource)
{
    m_program.globals.renameSource = renameSource;
    m_program.ShowRenameDialog();
}

void Form1::move_oyatu_Click()
{
    Command5_Click();
}

void Form1::move_stock_Click()
{
    Command6_Click();
}

void Form1::oyatu_renameA_Click()
{
    rename(1);
}

void Form1::oyatu_renameB_Click()
{
    rename(2);
}

void Form1::new_Click()
{
    RefreshSnackLists();
}

void Form1::postpet_Click()
{
    m_program.LaunchPostPet();
}

void Form1::postpet_end_Click()
{
    Command1_Click();
}

void Form1::exit_Click()
{
    Command2_Click();
}

void Form1::config_Click()
{
    Form3 dialog(m_program, this);
    dialog.exec();
}

void Form1::version_Click()
{
    VersionDialog dialog(m_program, this);
    dialog.exec();
}

void Form1::help_dsp_Click()
{
    ShowHelp(m_program.services.files, m_program.services.opener, m_program.services.box);
}

} // namespace kurubako
