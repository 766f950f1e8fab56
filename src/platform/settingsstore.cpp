#include "settingsstore.h"

namespace kurubako {

QStringList SettingsStore::readKeys(const QString &application, const QString &section,
                                    const QStringList &keys)
{
    QStringList texts;
    texts.reserve(keys.size());
    for (const QString &key : keys)
        texts.append(read(application, section, key));
    return texts;
}

bool SettingsStore::writeKeys(const QString &application, const QString &section,
                              const QList<std::pair<QString, QString>> &values)
{
    bool written = true;
    for (const auto &[key, text] : values)
        written = write(application, section, key, text) && written;
    return written;
}

} // namespace kurubako
