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
bool take(const QString &text, std::optional<T> (*parse)(const QString &), T &global)
{
    const auto value = parse(text);
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

QStringList Settings::readKeys(const QStringList &keys)
{
    return m_store.readKeys(Application, Section, keys);
}

bool Settings::writeKeys(const QList<std::pair<QString, QString>> &values)
{
    return m_store.writeKeys(Application, Section, values);
}

bool Settings::takeWindowTop(const QString &text, Globals &globals)
{
    return take(text, parseInt32, globals.windowTop);
}

bool Settings::takeWindowLeft(const QString &text, Globals &globals)
{
    return take(text, parseInt32, globals.windowLeft);
}

bool Settings::takeSkipConfirm(const QString &text, Globals &globals)
{
    return take(text, parseBool, globals.skipConfirm);
}

bool Settings::takeDblClickAction(const QString &text, Globals &globals)
{
    return take(text, parseDblClickAction, globals.doubleClickAction);
}

bool Settings::takeStoredVersion(const QString &text, Globals &globals)
{
    return take(text, parseVersion, globals.storedVersion);
}

bool Settings::readWindowTop(Globals &globals)
{
    return takeWindowTop(read(SettingKey::Top), globals);
}

bool Settings::readWindowLeft(Globals &globals)
{
    return takeWindowLeft(read(SettingKey::Left), globals);
}

bool Settings::readSkipConfirm(Globals &globals)
{
    return takeSkipConfirm(read(SettingKey::Chk1), globals);
}

bool Settings::readDblClickAction(Globals &globals)
{
    return takeDblClickAction(read(SettingKey::Chk2), globals);
}

bool Settings::readStoredVersion(Globals &globals)
{
    return takeStoredVersion(read(SettingKey::Ver), globals);
}

void Settings::runCheck(Globals &globals)
{
    globals.programVersion = ProgramVersionValue;
    const QStringList stored =
        readKeys({SettingKey::Top, SettingKey::Left, SettingKey::Chk1, SettingKey::Chk2, SettingKey::Ver});
    bool checkFailed = false;
    // Only the keys from the first failure on are written, so a failed write would make no
    // later key be written that is not written anyway: the defaults can go in one save.
    QList<std::pair<QString, QString>> defaults;

    if (!takeWindowTop(stored.at(0), globals))
        checkFailed = true;
    if (!takeWindowLeft(stored.at(1), globals))
        checkFailed = true;
    if (checkFailed) {
        defaults.append({SettingKey::Top, u"0"_s});
        defaults.append({SettingKey::Left, u"0"_s});
    }
    if (!takeSkipConfirm(stored.at(2), globals))
        checkFailed = true;
    if (checkFailed)
        defaults.append({SettingKey::Chk1, boolText(false)});
    if (!takeDblClickAction(stored.at(3), globals))
        checkFailed = true;
    if (checkFailed)
        defaults.append({SettingKey::Chk2, u"0"_s});
    if (!takeStoredVersion(stored.at(4), globals))
        checkFailed = true;
    if (checkFailed || globals.storedVersion != globals.programVersion)
        defaults.append({SettingKey::Ver, versionText(globals.programVersion)});
    if (!defaults.isEmpty())
        writeKeys(defaults);
}

void Settings::saveOnQuit(const Globals &globals)
{
    writeKeys({{SettingKey::Chk1, boolText(globals.skipConfirm)},
               {SettingKey::Chk2, QString::number(static_cast<qint16>(globals.doubleClickAction))},
               {SettingKey::Top, QString::number(globals.windowTop)},
               {SettingKey::Left, QString::number(globals.windowLeft)}});
}

} // namespace kurubako
