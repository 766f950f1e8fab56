// Times start-up to the main window shown, with 0 and with 10,000 snacks, against a minimal
// Qt Widgets program that shows one list in a window (the toolkit's own floor). Each figure
// is the wall time of a whole process, from its start to its exit right after the first
// paint of its window, the median over several runs.
//
//   kurubako-bench-startup [runs]      runs of each (default 9)
//
// Without a display the programs run on Qt's offscreen platform.

#include "benchutil.h"

#include "platform/documentopener.h"
#include "platform/fileops.h"
#include "platform/memorysettingsstore.h"
#include "platform/msgbox.h"
#include "platform/processstarter.h"
#include "ui/form1.h"
#include "ui/program.h"
#include "ui/twips.h"

#include <QApplication>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace kurubako;

namespace {

// Ends the process once `window` has painted for the first time.
class QuitOnFirstPaint : public QObject
{
public:
    explicit QuitOnFirstPaint(QWidget *window)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        return QObject::eventFilter(watched, event);
    }
};

// The program as a user starts it, with its PostPet folder known; only the settings and the
// message boxes are doubles.
int runProgram(int argc, char **argv, const QString &postPetDir)
{
    QApplication app(argc, argv);
    registerFontSubstitutes();
    MemorySettingsStore store;
    for (const char *key : {"top", "left", "Chk2"})
        store.setValue(QString::fromLatin1(key), u"0"_qs);
    store.setValue(u"Chk1"_qs, u"False"_qs);
    store.setValue(u"ver"_qs, u"1.1"_qs);
    store.setValue(u"postpet_dir"_qs, postPetDir);
    const auto files = systemFileOps();
    ScriptedMsgBox box;
    RecordingProcessStarter starter;
    RecordingDocumentOpener opener;
    Program program({store, *files, box, starter, opener, [] {}});
    program.Main();
    QuitOnFirstPaint quit(program.mainWindow());
    return app.exec();
}

int runFloor(int argc, char **argv)
{
    QApplication app(argc, argv);
    QListWidget list;
    list.addItem(u"floor"_qs);
    list.show();
    QuitOnFirstPaint quit(&list);
    return app.exec();
}

double timeProcess(const QStringList &arguments)
{
    const auto start = bench::Clock::now();
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QCoreApplication::applicationFilePath(), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        std::fprintf(stderr, "child %s failed\n", qPrintable(arguments.join(u' ')));
        std::exit(1);
    }
    return bench::millisecondsSince(start);
}

double medianOfRuns(int runs, const QStringList &arguments)
{
    std::vector<double> times;
    timeProcess(arguments); // warm the file cache
    for (int run = 0; run < runs; ++run)
        times.push_back(timeProcess(arguments));
    return bench::median(times);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && qstrcmp(argv[1], "--program") == 0)
        return runProgram(argc, argv, QString::fromLocal8Bit(argv[2]));
    if (argc >= 2 && qstrcmp(argv[1], "--floor") == 0)
        return runFloor(argc, argv);

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    std::printf("start-up to the main window shown (median of %d runs, platform %s)\n", runs,
                qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ? "default" : qgetenv("QT_QPA_PLATFORM").constData());
    const double floor = medianOfRuns(runs, {u"--floor"_qs});
    std::printf("  %-36s %8.1f ms\n", "floor: one list in a window", floor);
    for (const int snacks : {0, 10000}) {
        QTemporaryDir postPet;
        const QString snackDir = postPet.path() + u"/おやつ"_qs;
        if (!QDir().mkpath(snackDir) || !bench::makeSnackFolder(QFile::encodeName(snackDir), snacks)) {
            std::fprintf(stderr, "cannot make the snack folder\n");
            return 1;
        }
        const double time = medianOfRuns(runs, {u"--program"_qs, postPet.path()});
        std::printf("  くるみ箱 with %6d snacks %*s %8.1f ms   %.2f x floor\n", snacks, 9, "", time, time / floor);
        bench::emptyFolder(QFile::encodeName(snackDir));
    }
    return 0;
}
