#include "help.h"

#include "platform/documentopener.h"
#include "platform/fileops.h"
#include "platform/msgbox.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace kurubako {

QString helpDocumentPath(const FileOps &files)
{
    return files.executableFolder() + QDir::separator() + u"Kurubako.html"_s;
}

void showHelp(const FileOps &files, DocumentOpener &opener, MsgBox &box)
{
    opener.open(helpDocumentPath(files), files.executableFolder(),
        [&box] { box.critical(u"ヘルプが表示できないんだけど・・・"_s, u"ヘルプがないよ"_s); });
}

} // namespace kurubako
