#pragma once

#include <QStringList>

#include <functional>

namespace kurubako {

// Opens a document in the user's viewer for its type, without waiting for the viewer.
class DocumentOpener
{
public:
    virtual ~DocumentOpener() = default;
    // Calls `failed` when the document cannot be shown: at once when it is missing or no
    // viewer can be started, or later, when the opener exits reporting that it found no viewer.
    virtual void open(const QString &path, const QString &workingFolder,
                      const std::function<void()> &failed) = 0;
};

class SystemDocumentOpener final : public DocumentOpener
{
public:
    void open(const QString &path, const QString &workingFolder,
              const std::function<void()> &failed) override;
};

} // namespace kurubako
