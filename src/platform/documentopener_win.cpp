#include "documentopener.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>
#include <shellapi.h>

namespace kurubako {

bool SystemDocumentOpener::open(const QString &path, const QString &workingFolder)
{
    if (!QFileInfo(path).isFile())
        return false;
    // Wide strings, so that a folder name outside the ANSI code page still reaches the shell.
    const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
    const std::wstring folder = QDir::toNativeSeparators(workingFolder).toStdWString();
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(GetActiveWindow(), nullptr, file.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL));
    return result > 32;
}

} // namespace kurubako
