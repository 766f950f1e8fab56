// Times scanSnackFolder() on a generated snack folder of N files against the shell pipeline
// "find DIR -maxdepth 1 -type f | sort -f" over the same folder, and prints the medians.
//
//   kurubako-bench [N] [runs]      N files (default 100000), runs of each (default 7)

#include "platform/fileops_posix.h"
#include "snacks/snackscan.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <unistd.h>
#include <vector>

using namespace kurubako;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Snack names as a PostPet folder holds them: Japanese and Latin, a few written in Shift_JIS
// by PostPet itself, a tenth with the extension in upper case.
QByteArray snackFileName(int index, std::mt19937 &random)
{
    static const char *const words[] = {
        "cookie", "Candy", "choco", "Senbei", "pudding", "Dango", "おせんべい", "羊羹", "クッキー",
        "たいやき", "饅頭", "チョコ", "ＰＯＳＴ", "ぽてち", "Ｍｏｃｈｉ", "かりんとう"};
    static const char *const sjisWords[] = {"\x83\x5c\x83\x74\x83\x67", "\x82\xa8\x82\xa9\x82\xb5"};
    const bool sjis = random() % 50 == 0;
    QByteArray name = sjis ? sjisWords[random() % 2] : words[random() % std::size(words)];
    name += '_' + QByteArray::number(index);
    const bool stock = index % 2;
    const bool upper = random() % 10 == 0;
    name += stock ? (upper ? ".PA_" : ".pa_") : (upper ? ".PAC" : ".pac");
    return name;
}

bool makeFolder(const QByteArray &dir, int count)
{
    std::mt19937 random(20240607);
    for (int i = 0; i < count; ++i) {
        const int fd = ::open(QByteArray(dir + '/' + snackFileName(i, random)).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0)
            return false;
        ::close(fd);
    }
    return true;
}

// QTemporaryDir cannot remove the Shift_JIS names itself.
void emptyFolder(const QByteArray &dir)
{
    std::vector<QByteArray> names;
    if (DIR *d = ::opendir(dir.constData())) {
        while (const dirent *entry = ::readdir(d)) {
            if (entry->d_name[0] != '.')
                names.emplace_back(entry->d_name);
        }
        ::closedir(d);
    }
    for (const QByteArray &name : names)
        ::unlink(QByteArray(dir + '/' + name).constData());
}

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
    if (!makeFolder(dir, count)) {
        std::fprintf(stderr, "cannot make the files in %s\n", dir.constData());
        emptyFolder(dir);
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

    emptyFolder(dir);
    return 0;
}
