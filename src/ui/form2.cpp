#include "form2.h"

#include "controls.h"
#include "form1.h"
#include "placement.h"
#include "program.h"
#include "twips.h"

#include "app/settings.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

constexpr TwipRect ClientArea{0, 0, 3930, 1620};

} // namespace

Form2::Form2(Program &program, QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
    , m_program(program)
{
    setUpWindow(this, "Form2", u"ﾊﾞｰｼﾞｮﾝ情報"_s, ClientArea);
    setFont(programFont(9));
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(grey);
    setAutoFillBackground(true);

    auto *Image1 = new QLabel(this);
    Image1->setObjectName(u"Image1"_s);
    Image1->setPixmap(programIcon().pixmap(toPixels({0, 0, 540, 540}).size()));
    auto *Label1 = new QLabel(this);
    Label1->setObjectName(u"Label1"_s);
    auto *Label3 = new QLabel(this);
    Label3->setObjectName(u"Label3"_s);
    QPushButton *Command1 = newButton(u"&OK"_s, "Command1", this);
    Command1->setDefault(true);

    layOut(this, {
        {"Image1", {240, 240, 540, 540}},
        {"Label1", {720, 120, 2775, 255}, 12, true},
        {"Label3", {2520, 480, 1215, 255}, 12, true},
        {"Command1", {1080, 1200, 1815, 300}},
    });
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    Form_Load();
}

void Form2::Form_Load()
{
    findChild<QLabel *>(u"Label1"_s)->setText(u"PostPet くるみ箱"_s);
    findChild<QLabel *>(u"Label3"_s)->setText(u"Ver "_s + versionText(m_program.globals.storedVersion));
    placeBelowMainWindow(this, m_program.mainWindow());
}

void Form2::Command1_Click()
{
    accept();
}

} // namespace kurubako
