#pragma once

#include <QString>

namespace kurubako {

// Per-user text values addressed by application, section and key.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    // The stored text, or empty text when the key is missing or cannot be read.
    virtual QString read(const QString &application, const QString &section, const QString &key) = 0;
    // Creates or overwrites the key; false when the value did not reach the store.
    virtual bool write(const QString &application, const QString &section, const QString &key,
                       const QString &text) = 0;
};

// The store of the running platform: the registry key that VB's GetSetting/SaveSetting
// use on Windows, <config home>/<application>/<section>.conf elsewhere.
class QtSettingsStore final : public SettingsStore
{
public:
    QString read(const QString &application, const QString &section, const QString &key) override;
    bool write(const QString &application, const QString &section, const QString &key,
               const QString &text) override;
};

} // namespace kurubako
