#include "launch.h"

#include "platform/fileops.h"
#include "platform/msgbox.h"
#include "platform/processstarter.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

const QString ExecutableName = QStringLiteral("postpet20.exe");

LaunchCommand failure(LaunchProblem problem)
{
    LaunchCommand command;
    command.problem = problem;
    return command;
}

LaunchCommand start(const QString &program, const QStringList &arguments = {})
{
    LaunchCommand command;
    command.program = program;
    command.arguments = arguments;
    return command;
}

} // namespace

ExecutableKind executableKind(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ExecutableKind::Neither;
    const QByteArray dosHeader = file.read(0x40);
    if (dosHeader.size() == 0x40 && dosHeader.startsWith("MZ")) {
        const quint32 peOffset = qFromLittleEndian<quint32>(dosHeader.constData() + 0x3C);
        if (file.seek(peOffset) && file.read(4) == QByteArrayView("PE\0\0", 4))
            return ExecutableKind::Windows;
    }
    return QFileInfo(path).isExecutable() ? ExecutableKind::Native : ExecutableKind::Neither;
}

LaunchCommand postPetLaunchCommand(FileOps &files, const QString &postPetDir, const QString &wine)
{
    const auto executable = files.findPlainFile(postPetDir, ExecutableName);
    if (!executable)
        return failure(LaunchProblem::NoExecutable);
#ifdef Q_OS_WIN
    Q_UNUSED(wine);
    return start(*executable);
#else
    switch (executableKind(*executable)) {
    case ExecutableKind::Windows:
        if (wine.isEmpty())
            return failure(LaunchProblem::NoWine);
        return start(wine, { *executable });
    case ExecutableKind::Native:
        return start(*executable);
    case ExecutableKind::Neither:
        break;
    }
    return failure(LaunchProblem::NoExecutable);
#endif
}

void launchPostPet(const QString &postPetDir, FileOps &files, ProcessStarter &starter, MsgBox &box)
{
    const LaunchCommand command
        = postPetLaunchCommand(files, postPetDir, QStandardPaths::findExecutable(u"wine"_s));
    if (command.problem == LaunchProblem::NoWine)
        box.critical(u"PostPetを起動するにはWineが必要なんだけど、インストールされていないみたい・・・"_s,
            u"EXEがありません"_s);
    else if (command.problem != LaunchProblem::None
        || !starter.startDetached(command.program, command.arguments))
        box.critical(u"PostPet20.exeが見つからないんだけど・・・"_s, u"EXEがありません"_s);
}

} // namespace kurubako
