#include "settingssection.h"

namespace kurubako {

// <config home>/<application>/<section>.conf
std::unique_ptr<QSettings> openSettingsSection(const QString &application, const QString &section)
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, application, section);
}

} // namespace kurubako
