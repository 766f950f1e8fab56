#include "settings.h"

#include "platform/settingsstore.h"

#include <QLocale>

#include <charconv>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

const QString Application = QStringLiteral("Tobiuo");
const QString Section = QStringLiteral("Kurubako");

template<typename Int>
std::optional<Int> parseInteger(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qlonglong value = QLocale::c().toLongLong(trimmed, &ok);
    if (!ok || value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max())
        return std::nullopt;
    return static_cast<Int>(value);
}

template<typename T>
bool readInto(Settings &settings, const QString &key, std::optional<T> (*parse)(const QString &), T &global)
{
    const auto value = parse(settings.read(key));
    if (!value)
        return false;
    global = *value;
    return true;
}

} // namespace

std::optional<qint32> parseInt32(const QString &text)
{
    return parseInteger<qint32>(text);
}

std::optional<DoubleClickAction> parseDblClickAction(const QString &text)
{
    const auto value = parseInteger<qint16>(text);
    if (!value || (*value != 0 && *value != 1))
        return std::nullopt;
    return static_cast<DoubleClickAction>(*value);
}

std::optional<bool> parseBool(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number != 0.0;
}

std::optional<float> parseVersion(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    // The program writes "1.1"; a version that an older run wrote in the user's locale
    // ("1,1") is read as well.
    for (const QLocale &locale : {QLocale::c(), QLocale()}) {
        bool ok = false;
        const float value = locale.toFloat(trimmed, &ok);
        if (ok && std::isfinite(value))
            return value;
    }
    return std::nullopt;
}

QString boolText(bool value)
{
    return value ? u"True"_s : u"False"_s;
}

QString versionText(float version)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, version);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

Settings::Settings(SettingsStore &store)
    : m_store(store)
{
}

QString Settings::read(const QString &key)
{
    return m_store.read(Application, Section, key);
}

bool Settings::write(const QString &key, const QString &text)
{
    return m_store.write(Application, Section, key, text);
}

bool Settings::readWindowTop(Globals &globals)
{
    return readInto(*this, SettingKey::Top, parseInt32, globals.windowTop);
}

bool Settings::readWindowLeft(Globals &globals)
{
    return readInto(*this, SettingKey::Left, parseInt32, globals.windowLeft);
}

bool Settings::readSkipConfirm(Globals &globals)
{
    return readInto(*this, SettingKey::Chk1, parseBool, globals.skipConfirm);
}

bool Settings::readDblClickAction(Globals &globals)
{
    return readInto(*this, SettingKey::Chk2, parseDblClickAction, globals.doubleClickAction);
}

bool Settings::readStoredVersion(Globals &globals)
{
    return readInto(*this, SettingKey::Ver, parseVersion, globals.storedVersion);
}

void Settings::runCheck(Globals &globals)
{
    globals.programVersion = ProgramVersionValue;
    bool checkFailed = false;
    // A failed write, like a failed read, makes every later key be rewritten as well.
    const auto writeDefault = [&](const QString &key, const QString &text) {
        if (!write(key, text))
            checkFailed = true;
    };

    if (!readWindowTop(globals))
        checkFailed = true;
    if (!readWindowLeft(globals))
        checkFailed = true;
    if (checkFailed) {
        writeDefault(SettingKey::Top, u"0"_s);
        writeDefault(SettingKey::Left, u"0"_s);
    }
    if (!readSkipConfirm(globals))
        checkFailed = true;
    if (checkFailed)
        writeDefault(SettingKey::Chk1, boolText(false));
    if (!readDblClickAction(globals))
        checkFailed = true;
    if (checkFailed)
        writeDefault(SettingKey::Chk2, u"0"_s);
    if (!readStoredVersion(globals))
        checkFailed = true;
    if (checkFailed || globals.storedVersion != globals.programVersion)
        writeDefault(SettingKey::Ver, versionText(globals.programVersion));
}

void Settings::saveOnQuit(const Globals &globals)
{
    write(SettingKey::Chk1, boolText(globals.skipConfirm));
    write(SettingKey::Chk2, QString::number(static_cast<qint16>(globals.doubleClickAction)));
    write(SettingKey::Top, QString::number(globals.windowTop));
    write(SettingKey::Left, QString::number(globals.windowLeft));
}

} // namespace kurubako
