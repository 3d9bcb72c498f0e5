#include "edit/BatchReplace.h"

#include "base/Workbench.h"
#include "edit/ReplacePass.h"
#include "edit/SaveForm.h"
#include "edit/SaveQueue.h"
#include "platform/Cp932.h"
#include "platform/DirectoryListing.h"
#include "platform/NativeName.h"
#include "search/BatchCommandLine.h"
#include "search/BatchOption.h"
#include "search/BatchMessagePort.h"
#include "search/SearchRun.h"
#include "settings/SettingsIo.h"
#include "workarea/LineFormat.h"

#include <QDir>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <optional>

namespace {

constexpr int kChanged = 0;
constexpr int kNothing = 1;
constexpr int kError = 2;

int fail(const QString &text)
{
    return BatchOutput::fail("quav replace", text);
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
        return BatchOutput::write(stdout, helpText()) ? kChanged : fail(BatchOutput::standardOutputError());
    QString error;
    const std::optional<BatchSearchOptions::Root> root = o.search.root(&error);
    if (!root)
        return fail(error);

    Workbench wb;
    wb.settings = SettingsIo::loadWithoutQuestions();
    wb.Start_Dir = DirectoryListing::withSeparator(NativeName::decodePath(NativeName::currentFolder()));
    const SearchRequest request = o.search.request(word, *root, wb.settings);

    BatchMessagePort messages;
    wb.messages = &messages;
    WorkArea &work = wb.work;

    const qint16 compare = o.search.caseSensitive ? 0 : 1;
    ReplacePass pass(word, *o.with, compare);
    int changedFiles = 0, errors = 0;
    // The first reason standard output refused a line: a script must not
    // take a cut list of changed files for the whole one.
    QString outputError;
    QSet<QByteArray> done; // realFile of every file replaced
    SaveBatch batch(FileSave::batchOptions(
        wb.settings, QStringLiteral("quav replace ") + NativeName::decodePath(args.join(' ')), o.noUndo));

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

    // Every file the work area holds, replaced and saved. The line index is
    // built.
    const auto replaceHeld = [&] {
        const QStringList entries = work.Search_Hit_All_Line_List().texts();
        // In the search's order, that of the headers, not the sorted file
        // list's: the same on every run.
        const QList<WorkArea::Range> blocks = work.fileDisplayBlocks();
        QList<int> order(work.Search_Hit_File_List().count());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return blocks.at(a).first < blocks.at(b).first; });
        for (const int i : std::as_const(order)) {
            const auto [first, last] = SaveForm::linesOf(work, i);
            if (last < first)
                continue;
            const QList<StoredChange> changes = pass.storedPass(entries, first, last);
            if (changes.isEmpty())
                continue;
            const QByteArray path = work.nativePath(i);
            // Met again through another name: it holds the replacement already.
            const QByteArray real = NativeName::realFile(path);
            if (done.contains(real))
                continue;
            done.insert(real);
            const QByteArray line = path + '\t' + QByteArray::number(changes.size()) + '\n';
            if (o.dryRun && !mayBeRefused) {
                report(line);
                continue;
            }
            QStringList own;
            SaveRequest request = SaveForm::requestFor(work, i, own);
            const qsizetype keyLength = work.File_Key(i).size();
            for (const StoredChange &c : changes) {
                // The line's view moves to its new text before the old one goes.
                QString &entry = own[c.index - first];
                const QString previous = std::exchange(entry, c.entry);
                request.lines[c.index - first] = SaveForm::storedLine(entry, keyLength);
            }
            // A Shift-JIS file refuses a replacement it cannot hold, in a
            // dry run too; a UTF file takes it.
            if (mayBeRefused) {
                if (const QString refused = FileSave::refusal(request); !refused.isEmpty()) {
                    ++errors;
                    messages.show(refused, SaveForm::kCaption, MessagePort::Icon::Critical,
                                  MessagePort::Buttons::Ok);
                    continue;
                }
            }
            if (o.dryRun) {
                report(line);
                continue;
            }
            request.batch = &batch;
            queue->save(request, [&, line](const SaveResult &r) {
                if (!r.written()) {
                    ++errors;
                    messages.show(r.message, SaveForm::kCaption, MessagePort::Icon::Critical,
                                  MessagePort::Buttons::Ok);
                    return;
                }
                if (!r.warning.isEmpty()) {
                    ++errors;
                    messages.show(r.warning, SaveForm::kCaption, MessagePort::Icon::Exclamation,
                                  MessagePort::Buttons::Ok);
                }
                report(line);
            });
        }
    };

    // One walk: whenever the work area is full, what it holds is replaced
    // and saved and the work area emptied, and the walk goes on. Only a file
    // bigger than the whole work area is refused.
    work.Search_Word = word;
    work.Compare_Mode = compare;
    work.Search_Running = 1;
    work.Search_Path = root->shown;
    work.Search_Path_Native = root->native;
    work.Current_Dir = DirectoryListing::withSeparator(root->shown);
    const SearchOutcome outcome = SearchRun::Search_Execute(wb, request, {}, RunNotices::Boxes::Every, [&] {
        replaceHeld();
        work.clearResults();
    });
    for (const QString &reason : outcome.skipped)
        messages.show(reason, QStringLiteral("検索"), MessagePort::Icon::Exclamation, MessagePort::Buttons::Ok);
    replaceHeld();
    queue.reset();
    // A file that could not be read, or was not searched (":@:" in its
    // name), may hold the word: not all was done.
    errors += outcome.overflow + int(outcome.skipped.size());
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
