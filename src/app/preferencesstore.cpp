#include "preferencesstore.h"

#include "platform/settingsstore.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <iterator>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

const QString Application = u"Tobiuo"_s;
const QString Section = u"Kurubako"_s;

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

// Takes a stored text into one member of the preferences; false, with the member unchanged,
// when the text does not convert.
template<typename T, T Preferences::*Member, std::optional<T> (*Parse)(const QString &)>
bool take(const QString &text, Preferences &preferences)
{
    const std::optional<T> value = Parse(text);
    if (value)
        preferences.*Member = *value;
    return value.has_value();
}

bool otherVersion(const Preferences &preferences)
{
    return preferences.storedVersion != ProgramVersion;
}

// The keys that the start-up check reads, in its order.
struct CheckedKey
{
    QStringView name;
    QStringView defaultText;
    bool (*take)(const QString &text, Preferences &preferences);
    bool checkedWithNext; // its default is written with the next key's
    bool (*outdated)(const Preferences &preferences); // written also when this holds
    bool readAgainAtStartUp; // read again before the main window opens
    bool readAgainForFirstFolder; // read again when the first run found PostPet
};

constexpr CheckedKey CheckedKeys[] = {
    {SettingKey::Top, u"0", take<qint32, &Preferences::windowTop, parseInt32>, true, nullptr, true, true},
    {SettingKey::Left, u"0", take<qint32, &Preferences::windowLeft, parseInt32>, false, nullptr, true, true},
    {SettingKey::SkipQuestions, u"False", take<bool, &Preferences::skipQuestions, parseBool>, false, nullptr,
     true, false},
    {SettingKey::DoubleClickAction, u"0",
     take<DoubleClickAction, &Preferences::doubleClickAction, parseDoubleClickAction>, false, nullptr, false,
     false},
    {SettingKey::Version, u"1.1", take<float, &Preferences::storedVersion, parseVersion>, false, otherVersion,
     true, true},
};
constexpr qsizetype CheckedKeyCount = std::size(CheckedKeys);

} // namespace

std::optional<qint32> parseInt32(const QString &text)
{
    return parseInteger<qint32>(text);
}

std::optional<DoubleClickAction> parseDoubleClickAction(const QString &text)
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

PreferencesStore::PreferencesStore(SettingsStore &store)
    : m_store(store)
{
}

Preferences PreferencesStore::load()
{
    QStringList names;
    for (const CheckedKey &key : CheckedKeys)
        names.append(key.name.toString());
    names.append(SettingKey::PostPetDir.toString());
    const QStringList stored = m_store.readKeys(Application, Section, names);

    Preferences preferences;
    // Once a key failed, every later key is written too; so a failed write, which would have
    // the same effect, changes nothing, and the defaults can go in one save.
    bool failed = false;
    qsizetype undecided = 0;
    QList<std::pair<QString, QString>> defaults;
    QList<const CheckedKey *> rewritten;
    for (qsizetype index = 0; index < CheckedKeyCount; ++index) {
        if (!CheckedKeys[index].take(stored.at(index), preferences))
            failed = true;
        if (CheckedKeys[index].checkedWithNext)
            continue;
        for (; undecided <= index; ++undecided) {
            const CheckedKey &key = CheckedKeys[undecided];
            if (failed || (key.outdated && key.outdated(preferences))) {
                defaults.append({key.name.toString(), key.defaultText.toString()});
                rewritten.append(&key);
            }
        }
    }
    const bool saved = defaults.isEmpty() || m_store.writeKeys(Application, Section, defaults);

    preferences.postPetDir = stored.at(CheckedKeyCount);
    if (preferences.postPetDir.isEmpty() || !saved)
        return preferences;
    // What the store holds now: the defaults just written.
    for (const CheckedKey *key : std::as_const(rewritten)) {
        if (key->readAgainAtStartUp)
            key->take(key->defaultText.toString(), preferences);
    }
    return preferences;
}

Preferences PreferencesStore::storeFirstPostPetDir(Preferences preferences, const QString &folder)
{
    savePostPetDir(folder);
    preferences.postPetDir = folder;
    QStringList names;
    QList<const CheckedKey *> keys;
    for (const CheckedKey &key : CheckedKeys) {
        if (key.readAgainForFirstFolder) {
            names.append(key.name.toString());
            keys.append(&key);
        }
    }
    // Should one of them fail all the same, the value of the check stays in force.
    const QStringList stored = m_store.readKeys(Application, Section, names);
    for (qsizetype index = 0; index < keys.size(); ++index)
        keys.at(index)->take(stored.at(index), preferences);
    return preferences;
}

void PreferencesStore::savePostPetDir(const QString &folder)
{
    m_store.writeKeys(Application, Section, {{SettingKey::PostPetDir.toString(), folder}});
}

void PreferencesStore::saveOnQuit(const Preferences &preferences)
{
    m_store.writeKeys(Application, Section,
                      {{SettingKey::SkipQuestions.toString(), boolText(preferences.skipQuestions)},
                       {SettingKey::DoubleClickAction.toString(),
                        QString::number(static_cast<qint16>(preferences.doubleClickAction))},
                       {SettingKey::Top.toString(), QString::number(preferences.windowTop)},
                       {SettingKey::Left.toString(), QString::number(preferences.windowLeft)}});
}

} // namespace kurubako
