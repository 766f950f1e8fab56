#include "namecollation.h"

#include <QLocale>

namespace kurubako {

namespace {

QCollator listCollator()
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::Japanese, QLocale::Japan);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    return collator;
}

} // namespace

NameCollation::NameCollation()
    : m_collator(listCollator())
{
}

} // namespace kurubako
