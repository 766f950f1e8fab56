// The settings' readers over arbitrary stored text, and the start-up check over a store
// filled from the input.
//
// Input: byte 0 names the keys whose read fails and byte 1 those whose write fails (bit i
// for the i-th of top, left, Chk1, Chk2, ver); the rest is UTF-8 text whose lines are the
// stored values of those keys in that order (a key without a line is not stored).

#include "fuzzcheck.h"

#include "app/preferencesstore.h"
#include "common/memorysettingsstore.h"

#include <QStringList>

#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace kurubako;

namespace {

const QString Keys[] = {SettingKey::Top.toString(), SettingKey::Left.toString(),
                        SettingKey::SkipQuestions.toString(), SettingKey::DoubleClickAction.toString(),
                        SettingKey::Version.toString()};
constexpr int KeyCount = 5;

// Whether the text of `key` converts as the program reads that key.
bool parses(int key, const QString &text)
{
    switch (key) {
    case 0:
    case 1:
        return parseInt32(text).has_value();
    case 2:
        return parseBool(text).has_value();
    case 3:
        return parseDoubleClickAction(text).has_value();
    default:
        return parseVersion(text).has_value();
    }
}

// Each conversion gives nothing or a value that it reads back from the program's own text.
void checkParsers(const QString &text)
{
    const auto number = parseInt32(text);
    if (number) {
        FUZZ_CHECK(!text.trimmed().isEmpty());
        FUZZ_CHECK(parseInt32(QString::number(*number)) == number);
    }
    const auto action = parseDoubleClickAction(text);
    if (action) {
        FUZZ_CHECK(*action == DoubleClickAction::Move || *action == DoubleClickAction::Rename);
        FUZZ_CHECK(number && *number == qint16(*action));
    }
    const auto flag = parseBool(text);
    if (flag)
        FUZZ_CHECK(parseBool(boolText(*flag)) == flag);
    const auto version = parseVersion(text);
    if (version) {
        FUZZ_CHECK(std::isfinite(*version));
        FUZZ_CHECK(parseVersion(versionText(*version)) == version);
    }
}

// What a load gives, PostPet's folder unknown: each key that reads holds the value that its
// stored text converts to, and each other key the value of a new Preferences.
void checkLoadedValues(const MemorySettingsStore &store, const Preferences &loaded)
{
    const Preferences unread;
    const auto read = [&](int key) {
        return store.failingReads.contains(Keys[key]) ? QString() : store.value(Keys[key]);
    };
    const auto top = parseInt32(read(0));
    FUZZ_CHECK(loaded.windowTop == top.value_or(unread.windowTop));
    const auto left = parseInt32(read(1));
    FUZZ_CHECK(loaded.windowLeft == left.value_or(unread.windowLeft));
    const auto skipQuestions = parseBool(read(2));
    FUZZ_CHECK(loaded.skipQuestions == skipQuestions.value_or(unread.skipQuestions));
    const auto action = parseDoubleClickAction(read(3));
    FUZZ_CHECK(loaded.doubleClickAction == action.value_or(unread.doubleClickAction));
    const auto version = parseVersion(read(4));
    FUZZ_CHECK(loaded.storedVersion == version.value_or(unread.storedVersion));
}

// The keys that the check must write, in order: from the first key (top and left together)
// that fails to read or to be written, every key; "ver" also when it holds another version.
QStringList expectedWrites(const MemorySettingsStore &store)
{
    QStringList writes;
    bool failed = false;
    const auto readOk = [&](int key) {
        return !store.failingReads.contains(Keys[key]) && parses(key, store.value(Keys[key]));
    };
    const auto write = [&](int key) {
        if (store.failingWrites.contains(Keys[key]))
            failed = true;
        else
            writes.append(Keys[key]);
    };
    const bool topOk = readOk(0);
    const bool leftOk = readOk(1);
    if (!topOk || !leftOk)
        failed = true;
    if (failed) {
        write(0);
        write(1);
    }
    for (int key = 2; key < KeyCount; ++key) {
        if (!readOk(key))
            failed = true;
        const bool otherVersion =
            key == 4 && (!readOk(4) || *parseVersion(store.value(Keys[4])) != ProgramVersion);
        if (failed || otherVersion)
            write(key);
    }
    return writes;
}

void checkLoad(MemorySettingsStore &store)
{
    const QStringList expected = expectedWrites(store);
    const MemorySettingsStore before = store;
    const Preferences loaded = PreferencesStore(store).load();
    checkLoadedValues(before, loaded);

    QStringList written;
    for (const QString &entry : std::as_const(store.writeLog))
        written.append(entry.section(u'=', 0, 0));
    FUZZ_CHECK(written == expected);
    FUZZ_CHECK(loaded.doubleClickAction == DoubleClickAction::Move
               || loaded.doubleClickAction == DoubleClickAction::Rename);
    // Every key that could be written now holds text that the program reads back, and the
    // version is the program's own.
    for (int key = 0; key < KeyCount; ++key) {
        if (!store.failingWrites.contains(Keys[key]))
            FUZZ_CHECK(parses(key, store.value(Keys[key])));
    }
    if (!store.failingWrites.contains(Keys[4]))
        FUZZ_CHECK(parseVersion(store.value(Keys[4])) == ProgramVersion);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    MemorySettingsStore store;
    for (int key = 0; key < KeyCount; ++key) {
        if (data[0] & (1u << key))
            store.failingReads.append(Keys[key]);
        if (data[1] & (1u << key))
            store.failingWrites.append(Keys[key]);
    }
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data) + 2, qsizetype(size) - 2);
    checkParsers(text);
    const QStringList lines = text.split(u'\n');
    for (int key = 0; key < KeyCount && key < lines.size(); ++key) {
        checkParsers(lines.at(key));
        store.setValue(Keys[key], lines.at(key));
    }
    checkLoad(store);
    return 0;
}
