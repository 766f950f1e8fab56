#include "common/testfolder.h"
#include "platform/fileops_win.h"
#include "postpet/launch.h"
#include "snacks/snackops.h"
#include "snacks/snackscan.h"

#include <QCollator>
#include <QDir>
#include <QTest>

#include <algorithm>

#include <windows.h>

using namespace Qt::StringLiterals;

using namespace kurubako;

namespace {

using Names = QByteArrayList;

// Makes the entries as testfolder::make() does, "name!h" a hidden file, "name!s" a system
// file and "name!r" a read-only one.
bool make(const QString &dir, const Names &entries)
{
    for (const QByteArray &entry : entries) {
        const QByteArray name = entry.split('!').constFirst();
        if (!testfolder::make(dir, {name}))
            return false;
        if (!entry.contains('!'))
            continue;
        const DWORD attribute = entry.endsWith('h') ? FILE_ATTRIBUTE_HIDDEN
            : entry.endsWith('s')                   ? FILE_ATTRIBUTE_SYSTEM
                                                    : FILE_ATTRIBUTE_READONLY;
        const QString path = QDir::toNativeSeparators(QDir(dir).filePath(QString::fromUtf8(name)));
        if (!SetFileAttributesW(path.toStdWString().c_str(), attribute))
            return false;
    }
    return true;
}

QStringList names(const QList<Snack> &snacks)
{
    QStringList out;
    for (const Snack &snack : snacks)
        out.append(snack.name);
    return out;
}

} // namespace

// The snack folder and PostPet's executable on Windows' own file system.
class TestWinFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scan_data();
    void scan();
    void listOrder();
    void renameFiles_data();
    void renameFiles();
    void renameSnack_data();
    void renameSnack();
    void moveSnacks();
    void fileInUse();
    void postPetStartsDirectly_data();
    void postPetStartsDirectly();
};

void TestWinFiles::scan_data()
{
    QTest::addColumn<Names>("files");
    QTest::addColumn<QStringList>("today");
    QTest::addColumn<QStringList>("stock");

    QTest::newRow("hidden, system and folders left out, read-only kept")
        << Names{"a.pac", "h.pac!h", "s.pa_!s", "y.pac/", "r.pa_!r"} << QStringList{u"a"_s}
        << QStringList{u"r"_s};
    QTest::newRow("Japanese names, any letter case")
        << Names{"羊羹.PAC", "おかし.Pa_", "B.pac"} << QStringList{u"B"_s, u"羊羹"_s}
        << QStringList{u"おかし"_s};
}

void TestWinFiles::scan()
{
    QFETCH(Names, files);
    QFETCH(QStringList, today);
    QFETCH(QStringList, stock);

    testfolder::TempFolder dir;
    QVERIFY(make(dir.path(), files));
    WinFileOps ops;
    SnackLists lists = scanSnackFolder(ops, QDir::toNativeSeparators(dir.path()));
    QCOMPARE(names(lists.today), today);
    QCOMPARE(names(lists.stock), stock);

    lists = scanSnackFolder(ops, QDir::toNativeSeparators(dir.path()) + u"\\missing"_s);
    QVERIFY(lists.today.isEmpty() && lists.stock.isEmpty());
}

// The lists keep the order of the user's collation, as comparing each pair of names gives it.
void TestWinFiles::listOrder()
{
    QList<Snack> snacks;
    for (const QString &name :
         {u"ケーキ"_s, u"z"_s, u"あめ"_s, u"B"_s, u"羊羹"_s, u"a"_s, u"Ａ"_s, u"1"_s, u"ｂ"_s})
        snacks.append({name, name.toUtf8() + ".pac"});
    QList<Snack> expected = snacks;
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(expected.begin(), expected.end(), [&](const Snack &a, const Snack &b) {
        if (const int byCollation = collator.compare(a.name, b.name))
            return byCollation < 0;
        return QString::compare(a.name, b.name, Qt::CaseSensitive) < 0;
    });
    sortSnacks(snacks);
    QCOMPARE(names(snacks), names(expected));
}

void TestWinFiles::renameFiles_data()
{
    QTest::addColumn<Names>("files");
    QTest::addColumn<Names>("renames"); // "old>new"
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("completed");
    QTest::addColumn<Names>("after"); // empty: unchanged

    QTest::newRow("target exists in other case")
        << Names{"x.pac", "A.PAC"} << Names{"x.pac>a.pac"} << 58 << 0 << Names{};
    QTest::newRow("own extension, letter case only")
        << Names{"a.PAC"} << Names{"a.PAC>a.pac"} << 0 << 1 << Names{"a.pac<a.PAC"};
    QTest::newRow("missing source") << Names{"a.pac"} << Names{"z.pac>y.pac"} << 53 << 0 << Names{};
    QTest::newRow("source only in another case")
        << Names{"a.PAC"} << Names{"a.pac>b.pac"} << 53 << 0 << Names{};
    QTest::newRow("hidden source") << Names{"h.pac!h"} << Names{"h.pac>h.pa_"} << 53 << 0 << Names{"h.pac"};
    QTest::newRow("batch stops at a clash")
        << Names{"a.pa_", "b.pa_", "B.pac"} << Names{"a.pa_>a.pac", "b.pa_>b.pac"} << 58 << 1
        << Names{"a.pac<a.pa_", "b.pa_", "B.pac"};
    QTest::newRow("device name") << Names{"a.pac"} << Names{"a.pac>Con.pac"} << 52 << 0 << Names{};
    QTest::newRow("device name, trailing space")
        << Names{"a.pac"} << Names{"a.pac>com1 .pac"} << 52 << 0 << Names{};
}

