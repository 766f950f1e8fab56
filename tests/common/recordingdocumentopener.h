#pragma once

#include "platform/documentopener.h"

namespace kurubako {

// Records the documents and fails at once unless `succeed`.
class RecordingDocumentOpener final : public DocumentOpener
{
public:
    void open(const QString &path, const QString &workingFolder, const std::function<void()> &failed) override
    {
        opened.append(path);
        folders.append(workingFolder);
        if (!succeed)
            failed();
    }
    bool succeed = true;
    QStringList opened;
    QStringList folders;
};

} // namespace kurubako
