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
    bool (*take)(const QString &text, Preferences &preferences) = nullptr;
    bool rewrittenWithNext = false; // its default is written whenever the next key's is
    bool (*outdated)(const Preferences &preferences) = nullptr; // rewritten also when this holds
    // When rewritten, the run starts with the default, as start-up reads the key again before
    // the main window opens; Chk2 is not read again and keeps what the check read.
    bool runTakesRewrittenDefault = true;
    bool readAgainForFirstFolder = false; // read again when the first run found PostPet
};

constexpr CheckedKey CheckedKeys[] = {
    {.name = SettingKey::Top,
     .defaultText = u"0",
     .take = take<qint32, &Preferences::windowTop, parseInt32>,
     .rewrittenWithNext = true,
     .readAgainForFirstFolder = true},
    {.name = SettingKey::Left,
     .defaultText = u"0",
     .take = take<qint32, &Preferences::windowLeft, parseInt32>,
     .readAgainForFirstFolder = true},
    {.name = SettingKey::SkipQuestions,
     .defaultText = u"False",
     .take = take<bool, &Preferences::skipQuestions, parseBool>},
    {.name = SettingKey::DoubleClickAction,
     .defaultText = u"0",
     .take = take<DoubleClickAction, &Preferences::doubleClickAction, parseDoubleClickAction>,
     .runTakesRewrittenDefault = false},
    {.name = SettingKey::Version,
     .defaultText = ProgramVersionText,
     .take = take<float, &Preferences::storedVersion, parseVersion>,
     .outdated = otherVersion,
     .readAgainForFirstFolder = true},
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
    // Once a key fails, every later key is rewritten too. A failed write would have the same
    // effect, so all defaults can be written in one save.
    bool failed = false;
    qsizetype undecided = 0;
    QList<std::pair<QString, QString>> defaults;
    QList<const CheckedKey *> rewritten;
    for (qsizetype index = 0; index < CheckedKeyCount; ++index) {
        if (!CheckedKeys[index].take(stored.at(index), preferences))
            failed = true;
        if (CheckedKeys[index].rewrittenWithNext)
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
        if (key->runTakesRewrittenDefault)
            key->take(key->defaultText.toString(), preferences);
    }
    return preferences;
}

Preferences PreferencesStore::readAgainForFirstFolder(Preferences preferences, const QString &folder)
{
    preferences.postPetDir = folder;
    QStringList names;
    QList<const CheckedKey *> keys;
    for (const CheckedKey &key : CheckedKeys) {
        if (key.readAgainForFirstFolder) {
            names.append(key.name.toString());
            keys.append(&key);
        }
    }
    // If one of them fails to read anyway, the value from the start-up check is kept.
    const QStringList stored = m_store.readKeys(Application, Section, names);
    for (qsizetype index = 0; index < keys.size(); ++index)
        keys.at(index)->take(stored.at(index), preferences);
    return preferences;
}

bool PreferencesStore::savePostPetDir(const QString &folder)
{
    return m_store.writeKeys(Application, Section, {{SettingKey::PostPetDir.toString(), folder}});
}

bool PreferencesStore::saveOnQuit(const Preferences &preferences)
{
    return m_store.writeKeys(Application, Section,
                             {{SettingKey::SkipQuestions.toString(), boolText(preferences.skipQuestions)},
                              {SettingKey::DoubleClickAction.toString(),
                               QString::number(static_cast<qint16>(preferences.doubleClickAction))},
                              {SettingKey::Top.toString(), QString::number(preferences.windowTop)},
                              {SettingKey::Left.toString(), QString::number(preferences.windowLeft)}});
}

} // namespace kurubako
