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

bool windowSystemFound()
{
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    // A list of platforms to try, each with its options after a colon.
    const QStringList platforms = qEnvironmentVariable("QT_QPA_PLATFORM").split(u';', Qt::SkipEmptyParts);
    for (const QString &platform : platforms) {
        const QString name = platform.section(u':', 0, 0);
        if (name != QLatin1StringView("xcb") && !name.startsWith(QLatin1StringView("wayland")))
            return true;
    }
    return false;
}

} // namespace kurubako
