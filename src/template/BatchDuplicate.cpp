#include "template/BatchDuplicate.h"

#include "platform/NativeName.h"
#include "search/BatchCommandLine.h"
#include "search/BatchMessagePort.h"
#include "settings/SettingsIo.h"
#include "template/NewFileSave.h"
#include "template/ParameterImages.h"
#include "template/TemplateCommands.h"
#include "template/TemplateRead.h"
#include "template/WorkAreaTemplateStore.h"
#include "workarea/WorkArea.h"

#include <sys/stat.h>

namespace {

const QString kProgram = QStringLiteral("quav duplicate");

struct Options
{
    QByteArray params; // bytes as given
    QString search;
    int pattern = TemplateDuplication::BeforeExtension;
    bool force = false;
    bool dryRun = false;
    bool noUndo = false;
    bool help = false;
    QList<QByteArray> templates; // bytes as given
};

// Empty on success, else why the arguments cannot be used.
QString parse(const QList<QByteArray> &args, Options &o)
{
    BatchArguments a(args);
    while (a.next()) {
        if (a.isFlag(QLatin1StringView("--help")) || a.isFlag(QLatin1StringView("-h"))) {
            o.help = true;
        } else if (a.is(QLatin1StringView("--params"))) {
            const std::optional<QString> v = a.value();
            if (!v)
                return QStringLiteral("--params にパラメータカードのファイルを指定してください。");
            o.params = a.valueBytes();
        } else if (a.is(QLatin1StringView("--search"))) {
            const std::optional<QString> v = a.value();
            if (!v)
                return QStringLiteral("--search に検索文字列を指定してください。");
            o.search = *v;
        } else if (a.is(QLatin1StringView("--pattern"))) {
            const std::optional<QString> v = a.value();
            if (!v || (*v != QLatin1String("1") && *v != QLatin1String("2") && *v != QLatin1String("3")))
                return QStringLiteral("--pattern は 1、2、3 のどれかです。");
            o.pattern = v->toInt();
        } else if (a.isFlag(QLatin1StringView("--force"))) {
            o.force = true;
        } else if (a.isFlag(QLatin1StringView("--dry-run"))) {
            o.dryRun = true;
        } else if (a.isFlag(QLatin1StringView("--no-undo"))) {
            o.noUndo = true;
        } else {
            return QStringLiteral("不明なオプションです：") + a.written();
        }
    }
    o.templates = a.wordBytes();
    if (o.help)
        return QString();
    if (o.params.isEmpty())
        return QStringLiteral("--params FILE を指定してください。");
    if (o.search.isEmpty())
        return QStringLiteral("--search TEXT を指定してください。");
    if (o.templates.isEmpty())
        return QStringLiteral("雛形のファイルを指定してください。");
    return QString();
}

} // namespace

QString BatchDuplicate::helpText()
{
    return QStringLiteral(
        "使い方: quav duplicate --params FILE --search TEXT [--pattern 1|2|3] [--force] [--dry-run] TEMPLATE...\n"
        "\n"
        "雛形 TEMPLATE を読み込み、パラメータカード FILE の各行（最大100行）ごとに、\n"
        "TEXT（大文字・小文字を区別）をパラメータに置き換えた新しいファイルを作って保存します。\n"
        "\n"
        "  --params FILE   パラメータカード（1行に1つ。空行・重複・\"/\" を含むものは不可）\n"
        "  --search TEXT   雛形の中で置き換える文字列\n"
        "  --pattern N     新しいファイルの名前（既定 1）\n"
        "                    1  名前_パラメータ.拡張子（名前に \".\" がなければ 2 と同じ）\n"
        "                    2  名前.拡張子_パラメータ\n"
        "                    3  雛形と同じフォルダのパラメータという名前（雛形は1つだけ）\n"
        "  --force         既にあるファイルを上書きします（指定しなければ、そのファイルは書かず、ほかは書きます）\n"
        "  --dry-run       何も書かず、作るファイルの名前だけを出力します\n"
        "  --no-undo       取り消し用の記録を残さずに保存します（quav undo で戻せません）\n"
        "  --help          この説明を表示します\n"
        "\n"
        "標準出力: 書いた（--dry-run では書く）新しいファイルのパス、1行に1つ。\n"
        "メッセージは標準エラーに「見出し: 本文」で出力します。\n"
        "終了コード: 0 すべての新しいファイルを書いた、2 オプションの誤り、読めない雛形・パラメータカード、\n"
        "パラメータの不備、または書けなかった新しいファイルがあるとき。\n");
}

int BatchDuplicate::run(const QList<QByteArray> &args, std::FILE *out, std::FILE *err)
{
    Options o;
    const QString bad = parse(args, o);
    if (o.help) {
        if (BatchOutput::write(out, helpText()))
            return 0;
        BatchOutput::write(err, kProgram + QStringLiteral(": ") + BatchOutput::standardOutputError() + QLatin1Char('\n'));
        return 2;
    }
    if (!bad.isEmpty()) {
        BatchOutput::write(err, kProgram + QStringLiteral(": ") + bad + QStringLiteral("\n「quav duplicate --help」で使い方を表示します。\n"));
        return 2;
    }

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
    ParameterImages images{DuplicationParameters{}};
    DuplicationParameters parameters;
    if (!images.readCard(NativeName::absolutePath(o.params), port) || !images.Commit(parameters, port)
        || !TemplateDuplication::checkOpen(parameters.Param_Count(), port))
        return 2;

    WorkArea work;
    WorkAreaTemplateStore store(work);
    QStringList sources;
    for (const QByteArray &bytes : std::as_const(o.templates)) {
        // A template named twice is read once.
        const QByteArray native = NativeName::absolutePath(bytes);
        const QString path = NativeName::decodePath(native);
        if (store.isOpen(path))
            continue;
        TemplateRead::Outcome outcome = TemplateRead::readTemplate(native, store.storedLines());
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
        parameters.values, sources, o.search, o.pattern, store, port, TemplateCommands::lineReplacer());
    if (summary.refused || summary.alreadyOpen > 0 || summary.overflow > 0)
        failed = true;

    SaveBatch batch(FileSave::batchOptions(SettingsIo::loadWithoutQuestions(),
                                           kProgram + QLatin1Char(' ') + NativeName::decodePath(args.join(' ')), o.noUndo));
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
            port.flush();
            list(work.nativePath(index));
            continue;
        }
        const SaveResult saved = NewFileSave::saveNewFile(work, index, o.force, &batch);
        if (!saved.written()) {
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
