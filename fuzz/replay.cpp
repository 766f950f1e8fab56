// Feeds every file named on the command line, or found in a folder named there, to the fuzz
// target once, as libFuzzer would, in a build without libFuzzer.

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

bool replay(const QString &file)
{
    QFile stream(file);
    if (!stream.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = stream.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                           std::size_t(bytes.size()));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    // Qt's arguments: on Windows from the wide command line, so that a corpus under a folder
    // name outside the ANSI code page is found.
    const QCoreApplication app(argc, argv);
    int replayed = 0;
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    for (const QString &path : arguments) {
        QStringList files;
        if (QFileInfo(path).isDir()) {
            QDirIterator entries(path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (entries.hasNext())
                files.append(entries.next());
        } else {
            files.append(path);
        }
        for (const QString &file : files) {
            if (!replay(file)) {
                std::fprintf(stderr, "cannot read %s\n", qUtf8Printable(file));
                return 1;
            }
            ++replayed;
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    // An empty corpus would pass without checking anything.
    return replayed > 0 ? 0 : 1;
}
