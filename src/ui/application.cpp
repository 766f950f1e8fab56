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

namespace {

// Under a Wayland session that also offers X11 (XWayland), the program runs as an X11 client
// unless the user chose a platform (QT_QPA_PLATFORM): only there can it put its windows where
// they belong and learn where the user moved them. True when it chose so.
bool preferX11UnderWayland()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("DISPLAY")
        || (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && qgetenv("XDG_SESSION_TYPE") != "wayland"))
        return false;
    qputenv("QT_QPA_PLATFORM", "xcb");
    return true;
}

} // namespace

int runApplication(int &argc, char **argv)
{
    const bool choseX11 = preferX11UnderWayland();
    QApplication app(argc, argv);
    if (choseX11)
        qunsetenv("QT_QPA_PLATFORM"); // PostPet and the help's viewer choose for themselves
    useProgramFont();
    app.setWindowIcon(programIcon());
    QGuiApplication::setDesktopFileName(u"kurubako"_s); // ties the windows to the desktop entry

    // Qt's own texts (a text box's context menu) in Japanese, like the program's.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese), u"qtbase"_s, u"_"_s,
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);

    SystemSettingsStore store;
    // A call into a mount that does not answer may still hold the file operations as the
    // program ends: they are never destroyed.
    static FileOps *const files = systemFileOps().release();
    WidgetMsgBox box;
    QtProcessStarter starter;
    SystemDocumentOpener opener;
    // The run ends when the program says so, not when its last window closes: the first run's
    // chooser closes before the main window opens.
    QApplication::setQuitOnLastWindowClosed(false);
    Program program({*files, box, starter, opener, Waits{}}, store, [] { QCoreApplication::exit(0); });
    program.start();
    // A settings file that is no regular file was neither read nor written: said once, over
    // the first window.
    if (const QString file = store.unusableFile(); !file.isEmpty())
        box.critical(u"設定ファイル "_s + file
                         + u" はふつうのファイルではないので、設定を読むことも保存することもできません。\r\n"
                           u"今回は初めの設定で動きます。"_s,
                     u"設定エラー"_s);
    return app.exec();
}

} // namespace kurubako
