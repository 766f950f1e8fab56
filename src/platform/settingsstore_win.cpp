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

} // namespace

QString QtSettingsStore::read(const QString &application, const QString &section, const QString &key)
{
    const std::wstring subKey = sectionKey(application, section);
    const std::wstring name = key.toStdWString();
    std::wstring text;
    LSTATUS status = ERROR_MORE_DATA;
    while (status == ERROR_MORE_DATA) { // the value may grow between the two calls
        DWORD size = 0;
        status = RegGetValueW(
            HKEY_CURRENT_USER, subKey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size);
        if (status != ERROR_SUCCESS)
            return {};
        text.resize(size / sizeof(wchar_t) + 1);
        size = DWORD(text.size() * sizeof(wchar_t));
        status = RegGetValueW(
            HKEY_CURRENT_USER, subKey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &size);
    }
    if (status != ERROR_SUCCESS)
        return {};
    return QString::fromWCharArray(text.c_str()); // up to the end of the string
}

bool QtSettingsStore::write(
    const QString &application, const QString &section, const QString &key, const QString &text)
{
    const std::wstring data = text.toStdWString();
    return RegSetKeyValueW(HKEY_CURRENT_USER, sectionKey(application, section).c_str(),
               key.toStdWString().c_str(), REG_SZ, data.c_str(), DWORD((data.size() + 1) * sizeof(wchar_t)))
        == ERROR_SUCCESS;
}

} // namespace kurubako
