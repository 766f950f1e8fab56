#pragma once

#include <QSettings>

#include <memory>

namespace kurubako {

// The place of one application's section in the platform's per-user store.
std::unique_ptr<QSettings> openSettingsSection(const QString &application, const QString &section);

} // namespace kurubako
