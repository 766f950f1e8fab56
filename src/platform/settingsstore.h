#pragma once

#include <QList>
#include <QStringList>

#include <memory>
#include <utility>

namespace kurubako {

// Per-user text values addressed by application, section and key.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    // Several keys from one reading of the store: their texts in the order of `keys`, empty
    // text for a key that is missing or cannot be read.
    virtual QStringList readKeys(const QString &application, const QString &section,
                                 const QStringList &keys) = 0;
    // Creates or overwrites several keys, in order, in one save; false when one of them did not
    // reach the store.
    virtual bool writeKeys(const QString &application, const QString &section,
                           const QList<std::pair<QString, QString>> &values) = 0;

    // The settings file that turned out to be no regular file (nor a link to one), which the
    // start-up message names; empty while the store is usable.
    virtual QString unusableFile() const { return {}; }
};

// The store of the running platform: the registry key that VB's GetSetting/SaveSetting
// use on Windows, <config home>/<application>/<section>.conf elsewhere, where a file that
// cannot be parsed to its end still gives the keys that could be read. That file is read and
// written only while it is a regular file or a link to one, which stays a link.
class SystemSettingsStore final : public SettingsStore
{
public:
    SystemSettingsStore();
    ~SystemSettingsStore() override;

    QStringList readKeys(const QString &application, const QString &section,
                         const QStringList &keys) override;
    bool writeKeys(const QString &application, const QString &section,
                   const QList<std::pair<QString, QString>> &values) override;

    // A FIFO, a device or a folder in the place of the settings file or of its lock file: the
    // store then reads nothing and writes nothing, and the run goes on with the defaults.
    // Never on Windows.
    QString unusableFile() const override;

private:
    // State kept between calls.
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace kurubako
