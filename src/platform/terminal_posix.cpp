#include "terminal.h"

#include <QFile>

#include <cstdio>

namespace kurubako {

QStringList commandLineArguments(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    return arguments;
}

void printToTerminal(const QString &text, TerminalStream stream)
{
    std::FILE *file = stream == TerminalStream::Error ? stderr : stdout;
    std::fputs(text.toLocal8Bit().constData(), file);
    std::fflush(file);
}

} // namespace kurubako
