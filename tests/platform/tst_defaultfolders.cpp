#include "platform/defaultfolders.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace kurubako;

namespace {

const QString PostPet = u"So-net/PostPet for Windows ver. 2.0"_s;

} // namespace

// The drives and the first run's folder, with a home, a WINEPREFIX and an XDG_DATA_HOME of
// their own in a temporary folder. In the rows "~" stands for that home and "@" for a folder
// beside it.
class TestDefaultFolders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanupTestCase();
    void winePrefixDrives_data();
    void winePrefixDrives();
    void defaultPostPetFolder_data();
    void defaultPostPetFolder();

private:
    // The environment of a row, with the folders `folders` made.
    void setUp(const QString &winePrefix, const QString &dataHome, const QStringList &folders);
    QString path(QString text) const;

    QTemporaryDir m_dir;
    int m_row = 0;
    QString m_home;
    QString m_elsewhere;
    const QByteArray m_realHome = qgetenv("HOME");
};

void TestDefaultFolders::init()
{
    QVERIFY(m_dir.isValid());
    const QString root = m_dir.path() + u'/' + QString::number(++m_row);
    m_home = root + u"/home"_s;
    m_elsewhere = root + u"/elsewhere"_s;
    QVERIFY(QDir().mkpath(m_home) && QDir().mkpath(m_elsewhere));
}

void TestDefaultFolders::cleanupTestCase()
{
    qputenv("HOME", m_realHome);
    qunsetenv("WINEPREFIX");
    qunsetenv("XDG_DATA_HOME");
}

QString TestDefaultFolders::path(QString text) const
{
    if (text.startsWith(u'~'))
        text.replace(0, 1, m_home);
    else if (text.startsWith(u'@'))
        text.replace(0, 1, m_elsewhere);
    return text;
}

void TestDefaultFolders::setUp(const QString &winePrefix, const QString &dataHome, const QStringList &folders)
{
    qputenv("HOME", m_home.toUtf8());
    qputenv("WINEPREFIX", path(winePrefix).toUtf8());
    if (dataHome.isEmpty())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", path(dataHome).toUtf8());
    for (const QString &folder : folders)
        QVERIFY(QDir().mkpath(path(folder)));
}

void TestDefaultFolders::winePrefixDrives_data()
{
    QTest::addColumn<QString>("winePrefix");
    QTest::addColumn<QString>("dataHome");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QStringList>("drives"); // label, then path, of each prefix's C: drive

    QTest::newRow("none") << QString() << QString() << QStringList{u"~/.wine"_s} << QStringList();
    QTest::newRow("~/.wine") << QString() << QString() << QStringList{u"~/.wine/drive_c"_s}
                             << QStringList{u"C: (~/.wine)"_s, u"~/.wine/drive_c"_s};
    QTest::newRow("WINEPREFIX first, ~/.wine too")
        << u"@/prefix"_s << QString() << QStringList{u"~/.wine/drive_c"_s, u"@/prefix/drive_c"_s}
        << QStringList{u"C: (@/prefix)"_s, u"@/prefix/drive_c"_s, u"C: (~/.wine)"_s, u"~/.wine/drive_c"_s};
    QTest::newRow("WINEPREFIX is ~/.wine/") << u"~/.wine/"_s << QString() << QStringList{u"~/.wine/drive_c"_s}
                                            << QStringList{u"C: (~/.wine)"_s, u"~/.wine/drive_c"_s};
    QTest::newRow("WINEPREFIX without drive_c")
        << u"@/prefix"_s << QString() << QStringList{u"@/prefix"_s} << QStringList();
    QTest::newRow("relative WINEPREFIX") << u"prefix"_s << QString() << QStringList() << QStringList();
    QTest::newRow("wineprefixes, by name, those with drive_c")
        << QString() << QString()
        << QStringList{u"~/.local/share/wineprefixes/postpet/drive_c"_s,
                       u"~/.local/share/wineprefixes/empty"_s,
                       u"~/.local/share/wineprefixes/.hidden/drive_c"_s}
        << QStringList{u"C: (~/.local/share/wineprefixes/.hidden)"_s,
                       u"~/.local/share/wineprefixes/.hidden/drive_c"_s,
                       u"C: (~/.local/share/wineprefixes/postpet)"_s,
                       u"~/.local/share/wineprefixes/postpet/drive_c"_s};
    QTest::newRow("wineprefixes under XDG_DATA_HOME")
        << QString() << u"@/data"_s << QStringList{u"@/data/wineprefixes/postpet/drive_c"_s}
        << QStringList{u"C: (@/data/wineprefixes/postpet)"_s, u"@/data/wineprefixes/postpet/drive_c"_s};
}

