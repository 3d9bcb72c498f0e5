#include "edit/BatchUndo.h"

#include "edit/UndoRestore.h"
#include "platform/FileReplacer.h"
#include "search/BatchCommandLine.h"
#include "search/BatchOption.h"

#include <cstdio>

namespace {

constexpr int kDone = 0;
constexpr int kNothing = 1;
constexpr int kError = 2;

int fail(const QString &text)
{
    return BatchOutput::fail("quav undo", text);
}

// The command line read: its choices and the id of the save, if one was given.
std::optional<QString> parse(const QStringList &args, BatchChoices &o, QString *id)
{
    BatchArguments a(BatchArguments::bytesOf(args));
    if (const QString error = BatchOption::parse(BatchCommand::Undo, a, o); !error.isEmpty())
        return error;
    if (a.words().size() > 1)
        return QStringLiteral("取り消す保存の ID は1つだけ指定してください。");
    *id = a.words().value(0);
    if (o.keep && id->isEmpty())
        return QStringLiteral("--keep には中断された保存の ID が必要です。");
    return std::nullopt;
}

int list()
{
    QByteArray out;
    for (const UndoStore::Batch &b : UndoStore::list())
        out += (b.id + QLatin1Char('\t') + b.manifest.time.toString(Qt::ISODate) + QLatin1Char('\t')
                + UndoManifest::stateText(b.running ? UndoManifest::State::Open : b.manifest.state)
                + (b.running ? QStringLiteral("（実行中）") : QString()) + QLatin1Char('\t')
                + QString::number(b.manifest.files.size()) + QLatin1Char('\t') + b.manifest.command)
                   .toUtf8()
            + '\n';
    if (!BatchOutput::write(stdout, out))
        return fail(BatchOutput::standardOutputError());
    return out.isEmpty() ? kNothing : kDone;
}

} // namespace

BatchCommandText BatchUndo::text()
{
    return {BatchCommand::Undo, QStringLiteral("quav-undo"), QStringLiteral("保存を取り消して、ファイルを保存前の内容に戻す"),
            {QStringLiteral("quav undo [--dry-run] [ID]"), QStringLiteral("quav undo --list"),
             QStringLiteral("quav undo --keep ID")},
            QStringLiteral(
                "保存（ウィンドウの保存、quav replace、quav duplicate）は、ファイルを書き換える前に元の内容を\n"
                "取り消し用の記録に残します。quav undo はまだ取り消していない最後の保存を取り消し、ファイルを\n"
                "保存前の内容に戻します。ID を指定すると、その保存を取り消します。保存した後に変更された\n"
                "ファイルは戻さずに名前を表示します。保存で作られたファイルは、保存したときのままなら削除します。\n"),
            QStringLiteral(
                "記録の場所: $XDG_STATE_HOME/quav/undo（既定: ~/.local/state/quav/undo）。\n"
                "30 日より古い記録と、合計 1024 MiB を超えた分の古い記録は、次の保存のときに削除します\n"
                "（設定 UNDO_DAYS、UNDO_MB）。記録を残さずに保存するには quav replace --no-undo。\n"
                "\n"
                "標準出力: 元に戻した（--dry-run では戻す）ファイルのパス、1行に1つ。\n"
                "\n"
                "終了ステータス: 0 = すべて戻した、1 = 取り消す保存がない、\n"
                "                2 = エラー（不正なオプション、ID がない、戻せなかったファイルがある）\n")};
}

QString BatchUndo::helpText()
{
    return text().helpText();
}

QString BatchUndo::interruptedNotice()
{
    QString text;
    for (const UndoStore::Batch &b : UndoStore::interrupted()) {
        const QList<QByteArray> written = UndoRestore::writtenFiles(b);
        text += QStringLiteral("quav: 中断された保存があります（%1　%2）。\n").arg(b.id, UndoRestore::describe(b));
        text += written.isEmpty() ? QStringLiteral("書き込まれたファイルはありません。\n")
                                  : QStringLiteral("書き込まれたファイル:\n") + UndoRestore::nameList(written).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + QLatin1Char('\n');
        text += QStringLiteral("元に戻すには quav undo %1、書いた内容を残すには quav undo --keep %1。\n").arg(b.id);
    }
    return text;
}

int BatchUndo::run(const QStringList &args)
{
    BatchChoices o;
    QString id;
    if (const auto error = parse(args, o, &id))
        return fail(*error + QStringLiteral("（--help で使い方を表示します）"));
    if (o.help)
        return BatchOutput::print("quav undo", helpText());
    if (o.list)
        return list();

    std::optional<UndoStore::Batch> batch = id.isEmpty() ? UndoStore::lastUndoable() : UndoStore::find(id);
    if (!batch) {
        if (!id.isEmpty())
            return fail(QStringLiteral("その ID の保存は記録にありません: ") + id);
        std::fputs("quav undo: 取り消す保存はありません。\n", stderr);
        return kNothing;
    }
    if (o.keep) {
        UndoStore::Hold hold(batch->id);
        if (!batch->interrupted() || !hold.held())
            return fail(QStringLiteral("中断された保存ではありません: ") + batch->id);
        return hold.setState(UndoManifest::State::Kept) ? kDone : fail(QStringLiteral("記録を書けません。"));
    }
    const UndoRestore::Mode mode = batch->interrupted() ? UndoRestore::Mode::Rollback : UndoRestore::Mode::Undo;
    const UndoRestore::Result r = UndoRestore::run(*batch, mode, o.dryRun);
    QByteArray out;
    for (const QByteArray &path : r.restoredPaths())
        out += path + '\n';
    if (!BatchOutput::write(stdout, out))
        return fail(BatchOutput::standardOutputError());
    if (!r.allRestored())
        return fail(r.problems());
    return kDone;
}
