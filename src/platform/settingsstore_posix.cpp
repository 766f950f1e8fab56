#include "settingsstore.h"

#include <QSettings>

#include <memory>

namespace kurubako {

namespace {

// <config home>/<application>/<section>.conf
std::unique_ptr<QSettings> openSection(const QString &application, const QString &section)
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, application, section);
}

} // namespace

QString QtSettingsStore::read(const QString &application, const QString &section, const QString &key)
{
    const auto settings = openSection(application, section);
    if (settings->status() != QSettings::NoError)
        return {};
    const QVariant value = settings->value(key);
    // Only plain text counts; a value that QSettings parsed as a list was not written by us.
    if (value.typeId() != QMetaType::QString)
        return {};
    return value.toString();
}

bool QtSettingsStore::write(const QString &application, const QString &section, const QString &key,
                            const QString &text)
{
    const auto settings = openSection(application, section);
    if (!settings->isWritable())
        return false;
    settings->setValue(key, text);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

} // namespace kurubako
