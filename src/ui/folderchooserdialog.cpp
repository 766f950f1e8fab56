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
#include "postpet/launch.h"

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

// What a drive that answered with an error, or has not answered for long, shows in the list,
// and what a folder shows until it answers.
constexpr QStringView NotReady = u"（準備ができていません）";
constexpr QStringView BeingRead = u"（読み込み中・・・）";

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

FolderChooserDialog::FolderChooserDialog(FileOps &files, MsgBox &box, const Waits &waits, Purpose purpose,
                                         const QString &postPetDir, QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
    , m_files(files)
    , m_box(box)
    , m_waits(waits)
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
    // A start folder that turns out not to be readable, however late, gives way to the other.
    const QString other = purpose == Purpose::ChangeFolder ? QDir::currentPath() : programFolder();
    const QString first = purpose == Purpose::ChangeFolder ? postPetDir : defaultPostPetFolder();
    open(first, [this, first, other](const FolderLook &look) {
        if (look.read)
            showFolder(first, look.subFolders);
        else
            openFolder(other);
    });
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
    // One that cannot be read leaves the chooser as it was.
    const QString shown = m_folder;
    const QStringList subFolders = m_subFolders;
    return open(path,
                [this, path, shown, subFolders](const FolderLook &look) {
                    if (look.read)
                        showFolder(path, look.subFolders);
                    else if (m_folder != shown)
                        showFolder(shown, subFolders);
                })
        == Opened::Shown;
}

FolderChooserDialog::Opened FolderChooserDialog::open(const QString &path,
                                                      std::function<void(const FolderLook &)> answered)
{
    // Only the folder opened last counts: an earlier one that answers later is dropped.
    delete m_look;
    m_notReadyTimer.stop();
    auto read = std::make_shared<std::optional<bool>>(); // what the look found
    m_look = OffThreadCall::start<FolderLook>(
        this, [path](const OffThreadCall::Link &) { return lookAtFolder(path); },
        [this, read, answered = std::move(answered)](FolderLook found) {
            m_look->deleteLater();
            m_look = nullptr;
            m_notReadyTimer.stop();
            *read = found.read;
            answered(found);
        });
    if (m_look->waitFor(m_waits.firstLists))
        return **read ? Opened::Shown : Opened::Unreadable;
    // Until it answers, the folder shows as being read: its path and no sub-folders.
    m_folder = nativeFolder(path);
    m_subFolders.clear();
    fillFolderList({});
    showPath(*m_folderLabel, m_folder + BeingRead);
    m_folderLabel->setToolTip(m_folder);
    return Opened::BeingRead;
}

void FolderChooserDialog::showFolder(const QString &path, const QStringList &subFolders)
{
    m_folder = nativeFolder(path);
    m_subFolders = subFolders;
    fillFolderList(subFolders);
    showPath(*m_folderLabel, m_folder);
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
    // it was and shows as not ready, as one does that has not answered for long; a drive
    // that answers, however late, opens and loses the mark.
    const QString path = m_driveList->itemData(index).toString();
    const int previous = m_driveIndex;
    const QString shown = m_folder;
    const QStringList subFolders = m_subFolders;
    const Opened opened =
        open(path, [this, index, previous, path, shown, subFolders](const FolderLook &look) {
            markDrive(index, !look.read);
            if (look.read) {
                m_driveIndex = index;
                showFolder(path, look.subFolders);
            } else {
                m_driveList->setCurrentIndex(previous);
                if (m_folder != shown)
                    showFolder(shown, subFolders);
            }
        });
    if (opened == Opened::BeingRead && m_waits.notReady != OffThreadCall::Unlimited) {
        m_notReadyTimer.disconnect();
        m_notReadyTimer.setSingleShot(true);
        connect(&m_notReadyTimer, &QTimer::timeout, this, [this, index] { markDrive(index, true); });
        m_notReadyTimer.start(m_waits.notReady);
    }
}

void FolderChooserDialog::markDrive(int index, bool notReady)
{
    const QString text = m_driveList->itemText(index);
    if (text.endsWith(NotReady) == notReady)
        return;
    m_driveList->setItemText(index, notReady ? text + NotReady : text.chopped(NotReady.size()));
    m_driveList->setItemIcon(
        index, style()->standardIcon(notReady ? QStyle::SP_MessageBoxWarning : QStyle::SP_DriveHDIcon));
}

void FolderChooserDialog::acceptFolder()
{
    // Looked for off this thread; Cancel still closes the chooser while it runs.
    if (m_check)
        return;
    const QString folder = m_folder;
    FileOps *files = &m_files;
    m_check = OffThreadCall::start<bool>(
        this,
        [files, folder](const OffThreadCall::Link &) {
            return files->findPlainFile(folder, PostPetExecutable.toString()).has_value();
        },
        [this](bool found) {
            m_check->deleteLater();
            m_check = nullptr;
            if (m_waitBox)
                m_waitBox->close();
            if (found)
                accept();
            else
                m_box.critical(u"そのディレクトリはPostPetのディレクトリではありません。"_s,
                               u"PostPet20.exeなし"_s);
        });
    if (m_check->waitFor(m_waits.answer) || m_waits.noAnswer == OffThreadCall::Unlimited)
        return;
    // A folder that does not answer is named, and the user can stop waiting for it: the
    // chooser then stays on it, as after a folder without PostPet.
    QTimer::singleShot(m_waits.noAnswer, m_check, [this, folder] {
        m_waitBox = newWaitBox(folder, this);
        connect(m_waitBox, &QDialog::rejected, this, [this] { delete m_check; });
    });
}

} // namespace kurubako
