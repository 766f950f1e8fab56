#include "documentopener.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace kurubako {

bool SystemDocumentOpener::open(const QString &path, const QString &workingFolder)
{
    // The desktop's opener reports success for any path it was handed, so the document is
    // checked here; a missing opener fails the start.
    const QFileInfo document(path);
    if (!document.isFile() || !document.isReadable())
        return false;
    const QString opener = QStandardPaths::findExecutable(u"xdg-open"_s);
    if (opener.isEmpty())
        return false;
    return QProcess::startDetached(opener, {document.absoluteFilePath()}, workingFolder);
}

} // namespace kurubako
