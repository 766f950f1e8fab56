#include "common/memorysettingsstore.h"

using namespace Qt::StringLiterals;

namespace kurubako {

QString MemorySettingsStore::address(const QString &application, const QString &section, const QString &key)
{
    return application + u'\\' + section + u'\\' + key;
}

QStringList MemorySettingsStore::readKeys(const QString &application, const QString &section,
                                          const QStringList &keys)
{
    ++readings;
    QStringList texts;
    for (const QString &key : keys)
        texts.append(failingReads.contains(key) ? QString()
                                                : m_values.value(address(application, section, key)));
    return texts;
}

bool MemorySettingsStore::writeKeys(const QString &application, const QString &section,
                                    const QList<std::pair<QString, QString>> &values)
{
    ++saves;
    bool written = true;
    for (const auto &[key, text] : values) {
        if (failingWrites.contains(key)) {
            written = false;
            continue;
        }
        m_values.insert(address(application, section, key), text);
        writeLog.append(key + u'=' + text);
    }
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
