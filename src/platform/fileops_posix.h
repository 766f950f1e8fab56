#pragma once

#include "fileops.h"
#include "syscalls.h"

namespace kurubako {

class PosixFileOps final : public FileOps
{
public:
    explicit PosixFileOps(Syscalls &syscalls = Syscalls::real());

    bool visitFiles(const QString &folder, const std::function<void(QByteArrayView native)> &visit) override;
    RenameOutcome renameFiles(const QString &folder, const QList<RenameRequest> &requests,
                              const RenameProgress &progress = {}) override;
    std::optional<QString> findPlainFile(const QString &folder, const QString &name) override;

private:
    // How taking away one of a file's two names ended.
    struct Removal
    {
        enum Result {
            Removed, // it was the other name of the file, and is gone
            Gone, // nothing had that name any more
            OtherFile, // another file had that name, and keeps it
            Failed, // the name could not be moved: nothing changed
            Stranded, // another file had that name and could not be put back: it is `aside`
        } result;
        int error; // errno of Failed
        QByteArray aside; // where the stranded file is
    };

    // How the program tells that two names of the folder are one file.
    enum class Identity {
        Unknown, // not found out yet
        Inode, // by inode number: the file system gives all names of a file one, and counts links
        LinkCount, // by link count and the like: the file system numbers each name on its own
                   // (libfuse 2 file systems without use_ino) but counts links
        None, // not at all: nothing is renamed through a link
    };

    FileError renameOne(int dirFd, const QByteArray &from, const QByteArray &to, Identity &identity);
    // Ends a rename through a link: the snack, now also called `to`, loses the name `from`.
    FileError takeOldNameAway(int dirFd, const QByteArray &from, const QByteArray &to, Identity &identity);
    // Finds out how the folder's file system lets the program tell two names of one file,
    // with an empty file of its own under two hidden names; NoSafeRename where it cannot.
    FileError probeIdentity(int dirFd, Identity &identity);
    // Whether `name` is another name of the file called `of` (a regular file or a link).
    bool isSecondName(int dirFd, const QByteArray &name, const QByteArray &of, Identity &identity);
    // Whether two names that stat described so are names of one file: each has another name,
    // and they show one number or look alike, as the file system lets the program tell.
    bool namesOneFile(int dirFd, const struct stat &a, const struct stat &b, Identity &identity);
    // Takes `name` away if it is another name of the file called `keep`; never deletes a file
    // that has no other name.
    Removal removeSecondName(int dirFd, const QByteArray &name, const QByteArray &keep, Identity &identity);
    // Tidies the program's hidden names that a stopped run left (see visitFiles); gives the
    // names that files got back.
    QList<QByteArray> mendLeftovers(int dirFd, const QList<QByteArray> &leftovers);

    Syscalls &m_sys;
};

} // namespace kurubako
