#pragma once

#include "fileops.h"
#include "syscalls.h"

namespace kurubako {

class PosixFileOps final : public FileOps
{
public:
    explicit PosixFileOps(Syscalls &syscalls = Syscalls::real());

    bool visitFiles(const QString &folder, const std::function<void(QByteArrayView native)> &visit) override;
    RenameOutcome renameFiles(const QString &folder, const QList<RenameRequest> &requests) override;
    std::optional<QString> findPlainFile(const QString &folder, const QString &name) override;

private:
    // How taking away one of a file's two names ended.
    struct Removal
    {
        enum Result {
            Removed,   // it was the other name of the file, and is gone
            Gone,      // nothing had that name any more
            OtherFile, // another file had that name, and keeps it
            Failed,    // the name could not be moved: nothing changed
            Stranded,  // another file had that name and could not be put back: it is `aside`
        } result;
        int error;        // errno of Failed
        QByteArray aside; // where the stranded file is
    };

    FsError renameOne(int dirFd, const QByteArray &from, const QByteArray &to);
    // Takes `name` away if it is another name of the file called `keep`; never deletes a file
    // that has no other name.
    Removal removeSecondName(int dirFd, const QByteArray &name, const QByteArray &keep);

    Syscalls &m_sys;
};

} // namespace kurubako
