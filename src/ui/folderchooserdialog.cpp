#include "folderchooserdialog.h"

#include "controls.h"
#include "fonts.h"
#include "pathlabel.h"
#include "twips.h"

#include "platform/defaultfolders.h"
#include "platform/fileops.h"
#include "platform/folderlook.h"
#include "platform/msgbox.h"
#include "platform/programfolder.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
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

// The window's geometry in twips, the drive and folder lists relative to their frame, with
// the font sizes in points.
constexpr TwipRect ClientArea{0, 0, 4965, 6000};
constexpr Placement FolderLabel{{120, 120, 4695, 375}};
constexpr Placement ListFrame{{120, 480, 4695, 4695}};
constexpr Placement DriveList{{120, 240, 4335, 315}, 9.75};
constexpr Placement FolderList{{120, 600, 4335, 3915}, 9.75};
constexpr Placement OkButton{{2520, 5400, 975, 495}};
constexpr Placement CancelButton{{3720, 5400, 975, 495}};
constexpr int PathRole = Qt::UserRole;

// How long the chooser waits for a folder to answer and then to give its sub-folders, and
// what a drive that did not answer shows in the list.
constexpr std::chrono::milliseconds FolderAnswerLimit{300};
constexpr std::chrono::milliseconds FolderListLimit{5000};
constexpr QStringView NotReady = u"（準備ができていません）";

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
        const bool holds = folder == root
            || folder.startsWith(root.endsWith(QDir::separator()) ? root : root + QDir::separator());
        if (holds && root.size() > bestLength) {
            best = index;
            bestLength = root.size();
        }
    }
    return best;
}

} // namespace

