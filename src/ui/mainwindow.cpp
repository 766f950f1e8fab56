#include "mainwindow.h"

#include "controls.h"
#include "fonts.h"
#include "renamedialog.h"
#include "settingsdialog.h"
#include "snacklist.h"
#include "twips.h"
#include "versiondialog.h"

#include "app/preferencesstore.h"
#include "platform/msgbox.h"
#include "platform/programfolder.h"
#include "postpet/help.h"
#include "postpet/launch.h"
#include "snacks/folderwatcher.h"
#include "snacks/snackops.h"
#include "snacks/snackscan.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QSessionManager>
#include <QShortcut>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kurubako {

// The values that tell the two transfers apart.
struct MainWindow::Transfer
{
    SnackSet from;
    SnackListView *list;
    QString nothingSelected;
    QString setName;
    QString questionEnd;
    QString errorTitle;
};

// A list with its pop-up menu and the entries shown only for a single selected snack.
struct MainWindow::ListSide
{
    SnackListView *list;
    QMenu *menu;
    QAction *separator;
    QAction *renameEntry;
};

namespace {

// The window's geometry in twips, each control relative to its container, with the font
// sizes in points. Both list sides share the controls' places inside their frames.
constexpr TwipRect ClientArea{0, 0, 7095, 5715};
constexpr Placement StockFrame{{240, 120, 2685, 4695}, 12};
constexpr Placement TodayFrame{{4200, 120, 2685, 4695}, 12};
constexpr Placement SnackList{{240, 360, 2175, 3435}, 11.25};
constexpr Placement SnackCount{{240, 3840, 2175, 255}, 12};
constexpr Placement SelectAllButton{{240, 4200, 975, 375}, 9.75};
constexpr Placement ClearButton{{1440, 4200, 975, 375}, 9.75};
constexpr Placement AddToTodayButton{{3120, 1320, 855, 375}, 9};
constexpr Placement MoveToStockButton{{3120, 2760, 855, 375}, 9};
constexpr Placement LaunchAndQuitButton{{4080, 5040, 1335, 495}, 9};
constexpr Placement QuitButton{{5760, 5040, 1095, 495}, 12};

// One side of the window: a frame holding a snack list, its count and the buttons that
// select all of it or none. Object names start with `side`: "stock" or "today".
struct ListControls
{
    QGroupBox *frame;
    SnackListView *list;
    QLabel *count;
    QPushButton *selectAll;
    QPushButton *clear;
};

ListControls newListControls(const QString &caption, const QString &side, const QString &setName,
                             const Placement &framePlacement, QWidget *client)
{
    auto *frame = new QGroupBox(caption, client);
    frame->setObjectName(side + u"Frame"_s);
    auto *list = new SnackListView(frame);
    list->setObjectName(side + u"List"_s);
    list->setAccessibleName(setName);
    auto *count = new QLabel(u"全部で 99999 個"_s, frame);
    count->setObjectName(side + u"Count"_s);
    // The buttons of both sides read alike; a screen reader says which list each acts on.
    auto *selectAll = new QPushButton(u"全選択"_s, frame);
    selectAll->setObjectName(side + u"SelectAllButton"_s);
    selectAll->setAccessibleName(setName + u"を全選択"_s);
    auto *clear = new QPushButton(u"全解除"_s, frame);
    clear->setObjectName(side + u"ClearButton"_s);
    clear->setAccessibleName(setName + u"を全解除"_s);

    place(frame, framePlacement);
    place(list, SnackList);
    place(count, SnackCount);
    place(selectAll, SelectAllButton);
    place(clear, ClearButton);
    QObject::connect(selectAll, &QPushButton::clicked, list, [list] { list->setAllSelected(true); });
    QObject::connect(clear, &QPushButton::clicked, list, [list] { list->setAllSelected(false); });
    return {frame, list, count, selectAll, clear};
}

QAction *newAction(const QString &text, const char *name, QObject *parent)
{
    auto *action = new QAction(text, parent);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QAction *newSeparator(const char *name, QMenu *menu)
{
    QAction *separator = menu->addSeparator();
    separator->setObjectName(QString::fromLatin1(name));
    return separator;
}

// The box that shows how far a long run of moves got, modal, with the button that stops it.
std::unique_ptr<QProgressDialog> newProgressDialog(qsizetype total, QWidget *parent)
{
    auto progress =
        std::make_unique<QProgressDialog>(QString(), u"やめる"_s, 0, int(total), parent, FixedDialogFlags);
    progress->setObjectName(u"moveProgress"_s);
    progress->setWindowTitle(u"移動中だよ"_s);
    progress->setWindowModality(Qt::ApplicationModal);
    progress->setAutoReset(false);
    progress->setAutoClose(false);
    progress->setMinimumDuration(0);
    progress->show();
    return progress;
}

// A button that triggers `action`, the command it shares with a menu entry or a key.
QPushButton *newCommandButton(const QString &text, const char *name, QAction *action, QWidget *parent)
{
    QPushButton *button = newButton(text, name, parent);
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    return button;
}

} // namespace

// The window's message boxes: while one is open the lists wait for the folder's changes.
class HeldMsgBox final : public MsgBox
{
public:
    HeldMsgBox(MsgBox &box, FolderWatcher *&watcher)
        : m_box(box)
        , m_watcher(watcher)
    {
    }

