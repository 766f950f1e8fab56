#include "form3.h"

#include "controls.h"
#include "form0.h"
#include "form1.h"
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

Form3::Form3(Program &program, QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
    , m_program(program)
{
    setUpWindow(this, "Form3", u"くるみ箱 設定♪"_s, ClientArea);
    setFont(programFont(9));

    // The two pages share the tab control's area, so that their controls stand where the
    // table puts them relative to the whole control, tabs included.
    auto *SSTab1 = new QWidget(this);
    SSTab1->setObjectName(u"SSTab1"_s);
    const QSize tabSize = toPixels(TabArea).size();
    m_tabs = new QTabBar(SSTab1);
    m_tabs->setObjectName(u"SSTab1Tabs"_s);
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    m_tabs->addTab(u"PostPetディレクトリは？"_s);
    m_tabs->addTab(u"ﾘｽﾄをﾀﾞﾌﾞﾙｸﾘｯｸしたときは？"_s);
    m_tabs->setGeometry(0, 0, tabSize.width(), m_tabs->sizeHint().height());
    auto *panel = new QFrame(SSTab1);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(0, m_tabs->height() - 1, tabSize.width(), tabSize.height() - m_tabs->height() + 1);
    for (int index = 0; index < 2; ++index) {
        auto *page = new QWidget(SSTab1);
        page->setObjectName(u"tab"_s + QString::number(index));
        page->setGeometry(0, 0, tabSize.width(), tabSize.height());
        m_pages.append(page);
    }
    m_tabs->raise();

    Text1 = newDisplayBox("Text1", m_pages[0]);
    QPushButton *Command1 = newButton(u"変更"_s, "Command1", m_pages[0]);
    auto *Frame1 = new QGroupBox(m_pages[1]);
    Frame1->setObjectName(u"Frame1"_s);
    auto *options = new QButtonGroup(this);
    const QString optionTexts[2] = {u"追加(待避)する"_s, u"おやつ名の変更をする"_s};
    for (int index = 0; index < 2; ++index) {
        Option1[index] = new QRadioButton(optionTexts[index], Frame1);
        Option1[index]->setObjectName(u"Option1(%1)"_s.arg(index));
        options->addButton(Option1[index], index);
    }
    QPushButton *CmdQuit = newButton(u"OK"_s, "CmdQuit", this);
    QPushButton *Command2 = newButton(u"Cancel"_s, "Command2", this);
    Command2->setDefault(true);

    layOut(this, {
        {"SSTab1", TabArea},
        {"Text1", {120, 600, 4575, 315}, 9.75},
        {"Command1", {4800, 580, 615, 375}},
        {"Frame1", {240, 360, 5055, 700}},
        {"Option1(0)", {480, 240, 1815, 375}},
        {"Option1(1)", {2640, 240, 2175, 375}},
        {"CmdQuit", {3480, 1440, 975, 375}},
        {"Command2", {4680, 1440, 975, 375}},
    });

    connect(m_tabs, &QTabBar::currentChanged, this, &Form3::showTab);
    connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
    connect(CmdQuit, &QPushButton::clicked, this, &Form3::CmdQuit_Click);
    connect(Command2, &QPushButton::clicked, this, &Form3::Command2_Click);
    showTab(0);
    Form_Load();
}

void Form3::showTab(int index)
{
    for (int page = 0; page < m_pages.size(); ++page)
        m_pages[page]->setVisible(page == index);
}

void Form3::Form_Load()
{
    Globals &globals = m_program.globals;
    setWindowTitle(u"くるみ箱 設定♪"_s);
    placeBelow(this, m_program.mainWindow());
    globals.editedPostPetDir = globals.postPetDir;
    globals.folderChooserFromSettings = true;
    Text1->setText(globals.postPetDir);
    // The double-click action is always 0 or 1: the settings check rejects any other value.
    Option1[globals.dblClickAction == 1 ? 1 : 0]->setChecked(true);
}

void Form3::Command1_Click()
{
    Form0 chooser(m_program, this);
    if (chooser.exec() == QDialog::Accepted)
        Text1->setText(chooser.chosenFolder());
}

void Form3::CmdQuit_Click()
{
    Globals &globals = m_program.globals;
    globals.editedPostPetDir = Text1->text();
    if (globals.editedPostPetDir != globals.postPetDir) {
        Settings(m_program.services.store).write(SettingKey::PostPetDir, globals.editedPostPetDir);
        globals.setPostPetDir(globals.editedPostPetDir);
        if (Form1 *main = m_program.mainWindow())
            main->RefreshSnackLists();
    }
    globals.dblClickAction = Option1[0]->isChecked() ? 0 : 1;
    accept();
}

void Form3::Command2_Click()
{
    Globals &globals = m_program.globals;
    globals.editedPostPetDir = globals.postPetDir;
    globals.setPostPetDir(globals.postPetDir);
    reject();
}

} // namespace kurubako
