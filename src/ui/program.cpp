#include "program.h"

#include "folderchooserdialog.h"
#include "mainwindow.h"

#include "platform/msgbox.h"
#include "platform/settingsstore.h"

using namespace Qt::StringLiterals;

namespace kurubako {

Program::Program(const Services &services, SettingsStore &store, std::function<void()> endRun)
    : m_services(services)
    , m_settings(store)
    , m_store(store)
    , m_endRun(std::move(endRun))
{
}

Program::~Program()
{
    delete m_chooser;
    delete m_mainWindow;
}

MainWindow *Program::mainWindow() const
{
    return m_mainWindow.data();
}

FolderChooserDialog *Program::folderChooser() const
{
    return m_chooser.data();
}

void Program::start()
{
    const Preferences preferences = m_store.load();
    if (!preferences.postPetDir.isEmpty()) {
        openMainWindow(preferences);
        return;
    }
    // The first run: the chooser is the only window. Its OK stores the folder and opens the
    // main window; Cancel or its close box ends the run.
    m_chooser = new FolderChooserDialog(m_services.files, m_services.box, m_services.waits,
                                        FolderChooserDialog::Purpose::FirstRun);
    m_chooser->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(m_chooser, &QDialog::finished, m_chooser, [this, preferences](int result) {
        if (result == QDialog::Accepted) {
            const QString folder = m_chooser->chosenFolder();
            reportFailedSave(m_store.savePostPetDir(folder));
            openMainWindow(m_store.readAgainForFirstFolder(preferences, folder));
        } else if (m_endRun) {
            m_endRun();
        }
    });
    m_chooser->show();
}

void Program::openMainWindow(const Preferences &preferences)
{
    m_mainWindow = new MainWindow(m_services, preferences);
    QObject::connect(m_mainWindow, &MainWindow::postPetDirChanged, m_mainWindow,
                     [this](const QString &folder) { reportFailedSave(m_store.savePostPetDir(folder)); });
    QObject::connect(m_mainWindow, &MainWindow::closeAccepted, m_mainWindow, [this](const Preferences &kept) {
        reportFailedSave(m_store.saveOnQuit(kept));
        if (m_endRun)
            m_endRun();
    });
    m_mainWindow->show();
}

void Program::reportFailedSave(bool saved)
{
    // The run goes on as if saved: only the next run misses the value. A settings file found
    // unusable at start-up was reported then, and every save of the run fails the same way.
    if (!saved && m_settings.unusableFile().isEmpty())
        m_services.box.critical(u"設定を保存できませんでした。"_s, u"設定エラー"_s);
}

} // namespace kurubako
