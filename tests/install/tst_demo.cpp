// scripts/demo, run with env(1) in place of くるみ箱: the sample PostPet folder and the settings
// store it makes, read back through the program's own settings store, scan and launch.

#include "platform/fileops.h"
#include "platform/settingsstore.h"
#include "postpet/launch.h"
#include "snacks/snackscan.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace kurubako;

namespace {

struct DemoRun
{
    int exitCode = -1;
    QString output;
    QString configHome; // XDG_CONFIG_HOME as the program got it
};

// Runs the demo with HOME and TMPDIR inside `root`, the program being env(1), which prints
// the environment it was started with.
DemoRun runDemo(const QString &root, const QString &program, const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"HOME"_qs, root + u"/home"_qs);
    environment.insert(u"TMPDIR"_qs, root + u"/tmp"_qs);
    environment.remove(u"XDG_CONFIG_HOME"_qs);
    QDir(root).mkpath(u"home"_qs);
    QDir(root).mkpath(u"tmp"_qs);
    QProcess demo;
    demo.setProcessEnvironment(environment);
    demo.setProcessChannelMode(QProcess::MergedChannels);
    demo.start(QStringLiteral(KURUBAKO_DEMO_SCRIPT), QStringList{u"-p"_qs, program} + arguments);
    DemoRun run;
    if (!demo.waitForFinished(30000) || demo.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = demo.exitCode();
    run.output = QString::fromUtf8(demo.readAll());
    for (const QString &line : run.output.split(u'\n')) {
        if (line.startsWith(u"XDG_CONFIG_HOME="))
            run.configHome = line.mid(16);
    }
    return run;
}

QString storedPostPetDir(const QString &configHome)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configHome);
    return QtSettingsStore().read(u"Tobiuo"_qs, u"Kurubako"_qs, u"postpet_dir"_qs);
}

SnackLists snacksOf(const QString &postPetDir)
{
    return scanSnackFolder(*systemFileOps(), postPetDir + u"/おやつ"_qs);
}

} // namespace

class TestDemo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sampleFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << u"demo"_qs;
        // A comma would make the stored value a list; quotes and backslashes need escapes.
        QTest::newRow("awkward") << u"デモ 1, 2; #3 \"x\" \\y =z"_qs;
    }

    void sampleFolder()
    {
        QFETCH(QString, name);
        QTemporaryDir root;
        const QString folder = root.path() + u'/' + name;
        const DemoRun run = runDemo(root.path(), u"/usr/bin/env"_qs, {folder});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.configHome.startsWith(folder + u'/'), qPrintable(run.output));

        const QString postPetDir = storedPostPetDir(run.configHome);
        QVERIFY2(postPetDir.startsWith(folder + u'/'), qPrintable(postPetDir));
        const SnackLists snacks = snacksOf(postPetDir);
        QVERIFY(!snacks.today.isEmpty());
        QVERIFY(!snacks.stock.isEmpty());
        QCOMPARE(snacks.today.size() + snacks.stock.size(), 12);
        for (const QList<Snack> &set : {snacks.today, snacks.stock}) {
            for (const Snack &snack : set) {
                QFile file(postPetDir + u"/おやつ/"_qs + QString::fromUtf8(snack.file));
                QVERIFY(file.open(QIODevice::ReadOnly));
                QVERIFY(QString::fromUtf8(file.readAll()).contains(snack.name));
            }
        }

        // The stand-in for PostPet starts as the program starts it and tells today's snacks.
        const auto command = postPetLaunchCommand(*systemFileOps(), postPetDir, QString());
        QVERIFY(command);
        QProcess standIn;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_qs);
        environment.remove(u"WAYLAND_DISPLAY"_qs);
        standIn.setProcessEnvironment(environment);
        standIn.start(command->program, command->arguments);
        QVERIFY(standIn.waitForFinished(10000));
        QCOMPARE(standIn.exitCode(), 0);
        const QString told = QString::fromUtf8(standIn.readAllStandardOutput());
        for (const Snack &snack : snacks.today)
            QVERIFY2(told.contains(snack.name), qPrintable(told));
        for (const Snack &snack : snacks.stock)
            QVERIFY2(!told.contains(snack.name), qPrintable(told));

        QVERIFY(QDir(root.path() + u"/home"_qs).isEmpty()); // the user's settings untouched
    }

    // A second run on the same folder goes on with what the first one left.
    void secondRun()
    {
        QTemporaryDir root;
        const QString folder = root.path() + u"/demo"_qs;
        const DemoRun first = runDemo(root.path(), u"/usr/bin/env"_qs, {folder});
        QCOMPARE(first.exitCode, 0);
        const QString postPetDir = storedPostPetDir(first.configHome);
        const SnackLists before = snacksOf(postPetDir);
        QVERIFY(!before.today.isEmpty());
        const QString snackDir = postPetDir + u"/おやつ/"_qs;
        const QString moved = QString::fromUtf8(before.today.constFirst().file);
        QVERIFY(QFile::rename(snackDir + moved, snackDir + moved.chopped(4) + u".pa_"_qs));
        QVERIFY(QtSettingsStore().write(u"Tobiuo"_qs, u"Kurubako"_qs, u"top"_qs, u"120"_qs));

        const DemoRun second = runDemo(root.path(), u"/usr/bin/env"_qs, {folder});
        QCOMPARE(second.exitCode, 0);
        QCOMPARE(second.configHome, first.configHome);
        const SnackLists after = snacksOf(postPetDir);
        QCOMPARE(after.today.size(), before.today.size() - 1);
        QCOMPARE(after.stock.size(), before.stock.size() + 1);
        QCOMPARE(QtSettingsStore().read(u"Tobiuo"_qs, u"Kurubako"_qs, u"top"_qs), u"120"_qs);
    }

    // Without a folder the demo lives in a temporary one, gone when the program ends; a
    // program that is not there stops the demo before anything is made.
    void temporaryFolderAndMissingProgram()
    {
        QTemporaryDir root;
        const DemoRun run = runDemo(root.path(), u"/usr/bin/env"_qs, {});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.configHome.startsWith(root.path() + u"/tmp/"_qs), qPrintable(run.output));
        QVERIFY(QDir(root.path() + u"/tmp"_qs).isEmpty());

        const QString folder = root.path() + u"/demo"_qs;
        const DemoRun missing = runDemo(root.path(), root.path() + u"/no-such-program"_qs, {folder});
        QVERIFY(missing.exitCode > 0);
        QVERIFY(!QFileInfo::exists(folder));
    }
};

QTEST_GUILESS_MAIN(TestDemo)
#include "tst_demo.moc"
