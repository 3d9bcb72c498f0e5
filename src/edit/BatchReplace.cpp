#include "edit/BatchReplace.h"

#include "base/Workbench.h"
#include "edit/ReplacePass.h"
#include "edit/SaveDialog.h"
#include "platform/Cp932.h"
#include "platform/DirectoryListing.h"
#include "search/BatchMessagePort.h"
#include "search/ResultSink.h"
#include "search/SearchRun.h"
#include "search/SearchWord.h"
#include "settings/SettingsIo.h"
#include "workarea/LineFormat.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace {

constexpr int kChanged = 0;
constexpr int kNothing = 1;
constexpr int kError = 2;

void writeUtf8(std::FILE *out, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), out);
    std::fflush(out);
}

int fail(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    writeUtf8(stderr, QStringLiteral("quav replace: ") + text + QLatin1Char('\n'));
    return kError;
}

struct Options
{
    QString word;
    std::optional<QString> with;
    QString dir;
    std::optional<QStringList> ext;
    bool caseSensitive = false;
    std::optional<bool> subDirs;
    bool dryRun = false;
    bool help = false;
};

std::optional<QString> parse(const QStringList &args, Options &o)
{
    QStringList words;
    bool optionsDone = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (optionsDone || !a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            words.append(a);
            continue;
        }
        if (a == QLatin1String("--")) {
            optionsDone = true;
            continue;
        }
        QString name = a;
        std::optional<QString> inlineValue;
        const qsizetype eq = a.indexOf(QLatin1Char('='));
        if (a.startsWith(QLatin1String("--")) && eq > 0) {
            name = a.left(eq);
            inlineValue = a.mid(eq + 1);
        }
        auto value = [&]() -> std::optional<QString> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 < args.size())
                return args.at(++i);
            return std::nullopt;
        };
        auto flag = [&](const char *n) { return name == QLatin1String(n) && !inlineValue; };
        if (flag("--help") || flag("-h")) {
            o.help = true;
        } else if (flag("--case")) {
            o.caseSensitive = true;
        } else if (flag("--subdirs")) {
            o.subDirs = true;
        } else if (flag("--no-subdirs")) {
            o.subDirs = false;
        } else if (flag("--dry-run")) {
            o.dryRun = true;
        } else if (name == QLatin1String("--with")) {
            // An empty replacement is allowed: it deletes.
            const auto v = value();
            if (!v)
                return QStringLiteral("--with には値が必要です。");
            o.with = *v;
        } else if (name == QLatin1String("--dir") || name == QLatin1String("--ext")) {
            const auto v = value();
            if (!v || v->isEmpty())
                return name + QStringLiteral(" には値が必要です。");
            if (name == QLatin1String("--dir")) {
                o.dir = *v;
                continue;
            }
            QStringList ids;
            for (const QString &part : v->split(QLatin1Char(','))) {
                const QString trimmed = SearchWord::Trim_Spaces(part);
                const QString id = LineFormat::Ucase(trimmed);
                if (id.isEmpty())
                    continue;
                if (id.contains(QLatin1Char('.')) || id.size() > 3)
                    return QStringLiteral("識別子は3文字以内で、\".\" を含められません: ") + trimmed;
                if (!ids.contains(id))
                    ids.append(id);
            }
            if (ids.isEmpty())
                return QStringLiteral("--ext に識別子がありません。");
            if (ids.size() > 20)
                return QStringLiteral("識別子は20個までです。");
            o.ext = ids;
        } else {
            return QStringLiteral("不明なオプションです: ") + a;
        }
    }
    if (o.help)
        return std::nullopt;
    if (!o.with)
        return QStringLiteral("置換後の文字列（--with）がありません。（--help で使い方を表示します）");
    if (words.size() != 1)
        return words.isEmpty() ? QStringLiteral("検索文字列がありません。（--help で使い方を表示します）")
                               : QStringLiteral("検索文字列は1つだけ指定してください。");
    const SearchWord::Prepared word = SearchWord::Prepare(words.front());
    if (word.problem != SearchWord::Problem::None)
        return word.message;
    o.word = word.word;
    const QString unmapped = Cp932::unmappedCharacters(*o.with);
    if (!unmapped.isEmpty())
        return QStringLiteral("置換後の文字列にシフトJISで表せない文字が含まれています。（") + unmapped
            + QStringLiteral("）");
    return std::nullopt;
}

