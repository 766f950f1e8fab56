#include "platform/fileops_win.h"
#include "postpet/launch.h"
#include "snacks/snackops.h"
#include "snacks/snackscan.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <windows.h>

using namespace Qt::StringLiterals;

using namespace kurubako;

namespace {

QString contentsFor(const QString &name)
{
    return u"contents of "_s + name;
}

// Makes each entry: "name" a file holding contentsFor(name), "name/" a folder, "name!h" a
// hidden file, "name!s" a system file, "name!r" a read-only file.
bool make(const QString &dir, const QStringList &entries)
{
    for (const QString &entry : entries) {
        if (entry.endsWith(u'/')) {
            if (!QDir(dir).mkdir(entry.chopped(1)))
                return false;
            continue;
        }
        const QString name = entry.section(u'!', 0, 0);
        QFile file(QDir(dir).filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(contentsFor(name).toUtf8()) < 0)
            return false;
        file.close();
        const QString flag = entry.section(u'!', 1);
        const DWORD attribute = flag == u"h" ? FILE_ATTRIBUTE_HIDDEN
            : flag == u"s"                   ? FILE_ATTRIBUTE_SYSTEM
            : flag == u"r"                   ? FILE_ATTRIBUTE_READONLY
                                             : 0;
        if (attribute
            && !SetFileAttributesW(
                QDir::toNativeSeparators(file.fileName()).toStdWString().c_str(), attribute))
            return false;
    }
    return true;
}

// Every file of a folder, hidden and system ones too, as sorted lines "name = contents",
// each name in the letter case the folder keeps.
QStringList snapshot(const QString &dir)
{
    QStringList lines;
    const QDir folder(dir);
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        QFile file(folder.filePath(name));
        lines.append(
            name + u" = "_s + (file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : u"?"_s));
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

// The snapshot after renames: each entry is "name" (kept) or "new<old" (the file "old" now
// named "new").
QStringList expected(const QStringList &entries)
{
    QStringList lines;
    for (const QString &entry : entries) {
        const QString name = entry.section(u'<', 0, 0);
        const QString origin = entry.contains(u'<') ? entry.section(u'<', 1) : name;
        lines.append(name + u" = "_s + contentsFor(origin));
    }
    std::sort(lines.begin(), lines.end());
    return lines;
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
    void postPetStartsDirectly_data();
    void postPetStartsDirectly();
};

void TestWinFiles::scan_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("today");
    QTest::addColumn<QStringList>("stock");

    QTest::newRow("hidden, system and folders left out, read-only kept")
        << QStringList{u"a.pac"_s, u"h.pac!h"_s, u"s.pa_!s"_s, u"y.pac/"_s, u"r.pa_!r"_s}
        << QStringList{u"a"_s} << QStringList{u"r"_s};
    QTest::newRow("Japanese names, any letter case") << QStringList{u"羊羹.PAC"_s, u"おかし.Pa_"_s,
        u"B.pac"_s} << QStringList{u"B"_s, u"羊羹"_s} << QStringList{u"おかし"_s};
}

void TestWinFiles::scan()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, today);
    QFETCH(QStringList, stock);

    QTemporaryDir dir;
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
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("renames"); // "old>new"
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("completed");
    QTest::addColumn<QStringList>("after"); // empty: unchanged

    using L = QStringList;
    QTest::newRow("target exists in other case")
        << L{u"x.pac"_s, u"A.PAC"_s} << L{u"x.pac>a.pac"_s} << 58 << 0 << L{};
    QTest::newRow("own extension, letter case only")
        << L{u"a.PAC"_s} << L{u"a.PAC>a.pac"_s} << 0 << 1 << L{u"a.pac<a.PAC"_s};
    QTest::newRow("missing source") << L{u"a.pac"_s} << L{u"z.pac>y.pac"_s} << 53 << 0 << L{};
    QTest::newRow("source only in another case") << L{u"a.PAC"_s} << L{u"a.pac>b.pac"_s} << 53 << 0 << L{};
    QTest::newRow("hidden source") << L{u"h.pac!h"_s} << L{u"h.pac>h.pa_"_s} << 53 << 0 << L{u"h.pac"_s};
    QTest::newRow("batch stops at a clash")
        << L{u"a.pa_"_s, u"b.pa_"_s, u"B.pac"_s} << L{u"a.pa_>a.pac"_s, u"b.pa_>b.pac"_s} << 58 << 1
        << L{u"a.pac<a.pa_"_s, u"b.pa_"_s, u"B.pac"_s};
    QTest::newRow("device name") << L{u"a.pac"_s} << L{u"a.pac>Con.pac"_s} << 52 << 0 << L{};
    QTest::newRow("device name, trailing space")
        << L{u"a.pac"_s} << L{u"a.pac>com1 .pac"_s} << 52 << 0 << L{};
}

