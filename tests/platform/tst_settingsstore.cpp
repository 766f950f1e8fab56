#include "platform/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

using namespace kurubako;

namespace {

void useConfigFolder(const QString &folder)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
}

QString read(const QString &key)
{
    return QtSettingsStore().read(u"Tobiuo"_s, u"Kurubako"_s, key);
}

bool write(const QString &key, const QString &text)
{
    return QtSettingsStore().write(u"Tobiuo"_s, u"Kurubako"_s, key, text);
}

} // namespace

// The real store, its config folder moved into a temporary folder.
class TestSettingsStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        useConfigFolder(m_dir->path());
    }
    void roundTrip_data();
    void roundTrip();
    void missingKey();
    void unwritable_data();
    void unwritable();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSettingsStore::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("spaces") << u"  two  spaces  "_s;
    QTest::newRow("commas") << u"a, b,c"_s;
    QTest::newRow("leading at") << u"@Variant(x)"_s;
    QTest::newRow("Japanese") << u"ポストペット 2.0"_s;
    QTest::newRow("backslashes") << u"C:\\Program Files\\So-net\\"_s;
    QTest::newRow("quotes") << u"say \"hi\" '"_s;
    QTest::newRow("comment and key marks") << u"; a=b # c"_s;
}

void TestSettingsStore::roundTrip()
{
    QFETCH(QString, text);
    QVERIFY(write(u"postpet_dir"_s, text));
    // Read from a copy of the file, so that the text comes from the file and not from what
    // QSettings keeps of the file it wrote.
    QTemporaryDir other;
    QVERIFY(QDir(other.path()).mkpath(u"Tobiuo"_s));
    QVERIFY(QFile::copy(m_dir->path() + u"/Tobiuo/Kurubako.conf"_s, other.path() + u"/Tobiuo/Kurubako.conf"_s));
    useConfigFolder(other.path());
    QCOMPARE(read(u"postpet_dir"_s), text);
}

void TestSettingsStore::missingKey()
{
    QCOMPARE(read(u"top"_s), QString());
    QVERIFY(write(u"left"_s, u"5"_s));
    QCOMPARE(read(u"top"_s), QString());
    QCOMPARE(read(u"left"_s), u"5"_s);
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
        QFile plain(m_dir->path() + u"/config"_s);
        QVERIFY(plain.open(QIODevice::WriteOnly));
        useConfigFolder(plain.fileName());
    } else {
        QVERIFY(QDir(m_dir->path()).mkpath(u"Tobiuo/Kurubako.conf"_s));
    }
    QVERIFY(!write(u"top"_s, u"0"_s));
    QCOMPARE(read(u"top"_s), QString());
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
