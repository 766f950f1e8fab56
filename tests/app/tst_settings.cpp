#include "app/settings.h"
#include "app/startup.h"
#include "platform/memorysettingsstore.h"

#include <QLocale>
#include <QTest>

using namespace kurubako;

namespace {

const QStringList CheckedKeys{u"top"_qs, u"left"_qs, u"Chk1"_qs, u"Chk2"_qs, u"ver"_qs};

// Globals as they were before the check, different from every stored value and every default.
Globals previousGlobals()
{
    Globals globals;
    globals.WindowTop = 11;
    globals.WindowLeft = 22;
    globals.SkipConfirm = true;
    globals.DblClickAction = 1;
    globals.StoredVersion = 0.5f;
    return globals;
}

QString globalText(const Globals &globals, const QString &key)
{
    if (key == u"top")
        return QString::number(globals.WindowTop);
    if (key == u"left")
        return QString::number(globals.WindowLeft);
    if (key == u"Chk1")
        return globals.SkipConfirm ? u"true"_qs : u"false"_qs;
    if (key == u"Chk2")
        return QString::number(globals.DblClickAction);
    return QString::number(double(globals.StoredVersion));
}

QString defaultOf(const QString &key)
{
    return key == u"Chk1" ? u"False"_qs : key == u"ver" ? u"1.1"_qs : u"0"_qs;
}

QStringList defaultWrites(const QStringList &keys)
{
    QStringList writes;
    for (const QString &key : keys)
        writes.append(key + u'=' + defaultOf(key));
    return writes;
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void emptyStore();
    void damagedKey_data();
    void damagedKey();
    void accepted_data();
    void accepted();
    void failingWriteDoesNotStopTheCheck();
    void startup_data();
    void startup();
    void saveOnQuit();
};

void TestSettings::emptyStore()
{
    MemorySettingsStore store;
    Globals globals = previousGlobals();
    Settings(store).runCheck(globals);
    QCOMPARE(store.writeLog, defaultWrites(CheckedKeys));
    QVERIFY(!store.contains(u"postpet_dir"_qs));
    QCOMPARE(globals.ProgramVersion, 1.1f);
    QCOMPARE(globals.WindowTop, 11);
    QCOMPARE(globals.StoredVersion, 0.5f);
}

void TestSettings::damagedKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("rewritten");
    QTest::addColumn<QString>("global"); // the key's global after the check

    const QStringList all = CheckedKeys;
    QTest::newRow("top empty") << u"top"_qs << QString() << all << u"11"_qs;
    QTest::newRow("top text") << u"top"_qs << u"abc"_qs << all << u"11"_qs;
    QTest::newRow("top fraction") << u"top"_qs << u"12.5"_qs << all << u"11"_qs;
    QTest::newRow("top beyond 32 bits") << u"top"_qs << u"2147483648"_qs << all << u"11"_qs;
    QTest::newRow("left text rewrites top too") << u"left"_qs << u"x"_qs << all << u"22"_qs;
    QTest::newRow("Chk1 word") << u"Chk1"_qs << u"maybe"_qs << all.mid(2) << u"true"_qs;
    QTest::newRow("Chk1 empty") << u"Chk1"_qs << QString() << all.mid(2) << u"true"_qs;
    QTest::newRow("Chk2 2") << u"Chk2"_qs << u"2"_qs << all.mid(3) << u"1"_qs;
    QTest::newRow("Chk2 -1") << u"Chk2"_qs << u"-1"_qs << all.mid(3) << u"1"_qs;
    QTest::newRow("Chk2 True") << u"Chk2"_qs << u"True"_qs << all.mid(3) << u"1"_qs;
    QTest::newRow("ver text") << u"ver"_qs << u"abc"_qs << all.mid(4) << u"0.5"_qs;
    QTest::newRow("ver empty") << u"ver"_qs << QString() << all.mid(4) << u"0.5"_qs;
    QTest::newRow("ver 1.0 of an older program") << u"ver"_qs << u"1.0"_qs << all.mid(4) << u"1"_qs;
}

void TestSettings::damagedKey()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QStringList, rewritten);
    QFETCH(QString, global);

    const QStringList stored{u"100"_qs, u"200"_qs, u"False"_qs, u"0"_qs, u"1.1"_qs};
    MemorySettingsStore store;
    for (qsizetype i = 0; i < CheckedKeys.size(); ++i)
        store.setValue(CheckedKeys.at(i), CheckedKeys.at(i) == key ? text : stored.at(i));
    Globals globals = previousGlobals();
    Settings(store).runCheck(globals);

    QCOMPARE(store.writeLog, defaultWrites(rewritten));
    const QStringList readings{u"100"_qs, u"200"_qs, u"false"_qs, u"0"_qs, u"1.1"_qs};
    for (qsizetype i = 0; i < CheckedKeys.size(); ++i) {
        const QString &k = CheckedKeys.at(i);
        QCOMPARE(globalText(globals, k), k == key ? global : readings.at(i));
        if (!rewritten.contains(k))
            QCOMPARE(store.value(k), k == key ? text : stored.at(i));
    }
}