    Button show(const QString &text, const QString &title, Icon icon, Buttons buttons,
                Button defaultButton) override
    {
        const FolderWatchHold held(*m_watcher);
        return m_box.show(text, title, icon, buttons, defaultButton);
    }

private:
    MsgBox &m_box;
    FolderWatcher *&m_watcher; // made after the services that hold this box
};

MainWindow::MainWindow(const Services &services, const Preferences &preferences)
    : QMainWindow(nullptr,
                  Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                      | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                      | Qt::WindowCloseButtonHint)
    , m_heldBox(std::make_unique<HeldMsgBox>(services.box, m_folderWatcher))
    , m_services{services.files, *m_heldBox, services.starter, services.opener, services.waits}
    , m_preferences(preferences)
{
    setObjectName(u"mainWindow"_s);
    m_folderWatcher = new FolderWatcher(this);
    m_folderWatcher->setObjectName(u"folderWatcher"_s);
    connect(m_folderWatcher, &FolderWatcher::changed, this, &MainWindow::followFolderChange);
    setFont(programFont(9));
    createActions();
    buildControls();
    buildMenus();
    // The final size before the window is first shown: a window that changes its size as it
    // is mapped loses its frame-inclusive position on X11 (its client area lands where the
    // outer corner should).
    setFixedSize(sizeHint());
    addFunctionKey(Qt::Key_F3, m_addToTodayAction);
    addFunctionKey(Qt::Key_F4, m_moveToStockAction);
    addFunctionKey(Qt::Key_F5, m_refreshAction);
    addFunctionKey(Qt::Key_F8, m_quitAction);

    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &manager) {
        // The desktop session is ending: the same close as any other, which the user may refuse.
        if (!close())
            manager.cancel();
    });

    QString version = versionText(m_preferences.storedVersion);
    version.replace(u'.', locale().decimalPoint());
    setWindowTitle(u"PostPet くるみ箱 Ver"_s + version);
    m_launchAndQuitButton->setText(u"PostPetを"_s + u'\n' + u"起動して終了"_s);
    m_skipQuestionsAction->setChecked(m_preferences.skipQuestions);
    connect(m_skipQuestionsAction, &QAction::toggled, this,
            [this](bool on) { m_preferences.skipQuestions = on; });
    // "top" and "left" are the outer corner, frame and title bar included.
    m_placedCorner = QPoint(twipsToPixels(m_preferences.windowLeft), twipsToPixels(m_preferences.windowTop));
    move(m_placedCorner);

    m_noAnswerTimer.setSingleShot(true);
    connect(&m_noAnswerTimer, &QTimer::timeout, this, &MainWindow::showWaitBox);
    m_progressTimer.setSingleShot(true);
    connect(&m_progressTimer, &QTimer::timeout, this, [this] {
        m_progress = newProgressDialog(m_moveTotal, this);
        connect(m_progress.get(), &QProgressDialog::canceled, this, [this] {
            if (m_call)
                m_call->requestStop();
        });
        showProgress(m_movesDone);
    });
    // Empty until the folder answers, should it not answer before the window shows.
    showSnackLists({});
    listSnacks(m_services.waits.firstLists);
    m_launchAndQuitButton->setFocus();
}

// Calls left behind keep nothing of the window's: their results find no receiver.
MainWindow::~MainWindow() = default;

