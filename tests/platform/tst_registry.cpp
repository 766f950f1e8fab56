#include "platform/settingsstore.h"

#include <QProcess>
#include <QSettings>
#include <QTest>

#include <windows.h>

using namespace Qt::StringLiterals;

using namespace kurubako;

namespace {

// An application of its own, so that the user's settings stay untouched.
const QString Application = u"Tobiuo-test"_s;
const QString Section = u"Kurubako"_s;
const QString Key =
    u"HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\"_s + Application + u'\\' + Section;

void removeApplication()
{
    QSettings(u"HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings"_s, QSettings::NativeFormat)
        .remove(Application);
}

// Windows' own reg.exe with `arguments`: its exit code and what it printed.
struct RegRun
{
    int exitCode = -1;
    QString output;
};

RegRun reg(const QStringList &arguments)
{
    QProcess process;
    process.start(u"reg"_s, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    // Written to a pipe, reg.exe uses the OEM code page.
    const QByteArray bytes = process.readAllStandardOutput();
    const int length = MultiByteToWideChar(CP_OEMCP, 0, bytes.constData(), int(bytes.size()), nullptr, 0);
    std::wstring text(length, L'\0');
    MultiByteToWideChar(CP_OEMCP, 0, bytes.constData(), int(bytes.size()), text.data(), length);
    return {process.exitCode(), QString::fromStdWString(text)};
}

// The line of `reg query` for one value: "TYPE    data".
QString regQuery(const QString &name)
{
    const QString indent = u"    "_s + name + u"    "_s;
    for (const QString &line : reg({u"query"_s, Key, u"/v"_s, name}).output.split(u"\r\n"_s)) {
        if (line.startsWith(indent))
            return line.mid(indent.size());
    }
    return {};
}

bool regAdd(const QString &name, const QString &type, const QString &data)
{
    return reg({u"add"_s, Key, u"/v"_s, name, u"/t"_s, type, u"/d"_s, data, u"/f"_s}).exitCode == 0;
}

// Whether the OEM code page, through which reg.exe prints, holds every character of `text`.
bool oemCodePageHolds(const QString &text)
{
    const std::wstring wide = text.toStdWString();
    BOOL lost = FALSE;
    WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.c_str(), int(wide.size()), nullptr, 0, nullptr,
                        &lost);
    return !lost;
}

} // namespace

// The real store in the registry, checked with Windows' own reg.exe.
class TestRegistry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { removeApplication(); }
    void cleanupTestCase() { removeApplication(); }
    void roundTrip_data();
    void roundTrip();
    void earlierValues_data();
    void earlierValues();
};

void TestRegistry::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("number") << u"-120"_s;
    QTest::newRow("spaces") << u"  two  spaces  "_s;
    QTest::newRow("commas") << u"a, b,c"_s;
    QTest::newRow("leading at, as it stands") << u"@Variant(x)"_s;
    QTest::newRow("folder with backslashes") << u"C:\\Program Files\\So-net\\PostPet for Windows ver. 2.0"_s;
    QTest::newRow("Japanese folder") << u"D:\\ポストペット\\ＰｏｓｔＰｅｔ　２．０"_s;
}

void TestRegistry::roundTrip()
{
    QFETCH(QString, text);
    QVERIFY(SystemSettingsStore().writeKeys(Application, Section, {{u"postpet_dir"_s, text}}));
    if (!oemCodePageHolds(text))
        QSKIP("reg.exe cannot print this text in this system's OEM code page (a Japanese one can)");
    QCOMPARE(regQuery(u"postpet_dir"_s), u"REG_SZ    "_s + text);
    QCOMPARE(SystemSettingsStore().readKeys(Application, Section, {u"postpet_dir"_s}).constFirst(), text);
}

void TestRegistry::earlierValues_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("read");

    QTest::newRow("string") << u"REG_SZ"_s << u"True"_s << u"True"_s;
    QTest::newRow("leading at") << u"REG_SZ"_s << u"@@x"_s << u"@@x"_s;
    QTest::newRow("Japanese string") << u"REG_SZ"_s << u"C:\\ポストペット"_s << u"C:\\ポストペット"_s;
    QTest::newRow("number, not text") << u"REG_DWORD"_s << u"1"_s << QString();
}

// Values as Visual Basic's SaveSetting, or a hand in regedit, left them.
void TestRegistry::earlierValues()
{
    QFETCH(QString, type);
    QFETCH(QString, data);
    QFETCH(QString, read);

    QVERIFY(regAdd(u"Chk1"_s, type, data));
    QCOMPARE(SystemSettingsStore().readKeys(Application, Section, {u"Chk1"_s, u"missing"_s}),
             QStringList({read, QString()}));
}

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
