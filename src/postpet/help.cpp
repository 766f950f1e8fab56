#include "help.h"

#include "platform/documentopener.h"
#include "platform/helpfolder.h"
#include "platform/msgbox.h"
#include "platform/programfolder.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace kurubako {

QString helpDocumentPath()
{
    const QString name = u"Kurubako.html"_s;
    const QStringList folders = helpDocumentFolders(programFolder());
    for (const QString &folder : folders) {
        const QString path = QDir::toNativeSeparators(folder) + QDir::separator() + name;
        if (QFileInfo(path).isFile())
            return path;
    }
    // Missing everywhere: the opener says so, naming it beside the executable.
    return programFolder() + QDir::separator() + name;
}

void showHelp(DocumentOpener &opener, MsgBox &box)
{
    openHelp(helpDocumentPath(), opener, box);
}

void openHelp(const QString &path, DocumentOpener &opener, MsgBox &box)
{
    opener.open(path, programFolder(),
                [&box] { box.critical(u"ヘルプが表示できないんだけど・・・"_s, u"ヘルプがないよ"_s); });
}

} // namespace kurubako
