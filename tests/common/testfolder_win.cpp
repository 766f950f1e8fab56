#include "testfolder.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include <windows.h>

namespace testfolder {

namespace {

QString pathTo(const QString &dir, const QByteArray &name)
{
    return QDir(dir).filePath(QString::fromUtf8(name));
}

} // namespace

bool namesAreBytes()
{
    return false;
}

QByteArrayList namesIn(const QString &dir)
{
    QByteArrayList names;
    for (const QString &name :
         QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        names.append(name.toUtf8());
    std::sort(names.begin(), names.end());
    return names;
}

TempFolder::~TempFolder() = default; // every name is Unicode: QTemporaryDir removes them all

bool makeFile(const QString &dir, const QByteArray &name, const QByteArray &contents)
{
    QFile file(pathTo(dir, name));
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() && file.flush();
}

bool makeFolder(const QString &dir, const QByteArray &name)
{
    return QDir(dir).mkdir(QString::fromUtf8(name));
}

bool makeLink(const QString &, const QByteArray &, const QByteArray &)
{
    return false; // symbolic links need a privilege that tests do not have
}

bool makeHardLink(const QString &dir, const QByteArray &name, const QByteArray &target)
{
    return CreateHardLinkW(QDir::toNativeSeparators(pathTo(dir, name)).toStdWString().c_str(),
                           QDir::toNativeSeparators(pathTo(dir, target)).toStdWString().c_str(), nullptr);
}

bool makeFifo(const QString &, const QByteArray &)
{
    return false;
}

bool makeNewFile(const QString &dir, const QByteArray &name, const QByteArray &contents)
{
    const HANDLE file = CreateFileW(QDir::toNativeSeparators(pathTo(dir, name)).toStdWString().c_str(),
                                    GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, contents.constData(), DWORD(contents.size()), &written, nullptr)
        && written == DWORD(contents.size());
    CloseHandle(file);
    return ok;
}

bool removeFile(const QString &dir, const QByteArray &name)
{
    return DeleteFileW(QDir::toNativeSeparators(pathTo(dir, name)).toStdWString().c_str());
}

bool renameNoReplace(const QString &dir, const QByteArray &from, const QByteArray &to)
{
    return MoveFileExW(QDir::toNativeSeparators(pathTo(dir, from)).toStdWString().c_str(),
                       QDir::toNativeSeparators(pathTo(dir, to)).toStdWString().c_str(), 0);
}

QByteArray describe(const QString &dir, const QByteArray &name)
{
    QFile file(pathTo(dir, name));
    if (QFileInfo(file).isDir())
        return "/";
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?");
}

} // namespace testfolder
