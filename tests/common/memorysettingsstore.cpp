#include "common/memorysettingsstore.h"

using namespace Qt::StringLiterals;

namespace kurubako {

QString MemorySettingsStore::address(const QString &application, const QString &section, const QString &key)
{
    return application + u'\\' + section + u'\\' + key;
}

QString MemorySettingsStore::read(const QString &application, const QString &section, const QString &key)
{
    if (!m_inBatch)
        ++readings;
    if (failingReads.contains(key))
        return {};
    return m_values.value(address(application, section, key));
}

bool MemorySettingsStore::write(const QString &application, const QString &section, const QString &key,
                                const QString &text)
{
    if (!m_inBatch)
        ++saves;
    if (failingWrites.contains(key))
        return false;
    m_values.insert(address(application, section, key), text);
    writeLog.append(key + u'=' + text);
    return true;
}

QStringList MemorySettingsStore::readKeys(const QString &application, const QString &section,
                                          const QStringList &keys)
{
    ++readings;
    m_inBatch = true;
    QStringList texts = SettingsStore::readKeys(application, section, keys);
    m_inBatch = false;
    return texts;
}

bool MemorySettingsStore::writeKeys(const QString &application, const QString &section,
                                    const QList<std::pair<QString, QString>> &values)
{
    ++saves;
    m_inBatch = true;
    const bool written = SettingsStore::writeKeys(application, section, values);
    m_inBatch = false;
    return written;
}

bool MemorySettingsStore::contains(const QString &key) const
{
    return m_values.contains(address(u"Tobiuo"_s, u"Kurubako"_s, key));
}

QString MemorySettingsStore::value(const QString &key) const
{
    return m_values.value(address(u"Tobiuo"_s, u"Kurubako"_s, key));
}

void MemorySettingsStore::setValue(const QString &key, const QString &text)
{
    m_values.insert(address(u"Tobiuo"_s, u"Kurubako"_s, key), text);
}

} // namespace kurubako
