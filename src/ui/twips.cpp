#include "twips.h"

#include <QWidget>

#include <cmath>

namespace kurubako {

namespace {

const QString ProgramFontFamily = u"ＭＳ Ｐゴシック"_qs;

} // namespace

int twipsToPixels(int twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixel));
}

int pixelsToTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}

QRect toPixels(const TwipRect &rect)
{
    return {twipsToPixels(rect.left), twipsToPixels(rect.top), twipsToPixels(rect.width),
            twipsToPixels(rect.height)};
}

void layOut(QWidget *form, std::initializer_list<ControlLayout> controls)
{
    for (const ControlLayout &control : controls) {
        auto *widget = form->findChild<QWidget *>(QString::fromLatin1(control.name));
        Q_ASSERT_X(widget, "layOut", control.name);
        if (!widget)
            continue;
        widget->setGeometry(toPixels(control.rect));
        if (control.pointSize > 0)
            widget->setFont(programFont(control.pointSize, control.bold));
    }
}

QFont programFont(qreal pointSize, bool bold)
{
    QFont font(ProgramFontFamily);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void registerFontSubstitutes()
{
    QFont::insertSubstitutions(ProgramFontFamily,
                               {u"IPAPGothic"_qs, u"IPAPゴシック"_qs, u"VL PGothic"_qs, u"Noto Sans CJK JP"_qs});
}

} // namespace kurubako
