#include "app/preferencesstore.h"
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
// What a key that does not read leaves: the value of a new Preferences.
const QStringList Unread{u"0"_s, u"0"_s, u"false"_s, u"0"_s, u"0"_s};

// The five checked preferences as text, in the order of Keys.
QStringList texts(const Preferences &p)
{
    return {QString::number(p.windowTop), QString::number(p.windowLeft),
            p.skipQuestions ? u"true"_s : u"false"_s, QString::number(qint16(p.doubleClickAction)),
            QString::number(double(p.storedVersion))};
}

QStringList with(QStringList list, qsizetype i, const QString &text)
{
    list[i] = text;
    return list;
}

// A store holding `values` under Keys (a null value: no key), and the preferences it loads.
struct Checked
{
    explicit Checked(const QStringList &values)
    {
        for (qsizetype i = 0; i < Keys.size(); ++i) {
            if (!values.at(i).isNull())
                store.setValue(Keys.at(i), values.at(i));
        }
    }
    void check() { preferences = PreferencesStore(store).load(); }
    MemorySettingsStore store;
    Preferences preferences;
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
        QTest::addColumn<QStringList>("loaded");

        QTest::newRow("empty store") << QStringList(5, QString()) << qsizetype(0) << Unread;
        QTest::newRow("top empty") << with(Good, 0, u""_s) << qsizetype(0) << with(GoodRead, 0, u"0"_s);
        QTest::newRow("top fraction")
            << with(Good, 0, u"12.5"_s) << qsizetype(0) << with(GoodRead, 0, u"0"_s);
        QTest::newRow("left, top too") << with(Good, 1, u"x"_s) << qsizetype(0) << with(GoodRead, 1, u"0"_s);
        QTest::newRow("Chk1") << with(with(Good, 2, u"maybe"_s), 3, u"1"_s) << qsizetype(2)
                              << with(with(GoodRead, 2, u"false"_s), 3, u"1"_s);
        QTest::newRow("Chk2 2") << with(Good, 3, u"2"_s) << qsizetype(3) << with(GoodRead, 3, u"0"_s);
        QTest::newRow("Chk2 -1") << with(Good, 3, u"-1"_s) << qsizetype(3) << with(GoodRead, 3, u"0"_s);
        QTest::newRow("ver") << with(Good, 4, u"abc"_s) << qsizetype(4) << with(GoodRead, 4, u"0"_s);
        QTest::newRow("ver 1.0, alone")
            << with(Good, 4, u"1.0"_s) << qsizetype(4) << with(GoodRead, 4, u"1"_s);
    }
    // The first damaged key and every key after it get their defaults; a key that does not
    // read keeps the value of a new Preferences.
    void damaged()
    {
        QFETCH(QStringList, stored);
        QFETCH(qsizetype, firstRewritten);
        QFETCH(QStringList, loaded);

        Checked run(stored);
        run.check();
        QCOMPARE(run.store.writeLog, defaultWrites(firstRewritten));
        QCOMPARE(run.store.readings, 1);
        QCOMPARE(run.store.saves, 1);
        QCOMPARE(texts(run.preferences), loaded);
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
        QCOMPARE(texts(run.preferences).at(key), global);
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
        QTest::addColumn<QStringList>("loaded");

        // The values that read, and those the check rewrote only once the folder is known: all
        // but Chk2 hold what the store holds after the check.
        const QStringList checked{u"12"_s, u"0"_s, u"true"_s, u"1"_s, u"0.5"_s};
        QTest::newRow("no folder") << QString() << checked;
        QTest::newRow("empty folder") << u""_s << checked;
        QTest::newRow("folder") << u"/p/PostPet"_s
                                << QStringList{u"0"_s, u"0"_s, u"false"_s, u"1"_s, u"1.1"_s};
    }
    void startup()
    {
        QFETCH(QString, postPetDir);
        QFETCH(QStringList, loaded);

        // Every key is rewritten, as "left" does not read; the others read.
        Checked run({u"12"_s, u"34"_s, u"True"_s, u"1"_s, u"0.5"_s});
        run.store.failingReads = QStringList{u"left"_s};
        if (!postPetDir.isNull())
            run.store.setValue(u"postpet_dir"_s, postPetDir);
        run.check();
        QCOMPARE(run.store.readings, 1);
        QCOMPARE(texts(run.preferences), loaded);
        QCOMPARE(run.preferences.postPetDir, postPetDir);
        if (!postPetDir.isEmpty())
            QCOMPARE(run.preferences.snackDir(), postPetDir + QDir::separator() + u"おやつ"_s);
    }

    void saveOnQuit()
    {
        MemorySettingsStore store;
        Preferences previous;
        previous.windowTop = 11;
        previous.windowLeft = 22;
        previous.skipQuestions = true;
        previous.doubleClickAction = DoubleClickAction::Rename;
        QVERIFY(PreferencesStore(store).saveOnQuit(previous));
        QCOMPARE(store.writeLog, (QStringList{u"Chk1=True"_s, u"Chk2=1"_s, u"top=11"_s, u"left=22"_s}));
        QCOMPARE(store.saves, 1);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
