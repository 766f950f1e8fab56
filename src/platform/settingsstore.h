#pragma once

#include <QList>
#include <QStringList>

#include <memory>
#include <utility>

class QSettings;

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

    // Several keys from one reading of the store: their texts in the order of `keys`, as read()
    // gives them.
    virtual QStringList readKeys(const QString &application, const QString &section,
                                 const QStringList &keys);
    // Several keys, in order, in one save; false when one of them did not reach the store.
    virtual bool writeKeys(const QString &application, const QString &section,
                           const QList<std::pair<QString, QString>> &values);
};

// The store of the running platform: the registry key that VB's GetSetting/SaveSetting
// use on Windows, <config home>/<application>/<section>.conf elsewhere.
// A file that cannot be parsed to its end still gives the keys that could be read.
class QtSettingsStore final : public SettingsStore
{
public:
    QtSettingsStore();
    ~QtSettingsStore() override;

    QString read(const QString &application, const QString &section, const QString &key) override;
    bool write(const QString &application, const QString &section, const QString &key,
               const QString &text) override;
    QStringList readKeys(const QString &application, const QString &section,
                         const QStringList &keys) override;
    bool writeKeys(const QString &application, const QString &section,
                   const QList<std::pair<QString, QString>> &values) override;

private:
    std::unique_ptr<QSettings> open(const QString &application, const QString &section);

    // The section opened last, kept open: while it is, opening it again reads nothing unless
    // the file changed on disk, and a large settings file is parsed once in a run.
    std::unique_ptr<QSettings> m_kept;
};

} // namespace kurubako