void MainWindow::createActions()
{
    m_refreshAction = newAction(u"最新の情報に更新(&N or F5)"_s, "refreshAction", this);
    connect(m_refreshAction, &QAction::triggered, this, &MainWindow::refreshSnackLists);
    m_launchPostPetAction = newAction(u"PostPet起動(&P)"_s, "launchPostPetAction", this);
    connect(m_launchPostPetAction, &QAction::triggered, this, &MainWindow::launchPostPet);
    m_launchAndQuitAction = newAction(u"PostPet起動して終了(&A)"_s, "launchAndQuitAction", this);
    connect(m_launchAndQuitAction, &QAction::triggered, this, &MainWindow::launchPostPetAndQuit);
    m_quitAction = newAction(u"くるみ箱 の終了(&E or F8)"_s, "quitAction", this);
    connect(m_quitAction, &QAction::triggered, this, &MainWindow::close);
    m_settingsAction = newAction(u"設定(&C)"_s, "settingsAction", this);
    connect(m_settingsAction, &QAction::triggered, this, &MainWindow::showSettingsDialog);
    // The check mark itself is the switch; nothing is stored until the window closes.
    m_skipQuestionsAction = newAction(u"確認メッセージは不要(&K)"_s, "skipQuestionsAction", this);
    m_skipQuestionsAction->setCheckable(true);
    m_showHelpAction = newAction(u"ﾍﾙﾌﾟの表示(&H)"_s, "showHelpAction", this);
    connect(m_showHelpAction, &QAction::triggered, this, [this] {
        // The help is looked for off this thread: the program's folder may lie on a network share.
        runCommand<QString>(
            programFolder(), [](const OffThreadCall::Link &) { return helpDocumentPath(); },
            [this](QString path) { openHelp(path, m_services.opener, m_services.box); }, {},
            m_services.waits.answer);
    });
    m_versionAction = newAction(u"ﾊﾞｰｼﾞｮﾝ情報"_s, "versionAction", this);
    connect(m_versionAction, &QAction::triggered, this, &MainWindow::showVersionDialog);

    m_addToTodayAction = newAction(u"おやつへ移動"_s, "addToTodayAction", this);
    connect(m_addToTodayAction, &QAction::triggered, this, &MainWindow::addToToday);
    m_moveToStockAction = newAction(u"ストックへ待避"_s, "moveToStockAction", this);
    connect(m_moveToStockAction, &QAction::triggered, this, &MainWindow::moveToStock);
    m_renameStockAction = newAction(u"おやつ名変更"_s, "renameStockSnackAction", this);
    connect(m_renameStockAction, &QAction::triggered, this, [this] { showRenameDialog(SnackSet::Stock); });
    m_renameTodayAction = newAction(u"おやつ名変更"_s, "renameTodaySnackAction", this);
    connect(m_renameTodayAction, &QAction::triggered, this, [this] { showRenameDialog(SnackSet::Today); });

    m_commands = {m_refreshAction,    m_launchPostPetAction, m_launchAndQuitAction, m_quitAction,
                  m_settingsAction,   m_skipQuestionsAction, m_showHelpAction,      m_versionAction,
                  m_addToTodayAction, m_moveToStockAction,   m_renameStockAction,   m_renameTodayAction};
}