void TestDefaultFolders::winePrefixDrives()
{
    QFETCH(QString, winePrefix);
    QFETCH(QString, dataHome);
    QFETCH(QStringList, folders);
    QFETCH(QStringList, drives);
    setUp(winePrefix, dataHome, folders);

    const QList<Drive> found = folderChooserDrives();
    QVERIFY(found.size() >= 2);
    QCOMPARE(found.at(0).label, u"/"_s);
    QCOMPARE(found.at(0).path, u"/"_s);
    QCOMPARE(found.at(1).path, m_home);
    // The volumes mounted on this machine follow; the prefixes' drives come before them.
    QStringList prefixDrives;
    for (const Drive &drive : found) {
        if (drive.label.startsWith(u"C: ("_s))
            prefixDrives << drive.label << drive.path;
    }
    QStringList expected;
    for (qsizetype index = 0; index < drives.size(); index += 2) {
        QString label = drives.at(index);
        label.replace(u"@"_s, m_elsewhere);
        expected << label << path(drives.at(index + 1));
    }
    QCOMPARE(prefixDrives, expected);
    for (qsizetype index = 0; index < expected.size() / 2; ++index)
        QCOMPARE(found.at(2 + index).label, expected.at(2 * index));
}

void TestDefaultFolders::defaultPostPetFolder_data()
{
    QTest::addColumn<QString>("winePrefix");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("expected");

    QTest::newRow("~/.wine, nothing installed")
        << QString() << QStringList() << u"~/.wine/drive_c/Program Files/"_s + PostPet;
    QTest::newRow("~/.wine, 64-bit") << QString()
                                     << QStringList{u"~/.wine/drive_c/Program Files (x86)/"_s + PostPet}
                                     << u"~/.wine/drive_c/Program Files (x86)/"_s + PostPet;
    QTest::newRow("64-bit, PostPet under Program Files")
        << QString()
        << QStringList{u"~/.wine/drive_c/Program Files (x86)"_s,
                       u"~/.wine/drive_c/Program Files/"_s + PostPet}
        << u"~/.wine/drive_c/Program Files/"_s + PostPet;
    QTest::newRow("WINEPREFIX") << u"@/prefix"_s
                                << QStringList{u"~/.wine/drive_c/Program Files (x86)/"_s + PostPet}
                                << u"@/prefix/drive_c/Program Files/"_s + PostPet;
    QTest::newRow("WINEPREFIX, 64-bit")
        << u"@/prefix/"_s << QStringList{u"@/prefix/drive_c/Program Files (x86)/"_s + PostPet}
        << u"@/prefix/drive_c/Program Files (x86)/"_s + PostPet;
    QTest::newRow("relative WINEPREFIX")
        << u"prefix"_s << QStringList() << u"~/.wine/drive_c/Program Files/"_s + PostPet;
}

void TestDefaultFolders::defaultPostPetFolder()
{
    QFETCH(QString, winePrefix);
    QFETCH(QStringList, folders);
    QFETCH(QString, expected);
    setUp(winePrefix, QString(), folders);

    QCOMPARE(kurubako::defaultPostPetFolder(), path(expected));
}

QTEST_GUILESS_MAIN(TestDefaultFolders)
#include "tst_defaultfolders.moc"
