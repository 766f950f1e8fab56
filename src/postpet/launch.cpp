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

std::optional<LaunchCommand> postPetLaunchCommand(FileOps &files, const QString &postPetDir, const QString &wine)
{
    const auto executable = files.findPlainFile(postPetDir, ExecutableName);
    if (!executable)
        return std::nullopt;
#ifdef Q_OS_WIN
    Q_UNUSED(wine);
    return LaunchCommand{*executable, {}};
#else
    switch (executableKind(*executable)) {
    case ExecutableKind::Windows:
        if (wine.isEmpty())
            return std::nullopt;
        return LaunchCommand{wine, {*executable}};
    case ExecutableKind::Native:
        return LaunchCommand{*executable, {}};
    case ExecutableKind::Neither:
        break;
    }
    return std::nullopt;
#endif
}

void launchPostPet(const QString &postPetDir, FileOps &files, ProcessStarter &starter, MsgBox &box)
{
    const auto command = postPetLaunchCommand(files, postPetDir, QStandardPaths::findExecutable(u"wine"_s));
    if (!command || !starter.startDetached(command->program, command->arguments))
        box.critical(u"PostPet20.exeが見つからないんだけど・・・"_s, u"EXEがありません"_s);
}

} // namespace kurubako
