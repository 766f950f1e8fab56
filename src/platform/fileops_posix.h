#pragma once

#include "fileops.h"
#include "syscalls.h"

namespace kurubako {

class PosixFileOps final : public FileOps
{
public:
    explicit PosixFileOps(Syscalls &syscalls = Syscalls::real());

    std::optional<QList<FileName>> listFiles(const QString &folder) override;
    bool visitFiles(const QString &folder, const std::function<void(QByteArrayView native)> &visit) override;
    RenameOutcome renameFiles(const QString &folder, const QList<RenameRequest> &requests) override;
    std::optional<QString> findPlainFile(const QString &folder, const QString &name) override;
    QByteArray encodeName(const QString &name) const override;
    QString executableFolder() const override;

private:
    FsError renameOne(int dirFd, const QByteArray &from, const QByteArray &to);

    Syscalls &m_sys;
};

} // namespace kurubako
