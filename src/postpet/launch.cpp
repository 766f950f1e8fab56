#include "launch.h"

#include "platform/fileops.h"
#include "platform/msgbox.h"
#include "platform/processstarter.h"

using namespace Qt::StringLiterals;

namespace kurubako {

LaunchCommand postPetLaunchCommand(FileOps &files, const QString &postPetDir, const QString &wine)
{
    const auto executable = files.findPlainFile(postPetDir, PostPetExecutable.toString());
    if (!executable)
        return {LaunchProblem::NoExecutable, {}, {}};
    return windowsProgramCommand(*executable, wine);
}

void launchPostPet(const QString &postPetDir, FileOps &files, ProcessStarter &starter, MsgBox &box)
{
    startPostPet(postPetLaunchCommand(files, postPetDir, wineLoader()), starter, box);
}

void startPostPet(const LaunchCommand &command, ProcessStarter &starter, MsgBox &box)
{
    if (command.problem == LaunchProblem::NoWine)
        box.critical(u"PostPetを起動するにはWineが必要なんだけど、インストールされていないみたい・・・"_s,
                     u"EXEがありません"_s);
    else if (command.problem != LaunchProblem::None
             || !starter.startDetached(command.program, command.arguments))
        box.critical(u"PostPet20.exeが見つからないんだけど・・・"_s, u"EXEがありません"_s);
}

} // namespace kurubako
