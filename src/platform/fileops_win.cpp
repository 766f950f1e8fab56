#include "fileops_win.h"

#include <QDir>

#include <windows.h>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

QString pathOf(const QString &folder, const QString &name)
{
    QString path = QDir::toNativeSeparators(folder);
    if (!path.endsWith(u'\\'))
        path += u'\\';
    return path + name;
}

std::wstring widePathOf(const QString &folder, QByteArrayView name)
{
    return pathOf(folder, QString::fromUtf8(name)).toStdWString();
}

FileError windowsError(DWORD error)
{
    switch (error) {
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return FileError(FileError::FileExists);
    case ERROR_FILE_NOT_FOUND:
        return FileError(FileError::FileNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
    case ERROR_BAD_NETPATH:
        return FileError(FileError::PathNotFound);
    case ERROR_ACCESS_DENIED:
        return FileError(FileError::PermissionDenied);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: { // PostPet, say, has the file open
        FileError inUse = FileError(FileError::PermissionDenied);
        inUse.description = u"ほかのプログラムがこのファイルを使っています。"_s;
        return inUse;
    }
    case ERROR_WRITE_PROTECT:
        return FileError(FileError::ReadOnly);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileError(FileError::DiskFull);
    case ERROR_NOT_SAME_DEVICE:
        return FileError(FileError::OtherDevice);
    case ERROR_FILENAME_EXCED_RANGE:
        return FileError(FileError::NameTooLong);
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return FileError(FileError::BadFileName);
    case ERROR_NOT_READY:
    case ERROR_CRC:
        return FileError(FileError::DeviceIo);
    default: {
        FileError unexpected = FileError(FileError::Unexpected);
        unexpected.description += u"（Windows のエラー "_s + QString::number(error) + u'）';
        return unexpected;
    }
    }
}

// What the lists leave out: folders, hidden and system files, devices.
constexpr DWORD NotOrdinary =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;

// The file at `path` as its folder lists it: its name in its own letter case and its
// attributes. Nothing, with the error left for GetLastError(), when there is none.
std::optional<WIN32_FIND_DATAW> findFile(const std::wstring &path)
{
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return std::nullopt;
    FindClose(find);
    return data;
}

} // namespace

bool WinFileOps::visitFiles(const QString &folder, const std::function<void(QByteArrayView native)> &visit)
{
    // A path with a NUL names no folder: Windows would read it only up to the NUL.
    if (folder.contains(QChar(0)))
        return false;
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileExW(pathOf(folder, u"*"_s).toStdWString().c_str(), FindExInfoBasic,
                                         &data, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND; // a folder without even "." and ".."
    do {
        if (data.dwFileAttributes & NotOrdinary)
            continue;
        const QString name = QString::fromWCharArray(data.cFileName);
        // Half of a surrogate pair has no UTF-8 form: such a name could not be given back to
        // Windows, so it is not offered for renaming.
        if (name.isValidUtf16())
            visit(name.toUtf8());
    } while (FindNextFileW(find, &data));
    const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(find);
    return complete;
}

RenameOutcome WinFileOps::renameFiles(const QString &folder, const QList<RenameRequest> &requests,
                                      const RenameProgress &progress)
{
    RenameOutcome outcome;
    if (!requests.isEmpty() && folder.contains(QChar(0))) {
        outcome.error = FileError(FileError::PathNotFound);
        return outcome;
    }
    for (const RenameRequest &request : requests) {
        if (outcome.completed > 0 && progress && !progress(outcome.completed)) {
            outcome.stopped = true;
            return outcome;
        }
        outcome.error = renameOne(folder, request.from, request.to);
        if (outcome.error.failed())
            return outcome;
        ++outcome.completed;
    }
    return outcome;
}

FileError WinFileOps::renameOne(const QString &folder, const QByteArray &from, const QByteArray &to)
{
    const QString newName = QString::fromUtf8(to);
    if (newName.isEmpty() || newName.contains(u'\0') || newName.contains(u'\\') || newName.contains(u'/')
        || isDeviceName(newName))
        return FileError(FileError::BadFileName);
    const std::wstring source = widePathOf(folder, from);
    const std::wstring target = widePathOf(folder, to);
    // Windows' file systems keep names of up to 255 UTF-16 units, and its calls take paths
    // shorter than MAX_PATH.
    if (newName.size() > 255 || target.size() >= MAX_PATH)
        return FileError(FileError::NameTooLong);
    // Windows finds a name in any letter case: the source must be the very file that was
    // listed, under this name exactly.
    const QString oldName = QString::fromUtf8(from);
    const auto listed = findFile(source);
    if (!listed) {
        const DWORD error = GetLastError();
        return windowsError(error == ERROR_PATH_NOT_FOUND ? error : ERROR_FILE_NOT_FOUND);
    }
    if (QString::fromWCharArray(listed->cFileName) != oldName || (listed->dwFileAttributes & NotOrdinary))
        return FileError(FileError::FileNotFound);
    if (from == to)
        return {};
    // Without MOVEFILE_REPLACE_EXISTING the rename fails when the new name exists in any
    // letter case, unless it is the file itself: a change of letter case only is allowed.
    if (!MoveFileExW(source.c_str(), target.c_str(), 0))
        return windowsError(GetLastError());
    const auto renamed = findFile(target);
    if (!renamed || QString::fromWCharArray(renamed->cFileName) != oldName)
        return {};

    // The file system took a change of letter case only for a rename onto the file itself
    // and kept the old name (as Wine and some network shares do). Two renames through a
    // name of its own make the change; neither can replace a file.
    const std::wstring step =
        pathOf(folder, oldName + u".kurubako-"_s + QString::number(GetCurrentProcessId())).toStdWString();
    if (!MoveFileExW(source.c_str(), step.c_str(), 0))
        return windowsError(GetLastError());
    if (MoveFileExW(step.c_str(), target.c_str(), 0))
        return {};
    FileError error = windowsError(GetLastError());
    if (!MoveFileExW(step.c_str(), source.c_str(), 0))
        error.description +=
            u"（ファイルは "_s + QString::fromStdWString(step) + u" という名前で残っています）"_s;
    return error;
}

std::optional<QString> WinFileOps::findPlainFile(const QString &folder, const QString &name)
{
    // Windows itself looks the name up in any letter case; the path gets the file's own.
    if (name.contains(u'*') || name.contains(u'?') || name.contains(QChar(0)) || folder.contains(QChar(0)))
        return std::nullopt;
    const auto found = findFile(pathOf(folder, name).toStdWString());
    if (!found || (found->dwFileAttributes & NotOrdinary))
        return std::nullopt;
    return pathOf(folder, QString::fromWCharArray(found->cFileName));
}

std::unique_ptr<FileOps> systemFileOps()
{
    return std::make_unique<WinFileOps>();
}

} // namespace kurubako