void MainWindow::buildControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(u"client"_s);
    client->setFixedSize(toPixels(ClientArea).size());
    setCentralWidget(client);

    const ListControls stock =
        newListControls(u"ストックおやつ \".pa_\""_s, u"stock"_s, u"ストックおやつ"_s, StockFrame, client);
    m_stockList = stock.list;
    m_stockCount = stock.count;
    QPushButton *addToToday = newCommandButton(u"追加 =>"_s, "addToTodayButton", m_addToTodayAction, client);
    QPushButton *moveToStock =
        newCommandButton(u"<= 待避"_s, "moveToStockButton", m_moveToStockAction, client);
    const ListControls today =
        newListControls(u"今日のおやつ \".pac\""_s, u"today"_s, u"今日のおやつ"_s, TodayFrame, client);
    m_todayList = today.list;
    m_todayCount = today.count;
    m_launchAndQuitButton =
        newCommandButton(u"PostPetを起動して終了"_s, "launchAndQuitButton", m_launchAndQuitAction, client);
    QPushButton *quit = newCommandButton(u"おわる"_s, "quitButton", m_quitAction, client);
    // Read as what they do, not as arrows or with a line break.
    addToToday->setAccessibleName(u"今日のおやつに追加"_s);
    moveToStock->setAccessibleName(u"ストックに待避"_s);
    m_launchAndQuitButton->setAccessibleName(u"PostPetを起動して終了"_s);

    place(addToToday, AddToTodayButton);
    place(moveToStock, MoveToStockButton);
    place(m_launchAndQuitButton, LaunchAndQuitButton);
    place(quit, QuitButton);

    // Enter presses the button that has the focus, as Space does.
    for (QPushButton *button : client->findChildren<QPushButton *>())
        button->setAutoDefault(true);

    setTabOrder(m_launchAndQuitButton, quit);
    setTabOrder(quit, m_stockList);
    setTabOrder(m_stockList, stock.selectAll);
    setTabOrder(stock.selectAll, stock.clear);
    setTabOrder(stock.clear, today.clear);
    setTabOrder(today.clear, today.selectAll);
    setTabOrder(today.selectAll, m_todayList);
    setTabOrder(m_todayList, addToToday);
    setTabOrder(addToToday, moveToStock);

    connect(m_stockList, &SnackListView::menuRequested, this, [this](const QPoint &pos) {
        showListMenu({m_stockList, m_stockMenu, m_stockMenuSeparator, m_renameStockAction}, pos);
    });
    connect(m_todayList, &SnackListView::menuRequested, this, [this](const QPoint &pos) {
        showListMenu({m_todayList, m_todayMenu, m_todayMenuSeparator, m_renameTodayAction}, pos);
    });
    connect(m_stockList, &SnackListView::listDoubleClicked, this, [this] { doubleClick(SnackSet::Stock); });
    connect(m_todayList, &SnackListView::listDoubleClicked, this, [this] { doubleClick(SnackSet::Today); });
    // A drop of the other list's snacks runs the move of the button between the lists.
    m_stockList->acceptDropsFrom(m_todayList);
    m_todayList->acceptDropsFrom(m_stockList);
    connect(m_stockList, &SnackListView::dropRequested, m_moveToStockAction, &QAction::trigger);
    connect(m_todayList, &SnackListView::dropRequested, m_addToTodayAction, &QAction::trigger);
}

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setFont(programFont(9));

    QMenu *file = bar->addMenu(u"ﾌｧｲﾙ(&F)"_s);
    file->setObjectName(u"fileMenu"_s);
    file->addAction(m_refreshAction);
    newSeparator("fileMenuSeparator", file);
    file->addAction(m_launchPostPetAction);
    file->addAction(m_launchAndQuitAction);
    file->addAction(m_quitAction);

    QMenu *option = bar->addMenu(u"ｵﾌﾟｼｮﾝ(&O)"_s);
    option->setObjectName(u"optionMenu"_s);
    option->addAction(m_settingsAction);
    option->addAction(m_skipQuestionsAction);

    QMenu *help = bar->addMenu(u"ﾍﾙﾌﾟ(&H)"_s);
    help->setObjectName(u"helpMenu"_s);
    help->addAction(m_showHelpAction);
    help->addAction(m_versionAction);

    // The lists' pop-up menus, never shown in the menu bar.
    m_stockMenu = new QMenu(u"ｽﾄｯｸ"_s, this);
    m_stockMenu->setObjectName(u"stockMenu"_s);
    m_stockMenu->addAction(m_addToTodayAction);
    m_stockMenuSeparator = newSeparator("stockMenuSeparator", m_stockMenu);
    m_stockMenu->addAction(m_renameStockAction);

    m_todayMenu = new QMenu(u"おやつ"_s, this);
    m_todayMenu->setObjectName(u"todayMenu"_s);
    m_todayMenu->addAction(m_moveToStockAction);
    m_todayMenuSeparator = newSeparator("todayMenuSeparator", m_todayMenu);
    m_todayMenu->addAction(m_renameTodayAction);
}

void MainWindow::addFunctionKey(Qt::Key key, QAction *action)
{
    // The key belongs to the whole window, whichever control has the focus, with or without
    // Shift, Ctrl, Alt or Meta, and rests while a modal box or dialog is open. It is not the
    // action's own shortcut, which the menus would show beside captions that name the key.
    const Qt::KeyboardModifiers modifierKeys[] = {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier,
                                                  Qt::MetaModifier};
    QList<QKeySequence> keys;
    for (unsigned combination = 0; combination < 16; ++combination) {
        Qt::KeyboardModifiers modifiers;
        for (unsigned bit = 0; bit < 4; ++bit) {
            if (combination & (1u << bit))
                modifiers |= modifierKeys[bit];
        }
        keys.append(QKeySequence(QKeyCombination(modifiers, key)));
    }
    auto *shortcut = new QShortcut(this);
    shortcut->setKeys(keys);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, action, [action] {
        if (!QApplication::activeModalWidget())
            action->trigger();
    });
}

