#include "template/BatchDuplicate.h"

#include "base/Settings.h"
#include "platform/NativeName.h"
#include "search/BatchCommandLine.h"
#include "search/BatchOption.h"
#include "search/BatchMessagePort.h"
#include "settings/SettingsIo.h"
#include "template/NewFileSave.h"
#include "template/ParameterForm.h"
#include "template/TemplateDuplication.h"
#include "template/TemplateRead.h"
#include "template/WorkAreaTemplateStore.h"
#include "workarea/WorkArea.h"

#include <sys/stat.h>

namespace {

constexpr char kProgram[] = "quav duplicate";

// Empty on success, else why the arguments cannot be used; the templates
// into *templates.
QString parse(const QList<QByteArray> &args, BatchChoices &o, QList<QByteArray> *templates)
{
    BatchArguments a(args);
    if (const QString error = BatchOption::parse(BatchCommand::Duplicate, a, o); !error.isEmpty())
        return error;
    *templates = a.wordBytes();
    if (o.help)
        return QString();
    if (o.params.isEmpty())
        return QStringLiteral("--params FILE を指定してください。");
    if (o.searchText.isEmpty())
        return QStringLiteral("--search TEXT を指定してください。");
    if (templates->isEmpty())
        return QStringLiteral("雛形のファイルを指定してください。");
    return QString();
}

} // namespace

BatchCommandText BatchDuplicate::text()
{
    BatchCommandText t{BatchCommand::Duplicate, QStringLiteral("quav-duplicate"),
                       QStringLiteral("雛形とパラメータカードから新しいファイルを作る"),
                       {QStringLiteral("quav duplicate --params ファイル --search 文字列 [オプション] 雛形...")},
                       QStringLiteral("雛形を読み込み、パラメータカードの各行（最大100行）ごとに、--search の文字列を\n"
                                      "パラメータに置き換えた新しいファイルを作って保存します。\n"
                                      "新しいファイルは雛形の文字コード、BOM、改行で書きます。\n"),
                       QStringLiteral("標準出力: 書いた（--dry-run では書く）新しいファイルのパス、1行に1つ。\n"
                                      "メッセージは標準エラーに「見出し: 本文」で出力します。\n"
                                      "終了コード: 0 すべての新しいファイルを書いた、2 オプションの誤り、読めない雛形・パラメータカード、\n"
                                      "パラメータの不備、または書けなかった新しいファイルがあるとき。\n")};
    t.wordsAreFiles = true;
    return t;
}

QString BatchDuplicate::helpText()
{
    return text().helpText();
}

int BatchDuplicate::run(const QList<QByteArray> &args, std::FILE *out, std::FILE *err)
{
    BatchChoices o;
    QList<QByteArray> templates;
    const QString bad = parse(args, o, &templates);
    if (o.help)
        return BatchOutput::print(kProgram, helpText(), out, err);
    if (!bad.isEmpty())
        return BatchOutput::fail(kProgram, bad + QStringLiteral("\n「quav duplicate --help」で使い方を表示します。"), err);

    BatchMessagePort port(err);
    MessagePort &msg = port;
    bool failed = false;
    // The first reason `out` refused a path: a cut list is not the whole one.
    QString outputError;
    // Printed by its bytes on disk, as a shell takes it.
    const auto list = [&](const QByteArray &path) {
        if (!BatchOutput::write(out, path + '\n') && outputError.isEmpty())
            outputError = BatchOutput::standardOutputError();
    };

    // Paths are taken by their bytes, made absolute so that every name
    // pattern has a folder to put the new file in; a name that is not UTF-8
    // is shown decoded and read and written by its own bytes.
    ParameterForm images{DuplicationParameters{}};
    DuplicationParameters parameters;
    if (!images.readCard(NativeName::absolutePath(o.params), port) || !images.Commit(parameters, port)
        || !TemplateDuplication::checkOpen(parameters.Param_Count(), port))
        return 2;

    const Settings settings = SettingsIo::loadWithoutQuestions();
    const EncodingChoice encoding = o.search.encoding.value_or(settings.encodingChoice());
    WorkArea work;
    WorkAreaTemplateStore store(work);
    QStringList sources;
    for (const QByteArray &bytes : std::as_const(templates)) {
        // A template named twice is read once.
        const QByteArray native = NativeName::absolutePath(bytes);
        const QString path = NativeName::decodePath(native);
        if (store.isOpen(path))
            continue;
        TemplateRead::Outcome outcome = TemplateRead::readTemplate(native, store.storedLines(), encoding);
        switch (outcome.status) {
        case TemplateRead::Status::Added:
            if (store.addFile(std::move(outcome.file))) {
                sources.append(path);
                break;
            }
            outcome.message = path + QStringLiteral("\r\n") + TemplateRead::kOverflow;
            Q_FALLTHROUGH();
        case TemplateRead::Status::Unreadable:
        case TemplateRead::Status::Overflow:
            msg.show(outcome.message, TemplateRead::kCaption, MessagePort::Icon::Critical);
            failed = true;
            break;
        case TemplateRead::Status::Empty:
            // An empty template has no lines to make a file of.
            msg.show(path + QStringLiteral("\r\n空のファイルのため、複製しません。"), TemplateRead::kCaption,
                      MessagePort::Icon::Exclamation);
            failed = true;
            break;
        }
    }
    if (sources.isEmpty()) {
        port.flush();
        return 2;
    }

    const TemplateDuplication::Summary summary = TemplateDuplication::Run(
        parameters.values, sources, o.searchText, o.pattern.value_or(TemplateDuplication::BeforeExtension), store, port, TemplateDuplication::lineReplacer());
    if (summary.refused || summary.alreadyOpen > 0 || summary.overflow > 0 || summary.unsavable > 0)
        failed = true;

    SaveBatch batch(FileSave::batchOptions(
        settings, QStringLiteral("quav duplicate ") + NativeName::decodePath(args.join(' ')), o.noUndo));
    for (const QString &path : summary.newPaths) {
        const int index = work.Search_Hit_File_List().indexOf(path);
        if (o.dryRun) {
            struct stat st;
            if (!o.force && ::lstat(work.nativePath(index).constData(), &st) == 0) { // a link counts, dangling or not
                msg.show(path + QStringLiteral("\r\n同じ名前のファイルが既にあります。（--force で上書きします）"),
                          TemplateDuplication::kCaption, MessagePort::Icon::Exclamation);
                failed = true;
                continue;
            }
        } else if (const SaveResult saved = NewFileSave::saveNewFile(work, index, o.force, &batch); !saved.written()) {
            QString text = saved.message;
            if (saved.outcome == SaveResult::Outcome::AlreadyExists)
                text += QStringLiteral("\r\n（--force で上書きします）");
            msg.show(text, TemplateDuplication::kCaption, MessagePort::Icon::Critical);
            failed = true;
            continue;
        }
        port.flush();
        list(work.nativePath(index));
    }
    batch.finish();
    for (const QString &notice : batch.notices())
        msg.show(notice, TemplateDuplication::kCaption, MessagePort::Icon::Exclamation);
    port.flush();
    if (!outputError.isEmpty()) {
        msg.show(outputError, TemplateDuplication::kCaption, MessagePort::Icon::Critical);
        port.flush();
        return 2;
    }
    return failed ? 2 : 0;
}
