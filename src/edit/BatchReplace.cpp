#include "edit/BatchReplace.h"

#include "base/Settings.h"
#include "edit/ReplacePass.h"
#include "edit/SaveForm.h"
#include "edit/SaveQueue.h"
#include "edit/TextReplace.h"
#include "platform/Cp932.h"
#include "platform/NativeName.h"
#include "search/BatchCommandLine.h"
#include "search/BatchMessagePort.h"
#include "search/BatchOption.h"
#include "search/FolderWalk.h"
#include "search/HitLines.h"
#include "search/HitRecordStream.h"
#include "search/SearchRequest.h"
#include "settings/SettingsIo.h"

#include <QSet>

#include <cstdio>
#include <optional>
#include <utility>

namespace {

constexpr int kChanged = 0;
constexpr int kNothing = 1;
constexpr int kError = 2;
constexpr char kProgram[] = "quav replace";

int fail(const QString &text)
{
    return BatchOutput::fail(kProgram, text);
}

// The command line read: its choices and the one word to replace.
std::optional<QString> parse(const QList<QByteArray> &args, BatchChoices &o, QString *word)
{
    BatchArguments a(args);
    if (const QString error = BatchOption::parse(BatchCommand::Replace, a, o); !error.isEmpty())
        return error;
    if (o.help)
        return std::nullopt;
    if (!o.with)
        return QStringLiteral("置換後の文字列（--with）がありません。（--help で使い方を表示します）");
    if (const auto problem = o.search.takeWord(a.words(), word))
        return problem;
    // Read as code page 932, every file refuses such a replacement; with
    // detection only the Shift-JIS files do, each as it is met.
    const QString unmapped = Cp932::unmappedCharacters(*o.with);
    if (!unmapped.isEmpty() && o.search.encoding == EncodingChoice::Cp932)
        return QStringLiteral("置換後の文字列にシフトJISで表せない文字が含まれています。（") + unmapped
            + QStringLiteral("）");
    return std::nullopt;
}

} // namespace

BatchCommandText BatchReplace::text()
{
    return {BatchCommand::Replace, QStringLiteral("quav-replace"),
            QStringLiteral("検索でヒットしたファイルの文字列を置換して保存する"),
            {QStringLiteral("quav replace [オプション] --with 置換後の文字列 検索文字列")},
            QStringLiteral("quav search と同じ検索でヒットしたファイルのすべての行で、検索文字列を置換後の文字列に\n"
                           "置き換え、変更したファイルをそれぞれの文字コード（Shift-JIS、UTF-8、UTF-16、BOM も）のまま\n"
                           "保存します。シフトJISで表せない文字はシフトJISのファイルには書かず、そのファイルをエラーにします。\n"),
            QStringLiteral(
                "置き換えた文字列だけを新しいバイト列で書き、行のほかの文字、各行の改行、最後の改行の\n"
                "有無はディスク上のままにします。書き込みは一時ファイルからの置き換えで、失敗したファイルは\n"
                "元のまま残ります。読み込んだ後に他で変更されたファイルは上書きしません。\n"
                "保存の前に各ファイルの元の内容を取り消し用の記録に残します（quav undo --help）。\n"
                "記録を書けないときは保存しません。\n"
                "\n"
                "標準出力: 変更したファイルごとに1行、検索の順に、パス（ディスク上のバイト列）、タブ、変更した行数。\n"
                "メッセージは「見出し: 本文」の形で標準エラー出力へ出します。\n"
                "\n"
                "終了ステータス: 0 = 1つ以上のファイルを変更し、すべて保存した、1 = 変更したファイルがない、\n"
                "                2 = エラー（不正なオプション、フォルダがない、保存できなかったファイルがある、\n"
                "                    読めない・検索できないファイルやフォルダがある）\n")};
}

QString BatchReplace::helpText()
{
    return text().helpText();
}

