#include "common/memorysettingsstore.h"

using namespace Qt::StringLiterals;

namespace kurubako {

QString MemorySettingsStore::address(const QString &application, const QString &section, const QString &key)
{
    return application + u'\\' + section + u'\\' + key;
}

QString MemorySettingsStore::read(const QString &application, const QString &section, const QString &key)
{
    if (failingReads.contains(key))
        return {};
    return m_values.value(address(application, section, key));
}

bool MemorySettingsStore::write(const QString &application, const QString &section, const QString &key,
                                const QString &text)
{
    if (failingWrites.contains(key))
        return false;
    m_values.insert(address(application, section, key), text);
    writeLog.append(key + u'=' + text);
    return true;
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
