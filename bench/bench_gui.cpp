// Times the windows' work at N = 100, 10,000 and 100,000 snacks, each figure the median of
// several runs beside a floor measured in the same run:
//
//   start-up to the main window shown   a minimal Qt Widgets program showing one list: of the
//                                       snack folder's files, and of one line of text
//   peak memory (RSS) of that start-up  the same minimal programs
//   refreshSnackLists on the window     find DIR -maxdepth 1 -type f | sort -f
//   moving 10,000 selected snacks       10,000 renameat2() calls and one listing
//   全選択, then 全解除, on the list     none (absolute)
//   another program's change of one     none (absolute)
//   snack shown in the lists
//
//   kurubako-bench-gui [runs] [figure]   runs of each (default 7); figure: startup, refresh,
//                                        moving, selection or live (default all)
//
// Without a display the windows run on Qt's offscreen platform.

#include "benchutil.h"

#include "common/memorysettingsstore.h"
#include "common/recordingdocumentopener.h"
#include "common/recordingprocessstarter.h"
#include "common/scriptedmsgbox.h"
#include "platform/fileops.h"
#include "snacks/snackscan.h"
#include "ui/fonts.h"
#include "ui/mainwindow.h"
#include "ui/program.h"
#include "ui/snacklist.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

using namespace Qt::StringLiterals;

using namespace kurubako;
using bench::Clock;
using bench::millisecondsSince;

namespace {

constexpr int Sizes[] = {100, 10000, 100000};

// The peak resident set of this process so far, in KiB.
long peakRssKiB()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Ends the process once `window` has painted for the first time, printing its peak memory.
class QuitOnFirstPaint : public QObject
{
public:
    explicit QuitOnFirstPaint(QWidget *window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            QTimer::singleShot(0, qApp, [] {
                std::printf("%ld\n", peakRssKiB());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }
};

// A run of the program as a user starts it, with its PostPet folder known; only the settings
// and the message boxes are doubles (every question is answered Yes).
struct Run
{
    explicit Run(const QString &postPetDir)
    {
        for (const char *key : {"top", "left", "Chk2"})
            store.setValue(QString::fromLatin1(key), u"0"_s);
        store.setValue(u"Chk1"_s, u"True"_s);
        store.setValue(u"ver"_s, u"1.1"_s);
        store.setValue(u"postpet_dir"_s, postPetDir);
        // The first paint shows the lists filled, however long the folder takes.
        Waits waits;
        waits.firstLists = OffThreadCall::Unlimited;
        program = std::make_unique<Program>(Services{*files, box, starter, opener, waits}, store, [] {});
        program->start();
    }

    MemorySettingsStore store;
    std::unique_ptr<FileOps> files = systemFileOps();
    ScriptedMsgBox box;
    RecordingProcessStarter starter;
    RecordingDocumentOpener opener;
    std::unique_ptr<Program> program;
};

int runProgram(int argc, char **argv, const QString &postPetDir)
{
    QApplication app(argc, argv);
    useProgramFont();
    Run run(postPetDir);
    QuitOnFirstPaint quit(run.program->mainWindow());
    return app.exec();
}

// The floor: one list in a window, showing one line of text, or the names of the files in
// `folder` sorted without regard to case, as `sort -f` does.
int runFloor(int argc, char **argv, const QString &folder)
{
    QApplication app(argc, argv);
    QListWidget list;
    if (folder.isEmpty())
        list.addItem(u"floor"_s);
    else
        list.addItems(QDir(folder).entryList(QDir::Files));
    list.show();
    QuitOnFirstPaint quit(&list);
    return app.exec();
}

struct ChildFigures
{
    double milliseconds;
    long rssKiB;
};

// Starts this program with `arguments` and times it up to the line it prints at its first
// paint, so that neither figure includes tearing the process down.
ChildFigures runChild(const QStringList &arguments)
{
    const auto start = Clock::now();
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QCoreApplication::applicationFilePath(), arguments);
    while (!process.canReadLine() && process.waitForReadyRead(120000)) { }
    const double time = millisecondsSince(start);
    const QByteArray line = process.readLine();
    if (!process.waitForFinished(120000) || process.exitCode() != 0 || line.isEmpty()) {
        std::fprintf(stderr, "child %s failed\n", qPrintable(arguments.join(u' ')));
        std::exit(1);
    }
    return {time, line.trimmed().toLong()};
}

// Runs each command line in turn, round after round, so that all of them meet the same state
// of the machine; returns the medians in the same order.
std::vector<ChildFigures> interleavedMedians(int runs, const std::vector<QStringList> &commandLines)
{
    for (const QStringList &arguments : commandLines)
        runChild(arguments); // warm the file cache
    std::vector<std::vector<double>> times(commandLines.size());
    std::vector<std::vector<double>> rss(commandLines.size());
    for (int run = 0; run < runs; ++run) {
        for (size_t which = 0; which < commandLines.size(); ++which) {
            const ChildFigures figures = runChild(commandLines[which]);
            times[which].push_back(figures.milliseconds);
            rss[which].push_back(double(figures.rssKiB));
        }
    }
    std::vector<ChildFigures> medians;
    for (size_t which = 0; which < commandLines.size(); ++which)
        medians.push_back({bench::median(times[which]), long(bench::median(rss[which]))});
    return medians;
}

// A PostPet folder holding `count` generated snacks; `nameBytes` is the size of their names.
struct SnackFolder
{
    explicit SnackFolder(int count)
        : snackDir(postPet.path() + u"/おやつ"_s)
    {
        if (!QDir().mkpath(snackDir) || !bench::makeSnackFolder(QFile::encodeName(snackDir), count)) {
            std::fprintf(stderr, "cannot make the snack folder\n");
            std::exit(1);
        }
        const auto names = systemFileOps()->listFiles(snackDir);
        for (const FileName &name : *names)
            nameBytes += name.native.size();
    }
    ~SnackFolder() { bench::emptyFolder(QFile::encodeName(snackDir)); }

