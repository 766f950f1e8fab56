#include "settingsstore.h"

#include <QSettings>

#include <memory>

namespace kurubako {

namespace {

// <config home>/<application>/<section>.conf
std::unique_ptr<QSettings> openSection(const QString &application, const QString &section)
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, application, section);
}

} // namespace

struct SystemSettingsStore::State
{
    // Every QSettings of one file shares what was parsed of it. The kept one parses the file
    // (and takes any format error); the one returned reuses that, and its status tells how
    // its own save goes.
    std::unique_ptr<QSettings> open(const QString &application, const QString &section)
    {
        if (!kept || kept->applicationName() != section || kept->organizationName() != application)
            kept = openSection(application, section);
        return openSection(application, section);
    }

    // The section opened last, kept open: while it is, opening it again reads nothing unless
    // the file changed on disk, and a large settings file is parsed once in a run.
    std::unique_ptr<QSettings> kept;
};

SystemSettingsStore::SystemSettingsStore()
    : m_state(std::make_unique<State>())
{
}

SystemSettingsStore::~SystemSettingsStore() = default;

QStringList SystemSettingsStore::readKeys(const QString &application, const QString &section,
                                      const QStringList &keys)
{
    // A damaged file (a format error) still gives the keys that could be parsed: those before
    // the damage, and after it those that QSettings still understood.
    const auto settings = m_state->open(application, section);
    QStringList texts;
    texts.reserve(keys.size());
    for (const QString &key : keys) {
        const QVariant value = settings->value(key);
        // Only plain text counts; a value that QSettings parsed as a list was not written by us.
        texts.append(value.typeId() == QMetaType::QString ? value.toString() : QString());
    }
    return texts;
}

bool SystemSettingsStore::writeKeys(const QString &application, const QString &section,
                                const QList<std::pair<QString, QString>> &values)
{
    auto settings = m_state->open(application, section);
    if (settings->status() == QSettings::FormatError) {
        // The file changed on disk, damaged, since it was kept: parse it again in the kept
        // one, so that the format error does not hide how the save goes.
        settings.reset();
        m_state->kept.reset();
        settings = m_state->open(application, section);
    }
    if (!settings->isWritable())
        return false;
    for (const auto &[key, text] : values)
        settings->setValue(key, text);
    // A damaged file is written whole again, as far as it was understood.
    settings->sync();
    return settings->status() == QSettings::NoError;
}

} // namespace kurubako
