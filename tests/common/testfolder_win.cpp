#include "testfolder.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

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

bool makeFifo(const QString &, const QByteArray &)
{
    return false;
}

QByteArray describe(const QString &dir, const QByteArray &name)
{
    QFile file(pathTo(dir, name));
    if (QFileInfo(file).isDir())
        return "/";
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?");
}

} // namespace testfolder