void MainWindow::refreshSnackLists()
{
    listSnacks(m_services.waits.answer);
}

template<typename T>
void MainWindow::runCommand(const QString &folder, std::function<T(const OffThreadCall::Link &)> work,
                            std::function<void(T)> done, std::function<void()> stopped,
                            std::chrono::milliseconds wait)
{
    for (QAction *command : std::as_const(m_commands))
        command->setEnabled(false);
    // The lists take no outside change while a command runs; one that ends with a listing
    // makes any such change moot.
    m_folderWatcher->hold();
    m_waitedFolder = folder;
    m_stopped = std::move(stopped);
    auto *call = OffThreadCall::start<T>(this, std::move(work), [this, done = std::move(done)](T result) {
        endCommand();
        done(std::move(result));
    });
    m_call = call;
    if (!call->waitFor(wait) && m_services.waits.noAnswer != OffThreadCall::Unlimited)
        m_noAnswerTimer.start(m_services.waits.noAnswer);
}

void MainWindow::endCommand()
{
    m_call->deleteLater();
    m_call = nullptr;
    m_stopped = {};
    m_noAnswerTimer.stop();
    m_progressTimer.stop();
    // The window the boxes covered takes the keys back, the function keys included, when a box
    // had them or the wait box was just closed. The wait box may lie on the progress box and
    // go with it, and the window manager may hand the keys to the progress box as it goes.
    const bool hadKeys = (m_waitBox && (m_waitBox->isActiveWindow() || m_waitBox->isHidden()))
        || (m_progress && m_progress->isActiveWindow());
    QWidget *covered =
        m_waitBox && m_waitBox->parentWidget() != m_progress.get() ? m_waitBox->parentWidget() : this;
    if (m_waitBox)
        m_waitBox->close();
    if (m_progress) {
        // Deleted later: the wait box on it, its child, may be inside its own button's signal.
        m_progress->hide();
        m_progress.release()->deleteLater();
    }
    if (hadKeys)
        covered->activateWindow();
    for (QAction *command : std::as_const(m_commands))
        command->setEnabled(true);
    m_folderWatcher->release();
}

void MainWindow::showWaitBox()
{
    if (m_waitBox || !m_call)
        return;
    // Over the box or dialog that waits, so that no modal window blocks it.
    QWidget *over = QApplication::activeModalWidget();
    m_waitBox = newWaitBox(m_waitedFolder, over ? over : this);
    connect(m_waitBox, &QDialog::rejected, this, &MainWindow::stopWaiting);
}

void MainWindow::stopWaiting()
{
    if (!m_call)
        return;
    // A run of moves stops after the snack it is at; what answers later is dropped, and so is
    // a change seen meanwhile, the command's own renames among them: listing it now would wait
    // on the folder again.
    m_call->abandon();
    m_folderWatcher->dropPendingChange();
    const std::function<void()> stopped = m_stopped;
    endCommand();
    if (stopped)
        stopped();
}

void MainWindow::listSnacks(std::chrono::milliseconds wait)
{
    const QString snackDir = m_preferences.snackDir();
    FileOps *files = &m_services.files;
    runCommand<SnackLists>(
        snackDir,
        [files, snackDir](const OffThreadCall::Link &) { return scanSnackFolder(*files, snackDir); },
        [this](SnackLists lists) {
            // Watched from the listing on, once the folder has answered: setting up a watch
            // looks the folder up, which would wait here on a mount that does not answer.
            m_folderWatcher->watch(m_preferences.snackDir());
            showSnackLists(std::move(lists));
        },
        {}, wait);
}

void MainWindow::showSnackLists(SnackLists lists)
{
    m_stockList->snackModel()->setSnacks(std::move(lists.stock));
    m_todayList->snackModel()->setSnacks(std::move(lists.today));
    // A screen reader reads each count with its list.
    for (const auto &[list, count] :
         {std::pair{m_stockList, m_stockCount}, std::pair{m_todayList, m_todayCount}}) {
        count->setText(snackCountText(list->snackModel()->rowCount()));
        list->setAccessibleDescription(count->text());
        list->scrollToTop();
    }
}

