// scripts/demo, run with env(1) in place of くるみ箱 (it prints the environment it got): the
// sample PostPet folder and settings it makes, read through the program's own store and scan.

#include "platform/fileops.h"
#include "platform/settingsstore.h"
#include "postpet/launch.h"
#include "snacks/snackscan.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace kurubako;

namespace {

// Runs the demo with HOME and TMPDIR in `root`; gives the XDG_CONFIG_HOME the program got.
QString runDemo(const QString &root, const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : {u"home"_qs, u"tmp"_qs})
        QDir(root).mkpath(name);
    environment.insert(u"HOME"_qs, root + u"/home"_qs);
    environment.insert(u"TMPDIR"_qs, root + u"/tmp"_qs);
    QProcess demo;
    demo.setProcessEnvironment(environment);
    demo.start(QStringLiteral(KURUBAKO_DEMO_SCRIPT), QStringList{u"-p"_qs, u"/usr/bin/env"_qs} + arguments);
    if (!demo.waitForFinished(30000) || demo.exitStatus() != QProcess::NormalExit || demo.exitCode() != 0)
        return {};
    const QByteArrayList lines = demo.readAllStandardOutput().split('\n');
    const auto found = std::find_if(lines.begin(), lines.end(),
                                    [](const QByteArray &line) { return line.startsWith("XDG_CONFIG_HOME="); });
    return found == lines.end() ? QString() : QString::fromUtf8(found->mid(16));
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
        const QString configHome = runDemo(root.path(), {folder});
        QVERIFY2(configHome.startsWith(folder + u'/'), qPrintable(configHome));
        QVERIFY(QDir(root.path() + u"/home"_qs).isEmpty()); // the user's own settings untouched

        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configHome);
        const QString postPetDir = QtSettingsStore().read(u"Tobiuo"_qs, u"Kurubako"_qs, u"postpet_dir"_qs);
        QVERIFY2(postPetDir.startsWith(folder + u'/'), qPrintable(postPetDir));
        const auto files = systemFileOps();
        const SnackLists snacks = scanSnackFolder(*files, postPetDir + u"/おやつ"_qs);
        QVERIFY(!snacks.today.isEmpty() && !snacks.stock.isEmpty());
        QCOMPARE(snacks.today.size() + snacks.stock.size(), 12);

        // The stand-in for PostPet starts as the program would start it and tells today's
        // snacks (no display: it prints them).
        const auto command = postPetLaunchCommand(*files, postPetDir, QString());
        QVERIFY(command);
        QProcess standIn;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_qs);
        environment.remove(u"WAYLAND_DISPLAY"_qs);
        standIn.setProcessEnvironment(environment);
        standIn.start(command->program, command->arguments);
        QVERIFY(standIn.waitForFinished(10000) && standIn.exitCode() == 0);
        const QString told = QString::fromUtf8(standIn.readAllStandardOutput());
        for (const Snack &snack : snacks.today)
            QVERIFY2(told.contains(snack.name), qPrintable(told));
        QVERIFY2(!told.contains(snacks.stock.constFirst().name), qPrintable(told));
    }

    // Without a folder the demo lives in a temporary one, removed when the program ends.
    void temporaryFolder()
    {
        QTemporaryDir root;
        QVERIFY(runDemo(root.path(), {}).startsWith(root.path() + u"/tmp/"_qs));
        QVERIFY(QDir(root.path() + u"/tmp"_qs).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDemo)
#include "tst_demo.moc"
