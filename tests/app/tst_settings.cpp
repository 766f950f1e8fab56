#include "app/settings.h"
#include "app/startup.h"
#include "common/memorysettingsstore.h"

#include <QDir>
#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace kurubako;

namespace {

const QStringList Keys{u"top"_s, u"left"_s, u"Chk1"_s, u"Chk2"_s, u"ver"_s};
const QStringList Defaults{u"0"_s, u"0"_s, u"False"_s, u"0"_s, u"1.1"_s};
const QStringList Good{u"100"_s, u"200"_s, u"False"_s, u"0"_s, u"1.1"_s};
const QStringList GoodRead{u"100"_s, u"200"_s, u"false"_s, u"0"_s, u"1.1"_s};
const QStringList Previous{u"11"_s, u"22"_s, u"true"_s, u"1"_s, u"0.5"_s};

// The globals before the check, unlike every stored value and every default.
Globals previous()
{
    Globals g;
    g.windowTop = 11;
    g.windowLeft = 22;
    g.skipConfirm = true;
    g.doubleClickAction = kurubako::DoubleClickAction::Rename;
    g.storedVersion = 0.5f;
    return g;
}

// The five checked globals as text, in the order of Keys.
QStringList texts(const Globals &g)
{
    return {QString::number(g.windowTop), QString::number(g.windowLeft), g.skipConfirm ? u"true"_s : u"false"_s,
            QString::number(qint16(g.doubleClickAction)), QString::number(double(g.storedVersion))};
}

QStringList with(QStringList list, qsizetype i, const QString &text)
{
    list[i] = text;
    return list;
}

// A store holding `values` under Keys (a null value: no key), checked from previous().
struct Checked
{
    explicit Checked(const QStringList &values)
    {
        for (qsizetype i = 0; i < Keys.size(); ++i) {
            if (!values.at(i).isNull())
                store.setValue(Keys.at(i), values.at(i));
        }
    }
    void check() { Settings(store).runCheck(globals); }
    MemorySettingsStore store;
    Globals globals = previous();
};

QStringList defaultWrites(qsizetype from)
{
    QStringList writes;
    for (qsizetype i = from; i < Keys.size(); ++i)
        writes.append(Keys.at(i) + u'=' + Defaults.at(i));
    return writes;
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void damaged_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<qsizetype>("firstRewritten");
        QTest::addColumn<QStringList>("globals");

        QTest::newRow("empty store") << QStringList(5, QString()) << qsizetype(0) << Previous;
        QTest::newRow("top empty") << with(Good, 0, u""_s) << qsizetype(0) << with(GoodRead, 0, u"11"_s);
        QTest::newRow("top fraction") << with(Good, 0, u"12.5"_s) << qsizetype(0) << with(GoodRead, 0, u"11"_s);
        QTest::newRow("left, top too") << with(Good, 1, u"x"_s) << qsizetype(0) << with(GoodRead, 1, u"22"_s);
        QTest::newRow("Chk1") << with(Good, 2, u"maybe"_s) << qsizetype(2) << with(GoodRead, 2, u"true"_s);
        QTest::newRow("Chk2 2") << with(Good, 3, u"2"_s) << qsizetype(3) << with(GoodRead, 3, u"1"_s);
        QTest::newRow("Chk2 -1") << with(Good, 3, u"-1"_s) << qsizetype(3) << with(GoodRead, 3, u"1"_s);
        QTest::newRow("ver") << with(Good, 4, u"abc"_s) << qsizetype(4) << with(GoodRead, 4, u"0.5"_s);
        QTest::newRow("ver 1.0, alone") << with(Good, 4, u"1.0"_s) << qsizetype(4) << with(GoodRead, 4, u"1"_s);
    }
    // The first damaged key and every key after it get their defaults; a failed read
    // leaves its global as it was.
    void damaged()
    {
        QFETCH(QStringList, stored);
        QFETCH(qsizetype, firstRewritten);
        QFETCH(QStringList, globals);

        Checked run(stored);
        run.check();
        QCOMPARE(run.store.writeLog, defaultWrites(firstRewritten));
        QCOMPARE(run.store.readings, 1);
        QCOMPARE(run.store.saves, 1);
        QCOMPARE(texts(run.globals), globals);
        QCOMPARE(run.globals.programVersion, 1.1f);
        for (qsizetype i = 0; i < firstRewritten; ++i)
            QCOMPARE(run.store.value(Keys.at(i)), stored.at(i));
        QVERIFY(!run.store.contains(u"postpet_dir"_s));
    }

