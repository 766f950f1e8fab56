#include "settingsstore.h"

namespace kurubako {

QString SettingsStore::read(const QString &application, const QString &section, const QString &key)
{
    return readKeys(application, section, {key}).constFirst();
}

bool SettingsStore::write(const QString &application, const QString &section, const QString &key,
                          const QString &text)
{
    return writeKeys(application, section, {{key, text}});
}

} // namespace kurubako