void TestWinFiles::renameFiles()
{
    QFETCH(Names, files);
    QFETCH(Names, renames);
    QFETCH(int, error);
    QFETCH(int, completed);
    QFETCH(Names, after);

    testfolder::TempFolder dir;
    QVERIFY(make(dir.path(), files));
    QList<RenameRequest> requests;
    for (const QByteArray &pair : renames)
        requests.append({pair.split('>').at(0), pair.split('>').at(1)});
    const RenameOutcome outcome = WinFileOps().renameFiles(dir.path(), requests);
    QCOMPARE(outcome.error.number(), error);
    QCOMPARE(outcome.completed, completed);
    QCOMPARE(testfolder::snapshot(dir.path()), testfolder::expected(after.isEmpty() ? files : after));
}

void TestWinFiles::renameSnack_data()
{
    QTest::addColumn<Names>("files");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<int>("error");
    QTest::addColumn<Names>("after");

    QTest::newRow("same name: the extension in lower case")
        << Names{"a.PAC"} << u"a"_s << 0 << Names{"a.pac<a.PAC"};
    QTest::newRow("letter case of the name") << Names{"a.pac"} << u"A"_s << 0 << Names{"A.pac<a.pac"};
    QTest::newRow("taken in other case")
        << Names{"a.pac", "B.PAC"} << u"b"_s << 58 << Names{"a.pac", "B.PAC"};
    QTest::newRow("Japanese") << Names{"羊羹.pac"} << u"おかし　２"_s << 0
                              << Names{"おかし　２.pac<羊羹.pac"};
}

// The first of today's snacks gets a new name.
void TestWinFiles::renameSnack()
{
    QFETCH(Names, files);
    QFETCH(QString, newName);
    QFETCH(int, error);
    QFETCH(Names, after);

    testfolder::TempFolder dir;
    QVERIFY(make(dir.path(), files));
    WinFileOps ops;
    const QString snackDir = QDir::toNativeSeparators(dir.path());
    const Snack snack = scanSnackFolder(ops, snackDir).today.first();
    QCOMPARE(kurubako::renameSnack(ops, snackDir, snack, SnackSet::Today, newName).number(), error);
    QCOMPARE(testfolder::snapshot(dir.path()), testfolder::expected(after));
}

void TestWinFiles::moveSnacks()
{
    testfolder::TempFolder dir;
    QVERIFY(make(dir.path(), {"B.PA_", "c.pa_"}));
    WinFileOps ops;
    const QString snackDir = QDir::toNativeSeparators(dir.path());
    const RenameOutcome outcome =
        kurubako::moveSnacks(ops, snackDir, scanSnackFolder(ops, snackDir).stock, SnackSet::Stock);
    QCOMPARE(outcome.error.number(), 0);
    QCOMPARE(testfolder::snapshot(dir.path()), testfolder::expected({"B.pac<B.PA_", "c.pac<c.pa_"}));
}

// A file that another program holds open, without letting others rename it, stays as it is.
void TestWinFiles::fileInUse()
{
    testfolder::TempFolder dir;
    QVERIFY(make(dir.path(), {"a.pac"}));
    const std::wstring path = QDir::toNativeSeparators(dir.path() + u"/a.pac"_s).toStdWString();
    const HANDLE held =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    QVERIFY(held != INVALID_HANDLE_VALUE);
    const RenameOutcome outcome = WinFileOps().renameFiles(dir.path(), {{"a.pac", "a.pa_"}});
    CloseHandle(held);
    QCOMPARE(outcome.error.number(), 70);
    QCOMPARE(outcome.error.description, u"ほかのプログラムがこのファイルを使っています。"_s);
    QCOMPARE(testfolder::snapshot(dir.path()), testfolder::expected({"a.pac"}));
}

void TestWinFiles::postPetStartsDirectly_data()
{
    QTest::addColumn<QByteArray>("file"); // "name!h" hidden, "name/" a folder
    QTest::addColumn<bool>("found");

    QTest::newRow("any letter case") << QByteArray("POSTPET20.EXE") << true;
    QTest::newRow("hidden") << QByteArray("PostPet20.exe!h") << false;
    QTest::newRow("a folder of that name") << QByteArray("PostPet20.exe/") << false;
}

// Windows starts PostPet's executable itself, with no arguments, under the file's own name.
void TestWinFiles::postPetStartsDirectly()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, found);

    testfolder::TempFolder dir;
    QVERIFY(make(dir.path(), {file}));
    WinFileOps ops;
    const QString postPetDir = QDir::toNativeSeparators(dir.path());
    const LaunchCommand command = postPetLaunchCommand(ops, postPetDir, QString());
    QCOMPARE(command.problem, found ? LaunchProblem::None : LaunchProblem::NoExecutable);
    if (found) {
        QCOMPARE(command.program, postPetDir + u"\\"_s + QString::fromUtf8(file));
        QVERIFY(command.arguments.isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestWinFiles)
#include "tst_winfiles.moc"