int BatchReplace::run(const QList<QByteArray> &args)
{
    BatchChoices o;
    QString word;
    if (const auto error = parse(args, o, &word))
        return fail(*error);
    if (o.help)
        return BatchOutput::print(kProgram, helpText());
    QString error;
    const std::optional<BatchSearchOptions::Root> root = o.search.root(&error);
    if (!root)
        return fail(error);

    const Settings settings = SettingsIo::loadWithoutQuestions();
    const SearchRequest search = o.search.request(word, *root, settings);
    BatchMessagePort messages;

    ReplacePass pass(word, *o.with, o.search.caseSensitive ? TextReplace::kExactCase : TextReplace::kIgnoreCase);
    int changedFiles = 0, errors = 0;
    // The first reason standard output refused a line: a script must not
    // take a cut list of changed files for the whole one.
    QString outputError;
    QSet<QByteArray> done; // realFile of every file replaced
    SaveBatch batch(FileSave::batchOptions(
        settings, QStringLiteral("quav replace ") + NativeName::decodePath(args.join(' ')), o.noUndo));

    // The changed files are made durable a group at a time (one flush per
    // group, not per file); a file's line is printed once it is written.
    std::optional<SaveQueue> queue;
    queue.emplace(batch);
    // A file another save holds is named once, when the wait begins.
    queue->setWhileWaiting([&messages, named = QString()](const QString &file) mutable {
        if (file != named) {
            named = file;
            messages.show(file + QStringLiteral("\r\nほかの保存の終了を待っています。"), SaveForm::kCaption,
                          MessagePort::Icon::Information, MessagePort::Buttons::Ok);
            messages.flush();
        }
        return true;
    });
    // Only a replacement with text code page 932 cannot hold can be refused.
    const bool mayBeRefused = !Cp932::unmappedCharacters(*o.with).isEmpty();
    const auto report = [&](const QByteArray &line) {
        ++changedFiles;
        messages.flush();
        if (!BatchOutput::write(stdout, line) && outputError.isEmpty())
            outputError = BatchOutput::standardOutputError();
    };

    // The changed lines of the file being read; only hit lines are decoded
    // and only changed ones kept.
    QList<LineChange> changes;
    const auto takeHits = [&](const HitRecordStream::File &, QByteArrayView records) {
        HitLines::Record hit;
        QString text;
        for (qsizetype at = HitLines::readRecord(records, 0, hit); at >= 0;
             at = HitLines::readRecord(records, at, hit)) {
            if (pass.plainLine(hit.text, &text))
                changes.append({hit.offset, hit.length, std::move(text)});
        }
    };
    const auto replaceFile = [&](const HitRecordStream::File &file, bool complete) {
        SaveRequest request;
        request.changes = std::exchange(changes, {});
        // A file read only in part is told as unreadable, and not written.
        if (!complete || request.changes.isEmpty())
            return;
        request.path = file.walk.nativePath();
        // Met again through another name: it holds the replacement already.
        const QByteArray real = NativeName::realFile(request.path);
        if (done.contains(real))
            return;
        done.insert(real);
        const QByteArray line = request.path + '\t' + QByteArray::number(request.changes.size()) + '\n';
        request.displayName = file.walk.realPath();
        request.readStamp = DiskStamp{file.size, file.modifiedNsecs};
        request.encoding = file.encoding;
        // A Shift-JIS file refuses a replacement it cannot hold, in a dry
        // run too; a UTF file takes it.
        if (mayBeRefused) {
            if (const QString refused = FileSave::refusal(request); !refused.isEmpty()) {
                ++errors;
                messages.show(refused, SaveForm::kCaption, MessagePort::Icon::Critical, MessagePort::Buttons::Ok);
                return;
            }
        }
        if (o.dryRun) {
            report(line);
            return;
        }
        request.batch = &batch;
        queue->save(request, [&, line](const SaveResult &r) {
            if (!r.written()) {
                ++errors;
                messages.show(r.message, SaveForm::kCaption, MessagePort::Icon::Critical, MessagePort::Buttons::Ok);
                return;
            }
            if (!r.warning.isEmpty()) {
                ++errors;
                messages.show(r.warning, SaveForm::kCaption, MessagePort::Icon::Exclamation,
                              MessagePort::Buttons::Ok);
            }
            report(line);
        });
    };

    // Each file is replaced as the walk reaches it; nothing of it but its
    // changed lines is held, so a file of any number of lines is replaced.
    const HitRecordStream::Outcome outcome = HitRecordStream::run(search, takeHits, replaceFile);
    messages.showSkipped(outcome.skipped);
    queue.reset();
    // A file that could not be read, or was not searched (":@:" in its
    // name), may hold the word: not all was done.
    errors += int(outcome.skipped.size());
    batch.finish();
    for (const QString &notice : batch.notices())
        messages.show(notice, SaveForm::kCaption, MessagePort::Icon::Exclamation, MessagePort::Buttons::Ok);

    // Lines the replace refused stay as they were: not all was done.
    if (pass.failures() > 0) {
        pass.reportFailures(messages);
        ++errors;
    }
    messages.flush();
    if (!outputError.isEmpty())
        return fail(outputError);
    if (errors > 0)
        return kError;
    return changedFiles > 0 ? kChanged : kNothing;
}
