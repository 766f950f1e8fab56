#pragma once

#include "fileops.h"

namespace kurubako {

// Windows keeps names in UTF-16 and compares them without regard to letter case itself;
// the native form of a name here is its UTF-8 text.
class WinFileOps final : public FileOps
{
public:
    bool visitFiles(const QString &folder, const std::function<void(QByteArrayView native)> &visit) override;
    RenameOutcome renameFiles(const QString &folder, const QList<RenameRequest> &requests,
                              const RenameProgress &progress = {}) override;
    std::optional<QString> findPlainFile(const QString &folder, const QString &name) override;

private:
    static FileError renameOne(const QString &folder, const QByteArray &from, const QByteArray &to);
};

} // namespace kurubako
