#include "application.h"

#include "controls.h"
#include "program.h"
#include "twips.h"
#include "widgetmsgbox.h"

#include "platform/documentopener.h"
#include "platform/fileops.h"
#include "platform/processstarter.h"
#include "platform/settingsstore.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace kurubako {

int runApplication(int &argc, char **argv)
{
    QApplication app(argc, argv);
    useProgramFont();
    app.setWindowIcon(programIcon());
    QGuiApplication::setDesktopFileName(u"kurubako"_s); // ties the windows to the desktop entry

    // Qt's own texts (a text box's context menu) in Japanese, like the program's.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese), u"qtbase"_s, u"_"_s,
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);

    SystemSettingsStore store;
    const auto files = systemFileOps();
    WidgetMsgBox box;
    QtProcessStarter starter;
    SystemDocumentOpener opener;
    Program program({store, *files, box, starter, opener, [] { QCoreApplication::exit(0); }});
    program.start();
    // A settings file that is no regular file was neither read nor written: said once, over
    // the first window.
    if (const QString file = store.unusableFile(); !file.isEmpty())
        box.critical(u"設定ファイル "_s + file + u" はふつうのファイルではないので、設定を読むことも保存することもできません。\r\n"
                         u"今回は初めの設定で動きます。"_s,
                     u"設定エラー"_s);
    return app.exec();
}

} // namespace kurubako
