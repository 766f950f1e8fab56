#include "help.h"

#include "platform/documentopener.h"
#include "platform/fileops.h"
#include "platform/helpfolder.h"
#include "platform/msgbox.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace kurubako {

QString helpDocumentPath(const FileOps &files)
{
    const QString name = u"Kurubako.html"_s;
    const QStringList folders = helpDocumentFolders(files.executableFolder());
    for (const QString &folder : folders) {
        const QString path = QDir::toNativeSeparators(folder) + QDir::separator() + name;
        if (QFileInfo(path).isFile())
            return path;
    }
    // Missing everywhere: the opener says so, naming it beside the executable.
    return files.executableFolder() + QDir::separator() + name;
}

void showHelp(const FileOps &files, DocumentOpener &opener, MsgBox &box)
{
    opener.open(helpDocumentPath(files), files.executableFolder(),
        [&box] { box.critical(u"ヘルプが表示できないんだけど・・・"_s, u"ヘルプがないよ"_s); });
}

} // namespace kurubako
