#include "documentopener.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>

#include <shellapi.h> // after windows.h, which it needs

namespace kurubako {

void SystemDocumentOpener::open(const QString &path, const QString &workingFolder,
                                const std::function<void()> &failed)
{
    if (!QFileInfo(path).isFile()) {
        failed();
        return;
    }
    // Wide strings, so that a folder name outside the ANSI code page still reaches the shell.
    const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
    const std::wstring folder = QDir::toNativeSeparators(workingFolder).toStdWString();
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(GetActiveWindow(), nullptr, file.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL));
    if (result <= 32)
        failed();
}

} // namespace kurubako