// The batch port, less what a run of rounds makes meaningless: the question
// whether to clear the work area (a round keeps the files already done, so
// that the next round refuses them) and the refusals of those files. Files
// refused for want of room are held back: the next round takes them, and
// only those that no round could take are reported.
class RoundPort : public MessagePort
{
public:
    explicit RoundPort(BatchMessagePort &out) : m_out(out) {}
    QStringList overflow;

    Answer show(const QString &text, const QString &caption, Icon icon, Buttons buttons) override
    {
        if (text == SearchRun::kClearQuestion)
            return Answer::No;
        if (text.contains(ResultSink::kAlreadyOpen))
            return Answer::Ok;
        if (text.contains(ResultSink::kOverflow)) {
            overflow.append(text);
            return Answer::Ok;
        }
        return m_out.show(text, caption, icon, buttons);
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return std::nullopt; }

private:
    BatchMessagePort &m_out;
};

// Empties the stored and display lines but keeps the files done in the file
// list: the next round refuses them as already open.
void emptyLines(WorkArea &work)
{
    work.Search_Hit_All_Line_List.clear();
    work.Search_Hit_List.clear();
    work.Mojisuu_Count_List.clear();
    work.Search_List.clear();
}

} // namespace

QString BatchReplace::helpText()
{
    return QStringLiteral(
        "使い方: quav replace [オプション] --with 置換後の文字列 検索文字列\n"
        "\n"
        "quav search と同じ検索でヒットしたファイル（Shift-JIS）のすべての行で、検索文字列を\n"
        "置換後の文字列に置き換え、変更したファイルを保存します。\n"
        "\n"
        "  --with 文字列         置換後の文字列（'' なら検索文字列を削除）\n"
        "  --dir フォルダ        検索するフォルダ（既定: カレントフォルダ）\n"
        "  --ext TXT,CSV,...     検索する識別子、カンマ区切り（既定: 登録識別子全て）\n"
        "  --case                英大文字・小文字を区別する（既定: 区別しない）\n"
        "  --subdirs             サブフォルダも検索する\n"
        "  --no-subdirs          サブフォルダは検索しない（既定: 保存された設定）\n"
        "  --dry-run             何も書かずに、変更されるファイルを表示する\n"
        "  --help                この説明を表示する\n"
        "\n"
        "変更のない行はディスク上のバイト列のまま、改行はファイルの改行（LF のみ、CR のみ、\n"
        "それ以外は CR LF）で書きます。書き込みは一時ファイルからの置き換えで、失敗したファイルは\n"
        "元のまま残ります。読み込んだ後に他で変更されたファイルは上書きしません。\n"
        "\n"
        "標準出力: 変更したファイルごとに1行、パス（ディスク上のバイト列）、タブ、変更した行数。\n"
        "メッセージは「見出し: 本文」の形で標準エラー出力へ出します。\n"
        "\n"
        "終了ステータス: 0 = 1つ以上のファイルを変更し、すべて保存した、1 = 変更したファイルがない、\n"
        "                2 = エラー（不正なオプション、フォルダがない、保存できなかったファイルがある）\n");
}

