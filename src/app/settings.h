#pragma once

#include "globals.h"

#include <QList>
#include <QStringList>

#include <optional>
#include <utility>

namespace kurubako {

class SettingsStore;

// The program's keys, stored under application "Tobiuo", section "Kurubako".
namespace SettingKey {
inline const QString Top = QStringLiteral("top");
inline const QString Left = QStringLiteral("left");
inline const QString Chk1 = QStringLiteral("Chk1");
inline const QString Chk2 = QStringLiteral("Chk2");
inline const QString Ver = QStringLiteral("ver");
inline const QString PostPetDir = QStringLiteral("postpet_dir");
} // namespace SettingKey

// The stored texts and their conversions. Each parse gives nothing for text that is empty or
// does not convert; surrounding spaces and a leading "+" are accepted, fractions are not.
std::optional<qint32> parseInt32(const QString &text);
std::optional<DoubleClickAction> parseDblClickAction(const QString &text); // only 0 and 1 are actions
std::optional<bool> parseBool(const QString &text);             // True/False in any case, or a number
std::optional<float> parseVersion(const QString &text);         // "1.1" under every locale

QString boolText(bool value);       // "True" or "False"
QString versionText(float version); // the shortest decimal form, "1.1"

// The program's settings in the store.
class Settings
{
public:
    explicit Settings(SettingsStore &store);

    QString read(const QString &key);
    bool write(const QString &key, const QString &text);
    // Several keys from one reading of the store, and several in one save.
    QStringList readKeys(const QStringList &keys);
    bool writeKeys(const QList<std::pair<QString, QString>> &values);

    // Each takes a key's stored text into its global; false, with the global unchanged, when
    // the text is empty or does not convert.
    static bool takeWindowTop(const QString &text, Globals &globals);
    static bool takeWindowLeft(const QString &text, Globals &globals);
    static bool takeSkipConfirm(const QString &text, Globals &globals);
    static bool takeDblClickAction(const QString &text, Globals &globals);
    static bool takeStoredVersion(const QString &text, Globals &globals);

    // Each reads one key into its global, as the take functions take it.
    bool readWindowTop(Globals &globals);
    bool readWindowLeft(Globals &globals);
    bool readSkipConfirm(Globals &globals);
    bool readDblClickAction(Globals &globals);
    bool readStoredVersion(Globals &globals);

    // The check at start-up: fills the globals and writes the default of the first key that
    // fails to read and of every key after it (top and left always together). All keys come
    // from one reading of the store, and the defaults go in one save.
    void runCheck(Globals &globals);

    // What the main window's close stores, in one save: "Chk1", "Chk2", "top", "left".
    void saveOnQuit(const Globals &globals);

private:
    SettingsStore &m_store;
};

inline constexpr float ProgramVersionValue = 1.1f;

} // namespace kurubako
