#pragma once

#include "preferences.h"

#include <optional>

namespace kurubako {

class SettingsStore;

// The stored keys, under application "Tobiuo", section "Kurubako".
namespace SettingKey {
inline constexpr QStringView Top = u"top";
inline constexpr QStringView Left = u"left";
inline constexpr QStringView SkipQuestions = u"Chk1";
inline constexpr QStringView DoubleClickAction = u"Chk2";
inline constexpr QStringView Version = u"ver";
inline constexpr QStringView PostPetDir = u"postpet_dir";
} // namespace SettingKey

// The stored texts and their conversions. Each parse gives nothing for text that is empty or
// does not convert; surrounding spaces and a leading "+" are accepted, fractions are not.
std::optional<qint32> parseInt32(const QString &text);
std::optional<DoubleClickAction> parseDoubleClickAction(const QString &text); // only 0 and 1
std::optional<bool> parseBool(const QString &text); // True/False in any case, or a number
std::optional<float> parseVersion(const QString &text); // "1.1" under every locale

QString boolText(bool value); // "True" or "False"
QString versionText(float version); // the shortest decimal form, "1.1"

// Loads and saves the preferences in the system's settings store.
class PreferencesStore
{
public:
    explicit PreferencesStore(SettingsStore &store);

    // The start-up check, and the preferences the run starts with, from one read of the store.
    // The first key of top, left, Chk1, Chk2 and ver that fails to parse (top and left
    // together), and every key after it, is rewritten with its default in one save, and "ver"
    // whenever it holds another version. A key that fails to parse keeps the value of a
    // default-constructed Preferences. With PostPet's folder known, every key but Chk2 then
    // holds what the store now holds.
    Preferences load();

    // After the first run's choice of PostPet's folder was saved: the folder, and the window
    // position and the version from the store again, as the main window is about to open.
    Preferences readAgainForFirstFolder(Preferences preferences, const QString &folder);

    // Each false when the save did not reach the store.
    [[nodiscard]] bool savePostPetDir(const QString &folder);
    // What a completed close of the main window stores, in one save: Chk1, Chk2, top, left.
    [[nodiscard]] bool saveOnQuit(const Preferences &preferences);

private:
    SettingsStore &m_store;
};

} // namespace kurubako
