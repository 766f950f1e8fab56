#include "fileops_win.h"

#include <QCoreApplication>
#include <QDir>

#include <windows.h>

namespace kurubako {

namespace {

std::wstring widePath(const QString &folder, const QByteArray &name)
{
    QString path = QDir::toNativeSeparators(folder);
    if (!path.endsWith(u'\\'))
        path += u'\\';
    return (path + QString::fromUtf8(name)).toStdWString();
}

FsError lastError()
{
    switch (GetLastError()) {
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return fsError(FileError::FileExists);
    case ERROR_FILE_NOT_FOUND:
        return fsError(FileError::FileNotFound);
    case ERROR_PATH_NOT_FOUND:
        return fsError(FileError::PathNotFound);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return fsError(FileError::PermissionDenied);
    case ERROR_WRITE_PROTECT:
        return fsError(FileError::ReadOnly);
    case ERROR_DISK_FULL:
        return fsError(FileError::DiskFull);
    case ERROR_NOT_SAME_DEVICE:
        return fsError(FileError::OtherDevice);
    case ERROR_FILENAME_EXCED_RANGE:
        return fsError(FileError::NameTooLong);
    case ERROR_INVALID_NAME:
        return fsError(FileError::BadFileName);
    default:
        return fsError(FileError::Unexpected);
    }
}

} // namespace

std::optional<QList<FileName>> WinFileOps::listFiles(const QString &folder)
{
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileExW(widePath(folder, "*").c_str(), FindExInfoBasic, &data,
                                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? std::optional<QList<FileName>>(QList<FileName>{})
                                                       : std::nullopt;
    QList<FileName> files;
    constexpr DWORD skipped = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        if (data.dwFileAttributes & skipped)
            continue;
        const QString name = QString::fromWCharArray(data.cFileName);
        files.append({name.toUtf8(), name});
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return files;
}

RenameOutcome WinFileOps::renameFiles(const QString &folder, const QList<RenameRequest> &requests)
{
    // MoveFileExW without MOVEFILE_REPLACE_EXISTING fails when the new name exists in any
    // letter case, and finds the old name in any letter case.
    RenameOutcome outcome;
    for (const RenameRequest &request : requests) {
        if (!MoveFileExW(widePath(folder, request.from).c_str(), widePath(folder, request.to).c_str(), 0)) {
            outcome.error = lastError();
            return outcome;
        }
        ++outcome.completed;
    }
    return outcome;
}

std::optional<QString> WinFileOps::findPlainFile(const QString &folder, const QString &name)
{
    const std::wstring path = widePath(folder, name.toUtf8());
    const DWORD attributes = GetFileAttributesW(path.c_str());
    constexpr DWORD notPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & notPlain))
        return std::nullopt;
    return QString::fromStdWString(path);
}

QByteArray WinFileOps::encodeName(const QString &name) const
{
    return name.toUtf8();
}

QString WinFileOps::executableFolder() const
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

std::unique_ptr<FileOps> systemFileOps()
{
    return std::make_unique<WinFileOps>();
}

} // namespace kurubako
