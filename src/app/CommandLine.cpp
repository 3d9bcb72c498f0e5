#include "app/CommandLine.h"

#include "search/BatchOption.h"

#include <cstdio>

#ifndef QUAV_VERSION
#error "QUAV_VERSION comes from the project version in CMakeLists.txt"
#endif

CommandLine::Options CommandLine::Parse(const QStringList &args)
{
    Options o;
    BatchChoices c;
    for (const QString &a : args) {
        BatchArguments one(BatchArguments::bytesOf({a}));
        const BatchOption *option = a.startsWith(QLatin1Char('-')) ? BatchOption::find(BatchCommand::Window, a) : nullptr;
        if (option && one.next())
            option->apply(one, c);
        else if (o.error.isEmpty())
            o.error = a.startsWith(QLatin1Char('-')) ? QStringLiteral("不明なオプションです: ") + a
                                                      : QStringLiteral("余分な引数です: ") + a;
    }
    o.help = c.help;
    o.version = c.version;
    o.dumpButton = c.dumpButton;
    return o;
}

BatchCommandText CommandLine::text()
{
    return {BatchCommand::Window, QStringLiteral("quav"),
            QStringLiteral("多数の日本語テキストファイルを一度に検索し、見つかったファイルを編集する"),
            {QStringLiteral("quav [オプション]"), QStringLiteral("quav search [オプション] 検索文字列"),
             QStringLiteral("quav replace [オプション] --with 置換後の文字列 検索文字列"),
             QStringLiteral("quav duplicate --params ファイル --search 文字列 [オプション] 雛形..."),
             QStringLiteral("quav undo [--list] [--dry-run] [ID]")},
            QStringLiteral("多数のテキストファイル（Shift-JIS）を一度に検索し、見つかったファイルを\n"
                           "置換・編集・保存するウィンドウを開きます。\n"),
            QStringLiteral(
                "ウィンドウを開かずに検索するには quav search（quav search --help で説明を表示）、\n"
                "置換して保存するには quav replace（quav replace --help で説明を表示）。\n"
                "雛形から複製するには quav duplicate（quav duplicate --help で説明を表示）。\n"
                "保存を取り消すには quav undo（quav undo --help で説明を表示）。保存の前の内容は\n"
                "~/.local/state/quav/undo に残し、30 日より古いものと合計 1024 MiB を超えた分は削除します。\n"
                "Qt の標準オプション（-platform、-style など）も使えます。\n")};
}

QString CommandLine::helpText()
{
    return text().helpText();
}

QString CommandLine::versionText()
{
    return QStringLiteral("QUAV " QUAV_VERSION "\n");
}

QStringList CommandLine::Arguments(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    return args;
}

bool CommandLine::answerEarly(const Options &options)
{
    if (!options.help && !options.version)
        return false;
    std::fputs((options.help ? helpText() : versionText()).toLocal8Bit().constData(), stdout);
    return true;
}
