#include "form0.h"

#include "controls.h"
#include "program.h"
#include "twips.h"

#include "app/startup.h"
#include "platform/defaultfolders.h"
#include "platform/fileops.h"
#include "platform/msgbox.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

constexpr TwipRect ClientArea{0, 0, 4965, 6000};
constexpr int PathRole = Qt::UserRole;

QString nativeFolder(const QString &path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(path).absolutePath()));
}

// The root among `roots` that holds `folder`, the longest one when several do.
int rootIndexOf(const QStringList &roots, const QString &folder)
{
    int best = 0;
    qsizetype bestLength = -1;
    for (int index = 0; index < roots.size(); ++index) {
        const QString root = nativeFolder(roots.at(index));
        const bool holds = folder == root || folder.startsWith(root.endsWith(QDir::separator()) ? root : root + QDir::separator());
        if (holds && root.size() > bestLength) {
            best = index;
            bestLength = root.size();
        }
    }
    return best;
}

} // namespace

Form0::Form0(Program &program, QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
    , m_program(program)
    , m_fromSettings(program.globals.folderChooserFromSettings)
{
    setUpWindow(this, "Form0", u"PostPetのあるディレクトリは？"_s, ClientArea);
    setFont(programFont(9));

    Label1 = new QLabel(this);
    Label1->setObjectName(u"Label1"_s);
    Label1->setFrameShape(QFrame::NoFrame);
    auto *Frame3 = new QGroupBox(this);
    Frame3->setObjectName(u"Frame3"_s);
    Drive1 = new QComboBox(Frame3);
    Drive1->setObjectName(u"Drive1"_s);
    const QStringList roots = browseRoots();
    for (const QString &root : roots)
        Drive1->addItem(style()->standardIcon(QStyle::SP_DriveHDIcon), QDir::toNativeSeparators(root), root);
    m_driveIndex = rootIndexOf(roots, nativeFolder(QDir::currentPath()));
    Drive1->setCurrentIndex(m_driveIndex);
    Dir1 = new QTreeWidget(Frame3);
    Dir1->setObjectName(u"Dir1"_s);
    Dir1->setHeaderHidden(true);
    Dir1->setRootIsDecorated(false);
    Dir1->setItemsExpandable(false);
    Dir1->setIndentation(12);
    // Every folder shown is open or can be opened by a double-click: no expand arrows.
    Dir1->setStyleSheet(u"QTreeView::branch { image: none; border-image: none; }"_s);
    QPushButton *CmdQuit = newButton(u"OK"_s, "CmdQuit", this);
    QPushButton *Command1 = newButton(u"Cancel"_s, "Command1", this);
    Command1->setDefault(true);

    layOut(this, {
        {"Label1", {120, 120, 4695, 375}},
        {"Frame3", {120, 480, 4695, 4695}},
        {"Drive1", {120, 240, 4335, 315}, 9.75},
        {"Dir1", {120, 600, 4335, 3915}, 9.75},
        {"CmdQuit", {2520, 5400, 975, 495}},
        {"Command1", {3720, 5400, 975, 495}},
    });
    setTabOrder(CmdQuit, Dir1);
    setTabOrder(Dir1, Drive1);
    setTabOrder(Drive1, Command1);

    connect(Drive1, &QComboBox::activated, this, &Form0::Drive1_Change);
    connect(Dir1, &QTreeWidget::itemActivated, this, &Form0::openItem);
    Dir1->installEventFilter(this);
    connect(CmdQuit, &QPushButton::clicked, this, &Form0::CmdQuit_Click);
    connect(Command1, &QPushButton::clicked, this, &Form0::Command1_Click);
    Form_Load();
    CmdQuit->setFocus();
}

void Form0::Form_Load()
{
    move(0, 0);
    if (m_fromSettings) {
        if (!openFolder(m_program.globals.postPetDir))
            openFolder(QDir::currentPath());
        return;
    }
    setWindowTitle(u"初期設定：PostPetのあるディレクトリは？"_s);
    if (!openFolder(defaultPostPetFolder()))
        openFolder(m_program.services.files.executableFolder());
}

bool Form0::openFolder(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QDir folder(path);
    if (!folder.exists() || !folder.isReadable())
        return false;
    m_folder = nativeFolder(path);
    fillFolderList();
    Dir1_Change();
    return true;
}

void Form0::fillFolderList()
{
    // The open folder's chain of parents, each inside the one before, then its sub-folders.
    Dir1->clear();
    QStringList chain;
    for (QDir dir(m_folder);; ) {
        chain.prepend(dir.absolutePath());
        if (!dir.cdUp())
            break;
    }
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem *parent = nullptr;
    for (const QString &path : std::as_const(chain)) {
        const QString name = QDir(path).isRoot() ? QDir::toNativeSeparators(path) : QDir(path).dirName();
        auto *item = parent ? new QTreeWidgetItem(parent, {name}) : new QTreeWidgetItem(Dir1, {name});
        item->setIcon(0, openIcon);
        item->setData(0, PathRole, path);
        item->setExpanded(true);
        parent = item;
    }
    const auto subFolders =
        QDir(m_folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QFileInfo &sub : subFolders) {
        auto *item = new QTreeWidgetItem(parent, {sub.fileName()});
        item->setIcon(0, closedIcon);
        item->setData(0, PathRole, sub.absoluteFilePath());
    }
    Dir1->expandAll();
    Dir1->setCurrentItem(parent);
}

void Form0::openItem(QTreeWidgetItem *item)
{
    // Opening refills the list, so it waits until the list has finished with the item.
    if (!item)
        return;
    const QString path = item->data(0, PathRole).toString();
    QMetaObject::invokeMethod(this, [this, path] { openFolder(path); }, Qt::QueuedConnection);
}

bool Form0::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in the folder list opens the highlighted folder and goes no further: the list
    // would pass it on to the dialog, whose default button is Cancel.
    if (watched == Dir1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openItem(Dir1->currentItem());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Form0::Drive1_Change(int index)
{
    // A drive that cannot be read (no medium, a lost network share) leaves the chooser where
    // it was.
    if (openFolder(Drive1->itemData(index).toString()))
        m_driveIndex = index;
    else
        Drive1->setCurrentIndex(m_driveIndex);
}

void Form0::Dir1_Change()
{
    Label1->setText(m_folder);
}

void Form0::CmdQuit_Click()
{
    if (!m_program.services.files.findPlainFile(m_folder, u"Postpet20.exe"_s)) {
        m_program.services.box.critical(u"そのディレクトリはPostPetのディレクトリではありません。"_s,
                                        u"PostPet20.exeなし"_s);
        return;
    }
    if (m_fromSettings) {
        accept();
        return;
    }
    acceptFirstPostPetDir(m_program.services.store, m_program.globals, m_folder);
    m_program.openMainWindow();
    m_finished = true;
    close();
}

void Form0::Command1_Click()
{
    if (m_fromSettings)
        QDialog::reject();
    else
        close();
}

void Form0::reject()
{
    Command1_Click();
}

void Form0::closeEvent(QCloseEvent *event)
{
    if (m_fromSettings) {
        QDialog::closeEvent(event);
        return;
    }
    // At start-up the chooser is the only window: closing it without a folder ends the run.
    if (!m_finished) {
        m_finished = true;
        m_program.endProgram();
    }
    event->accept();
}

} // namespace kurubako
