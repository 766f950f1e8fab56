#include "settingsstore.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

// Whether QSettings may open the file: a regular file, a link to one, or nothing yet. Anything
// else (a FIFO, whose open() blocks until a writer appears; a device, which a save would
// replace; a folder) is left alone. stat() first, then open() with O_NONBLOCK and fstat(), in
// case the file was replaced in between.
bool isUsable(const QString &fileName)
{
    const QByteArray path = QFile::encodeName(fileName);
    struct stat info;
    if (::stat(path.constData(), &info) != 0)
        return true; // none yet, or inaccessible: QSettings reads nothing and reports a failed save
    if (!S_ISREG(info.st_mode))
        return false;
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return true;
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return regular;
}

// A link that leads nowhere (or to itself): a lock file there could never be made or read.
bool isBrokenLink(const QString &fileName)
{
    const QByteArray path = QFile::encodeName(fileName);
    struct stat info;
    return ::lstat(path.constData(), &info) == 0 && ::stat(path.constData(), &info) != 0;
}

// <config home>/<application>/<section>.conf
std::unique_ptr<QSettings> openSection(const QString &application, const QString &section)
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, application, section);
}

// The path of the section's file, where QSettings::setPath() or the config home put it. A
// QSettings reads its file as soon as it is made, so the path is taken from one made for
// another name in the same folder.
QString settingsFilePath(const QString &application, const QString &section)
{
    const QString beside = openSection(application, section + u"-path"_s)->fileName();
    return QFileInfo(beside).path() + u'/' + section + u".conf"_s;
}

} // namespace

struct SystemSettingsStore::State
{
    // Whether the section's file may be opened; once it may not, it is not touched again.
    bool usable(const QString &application, const QString &section)
    {
        if (!unusableFile.isEmpty())
            return false;
        const QString fileName = settingsFilePath(application, section);
        // QSettings saves under a QLockFile beside the file, which would wait forever on a
        // FIFO, a folder or a broken link in the lock's place.
        const QString lockName = fileName + u".lock"_s;
        if (!isUsable(fileName))
            unusableFile = fileName;
        else if (!isUsable(lockName) || isBrokenLink(lockName))
            unusableFile = lockName;
        else
            return true;
        kept.reset();
        return false;
    }

    // All QSettings objects of one file share its parsed contents. The kept one parses the
    // file (and carries any format error); the one returned reuses that, so that its status
    // reports only its own save.
    std::unique_ptr<QSettings> open(const QString &application, const QString &section)
    {
        if (!kept || kept->applicationName() != section || kept->organizationName() != application)
            kept = openSection(application, section);
        return openSection(application, section);
    }

    // The section opened last, kept open: while it is, Qt reuses the parsed file unless it
    // changed on disk, so that a large settings file is parsed once per run.
    std::unique_ptr<QSettings> kept;
    // The settings file or lock file found not to be a regular file.
    QString unusableFile;
};

SystemSettingsStore::SystemSettingsStore()
    : m_state(std::make_unique<State>())
{
}

SystemSettingsStore::~SystemSettingsStore() = default;

QString SystemSettingsStore::unusableFile() const
{
    return m_state->unusableFile;
}

QStringList SystemSettingsStore::readKeys(const QString &application, const QString &section,
                                          const QStringList &keys)
{
    // A damaged file (a format error) still gives the keys that could be parsed: those before
    // the damage, and after it those that QSettings still understood.
    if (!m_state->usable(application, section))
        return QStringList(keys.size(), QString());
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
    if (!m_state->usable(application, section))
        return false;
    auto settings = m_state->open(application, section);
    if (settings->status() == QSettings::FormatError) {
        // The file was damaged on disk since it was parsed: parse it again in the kept object,
        // so that the format error does not mask the result of the save.
        settings.reset();
        m_state->kept.reset();
        settings = m_state->open(application, section);
    }
    if (!settings->isWritable())
        return false;
    for (const auto &[key, text] : values)
        settings->setValue(key, text);
    // A damaged file is rewritten whole, with the keys that could be parsed.
    settings->sync();
    return settings->status() == QSettings::NoError;
}

} // namespace kurubako
