#include "versiondialog.h"

#include "controls.h"
#include "fonts.h"
#include "placement.h"
#include "twips.h"

#include "app/preferencesstore.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

// The window's geometry in twips, with the font sizes in points.
constexpr TwipRect ClientArea{0, 0, 3930, 1620};
constexpr TwipRect IconArea{240, 240, 540, 540};
constexpr Placement NameLabel{{720, 120, 2775, 255}, 12, true};
constexpr Placement VersionLabel{{2520, 480, 1215, 255}, 12, true};
constexpr Placement OkButton{{1080, 1200, 1815, 300}};

} // namespace

VersionDialog::VersionDialog(float storedVersion, QWidget *parent)
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
    auto *version = new QLabel(u"Ver "_s + versionText(storedVersion), this);
    version->setObjectName(u"versionLabel"_s);
    QPushButton *ok = newButton(u"&OK"_s, "okButton", this);
    ok->setDefault(true);

    place(icon, {IconArea});
    place(name, NameLabel);
    place(version, VersionLabel);
    place(ok, OkButton);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    placeBelow(this, parent);
}

} // namespace kurubako