void TestWinFiles::renameFiles()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, renames);
    QFETCH(int, error);
    QFETCH(int, completed);
    QFETCH(QStringList, after);

    QTemporaryDir dir;
    QVERIFY(make(dir.path(), files));
    QList<RenameRequest> requests;
    for (const QString &pair : renames)
        requests.append({pair.section(u'>', 0, 0).toUtf8(), pair.section(u'>', 1).toUtf8()});
    const RenameOutcome outcome = WinFileOps().renameFiles(dir.path(), requests);
    QCOMPARE(outcome.error.number, error);
    QCOMPARE(outcome.completed, completed);
    QCOMPARE(snapshot(dir.path()), expected(after.isEmpty() ? files : after));
}

void TestWinFiles::renameSnack_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<int>("error");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("same name: the extension in lower case")
        << QStringList{u"a.PAC"_s} << u"a"_s << 0 << QStringList{u"a.pac<a.PAC"_s};
    QTest::newRow("letter case of the name")
        << QStringList{u"a.pac"_s} << u"A"_s << 0 << QStringList{u"A.pac<a.pac"_s};
    QTest::newRow("taken in other case")
        << QStringList{u"a.pac"_s, u"B.PAC"_s} << u"b"_s << 58 << QStringList{u"a.pac"_s, u"B.PAC"_s};
    QTest::newRow("Japanese") << QStringList{u"羊羹.pac"_s} << u"おかし　２"_s << 0
                              << QStringList{u"おかし　２.pac<羊羹.pac"_s};
}

// The first of today's snacks gets a new name.
void TestWinFiles::renameSnack()
{
    QFETCH(QStringList, files);
    QFETCH(QString, newName);
    QFETCH(int, error);
    QFETCH(QStringList, after);

    QTemporaryDir dir;
    QVERIFY(make(dir.path(), files));
    WinFileOps ops;
    const QString snackDir = QDir::toNativeSeparators(dir.path());
    const Snack snack = scanSnackFolder(ops, snackDir).today.first();
    QCOMPARE(kurubako::renameSnack(ops, snackDir, snack, SnackSet::Today, newName).number, error);
    QCOMPARE(snapshot(dir.path()), expected(after));
}

void TestWinFiles::moveSnacks()
{
    QTemporaryDir dir;
    QVERIFY(make(dir.path(), {u"B.PA_"_s, u"c.pa_"_s}));
    WinFileOps ops;
    const QString snackDir = QDir::toNativeSeparators(dir.path());
    const RenameOutcome outcome
        = kurubako::moveSnacks(ops, snackDir, scanSnackFolder(ops, snackDir).stock, SnackSet::Stock);
    QCOMPARE(outcome.error.number, 0);
    QCOMPARE(snapshot(dir.path()), expected({u"B.pac<B.PA_"_s, u"c.pac<c.pa_"_s}));
}

void TestWinFiles::postPetStartsDirectly_data()
{
    QTest::addColumn<QString>("file"); // "name!h" hidden, "name/" a folder
    QTest::addColumn<bool>("found");

    QTest::newRow("any letter case") << u"POSTPET20.EXE"_s << true;
    QTest::newRow("hidden") << u"PostPet20.exe!h"_s << false;
    QTest::newRow("a folder of that name") << u"PostPet20.exe/"_s << false;
}

// Windows starts PostPet's executable itself, with no arguments.
void TestWinFiles::postPetStartsDirectly()
{
    QFETCH(QString, file);
    QFETCH(bool, found);

    QTemporaryDir dir;
    QVERIFY(make(dir.path(), {file}));
    WinFileOps ops;
    const QString postPetDir = QDir::toNativeSeparators(dir.path());
    const auto command = postPetLaunchCommand(ops, postPetDir, QString());
    QCOMPARE(command.has_value(), found);
    if (command) {
        QCOMPARE(command->program.toLower(), (postPetDir + u"\\postpet20.exe"_s).toLower());
        QVERIFY(command->arguments.isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestWinFiles)
#include "tst_winfiles.moc"