bool MainWindow::skipQuestions() const
{
    return m_skipQuestionsAction->isChecked();
}

Preferences MainWindow::preferences() const
{
    return m_preferences;
}

SnackListView *MainWindow::snackList(SnackSet set) const
{
    return set == SnackSet::Stock ? m_stockList : m_todayList;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!skipQuestions() && !m_services.box.askYes(u"PostPetくるみ箱 を終了させていい？"_s, u"終了確認"_s)) {
        event->ignore();
        return;
    }
    Preferences kept = preferences();
    // A window that stayed where it was placed keeps its position to the twip, so that a run
    // that only opens and closes the window stores what it read. Where the window system
    // places windows itself and tells no position (Wayland), the stored one stays.
    const QPoint corner = frameGeometry().topLeft();
    if (corner != m_placedCorner && !QGuiApplication::platformName().startsWith(u"wayland")) {
        kept.windowTop = pixelsToTwips(corner.y());
        kept.windowLeft = pixelsToTwips(corner.x());
    }
    event->accept();
    Q_EMIT closeAccepted(kept);
}

void MainWindow::launchPostPet()
{
    startPostPet({});
}

void MainWindow::startPostPet(const std::function<void()> &then)
{
    // The executable is looked for off this thread; the process starts from here.
    const QString postPetDir = m_preferences.postPetDir;
    FileOps *files = &m_services.files;
    runCommand<LaunchCommand>(
        postPetDir,
        [files, postPetDir](const OffThreadCall::Link &) {
            return postPetLaunchCommand(*files, postPetDir, wineLoader());
        },
        [this, then](LaunchCommand command) {
            kurubako::startPostPet(command, m_services.starter, m_services.box);
            if (then)
                then();
        },
        {}, m_services.waits.answer);
}

void MainWindow::launchPostPetAndQuit()
{
    if (m_todayList->snackModel()->rowCount() == 0 && !skipQuestions()
        && !m_services.box.askNo(u"おやつがないけど、PostPetを起動してもいい？"_s, u"確認だよ"_s)) {
        return;
    }
    startPostPet([this] { close(); });
}

void MainWindow::addToToday()
{
    runTransfer({SnackSet::Stock, m_stockList, u"ストックおやつ選択されていないよ"_s, u"今日のおやつ"_s,
                 u"に追加するよ。いい？"_s, u"追加エラー"_s});
}

void MainWindow::moveToStock()
{
    runTransfer({SnackSet::Today, m_todayList, u"おやつが選択されていないよ"_s, u"ストック"_s,
                 u"に待避するよ。いい？"_s, u"待避エラー"_s});
}

void MainWindow::runTransfer(const Transfer &transfer)
{
    const FolderWatchHold held(*m_folderWatcher);
    MsgBox &box = m_services.box;
    const QList<Snack> selected = transfer.list->selectedSnacks();
    if (selected.isEmpty()) {
        box.critical(transfer.nothingSelected, u"未選択だよ"_s);
        return;
    }
    if (!skipQuestions()) {
        const QString question = QString::number(selected.size()) + u" 件のおやつを"_s + u'"'
            + transfer.setName + u'"' + transfer.questionEnd;
        if (!box.askYes(question, u"確認だよ"_s))
            return;
    }
    // A run that takes long (many snacks on a slow file system) shows how far it got after a
    // while, in a box whose button stops it after the current snack.
    m_moveTotal = selected.size();
    m_movesDone = 0;
    const QString snackDir = m_preferences.snackDir();
    FileOps *files = &m_services.files;
    const SnackSet from = transfer.from;
    if (m_services.waits.progress != OffThreadCall::Unlimited)
        m_progressTimer.start(m_services.waits.progress);
    runCommand<RenameOutcome>(
        snackDir,
        [this, files, snackDir, selected, from](const OffThreadCall::Link &link) {
            return moveSnacks(*files, snackDir, selected, from, [this, &link](qsizetype completed) {
                link.post([this, completed] { showProgress(completed); });
                return !link.stopRequested();
            });
        },
        [this, errorTitle = transfer.errorTitle](RenameOutcome outcome) {
            if (outcome.error.failed()) {
                m_services.box.critical(u"PostPetおやつのあるディレクトリをチェックしてちょ。（"_s
                                            + QString::number(outcome.error.number()) + u"）\r\n"_s
                                            + u"エラー内容："_s + outcome.error.description,
                                        errorTitle);
            }
            // Also after a failure or a stop: the snacks moved before it have left their list.
            refreshSnackLists();
        },
        {}, m_services.waits.answer);
}

