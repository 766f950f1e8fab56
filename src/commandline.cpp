#include "commandline.h"

#include "app/programversion.h"
#include "platform/terminal.h"

#include <QCommandLineParser>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

const QString usage = uR"(使い方: kurubako [オプション]
PostPet for Windows ver. 2.0 のおやつを整理します。今日のおやつ (.pac) とストックおやつ (.pa_)
を並べて表示し、拡張子の変更で一方からもう一方へ移し、おやつの名前を変え、PostPet を起動します。
オプションを付けずに起動すると、くるみ箱のウィンドウが開きます。

オプション:
  -h, --help     この使い方を表示して終了します
  -v, --version  バージョンを表示して終了します

Usage: kurubako [option]
Organizes the snacks of PostPet for Windows ver. 2.0: shows today's snacks (.pac) and stock
snacks (.pa_) side by side, moves snacks between them by changing their extensions, renames
snacks and starts PostPet. Without an option it opens the window of Kurubako.

Options:
  -h, --help     show this usage and exit
  -v, --version  show the version and exit
)"_s;

const QString hint = u"使い方は kurubako --help で表示します。\n"_s;

// The argument that named the option `name`, as the user typed it, without any "=value".
QString typedOption(const QStringList &arguments, const QString &name)
{
    for (const QString &argument : arguments.mid(1)) {
        const QString option = argument.section(u'=', 0, 0);
        if (option == u'-' + name || option == u"--"_s + name)
            return option;
    }
    return name;
}

} // namespace

std::optional<int> answerCommandLine(const QStringList &arguments)
{
    if (arguments.size() <= 1)
        return std::nullopt;

    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s});
    const QCommandLineOption version(QStringList{u"v"_s, u"version"_s});
    parser.addOption(help);
    parser.addOption(version);
    // "-platform" is one option, not the letters p, l, a, …
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        QString what = u"kurubako: オプションの書き方が違います: "_s + arguments.mid(1).join(u' ');
        if (!unknown.isEmpty())
            what = u"kurubako: そんなオプションはありません: "_s + typedOption(arguments, unknown.first());
        printToTerminal(what + u'\n' + hint, TerminalStream::Error);
        return 2;
    }
    if (!parser.positionalArguments().isEmpty()) {
        printToTerminal(u"kurubako: 引数は受け付けません: "_s + parser.positionalArguments().first() + u'\n'
                            + hint,
                        TerminalStream::Error);
        return 2;
    }
    if (parser.isSet(help)) {
        printToTerminal(usage, TerminalStream::Output);
        return 0;
    }
    if (parser.isSet(version)) {
        printToTerminal(u"くるみ箱 "_s + ProgramVersionText + u'\n', TerminalStream::Output);
        return 0;
    }
    return std::nullopt; // only "--", which ends the options
}

} // namespace kurubako
