#include "application.h"

#include "controls.h"
#include "fonts.h"
#include "program.h"
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
    // The run ends when the program says so, not when its last window closes: the first run's
    // chooser closes before the main window opens.
    QApplication::setQuitOnLastWindowClosed(false);
    Program program({*files, box, starter, opener}, store, [] { QCoreApplication::exit(0); });
    program.start();
    return app.exec();
}

} // namespace kurubako
