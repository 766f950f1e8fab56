#include "platform/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kurubako;

// The real store, with its config folder moved into a temporary folder.
class TestSettingsStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void roundTrip_data();
    void roundTrip();
    void missingKey();
    void unwritable_data();
    void unwritable();

private:
    void useConfigFolder(const QString &folder)
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
    }
    QString settingsFile() const { return m_dir->path() + u"/Tobiuo/Kurubako.conf"_qs; }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSettingsStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    useConfigFolder(m_dir->path());
}

void TestSettingsStore::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("spaces") << u"  two  spaces  "_qs;
    QTest::newRow("commas") << u"a, b,c"_qs;
    QTest::newRow("leading at") << u"@Variant(x)"_qs;
    QTest::newRow("Japanese") << u"ポストペット 2.0"_qs;
    QTest::newRow("backslashes") << u"C:\\Program Files\\So-net\\"_qs;
    QTest::newRow("quotes") << u"say \"hi\" '"_qs;
    QTest::newRow("comment and key marks") << u"; a=b # c"_qs;
    QTest::newRow("decimal") << u"1.1"_qs;
}

void TestSettingsStore::roundTrip()
{
    QFETCH(QString, text);
    QVERIFY(QtSettingsStore().write(u"Tobiuo"_qs, u"Kurubako"_qs, u"postpet_dir"_qs, text));
    QVERIFY(QFile::exists(settingsFile()));

    // Read from a copy of the file, so that the text comes from the file and not from
    // what QSettings keeps of the file it wrote.
    QTemporaryDir other;
    QVERIFY(QDir(other.path()).mkpath(u"Tobiuo"_qs));
    QVERIFY(QFile::copy(settingsFile(), other.path() + u"/Tobiuo/Kurubako.conf"_qs));
    useConfigFolder(other.path());
    QCOMPARE(QtSettingsStore().read(u"Tobiuo"_qs, u"Kurubako"_qs, u"postpet_dir"_qs), text);
}

void TestSettingsStore::missingKey()
{
    QtSettingsStore store;
    QCOMPARE(store.read(u"Tobiuo"_qs, u"Kurubako"_qs, u"top"_qs), QString());
    QVERIFY(store.write(u"Tobiuo"_qs, u"Kurubako"_qs, u"left"_qs, u"5"_qs));
    QCOMPARE(store.read(u"Tobiuo"_qs, u"Kurubako"_qs, u"top"_qs), QString());
    QCOMPARE(store.read(u"Tobiuo"_qs, u"Kurubako"_qs, u"left"_qs), u"5"_qs);
}

void TestSettingsStore::unwritable_data()
{
    QTest::addColumn<bool>("configIsFile");
    QTest::newRow("settings file is a folder") << false;
    QTest::newRow("config folder is a file") << true;
}

void TestSettingsStore::unwritable()
{
    QFETCH(bool, configIsFile);
    if (configIsFile) {
        const QString file = m_dir->path() + u"/config"_qs;
        QFile plain(file);
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        useConfigFolder(file);
    } else {
        QVERIFY(QDir(m_dir->path()).mkpath(u"Tobiuo/Kurubako.conf"_qs));
    }
    QtSettingsStore store;
    QVERIFY(!store.write(u"Tobiuo"_qs, u"Kurubako"_qs, u"top"_qs, u"0"_qs));
    QCOMPARE(store.read(u"Tobiuo"_qs, u"Kurubako"_qs, u"top"_qs), QString());
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
