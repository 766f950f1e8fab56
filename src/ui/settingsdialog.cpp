#include "settingsdialog.h"

#include "controls.h"
#include "folderchooserdialog.h"
#include "mainwindow.h"
#include "placement.h"
#include "program.h"
#include "twips.h"

#include "app/settings.h"
#include "platform/settingsstore.h"

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

constexpr TwipRect ClientArea{0, 0, 5805, 1905};
constexpr TwipRect TabArea{120, 120, 5535, 1215};

} // namespace

SettingsDialog::SettingsDialog(Program &program, QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
    , m_program(program)
{
    setUpWindow(this, "settingsDialog", u"くるみ箱 設定♪"_s, ClientArea);
    setFont(programFont(9));

    // The two pages share the tab control's area, so that their controls stand where the
    // table puts them relative to the whole control, tabs included.
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
    QPushButton *changeButton = newButton(u"変更"_s, "changeFolderButton", m_pages[0]);
    auto *optionFrame = new QGroupBox(m_pages[1]);
    optionFrame->setObjectName(u"doubleClickFrame"_s);
    m_moveOption = new QRadioButton(u"追加(待避)する"_s, optionFrame);
    m_moveOption->setObjectName(u"moveOption"_s);
    m_renameOption = new QRadioButton(u"おやつ名の変更をする"_s, optionFrame);
    m_renameOption->setObjectName(u"renameOption"_s);
    auto *options = new QButtonGroup(this);
    options->addButton(m_moveOption);
    options->addButton(m_renameOption);
    QPushButton *ok = newButton(u"OK"_s, "okButton", this);
    QPushButton *cancelButton = newButton(u"Cancel"_s, "cancelButton", this);
    cancelButton->setDefault(true);

    place(tabControl, TabArea);
    place(m_postPetFolder, {120, 600, 4575, 315}, 9.75);
    place(changeButton, {4800, 580, 615, 375});
    place(optionFrame, {240, 360, 5055, 700});
    place(m_moveOption, {480, 240, 1815, 375});
    place(m_renameOption, {2640, 240, 2175, 375});
    place(ok, {3480, 1440, 975, 375});
    place(cancelButton, {4680, 1440, 975, 375});

    connect(m_tabs, &QTabBar::currentChanged, this, &SettingsDialog::showTab);
    connect(changeButton, &QPushButton::clicked, this, &SettingsDialog::changeFolder);
    connect(ok, &QPushButton::clicked, this, &SettingsDialog::apply);
    connect(cancelButton, &QPushButton::clicked, this, &SettingsDialog::cancel);
    showTab(0);

    const Globals &globals = m_program.globals;
    setWindowTitle(u"くるみ箱 設定♪"_s);
    placeBelow(this, m_program.mainWindow());
    m_editedPostPetDir = globals.postPetDir;
    m_postPetFolder->setText(globals.postPetDir);
    // The settings check lets only 0 and 1 through; anything else would show as "move".
    (globals.doubleClickAction == DoubleClickAction::Rename ? m_renameOption : m_moveOption)->setChecked(true);
}

void SettingsDialog::showTab(int index)
{
    for (int page = 0; page < m_pages.size(); ++page)
        m_pages[page]->setVisible(page == index);
}

void SettingsDialog::changeFolder()
{
    FolderChooserDialog chooser(m_program, FolderChooserDialog::Mode::Settings, this);
    if (execModal(chooser) == QDialog::Accepted)
        m_postPetFolder->setText(chooser.chosenFolder());
}

void SettingsDialog::apply()
{
    Globals &globals = m_program.globals;
    m_editedPostPetDir = m_postPetFolder->text();
    if (m_editedPostPetDir != globals.postPetDir) {
        Settings(m_program.services.store).write(SettingKey::PostPetDir, m_editedPostPetDir);
        globals.setPostPetDir(m_editedPostPetDir);
        if (MainWindow *main = m_program.mainWindow())
            main->refreshSnackLists();
    }
    globals.doubleClickAction = m_moveOption->isChecked() ? DoubleClickAction::Move : DoubleClickAction::Rename;
    accept();
}

void SettingsDialog::cancel()
{
    Globals &globals = m_program.globals;
    m_editedPostPetDir = globals.postPetDir;
    globals.setPostPetDir(globals.postPetDir);
    reject();
}

} // namespace kurubako
