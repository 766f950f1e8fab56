#include "common/recordingprocessstarter.h"
#include "common/scriptedmsgbox.h"
#include "platform/fileops_posix.h"
#include "postpet/launch.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

using namespace kurubako;

namespace {

// "MZ", at 0x3C the offset of the PE header, and `signature` where it points.
QByteArray dosImage(quint32 peOffset, const QByteArray &signature)
{
    QByteArray image(0x80, '\0');
    image.replace(0, 2, "MZ");
    qToLittleEndian(peOffset, image.data() + 0x3C);
    if (peOffset < quint32(image.size()))
        image.replace(peOffset, signature.size(), signature);
    return image;
}

const QByteArray PeImage = dosImage(0x40, QByteArray("PE\0\0", 4));
const QByteArray Script = "#!/bin/sh\nexit 0\n";

bool make(const QString &path, const QByteArray &contents, bool executable)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        return false;
    return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner
                               | (executable ? QFile::ExeOwner : QFile::Permissions()));
}

} // namespace

class TestLaunch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void executableKind_data();
    void executableKind();
    void launchCommand_data();
    void launchCommand();
    void launchPostPet_data();
    void launchPostPet();
};

void TestLaunch::executableKind_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<ExecutableKind>("kind");

    QTest::newRow("PE image") << PeImage << false << ExecutableKind::Windows;
    QTest::newRow("PE header further on")
        << dosImage(0x70, QByteArray("PE\0\0", 4)) << false << ExecutableKind::Windows;
    QTest::newRow("script, exec bit") << Script << true << ExecutableKind::Native;
    QTest::newRow("text") << QByteArray("hello\n") << false << ExecutableKind::Neither;
    QTest::newRow("MZ, offset past the end") << dosImage(0x1000, "PE") << false << ExecutableKind::Neither;
    QTest::newRow("MZ, bad offset, exec bit") << dosImage(0x1000, "PE") << true << ExecutableKind::Native;
}

void TestLaunch::executableKind()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, executable);
    QFETCH(ExecutableKind, kind);

    QTemporaryDir dir;
    const QString path = dir.path() + u"/PostPet20.exe"_s;
    QVERIFY(make(path, contents, executable));
    QCOMPARE(kurubako::executableKind(path), kind);
}

void TestLaunch::launchCommand_data()
{
    QTest::addColumn<QString>("file"); // empty: none
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<QString>("wine");
    QTest::addColumn<QString>("expected"); // "wine", "exe" (the file itself) or the problem

    const QString wine = u"/opt/wine/bin/wine"_s;
    QTest::newRow("upper case, wine") << u"POSTPET20.EXE"_s << PeImage << false << wine << u"wine"_s;
    QTest::newRow("Windows program, no wine")
        << u"PostPet20.exe"_s << PeImage << true << QString() << u"no wine"_s;
    QTest::newRow("native program") << u"postpet20.exe"_s << Script << true << wine << u"exe"_s;
    QTest::newRow("neither") << u"PostPet20.exe"_s << QByteArray("text") << false << wine
                             << u"no executable"_s;
    QTest::newRow("missing") << QString() << QByteArray("") << false << wine << u"no executable"_s;
}

void TestLaunch::launchCommand()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, contents);
    QFETCH(bool, executable);
    QFETCH(QString, wine);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    const QString path = dir.path() + u'/' + file;
    if (!file.isEmpty())
        QVERIFY(make(path, contents, executable));
    PosixFileOps ops;
    const LaunchCommand command = postPetLaunchCommand(ops, dir.path(), wine);
    const LaunchProblem problem = expected == u"no wine" ? LaunchProblem::NoWine
        : expected == u"no executable"                   ? LaunchProblem::NoExecutable
                                                         : LaunchProblem::None;
    QCOMPARE(command.problem, problem);
    if (problem == LaunchProblem::None) {
        QCOMPARE(command.program, expected == u"wine" ? wine : path);
        QCOMPARE(command.arguments, expected == u"wine" ? QStringList{path} : QStringList());
    }
}

void TestLaunch::launchPostPet_data()
{
    QTest::addColumn<QByteArray>("contents"); // of PostPet20.exe; empty: none
    QTest::addColumn<bool>("wineOnPath");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QString>("message"); // empty: none

    const QString notFound = u"PostPet20.exeが見つからないんだけど・・・"_s;
    QTest::newRow("started") << Script << false << true << QString();
    QTest::newRow("start fails") << Script << false << false << notFound;
    QTest::newRow("no executable") << QByteArray() << true << true << notFound;
    QTest::newRow("through wine") << PeImage << true << true << QString();
    QTest::newRow("through wine, start fails") << PeImage << true << false << notFound;
    QTest::newRow("Windows program, no wine")
        << PeImage << false << true
        << u"PostPetを起動するにはWineが必要なんだけど、インストールされていないみたい・・・"_s;
}

void TestLaunch::launchPostPet()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, wineOnPath);
    QFETCH(bool, starts);
    QFETCH(QString, message);

    QTemporaryDir dir;
    const QString executable = dir.path() + u"/PostPet20.exe"_s;
    if (!contents.isEmpty())
        QVERIFY(make(executable, contents, true));
    // `wine` is looked up on the PATH: one that holds a stand-in, or none at all.
    const QString bin = dir.path() + u"/bin"_s;
    QVERIFY(QDir().mkpath(bin));
    if (wineOnPath)
        QVERIFY(make(bin + u"/wine"_s, Script, true));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.toLocal8Bit());
    const auto restorePath = qScopeGuard([&path] { qputenv("PATH", path); });

    PosixFileOps ops;
    RecordingProcessStarter starter;
    starter.succeed = starts;
    ScriptedMsgBox boxes;
    kurubako::launchPostPet(dir.path(), ops, starter, boxes);

    const bool throughWine = contents == PeImage;
    const bool startable = !contents.isEmpty() && (!throughWine || wineOnPath);
    QCOMPARE(starter.starts.size(), startable ? 1 : 0);
    if (startable) {
        QCOMPARE(starter.starts.first().program, throughWine ? bin + u"/wine"_s : executable);
        QCOMPARE(starter.starts.first().arguments, throughWine ? QStringList{executable} : QStringList());
    }
    QCOMPARE(boxes.shown.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        const ScriptedMsgBox::Shown &shown = boxes.shown.first();
        QCOMPARE(shown.text, message);
        QCOMPARE(shown.title, u"EXEがありません"_s);
        QCOMPARE(shown.icon, MsgBox::Icon::Critical);
        QCOMPARE(shown.buttons, MsgBox::Buttons::Ok);
    }
}

QTEST_GUILESS_MAIN(TestLaunch)
#include "tst_launch.moc"
