// The snack naming rule over arbitrary file names: how a native name is read, which set a
// name belongs to, the snack name the lists show, the forbidden characters, and the names
// that moving and renaming give a file.
//
// Input: the bytes are a native file name; read two at a time they are also a name of
// UTF-16 code units, unpaired surrogates included, as text the user might paste.

#include "fuzzcheck.h"

#include "platform/fileops.h"
#include "snacks/snackname.h"
#include "snacks/snackops.h"

#include <QStringDecoder>
#include <QUtf8StringView>

#include <cstddef>
#include <cstdint>

using namespace Qt::StringLiterals;

using namespace kurubako;

namespace {

// Records the renames asked for and performs none.
class RecordingFileOps final : public FileOps
{
public:
    bool visitFiles(const QString &, const std::function<void(QByteArrayView)> &) override { return true; }
    RenameOutcome renameFiles(const QString &, const QList<RenameRequest> &requests,
                              const RenameProgress &) override
    {
        asked += requests;
        return {requests.size(), {}};
    }
    std::optional<QString> findPlainFile(const QString &, const QString &) override { return std::nullopt; }

    QList<RenameRequest> asked;
};

// The snack name that the lists show for a file name.
QString snackNameOf(const QString &fileName)
{
    return fileName.left(snackNameLength(fileName));
}

// The rule for any text: the set by the last three characters, the snack name as all but
// the last three characters and one whole code point before them.
void checkName(const QString &name)
{
    const auto set = snackSetOf(name);
    const QString ending = name.right(3).toLower();
    if (name.size() <= 3)
        FUZZ_CHECK(!set);
    else
        FUZZ_CHECK(set
                   == (ending == u"pac"       ? std::optional(SnackSet::Today)
                           : ending == u"pa_" ? std::optional(SnackSet::Stock)
                                              : std::nullopt));

    const QString snack = snackNameOf(name);
    FUZZ_CHECK(name.startsWith(snack));
    if (name.size() <= 4) {
        FUZZ_CHECK(snack.isEmpty());
    } else {
        const qsizetype cut = name.size() - snack.size();
        FUZZ_CHECK(cut == 4 || cut == 5);
        // Five only for a surrogate pair standing before the last three characters.
        FUZZ_CHECK(
            (cut == 5)
            == (name.at(name.size() - 4).isLowSurrogate() && name.at(name.size() - 5).isHighSurrogate()));
    }

    const auto forbidden = firstForbiddenChar(name);
    qsizetype first = -1;
    for (qsizetype i = 0; i < name.size() && first < 0; ++i) {
        if (ForbiddenNameChars.contains(name.at(i)))
            first = i;
    }
    FUZZ_CHECK(forbidden.has_value() == (first >= 0));
    if (forbidden)
        FUZZ_CHECK(*forbidden == name.at(first));
}

// A native name is read as UTF-8 whenever it is UTF-8, all of it (a byte order mark at the
// start too).
void checkDisplay(const QByteArray &native)
{
    const QString shown = displayName(native);
    if (QUtf8StringView(native).isValidUtf8()) {
        QStringDecoder utf8(QStringConverter::Utf8,
                            QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        const QString all = utf8.decode(native);
        FUZZ_CHECK(shown == all);
    }
    FUZZ_CHECK(native.isEmpty() == shown.isEmpty());
    checkName(shown);
}

// Moving a file keeps its bytes before the dot and shows the same snack name in the other
// list.
void checkMove(const QByteArray &stem)
{
    RecordingFileOps files;
    const QByteArray stock = stem + ".pa_";
    const Snack snack{snackNameOf(displayName(stock)), stock};
    FUZZ_CHECK(snackSetOf(displayName(stock)) == SnackSet::Stock);
    moveSnacks(files, u"/nowhere"_s, {snack}, SnackSet::Stock);
    FUZZ_CHECK(files.asked.size() == 1);
    const RenameRequest &request = files.asked.constFirst();
    FUZZ_CHECK(request.from == stock);
    FUZZ_CHECK(request.to == stem + ".pac");
    FUZZ_CHECK(snackSetOf(displayName(request.to)) == SnackSet::Today);
    FUZZ_CHECK(snackNameOf(displayName(request.to)) == snack.name);
}

// A typed name either is refused (half a surrogate pair, a control character) or becomes a
// file that the list shows under exactly that name, in the same set.
void checkRename(const QString &typed)
{
    RecordingFileOps files;
    const Snack snack{u"a"_s, "a.pac"};
    const FileError error = renameSnack(files, u"/nowhere"_s, snack, SnackSet::Today, typed);
    if (error.failed()) {
        FUZZ_CHECK(files.asked.isEmpty());
        FUZZ_CHECK(!typed.isValidUtf16() || hasControlChar(typed));
        return;
    }
    FUZZ_CHECK(typed.isValidUtf16() && !hasControlChar(typed));
    FUZZ_CHECK(files.asked.size() == 1);
    const QString shown = displayName(files.asked.constFirst().to);
    FUZZ_CHECK(snackSetOf(shown) == SnackSet::Today);
    FUZZ_CHECK(snackNameOf(shown) == typed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray native(reinterpret_cast<const char *>(data), qsizetype(size));
    checkDisplay(native);
    checkMove(native);

    QString units(qsizetype(size / 2), Qt::Uninitialized);
    for (qsizetype i = 0; i < units.size(); ++i)
        units[i] = QChar(char16_t(data[2 * i] | (data[2 * i + 1] << 8)));
    checkName(units);
    checkRename(units);
    return 0;
}
