#include "help.h"

#include "platform/documentopener.h"
#include "platform/msgbox.h"
#include "platform/programfolder.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace kurubako {

QString helpDocumentPath()
{
    return programFolder() + QDir::separator() + u"Kurubako.html"_s;
}

void showHelp(DocumentOpener &opener, MsgBox &box)
{
    opener.open(helpDocumentPath(), programFolder(),
        [&box] { box.critical(u"ヘルプが表示できないんだけど・・・"_s, u"ヘルプがないよ"_s); });
}

} // namespace kurubako
