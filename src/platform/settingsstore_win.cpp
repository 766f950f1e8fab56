#include "settingssection.h"

using namespace Qt::StringLiterals;

namespace kurubako {

// The key under which Visual Basic's GetSetting and SaveSetting keep an application's
// section, values as REG_SZ strings, so that the settings of an earlier install are read.
std::unique_ptr<QSettings> openSettingsSection(const QString &application, const QString &section)
{
    return std::make_unique<QSettings>(
        u"HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\"_s + application + u'\\' + section,
        QSettings::NativeFormat);
}

} // namespace kurubako