    void accepted_data()
    {
        QTest::addColumn<QLocale::Language>("language");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("global");

        const QLocale::Language c = QLocale::C;
        QTest::newRow("top spaced") << c << 0 << u" 100 "_s << u"100"_s;
        QTest::newRow("left plus") << c << 1 << u"+5"_s << u"5"_s;
        QTest::newRow("Chk1 tRUE") << c << 2 << u"tRUE"_s << u"true"_s;
        QTest::newRow("Chk1 1") << c << 2 << u"1"_s << u"true"_s;
        QTest::newRow("Chk1 0") << c << 2 << u"0"_s << u"false"_s;
        QTest::newRow("Chk2 1") << c << 3 << u" +1"_s << u"1"_s;
        QTest::newRow("ver 1.10") << c << 4 << u"1.10"_s << u"1.1"_s;
        QTest::newRow("ver 1.1, German") << QLocale::German << 4 << u"1.1"_s << u"1.1"_s;
        QTest::newRow("ver 1,1, German") << QLocale::German << 4 << u"1,1"_s << u"1.1"_s;
    }
    void accepted()
    {
        QFETCH(QLocale::Language, language);
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(QString, global);

        QLocale::setDefault(QLocale(language));
        Checked run(with(Defaults, key, text));
        run.check();
        QCOMPARE(run.store.writeLog, QStringList());
        QCOMPARE(run.store.saves, 0);
        QCOMPARE(texts(run.globals).at(key), global);
    }

    void failingWrite()
    {
        Checked run(with(Defaults, 0, u"x"_s));
        run.store.failingWrites = QStringList{u"top"_s};
        run.check();
        QCOMPARE(run.store.writeLog, defaultWrites(1));
        QCOMPARE(run.store.value(u"top"_s), u"x"_s);
    }

    void startup_data()
    {
        QTest::addColumn<QString>("postPetDir"); // null: no key
        QTest::addColumn<QStringList>("globals");

        QTest::newRow("no folder") << QString() << Previous;
        QTest::newRow("empty folder") << u""_s << Previous;
        // Read again after the check, all but Chk2.
        QTest::newRow("folder") << u"/p/PostPet"_s << QStringList{u"0"_s, u"0"_s, u"false"_s, u"1"_s, u"1.1"_s};
    }
    void startup()
    {
        QFETCH(QString, postPetDir);
        QFETCH(QStringList, globals);

        Checked run({u"x"_s, u"y"_s, u"maybe"_s, u"7"_s, u"zz"_s});
        if (!postPetDir.isNull())
            run.store.setValue(u"postpet_dir"_s, postPetDir);
        const FirstWindow first = prepareStartup(run.store, run.globals);
        QCOMPARE(first, postPetDir.isEmpty() ? FirstWindow::FolderChooser : FirstWindow::MainWindow);
        QCOMPARE(run.store.readings, 2); // the check's, then the folder's with the keys again
        QCOMPARE(texts(run.globals), globals);
        QCOMPARE(run.globals.postPetDir, postPetDir);
        if (!postPetDir.isEmpty())
            QCOMPARE(run.globals.snackDir, postPetDir + QDir::separator() + u"おやつ"_s);
    }

    void saveOnQuit()
    {
        MemorySettingsStore store;
        Settings(store).saveOnQuit(previous());
        QCOMPARE(store.writeLog, (QStringList{u"Chk1=True"_s, u"Chk2=1"_s, u"top=11"_s, u"left=22"_s}));
        QCOMPARE(store.saves, 1);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
