#include "settingsstore.h"

#include <windows.h>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

// The key under which Visual Basic's GetSetting and SaveSetting keep an application's
// section. The values are REG_SZ strings holding the text itself, read and written with the
// registry's own calls: QSettings would mark some texts (a leading "@") on their way in.
std::wstring sectionKey(const QString &application, const QString &section)
{
    return QString(u"Software\\VB and VBA Program Settings\\"_s + application + u'\\' + section)
        .toStdWString();
}

// An open registry key, closed when it goes out of scope.
class RegistryKey
{
public:
    explicit RegistryKey(HKEY key = nullptr)
        : m_key(key)
    {
    }
    ~RegistryKey()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;

    HKEY get() const { return m_key; }
    HKEY *out() { return &m_key; }

private:
    HKEY m_key;
};

// A REG_SZ value's text, up to the end of the string; empty when it is missing or of another type.
QString readText(HKEY key, const QString &name)
{
    const std::wstring valueName = name.toStdWString();
    std::wstring text;
    LSTATUS status = ERROR_MORE_DATA;
    while (status == ERROR_MORE_DATA) { // the value may grow between the two calls
        DWORD size = 0;
        status = RegGetValueW(key, nullptr, valueName.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size);
        if (status != ERROR_SUCCESS)
            return {};
        text.resize(size / sizeof(wchar_t) + 1);
        size = DWORD(text.size() * sizeof(wchar_t));
        status = RegGetValueW(key, nullptr, valueName.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &size);
    }
    if (status != ERROR_SUCCESS)
        return {};
    return QString::fromWCharArray(text.c_str());
}

} // namespace

// Nothing is kept between calls: each call opens the registry key.
struct SystemSettingsStore::State
{
};

SystemSettingsStore::SystemSettingsStore() = default;
SystemSettingsStore::~SystemSettingsStore() = default;

QString SystemSettingsStore::unusableFile() const
{
    return {}; // the registry is not a file
}

QStringList SystemSettingsStore::readKeys(const QString &application, const QString &section,
                                          const QStringList &keys)
{
    QStringList texts;
    texts.reserve(keys.size());
    RegistryKey key;
    const bool opened = RegOpenKeyExW(HKEY_CURRENT_USER, sectionKey(application, section).c_str(), 0,
                                      KEY_QUERY_VALUE, key.out())
        == ERROR_SUCCESS;
    for (const QString &name : keys)
        texts.append(opened ? readText(key.get(), name) : QString());
    return texts;
}

bool SystemSettingsStore::writeKeys(const QString &application, const QString &section,
                                    const QList<std::pair<QString, QString>> &values)
{
    RegistryKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, sectionKey(application, section).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, key.out(), nullptr)
        != ERROR_SUCCESS)
        return false;
    bool written = true;
    for (const auto &[name, text] : values) {
        const std::wstring data = text.toStdWString();
        written = RegSetValueExW(key.get(), name.toStdWString().c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE *>(data.c_str()),
                                 DWORD((data.size() + 1) * sizeof(wchar_t)))
                == ERROR_SUCCESS
            && written;
    }
    return written;
}

} // namespace kurubako
