#pragma once

// What the benchmark programs share: a clock, medians, and snack folders to measure on.

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <iterator>
#include <random>
#include <unistd.h>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Snack names as a PostPet folder holds them: Japanese and Latin, a few written in Shift_JIS
// by PostPet itself, a tenth with the extension in upper case; even indexes are today's
// snacks, odd ones stock snacks.
inline QByteArray snackFileName(int index, std::mt19937 &random)
{
    static const char *const words[] = {
        "cookie",   "Candy",    "choco", "Senbei", "pudding",  "Dango",  "おせんべい", "羊羹",
        "クッキー", "たいやき", "饅頭",  "チョコ", "ＰＯＳＴ", "ぽてち", "Ｍｏｃｈｉ", "かりんとう"};
    static const char *const sjisWords[] = {"\x83\x5c\x83\x74\x83\x67", "\x82\xa8\x82\xa9\x82\xb5"};
    const bool sjis = random() % 50 == 0;
    QByteArray name = sjis ? sjisWords[random() % 2] : words[random() % std::size(words)];
    name += '_' + QByteArray::number(index);
    const bool stock = index % 2;
    const bool upper = random() % 10 == 0;
    name += stock ? (upper ? ".PA_" : ".pa_") : (upper ? ".PAC" : ".pac");
    return name;
}

// Makes `count` empty snack files in `dir`, always the same names for the same count.
inline bool makeSnackFolder(const QByteArray &dir, int count)
{
    std::mt19937 random(20240607);
    for (int i = 0; i < count; ++i) {
        const int fd = ::open(QByteArray(dir + '/' + snackFileName(i, random)).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        ::close(fd);
    }
    return true;
}

// Removes the files of `dir`; QTemporaryDir cannot remove the Shift_JIS names itself.
inline void emptyFolder(const QByteArray &dir)
{
    std::vector<QByteArray> names;
    if (DIR *d = ::opendir(dir.constData())) {
        while (const dirent *entry = ::readdir(d)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(d);
    }
    for (const QByteArray &name : names)
        ::unlink(QByteArray(dir + '/' + name).constData());
}

} // namespace bench
