#include "settingsdialog.h"

#include "controls.h"
#include "folderchooserdialog.h"
#include "fonts.h"
#include "placement.h"
#include "twips.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

// The window's geometry in twips: the tab control's pages, tabs included, hold the folder box
// and its button, and the option frame with its two options. Font sizes in points.
constexpr TwipRect ClientArea{0, 0, 5805, 1905};
constexpr TwipRect TabArea{120, 120, 5535, 1215};
constexpr Placement FolderBox{{120, 600, 4575, 315}, 9.75};
constexpr Placement ChangeButton{{4800, 580, 615, 375}};
constexpr Placement OptionFrame{{240, 360, 5055, 700}};
constexpr Placement MoveOption{{480, 240, 1815, 375}};
constexpr Placement RenameOption{{2640, 240, 2175, 375}};
constexpr Placement OkButton{{3480, 1440, 975, 375}};
constexpr Placement CancelButton{{4680, 1440, 975, 375}};

// An option button that takes a click anywhere in its placed rectangle, not only on its
// indicator and text, so that it is as large to the mouse as it is on the layout.
class OptionButton final : public QRadioButton
{
public:
    OptionButton(const QString &text, const char *name, QWidget *parent)
        : QRadioButton(text, parent)
    {
        setObjectName(QString::fromLatin1(name));
    }

protected:
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }
};

} // namespace

SettingsDialog::SettingsDialog(FileOps &files, MsgBox &box, const Waits &waits, const QString &postPetDir,
                               DoubleClickAction doubleClickAction, QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
    , m_files(files)
    , m_box(box)
    , m_waits(waits)
    , m_postPetDirInUse(postPetDir)
{
    setUpWindow(this, "settingsDialog", u"くるみ箱 設定♪"_s, ClientArea);
    setFont(programFont(9));

    // The two pages share the tab control's area, so that their controls stand at their
    // places relative to the whole control, tabs included.
    auto *tabControl = new QWidget(this);
    tabControl->setObjectName(u"settingsTabs"_s);
    const QSize tabSize = toPixels(TabArea).size();
    m_tabs = new QTabBar(tabControl);
    m_tabs->setObjectName(u"settingsTabBar"_s);
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    m_tabs->addTab(u"PostPetディレクトリは？"_s);
    m_tabs->addTab(u"ﾘｽﾄをﾀﾞﾌﾞﾙｸﾘｯｸしたときは？"_s);
    m_tabs->setGeometry(0, 0, tabSize.width(), m_tabs->sizeHint().height());
    auto *panel = new QFrame(tabControl);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(0, m_tabs->height() - 1, tabSize.width(), tabSize.height() - m_tabs->height() + 1);
    for (const QString &name : {u"folderPage"_s, u"doubleClickPage"_s}) {
        auto *page = new QWidget(tabControl);
        page->setObjectName(name);
        page->setGeometry(0, 0, tabSize.width(), tabSize.height());
        m_pages.append(page);
    }
    m_tabs->raise();

    m_postPetFolder = newDisplayBox("postPetFolder", m_pages[0]);
    m_postPetFolder->setAccessibleName(u"PostPetのあるディレクトリ"_s);
    QPushButton *changeButton = newButton(u"変更"_s, "changeFolderButton", m_pages[0]);
    auto *optionFrame = new QGroupBox(m_pages[1]);
    optionFrame->setObjectName(u"doubleClickFrame"_s);
    m_moveOption = new OptionButton(u"追加(待避)する"_s, "moveOption", optionFrame);
    m_renameOption = new OptionButton(u"おやつ名の変更をする"_s, "renameOption", optionFrame);
    auto *options = new QButtonGroup(this);
    options->addButton(m_moveOption);
    options->addButton(m_renameOption);
    QPushButton *ok = newButton(u"OK"_s, "okButton", this);
    QPushButton *cancelButton = newButton(u"Cancel"_s, "cancelButton", this);
    cancelButton->setDefault(true);

    place(tabControl, {TabArea});
    place(m_postPetFolder, FolderBox);
    place(changeButton, ChangeButton);
    place(optionFrame, OptionFrame);
    place(m_moveOption, MoveOption);
    place(m_renameOption, RenameOption);
    place(ok, OkButton);
    place(cancelButton, CancelButton);

    connect(m_tabs, &QTabBar::currentChanged, this, &SettingsDialog::showTab);
    connect(changeButton, &QPushButton::clicked, this, &SettingsDialog::changeFolder);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    showTab(0);

    placeBelow(this, parent);
    showFolder(postPetDir);
    (doubleClickAction == DoubleClickAction::Rename ? m_renameOption : m_moveOption)->setChecked(true);
}

void SettingsDialog::showTab(int index)
{
    for (int page = 0; page < m_pages.size(); ++page)
        m_pages[page]->setVisible(page == index);
}

void SettingsDialog::changeFolder()
{
    // The chooser opens on the folder in use, not on one chosen earlier in this dialog.
    FolderChooserDialog chooser(m_files, m_box, m_waits, FolderChooserDialog::Purpose::ChangeFolder,
                                m_postPetDirInUse, this);
    if (execModal(chooser) == QDialog::Accepted)
        showFolder(chooser.chosenFolder());
}

void SettingsDialog::showFolder(const QString &folder)
{
    // The path's start shows, and the whole path in the tooltip.
    m_postPetFolder->setText(folder);
    m_postPetFolder->setCursorPosition(0);
    m_postPetFolder->setToolTip(folder);
}

QString SettingsDialog::postPetDir() const
{
    return m_postPetFolder->text();
}

DoubleClickAction SettingsDialog::doubleClickAction() const
{
    return m_moveOption->isChecked() ? DoubleClickAction::Move : DoubleClickAction::Rename;
}

} // namespace kurubako
