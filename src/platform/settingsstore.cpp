#include "settingsstore.h"

#include "settingssection.h"

using namespace Qt::StringLiterals;

namespace kurubako {

QString QtSettingsStore::read(const QString &application, const QString &section, const QString &key)
{
    const auto settings = openSettingsSection(application, section);
    if (settings->status() != QSettings::NoError)
        return {};
    const QVariant value = settings->value(key);
    // Only plain text counts: a value that QSettings parsed as a list, or a number in the
    // registry, was not written as a setting's text.
    if (value.typeId() != QMetaType::QString)
        return {};
    return value.toString();
}

bool QtSettingsStore::write(const QString &application, const QString &section, const QString &key,
                            const QString &text)
{
    const auto settings = openSettingsSection(application, section);
    if (!settings->isWritable())
        return false;
    settings->setValue(key, text);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

} // namespace kurubako