void TestSettings::accepted_data()
{
    QTest::addColumn<QLocale::Language>("language");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("global");

    const QLocale::Language c = QLocale::C;
    QTest::newRow("top with spaces") << c << u"top"_qs << u" 100 "_qs << u"100"_qs;
    QTest::newRow("top with plus") << c << u"top"_qs << u"+5"_qs << u"5"_qs;
    QTest::newRow("left negative") << c << u"left"_qs << u"-300"_qs << u"-300"_qs;
    QTest::newRow("Chk1 true") << c << u"Chk1"_qs << u"true"_qs << u"true"_qs;
    QTest::newRow("Chk1 FALSE") << c << u"Chk1"_qs << u"FALSE"_qs << u"false"_qs;
    QTest::newRow("Chk1 spaced True") << c << u"Chk1"_qs << u" True "_qs << u"true"_qs;
    QTest::newRow("Chk1 1") << c << u"Chk1"_qs << u"1"_qs << u"true"_qs;
    QTest::newRow("Chk1 0") << c << u"Chk1"_qs << u"0"_qs << u"false"_qs;
    QTest::newRow("Chk1 -2") << c << u"Chk1"_qs << u"-2"_qs << u"true"_qs;
    QTest::newRow("Chk2 1") << c << u"Chk2"_qs << u"1"_qs << u"1"_qs;
    QTest::newRow("Chk2 +1 spaced") << c << u"Chk2"_qs << u" +1 "_qs << u"1"_qs;
    QTest::newRow("ver 1.10") << c << u"ver"_qs << u"1.10"_qs << u"1.1"_qs;
    QTest::newRow("ver German 1.1") << QLocale::German << u"ver"_qs << u"1.1"_qs << u"1.1"_qs;
    QTest::newRow("ver German 1,1") << QLocale::German << u"ver"_qs << u"1,1"_qs << u"1.1"_qs;
    QTest::newRow("ver Japanese 1.1") << QLocale::Japanese << u"ver"_qs << u"1.1"_qs << u"1.1"_qs;
}

void TestSettings::accepted()
{
    QFETCH(QLocale::Language, language);
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QString, global);

    QLocale::setDefault(QLocale(language));
    MemorySettingsStore store;
    for (const QString &k : CheckedKeys)
        store.setValue(k, k == key ? text : defaultOf(k));
    Globals globals = previousGlobals();
    Settings(store).runCheck(globals);
    QCOMPARE(store.writeLog, QStringList());
    QCOMPARE(globalText(globals, key), global);
}

void TestSettings::failingWriteDoesNotStopTheCheck()
{
    MemorySettingsStore store;
    store.setValue(u"top"_qs, u"x"_qs);
    store.failingWrites = QStringList{u"top"_qs};
    Globals globals = previousGlobals();
    Settings(store).runCheck(globals);
    QCOMPARE(store.writeLog, defaultWrites(CheckedKeys.mid(1)));
    QCOMPARE(store.value(u"top"_qs), u"x"_qs);
}

void TestSettings::startup_data()
{
    QTest::addColumn<QString>("postPetDir"); // null: the key is absent
    QTest::addColumn<bool>("mainWindow");
    QTest::addColumn<QStringList>("globals"); // top, left, Chk1, Chk2, ver

    const QStringList unread{u"11"_qs, u"22"_qs, u"true"_qs, u"1"_qs, u"0.5"_qs};
    QTest::newRow("no folder key") << QString() << false << unread;
    QTest::newRow("empty folder") << u""_qs << false << unread;
    // Chk2 is not read again, so it keeps its previous value.
    QTest::newRow("folder") << u"/home/u/PostPet"_qs << true
                            << QStringList{u"0"_qs, u"0"_qs, u"false"_qs, u"1"_qs, u"1.1"_qs};
}

void TestSettings::startup()
{
    QFETCH(QString, postPetDir);
    QFETCH(bool, mainWindow);
    QFETCH(QStringList, globals);

    MemorySettingsStore store;
    const QStringList damaged{u"x"_qs, u"y"_qs, u"maybe"_qs, u"7"_qs, u"zz"_qs};
    for (qsizetype i = 0; i < CheckedKeys.size(); ++i)
        store.setValue(CheckedKeys.at(i), damaged.at(i));
    if (!postPetDir.isNull())
        store.setValue(u"postpet_dir"_qs, postPetDir);

    Globals g = previousGlobals();
    const FirstWindow first = prepareStartup(store, g);
    QCOMPARE(first, mainWindow ? FirstWindow::MainWindow : FirstWindow::FolderChooser);
    QCOMPARE(g.PostPetDir, postPetDir);
    if (mainWindow)
        QCOMPARE(g.SnackDir, postPetDir + u"/おやつ"_qs);
    QStringList actual;
    for (const QString &key : CheckedKeys)
        actual.append(globalText(g, key));
    QCOMPARE(actual, globals);
}

void TestSettings::saveOnQuit()
{
    MemorySettingsStore store;
    Globals globals;
    globals.SkipConfirm = true;
    globals.DblClickAction = 1;
    globals.WindowTop = -120;
    globals.WindowLeft = 3000;
    Settings(store).saveOnQuit(globals);
    QCOMPARE(store.writeLog, (QStringList{u"Chk1=True"_qs, u"Chk2=1"_qs, u"top=-120"_qs, u"left=3000"_qs}));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
