#pragma once

#include <QStringList>

namespace kurubako {

// Opens a document in the user's viewer for its type, without waiting for the viewer.
class DocumentOpener
{
public:
    virtual ~DocumentOpener() = default;
    // False when the document is missing or no viewer could be started.
    virtual bool open(const QString &path, const QString &workingFolder) = 0;
};

class SystemDocumentOpener final : public DocumentOpener
{
public:
    bool open(const QString &path, const QString &workingFolder) override;
};

} // namespace kurubako
