#include "program.h"

#include "form0.h"
#include "form1.h"
#include "form4.h"

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

Form1 *Program::mainWindow() const
{
    return m_mainWindow.data();
}

Form0 *Program::folderChooser() const
{
    return m_chooser.data();
}

void Program::Main()
{
    if (prepareStartup(services.store, globals) == FirstWindow::FolderChooser) {
        m_chooser = new Form0(*this, nullptr);
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
    m_mainWindow = new Form1(*this);
    m_mainWindow->show();
}

void Program::QuitProgram()
{
    if (m_mainWindow)
        m_mainWindow->close();
}

void Program::LaunchPostPet()
{
    kurubako::LaunchPostPet(globals.postPetDir, services.files, services.starter, services.box);
}

void Program::ShowRenameDialog()
{
    Form4 dialog(*this, m_mainWindow);
    dialog.exec();
}

void Program::endProgram()
{
    m_ended = true;
    if (services.endProgram)
        services.endProgram();
}

} // namespace kurubako
