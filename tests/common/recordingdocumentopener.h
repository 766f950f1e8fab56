#pragma once

#include "platform/documentopener.h"

namespace kurubako {

// Records the documents and answers `succeed`.
class RecordingDocumentOpener final : public DocumentOpener
{
public:
    bool open(const QString &path, const QString &workingFolder) override
    {
        opened.append(path);
        folders.append(workingFolder);
        return succeed;
    }
    bool succeed = true;
    QStringList opened;
    QStringList folders;
};

} // namespace kurubako
