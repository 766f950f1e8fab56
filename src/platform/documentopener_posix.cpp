#include "documentopener.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace kurubako {

void SystemDocumentOpener::open(const QString &path, const QString &workingFolder,
                                const std::function<void()> &failed)
{
    // The desktop's opener accepts any path it is handed, so the document is checked here.
    const QFileInfo document(path);
    const QString opener = QStandardPaths::findExecutable(u"xdg-open"_s);
    if (!document.isFile() || !document.isReadable() || opener.isEmpty()) {
        failed();
        return;
    }
    // xdg-open exits with a failure status when it finds no viewer, but where it runs the
    // viewer itself it does not exit until the viewer closes. So its exit is watched
    // asynchronously, never waited for, and it is left running if the program ends first.
    auto *process = new QProcess;
    process->setProgram(opener);
    process->setArguments({document.absoluteFilePath()});
    process->setWorkingDirectory(workingFolder);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(process, &QProcess::finished, process,
                     [process, failed](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         // Killed (say, at logout): says nothing about the viewer.
                         if (status == QProcess::NormalExit && exitCode != 0)
                             failed();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, failed](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             process->deleteLater();
                             failed();
                         }
                     });
    process->start();
}

} // namespace kurubako