FolderChooserDialog::FolderChooserDialog(FileOps &files, MsgBox &box, Purpose purpose,
                                         const QString &postPetDir, QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
    , m_files(files)
    , m_box(box)
{
    setUpWindow(this, "folderChooserDialog",
                purpose == Purpose::FirstRun ? u"初期設定：PostPetのあるディレクトリは？"_s
                                             : u"PostPetのあるディレクトリは？"_s,
                ClientArea);
    setFont(programFont(9));

    m_folderLabel = new QLabel(this);
    m_folderLabel->setObjectName(u"chosenFolderLabel"_s);
    m_folderLabel->setFrameShape(QFrame::NoFrame);
    m_folderLabel->setTextFormat(Qt::PlainText); // a folder name is never markup
    auto *frame = new QGroupBox(this);
    frame->setObjectName(u"folderFrame"_s);
    m_driveList = new QComboBox(frame);
    m_driveList->setObjectName(u"driveList"_s);
    m_driveList->setAccessibleName(u"ドライブ"_s);
    fillDriveList();
    m_folderList = new QTreeWidget(frame);
    m_folderList->setObjectName(u"folderList"_s);
    m_folderList->setAccessibleName(u"フォルダー"_s);
    m_folderList->setHeaderHidden(true);
    m_folderList->setRootIsDecorated(false);
    m_folderList->setItemsExpandable(false);
    m_folderList->setIndentation(12);
    // Every folder shown is open or can be opened by a double-click: no expand arrows.
    m_folderList->setStyleSheet(u"QTreeView::branch { image: none; border-image: none; }"_s);
    QPushButton *ok = newButton(u"OK"_s, "okButton", this);
    QPushButton *cancelButton = newButton(u"Cancel"_s, "cancelButton", this);
    cancelButton->setDefault(true);

    place(m_folderLabel, FolderLabel);
    // Two lines of the path fill the label in the program's font; a substitute font with
    // taller lines is drawn smaller, so that both lines show whole in the label's height.
    QFont labelFont = m_folderLabel->font();
    while (2 * QFontMetrics(labelFont).lineSpacing() > m_folderLabel->height() && labelFont.pointSizeF() > 6)
        labelFont.setPointSizeF(labelFont.pointSizeF() - 0.25);
    m_folderLabel->setFont(labelFont);
    place(frame, ListFrame);
    place(m_driveList, DriveList);
    place(m_folderList, FolderList);
    place(ok, OkButton);
    place(cancelButton, CancelButton);
    setTabOrder(ok, m_folderList);
    setTabOrder(m_folderList, m_driveList);
    setTabOrder(m_driveList, cancelButton);

    connect(m_driveList, &QComboBox::activated, this, &FolderChooserDialog::openDrive);
    connect(m_folderList, &QTreeWidget::itemActivated, this, &FolderChooserDialog::openItem);
    m_folderList->installEventFilter(this);
    connect(ok, &QPushButton::clicked, this, &FolderChooserDialog::acceptFolder);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    openStartFolder(purpose, postPetDir);
    ok->setFocus();
}

void FolderChooserDialog::openStartFolder(Purpose purpose, const QString &postPetDir)
{
    move(0, 0);
    if (purpose == Purpose::ChangeFolder) {
        if (!openFolder(postPetDir))
            openFolder(QDir::currentPath());
        return;
    }
    if (!openFolder(defaultPostPetFolder()))
        openFolder(programFolder());
}

void FolderChooserDialog::fillDriveList()
{
    QStringList roots;
    for (const Drive &drive : folderChooserDrives()) {
        m_driveList->addItem(style()->standardIcon(QStyle::SP_DriveHDIcon), drive.label, drive.path);
        roots.append(drive.path);
    }
    m_driveIndex = rootIndexOf(roots, nativeFolder(QDir::currentPath()));
    m_driveList->setCurrentIndex(m_driveIndex);
}

bool FolderChooserDialog::openFolder(const QString &path)
{
    return showFolder(path, lookAtFolder(path, FolderAnswerLimit, FolderListLimit));
}

bool FolderChooserDialog::showFolder(const QString &path, const FolderLook &look)
{
    // The folder was looked at off this thread: one on a mount that does not answer leaves
    // the chooser where it was, as one that cannot be read does.
    if (look.state != FolderLook::State::Read)
        return false;
    m_folder = nativeFolder(path);
    fillFolderList(look.subFolders);
    showPath(*m_folderLabel, m_folder);
    return true;
}

void FolderChooserDialog::fillFolderList(const QStringList &subFolders)
{
    // The open folder's chain of parents, each inside the one before, then its sub-folders.
    // The chain is taken from the path alone: no parent is asked anything.
    m_folderList->clear();
    QStringList chain;
    for (QString path = QDir::fromNativeSeparators(m_folder);;) {
        chain.prepend(path);
        const QString parent = QFileInfo(path).path();
        if (QDir(path).isRoot() || parent == path)
            break;
        path = parent;
    }
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem *parent = nullptr;
    for (const QString &path : std::as_const(chain)) {
        const QString name = QDir(path).isRoot() ? QDir::toNativeSeparators(path) : QDir(path).dirName();
        auto *item = parent ? new QTreeWidgetItem(parent, {name}) : new QTreeWidgetItem(m_folderList, {name});
        item->setIcon(0, openIcon);
        item->setData(0, PathRole, path);
        item->setExpanded(true);
        parent = item;
    }
    const QDir folder(m_folder);
    for (const QString &sub : subFolders) {
        auto *item = new QTreeWidgetItem(parent, {sub});
        item->setIcon(0, closedIcon);
        item->setData(0, PathRole, folder.filePath(sub));
    }
    m_folderList->expandAll();
    m_folderList->setCurrentItem(parent);
}

void FolderChooserDialog::openItem(QTreeWidgetItem *item)
{
    // Opening refills the list, so it waits until the list has finished with the item.
    if (!item)
        return;
    const QString path = item->data(0, PathRole).toString();
    QMetaObject::invokeMethod(
        this, [this, path] { openFolder(path); }, Qt::QueuedConnection);
}

bool FolderChooserDialog::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in the folder list opens the highlighted folder and goes no further: the list
    // would pass it on to the dialog, whose default button is Cancel.
    if (watched == m_folderList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openItem(m_folderList->currentItem());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FolderChooserDialog::openDrive(int index)
{
    // A drive that cannot be read (no medium, a lost network share) leaves the chooser where
    // it was; one that does not answer is marked as not ready in the list.
    const QString path = m_driveList->itemData(index).toString();
    const FolderLook look = lookAtFolder(path, FolderAnswerLimit, FolderListLimit);
    if (showFolder(path, look)) {
        m_driveIndex = index;
        if (m_driveList->itemText(index).endsWith(NotReady)) { // it answers again
            m_driveList->setItemText(index, m_driveList->itemText(index).chopped(NotReady.size()));
            m_driveList->setItemIcon(index, style()->standardIcon(QStyle::SP_DriveHDIcon));
        }
        return;
    }
    m_driveList->setCurrentIndex(m_driveIndex);
    if (look.state == FolderLook::State::NoAnswer && !m_driveList->itemText(index).endsWith(NotReady)) {
        m_driveList->setItemText(index, m_driveList->itemText(index) + NotReady);
        m_driveList->setItemIcon(index, style()->standardIcon(QStyle::SP_MessageBoxWarning));
    }
}

void FolderChooserDialog::acceptFolder()
{
    if (!m_files.findPlainFile(m_folder, u"Postpet20.exe"_s)) {
        m_box.critical(u"そのディレクトリはPostPetのディレクトリではありません。"_s, u"PostPet20.exeなし"_s);
        return;
    }
    accept();
}

} // namespace kurubako