int BatchReplace::run(const QStringList &args)
{
    Options o;
    if (const auto error = parse(args, o))
        return fail(*error);
    if (o.help) {
        writeUtf8(stdout, helpText());
        return kChanged;
    }
    const QString root = QDir::cleanPath(QDir(o.dir.isEmpty() ? QStringLiteral(".") : o.dir).absolutePath());
    if (!QFileInfo(root).isDir())
        return fail(root + QStringLiteral(": フォルダが見つかりません。"));

    Workbench wb;
    wb.settings = SettingsIo::Load_Without_Questions();
    wb.Start_Dir = DirectoryListing::withSeparator(QDir::currentPath());
    Settings &s = wb.settings;
    if (o.ext) {
        s.SIKIBETU.fill(QString());
        for (qsizetype i = 0; i < o.ext->size(); ++i)
            s.SIKIBETU[size_t(i)] = o.ext->at(i);
    }
    s.SIKIBETU_ALL_FLG = 1;
    if (o.subDirs)
        s.SUB_DIR_FLG = *o.subDirs ? 1 : 0;
    s.FILE_OUT = 0;

    BatchMessagePort messages;
    RoundPort roundPort(messages);
    wb.messages = &roundPort;
    WorkArea &work = wb.work;

    const qint16 compare = o.caseSensitive ? 0 : 1;
    ReplacePass pass(o.word, *o.with, compare);
    int changedFiles = 0, errors = 0;

    for (;;) {
        roundPort.overflow.clear();
        work.Search_Word = o.word;
        work.Compare_Mode = compare;
        work.Search_Running = 1;
        work.Search_Path = root;
        work.Current_Dir = DirectoryListing::withSeparator(root);
        const SearchOutcome outcome = SearchRun::Search_Execute(wb, {}, RunNotices::Boxes::Every);
        for (const QString &reason : outcome.skipped)
            messages.show(reason, QStringLiteral("検索"), MessagePort::Icon::Exclamation, MessagePort::Buttons::Ok);

        // Indexes shift as files join the sorted list: the files of this
        // round are those whose lines are in the store.
        int newFiles = 0;
        const QStringList entries = work.Search_Hit_All_Line_List.texts();
        for (int i = 0; i < work.Search_Hit_File_List.count(); ++i) {
            const auto [first, last] = SaveDialog::Lines_Of(work, i);
            if (last < first)
                continue;
            ++newFiles;
            const QList<StoredChange> changes = pass.Stored_Pass(entries, first, last);
            if (changes.isEmpty())
                continue;
            QStringList own;
            SaveRequest request = SaveDialog::Request_For(work, i, own);
            for (const StoredChange &c : changes)
                own[c.index - first] = c.entry;
            request.lines.clear();
            for (const QString &entry : std::as_const(own))
                request.lines.append({LineFormat::Entry_Line_No(entry), LineFormat::Entry_Text(entry)});
            if (!o.dryRun) {
                const SaveResult r = FileSave::save(request);
                if (!r.written()) {
                    ++errors;
                    messages.show(r.message, SaveDialog::kCaption, MessagePort::Icon::Critical,
                                  MessagePort::Buttons::Ok);
                    continue;
                }
            }
            ++changedFiles;
            messages.flush();
            const QByteArray line = request.path + '\t' + QByteArray::number(changes.size()) + '\n';
            std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
        }
        std::fflush(stdout);
        emptyLines(work);
        // Files refused for want of room go to the next round, as long as a
        // round still makes progress; a file bigger than the whole work area
        // never will.
        if (roundPort.overflow.isEmpty())
            break;
        if (newFiles == 0) {
            for (const QString &text : std::as_const(roundPort.overflow)) {
                messages.show(text, ResultSink::kCaption, MessagePort::Icon::Exclamation, MessagePort::Buttons::Ok);
                ++errors;
            }
            break;
        }
    }
    // Lines the replace refused stay as they were: not all was done.
    if (pass.failures() > 0) {
        pass.Report_Failures(messages);
        ++errors;
    }
    messages.flush();
    if (errors > 0)
        return kError;
    return changedFiles > 0 ? kChanged : kNothing;
}
