#include "settingsstore.h"

#include <QSettings>

#include <memory>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

std::unique_ptr<QSettings> openSection(const QString &application, const QString &section)
{
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(u"HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\"_s
                                           + application + u'\\' + section,
                                       QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, application, section);
#endif
}

} // namespace

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

QtSettingsStore::QtSettingsStore() = default;
QtSettingsStore::~QtSettingsStore() = default;

std::unique_ptr<QSettings> QtSettingsStore::open(const QString &application, const QString &section)
{
    // Every QSettings of one file shares what was parsed of it. The kept one parses the file
    // (and takes any format error); the one returned reuses that, and its status tells how
    // its own save goes.
    if (!m_kept || m_kept->applicationName() != section || m_kept->organizationName() != application)
        m_kept = openSection(application, section);
    return openSection(application, section);
}

QString QtSettingsStore::read(const QString &application, const QString &section, const QString &key)
{
    return readKeys(application, section, {key}).constFirst();
}

bool QtSettingsStore::write(const QString &application, const QString &section, const QString &key,
                            const QString &text)
{
    return writeKeys(application, section, {{key, text}});
}

QStringList QtSettingsStore::readKeys(const QString &application, const QString &section,
                                      const QStringList &keys)
{
    // A damaged file (a format error) still gives the keys that could be parsed: those before
    // the damage, and after it those that QSettings still understood.
    const auto settings = open(application, section);
    QStringList texts;
    texts.reserve(keys.size());
    for (const QString &key : keys) {
        const QVariant value = settings->value(key);
        // Only plain text counts; a value that QSettings parsed as a list was not written by us.
        texts.append(value.typeId() == QMetaType::QString ? value.toString() : QString());
    }
    return texts;
}

bool QtSettingsStore::writeKeys(const QString &application, const QString &section,
                                const QList<std::pair<QString, QString>> &values)
{
    auto settings = open(application, section);
    if (settings->status() == QSettings::FormatError) {
        // The file changed on disk, damaged, since it was kept: parse it again in the kept
        // one, so that the format error does not hide how the save goes.
        settings.reset();
        m_kept.reset();
        settings = open(application, section);
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
