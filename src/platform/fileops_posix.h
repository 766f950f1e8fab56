#pragma once

#include "fileops.h"
#include "syscalls.h"

namespace kurubako {

// The file operations on POSIX systems, with every call on a folder made through `syscalls`.
// The rename protocol is described in docs/renames.md.
class PosixFileOps final : public FileOps
{
public:
    explicit PosixFileOps(Syscalls &syscalls = Syscalls::real());

    bool visitFiles(const QString &folder, const std::function<void(QByteArrayView native)> &visit) override;
    RenameOutcome renameFiles(const QString &folder, const QList<RenameRequest> &requests,
                              const RenameProgress &progress = {}) override;
    void finishStoppedRenames(const QString &folder) override;
    std::optional<QString> findPlainFile(const QString &folder, const QString &name) override;

private:
    Syscalls &m_sys;
};

} // namespace kurubako
