#include "program.h"

#include "controls.h"
#include "folderchooserdialog.h"
#include "mainwindow.h"
#include "renamedialog.h"

#include "app/startup.h"
#include "postpet/launch.h"

namespace kurubako {

Program::Program(const Services &services)
    : services(services)
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
    if (prepareStartup(services.store, globals) == FirstWindow::FolderChooser) {
        m_chooser = new FolderChooserDialog(*this, FolderChooserDialog::Mode::StartUp, nullptr);
        m_chooser->setAttribute(Qt::WA_DeleteOnClose);
        m_chooser->show();
        return;
    }
    openMainWindow();
}

void Program::openMainWindow()
{
    if (m_mainWindow)
        return;
    m_mainWindow = new MainWindow(*this);
    m_mainWindow->show();
}

void Program::quit()
{
    if (m_mainWindow)
        m_mainWindow->close();
}

void Program::launchPostPet()
{
    kurubako::launchPostPet(globals.postPetDir, services.files, services.starter, services.box);
}

void Program::showRenameDialog(SnackSet set)
{
    RenameDialog dialog(*this, set, m_mainWindow);
    execModal(dialog);
}

void Program::endProgram()
{
    m_ended = true;
    if (services.endProgram)
        services.endProgram();
}

} // namespace kurubako
