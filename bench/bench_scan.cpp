// Times scanSnackFolder() on a generated snack folder of N files against the shell pipeline
// "find DIR -maxdepth 1 -type f | sort -f" over the same folder, and prints the medians.
//
//   kurubako-bench [N] [runs]      N files (default 100000), runs of each (default 7)

#include "benchutil.h"

#include "platform/fileops_posix.h"
#include "snacks/snackscan.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace kurubako;
using bench::Clock;
using bench::median;
using bench::millisecondsSince;

namespace {

// Runs the pipeline through /bin/sh and reads all its output; the number of lines read.
long runPipeline(const QByteArray &dir)
{
    const QByteArray command = "find '" + dir + "' -maxdepth 1 -type f | sort -f";
    FILE *pipe = ::popen(command.constData(), "r");
    if (!pipe)
        return -1;
    char buffer[1 << 16];
    long lines = 0;
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        lines += std::count(buffer, buffer + n, '\n');
    ::pclose(pipe);
    return lines;
}

} // namespace

int main(int argc, char **argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
    if (count <= 0 || runs <= 0) {
        std::fprintf(stderr, "usage: %s [N files] [runs]\n", argv[0]);
        return 2;
    }

    QTemporaryDir temp;
    const QByteArray dir = QFile::encodeName(temp.path());
    Clock::time_point start = Clock::now();
    if (!bench::makeSnackFolder(dir, count)) {
        std::fprintf(stderr, "cannot make the files in %s\n", dir.constData());
        bench::emptyFolder(dir);
        return 1;
    }
    std::printf("folder: %s, %d files (made in %.0f ms)\n", dir.constData(), count, millisecondsSince(start));
    const char *lcAll = std::getenv("LC_ALL");
    const char *lang = std::getenv("LANG");
    std::printf("LC_ALL=%s LANG=%s\n", lcAll ? lcAll : "", lang ? lang : "");

    PosixFileOps files;
    const QString folder = temp.path();
    // One of each first, so that every timed run finds the folder in the cache.
    const SnackLists warm = scanSnackFolder(files, folder);
    const long pipelineLines = runPipeline(dir);
    std::printf("scan lists %lld stock + %lld today; pipeline prints %ld lines\n",
                static_cast<long long>(warm.stock.size()), static_cast<long long>(warm.today.size()),
                pipelineLines);

    std::vector<double> listing, scan, pipeline;
    for (int run = 0; run < runs; ++run) {
        start = Clock::now();
        const auto names = files.listFiles(folder);
        listing.push_back(millisecondsSince(start));

        start = Clock::now();
        const SnackLists lists = scanSnackFolder(files, folder);
        scan.push_back(millisecondsSince(start));

        start = Clock::now();
        runPipeline(dir);
        pipeline.push_back(millisecondsSince(start));
    }

    const double scanMedian = median(scan);
    const double pipelineMedian = median(pipeline);
    std::printf("medians of %d runs:\n", runs);
    std::printf("  listFiles alone        %9.1f ms\n", median(listing));
    std::printf("  scanSnackFolder        %9.1f ms\n", scanMedian);
    std::printf("  find | sort -f         %9.1f ms\n", pipelineMedian);
    std::printf("  ratio scan / pipeline  %9.2f\n", scanMedian / pipelineMedian);
    std::printf("  scan per snack         %9.3f us\n", 1000 * scanMedian / count);

    bench::emptyFolder(dir);
    return 0;
}