void MainWindow::showProgress(qsizetype completed)
{
    m_movesDone = completed;
    // The folder answers: the wait starts again.
    if (m_noAnswerTimer.isActive())
        m_noAnswerTimer.start();
    if (!m_progress)
        return;
    m_progress->setLabelText(QString::number(completed) + u" / "_s + QString::number(m_moveTotal)
                             + u" 件のおやつを移動したよ"_s);
    m_progress->setValue(int(completed));
}

void MainWindow::showListMenu(const ListSide &side, const QPoint &globalPos)
{
    const qsizetype selected = side.list->selectedCount();
    if (selected == 0)
        return;
    side.separator->setVisible(selected == 1);
    side.renameEntry->setVisible(selected == 1);
    const FolderWatchHold held(*m_folderWatcher);
    side.menu->exec(globalPos);
}

void MainWindow::doubleClick(SnackSet set)
{
    if (isBusy())
        return;
    if (m_preferences.doubleClickAction == DoubleClickAction::Rename)
        showRenameDialog(set);
    else
        set == SnackSet::Stock ? addToToday() : moveToStock();
}

std::unique_ptr<RenameDialog> MainWindow::newRenameDialog(SnackSet set)
{
    const std::optional<Snack> current = snackList(set)->currentSnack();
    const Snack snack = current.value_or(Snack{});
    auto rename = [this, set, snack](const QString &newName,
                                     const std::function<void(std::optional<FileError>)> &answer) {
        const QString snackDir = m_preferences.snackDir();
        FileOps *files = &m_services.files;
        runCommand<FileError>(
            snackDir,
            [files, snackDir, snack, set, newName](const OffThreadCall::Link &) {
                return renameSnack(*files, snackDir, snack, set, newName);
            },
            [answer](FileError error) { answer(error); }, [answer] { answer(std::nullopt); },
            m_services.waits.answer);
    };
    return std::make_unique<RenameDialog>(m_services.box, current, skipQuestions(), rename, this);
}

void MainWindow::showRenameDialog(SnackSet set)
{
    const FolderWatchHold held(*m_folderWatcher);
    const std::unique_ptr<RenameDialog> dialog = newRenameDialog(set);
    if (execModal(*dialog) == QDialog::Accepted)
        refreshSnackLists();
}

void MainWindow::showSettingsDialog()
{
    const FolderWatchHold held(*m_folderWatcher);
    SettingsDialog dialog(m_services.files, m_services.box, m_services.waits, m_preferences.postPetDir,
                          m_preferences.doubleClickAction, this);
    if (execModal(dialog) != QDialog::Accepted)
        return;
    // A folder that differs in any way, letter case included, is stored and listed.
    if (dialog.postPetDir() != m_preferences.postPetDir) {
        m_preferences.postPetDir = dialog.postPetDir();
        Q_EMIT postPetDirChanged(m_preferences.postPetDir);
        refreshSnackLists();
    }
    m_preferences.doubleClickAction = dialog.doubleClickAction();
}

void MainWindow::showVersionDialog()
{
    const FolderWatchHold held(*m_folderWatcher);
    VersionDialog dialog(m_preferences.storedVersion, this);
    execModal(dialog);
}

void MainWindow::followFolderChange()
{
    // The watch stays as it is: a change made during this listing is reported again after it.
    const QString snackDir = m_preferences.snackDir();
    FileOps *files = &m_services.files;
    runCommand<SnackLists>(
        snackDir,
        [files, snackDir](const OffThreadCall::Link &) { return scanSnackFolder(*files, snackDir); },
        [this](SnackLists lists) { showFolderChange(std::move(lists)); }, {}, m_services.waits.answer);
}

void MainWindow::showFolderChange(SnackLists lists)
{
    m_stockList->updateSnacks(std::move(lists.stock));
    m_todayList->updateSnacks(std::move(lists.today));
    for (const auto &[list, count] :
         {std::pair{m_stockList, m_stockCount}, std::pair{m_todayList, m_todayCount}}) {
        count->setText(snackCountText(list->snackModel()->rowCount()));
        list->setAccessibleDescription(count->text());
    }
}

} // namespace kurubako
