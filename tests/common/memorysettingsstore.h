#pragma once

#include "platform/settingsstore.h"

#include <QHash>
#include <QStringList>

namespace kurubako {

// An in-memory store that can be told to fail reads or writes.
class MemorySettingsStore final : public SettingsStore
{
public:
    QStringList readKeys(const QString &application, const QString &section,
                         const QStringList &keys) override;
    bool writeKeys(const QString &application, const QString &section,
                   const QList<std::pair<QString, QString>> &values) override;

    // Direct access for tests, under the program's own address "Tobiuo"/"Kurubako".
    bool contains(const QString &key) const;
    QString value(const QString &key) const;
    void setValue(const QString &key, const QString &text);

    QStringList failingReads; // keys whose read gives empty text
    QStringList failingWrites; // keys whose write reports failure and stores nothing
    QStringList writeLog; // "key=text" for every successful write, in order
    int readings = 0; // readings of the store: readKeys() calls
    int saves = 0; // saves to the store: writeKeys() calls

private:
    static QString address(const QString &application, const QString &section, const QString &key);
    QHash<QString, QString> m_values;
};

} // namespace kurubako
