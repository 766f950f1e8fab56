#include "versiondialog.h"

#include "controls.h"
#include "mainwindow.h"
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
constexpr TwipRect IconArea{240, 240, 540, 540};

} // namespace

VersionDialog::VersionDialog(Program &program, QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
{
    setUpWindow(this, "versionDialog", u"ﾊﾞｰｼﾞｮﾝ情報"_s, ClientArea);
    setFont(programFont(9));
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(grey);
    setAutoFillBackground(true);

    auto *icon = new QLabel(this);
    icon->setObjectName(u"programIcon"_s);
    icon->setPixmap(programIcon().pixmap(toPixels(IconArea).size()));
    auto *name = new QLabel(u"PostPet くるみ箱"_s, this);
    name->setObjectName(u"programName"_s);
    auto *version = new QLabel(u"Ver "_s + versionText(program.globals.storedVersion), this);
    version->setObjectName(u"versionLabel"_s);
    QPushButton *ok = newButton(u"&OK"_s, "okButton", this);
    ok->setDefault(true);

    place(icon, IconArea);
    place(name, {720, 120, 2775, 255}, 12, true);
    place(version, {2520, 480, 1215, 255}, 12, true);
    place(ok, {1080, 1200, 1815, 300});

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    placeBelow(this, program.mainWindow());
}

} // namespace kurubako
