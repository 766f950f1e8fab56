#include "terminal.h"

#include <windows.h>

#include <shellapi.h> // after windows.h, which it needs

namespace kurubako {

QStringList commandLineArguments(int, char **)
{
    QStringList arguments;
    int count = 0;
    if (wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            arguments.append(QString::fromWCharArray(wide[i]));
        LocalFree(wide);
    }
    return arguments;
}

void printToTerminal(const QString &text, TerminalStream stream)
{
    HANDLE handle = GetStdHandle(stream == TerminalStream::Error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    bool console = false;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        // Started from a console without redirection: write to the parent's console.
        if (!AttachConsole(ATTACH_PARENT_PROCESS))
            return;
        handle = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return;
        console = true;
    }
    DWORD written = 0;
    DWORD mode = 0;
    if (console || GetConsoleMode(handle, &mode)) {
        const std::wstring wide = text.toStdWString();
        WriteConsoleW(handle, wide.c_str(), DWORD(wide.size()), &written, nullptr);
    } else {
        // A file or a pipe: in the code page that the programs reading it expect.
        const QByteArray bytes = text.toLocal8Bit();
        WriteFile(handle, bytes.constData(), DWORD(bytes.size()), &written, nullptr);
    }
    if (console)
        CloseHandle(handle);
}

bool windowSystemFound()
{
    return true; // Windows always has its desktop
}

} // namespace kurubako