    QTemporaryDir postPet;
    const QString snackDir;
    qint64 nameBytes = 0;
};

double pipelineMilliseconds(const QString &folder)
{
    const auto start = Clock::now();
    const QByteArray command =
        "find '" + QFile::encodeName(folder) + "' -maxdepth 1 -type f | sort -f > /dev/null";
    if (std::system(command.constData()) != 0)
        std::fprintf(stderr, "the pipeline failed\n");
    return millisecondsSince(start);
}

template<typename Work>
double medianOf(int runs, Work work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run)
        times.push_back(work());
    return bench::median(times);
}

void startupAndMemory(int runs)
{
    std::printf("\nstart-up to the main window shown, and its peak memory, against one list in a window:\n"
                "one showing a line of text, and one showing the folder's files sorted (QDir::entryList)\n");
    for (const int count : {0, 100, 10000, 100000}) {
        const SnackFolder folder(count);
        const auto figures = interleavedMedians(
            runs, {{u"--program"_s, folder.postPet.path()}, {u"--floor"_s}, {u"--floor"_s, folder.snackDir}});
        const ChildFigures &ours = figures[0];
        std::printf("  %6d snacks  %7.1f ms  %7ld KiB   (3 x names: %ld KiB)\n", count, ours.milliseconds,
                    ours.rssKiB, long(3 * folder.nameBytes / 1024));
        const char *const floorNames[] = {"one line", "list of the files"};
        for (size_t which = 1; which < figures.size(); ++which) {
            const ChildFigures &floor = figures[which];
            std::printf("    floor, %-17s %7.1f ms  %5.2f x   %7ld KiB, ours = floor %+7ld KiB\n",
                        floorNames[which - 1], floor.milliseconds, ours.milliseconds / floor.milliseconds,
                        floor.rssKiB, ours.rssKiB - floor.rssKiB);
        }
    }
}

void refresh(int runs)
{
    std::printf("\nrefreshSnackLists on the loaded main window, against find | sort -f\n");
    for (const int count : Sizes) {
        const SnackFolder folder(count);
        Run run(folder.postPet.path());
        MainWindow *window = run.program->mainWindow();
        pipelineMilliseconds(folder.snackDir);
        const double ours = medianOf(runs, [&] {
            const auto start = Clock::now();
            window->refreshSnackLists();
            QCoreApplication::processEvents();
            return millisecondsSince(start);
        });
        const double floor = medianOf(runs, [&] { return pipelineMilliseconds(folder.snackDir); });
        std::printf("  %6d snacks  %8.1f ms  %7.2f us/snack   floor %8.1f ms   %5.2f x\n", count, ours,
                    1000 * ours / count, floor, ours / floor);
    }
}

// Renames every file of `folder` from one extension to the other with plain renameat2()
// calls after one listing: the least any move of them all can cost.
double renameFloor(const QString &folder)
{
    const auto start = Clock::now();
    const auto names = systemFileOps()->listFiles(folder);
    const int dirFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (const FileName &name : *names) {
        QByteArray target = name.native;
        target[target.size() - 1] = target.endsWith('_') ? 'c' : '_';
        ::renameat2(dirFd, name.native.constData(), dirFd, target.constData(), RENAME_NOREPLACE);
    }
    ::close(dirFd);
    return millisecondsSince(start);
}

// Renames every today's snack of `folder` to a stock snack.
void makeAllStock(const QString &folder)
{
    const auto names = systemFileOps()->listFiles(folder);
    for (const FileName &name : *names) {
        if (name.native.toLower().endsWith(".pac")) {
            const QByteArray dir = QFile::encodeName(folder) + '/';
            ::rename(QByteArray(dir + name.native).constData(),
                     QByteArray(dir + name.native.chopped(4) + ".pa_").constData());
        }
    }
}

void moving(int runs)
{
    constexpr int count = 10000;
    std::printf("\nmoving %d selected snacks, refresh included, against renameat2() x %d + one listing\n",
                count, count);
    // Every file a stock snack, so that each run moves them all to today's and the next back.
    const SnackFolder folder(count);
    makeAllStock(folder.snackDir);
    Run run(folder.postPet.path());
    MainWindow *window = run.program->mainWindow();
    QAction *addToToday = window->findChild<QAction *>(u"addToTodayAction"_s);
    QAction *moveToStock = window->findChild<QAction *>(u"moveToStockAction"_s);
    bool toToday = true;
    const double ours = medianOf(runs, [&] {
        window->findChild<QPushButton *>(toToday ? u"stockSelectAllButton"_s : u"todaySelectAllButton"_s)
            ->click();
        const auto start = Clock::now();
        (toToday ? addToToday : moveToStock)->trigger();
        QCoreApplication::processEvents();
        toToday = !toToday;
        return millisecondsSince(start);
    });
    if (!run.box.shown.isEmpty())
        std::printf("  (a box was shown: %s)\n", qPrintable(run.box.shown.constFirst().text));
    const double floor = medianOf(runs, [&] { return renameFloor(folder.snackDir); });
    std::printf("  くるみ箱 %8.1f ms   floor %8.1f ms   %5.2f x\n", ours, floor, ours / floor);
}

void selection(int runs)
{
    std::printf("\n全選択 then 全解除 on 100,000 items (%d cores)\n", QThread::idealThreadCount());
    const SnackFolder folder(200000);
    Run run(folder.postPet.path());
    MainWindow *window = run.program->mainWindow();
    window->show();
    QCoreApplication::processEvents();
    const auto click = [&](const QString &button) {
        const auto start = Clock::now();
        window->findChild<QPushButton *>(button)->click();
        QCoreApplication::processEvents();
        return millisecondsSince(start);
    };
    std::vector<double> selectAll;
    std::vector<double> clear;
    for (int run = 0; run < runs; ++run) {
        selectAll.push_back(click(u"stockSelectAllButton"_s));
        clear.push_back(click(u"stockClearButton"_s));
    }
    std::printf("  全選択 %8.2f ms   全解除 %8.2f ms   (list of %d)\n", bench::median(selectAll),
                bench::median(clear),
                window->findChild<SnackListView *>(u"stockList"_s)->snackModel()->rowCount());
}

void liveUpdate(int runs)
{
    std::printf("\nanother program's change of one snack shown in the lists, selection kept: the windows'\n"
                "thread's part, the listing not included (absolute; at most 5 ms at 10,000)\n");
    for (const int count : Sizes) {
        const SnackFolder folder(count);
        makeAllStock(folder.snackDir);
        Run run(folder.postPet.path());
        MainWindow *window = run.program->mainWindow();
        window->show();
        auto *list = window->findChild<SnackListView *>(u"stockList"_s);
        for (int row = 0; row < count; row += 100)
            list->selectionModel()->select(list->snackModel()->index(row), QItemSelectionModel::Select);
        list->scrollTo(list->snackModel()->index(count / 2), QAbstractItemView::PositionAtTop);
        QCoreApplication::processEvents();
        const SnackLists whole = scanSnackFolder(*run.files, folder.snackDir);
        SnackLists lessOne = whole;
        lessOne.stock.removeAt(count / 4 + 1);
        bool less = true;
        const double ours = medianOf(runs, [&] {
            const SnackLists &lists = less ? lessOne : whole;
            less = !less;
            const auto start = Clock::now();
            window->showFolderChange(lists);
            QCoreApplication::processEvents();
            return millisecondsSince(start);
        });
        std::printf("  %6d snacks  %8.2f ms  (%lld selected)\n", count, ours,
                    static_cast<long long>(list->selectedCount()));
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && qstrcmp(argv[1], "--program") == 0)
        return runProgram(argc, argv, QString::fromLocal8Bit(argv[2]));
    if (argc >= 2 && qstrcmp(argv[1], "--floor") == 0)
        return runFloor(argc, argv, argc >= 3 ? QString::fromLocal8Bit(argv[2]) : QString());

    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    useProgramFont();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    std::printf("medians of %d runs, platform %s, %d cores\n", runs,
                qPrintable(QGuiApplication::platformName()), QThread::idealThreadCount());
    const QString only = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const std::pair<const char *, void (*)(int)> figures[] = {{"startup", startupAndMemory},
                                                              {"refresh", refresh},
                                                              {"moving", moving},
                                                              {"selection", selection},
                                                              {"live", liveUpdate}};
    for (const auto &[name, figure] : figures) {
        if (only.isEmpty() || only == QLatin1StringView(name))
            figure(runs);
    }
    return 0;
}
