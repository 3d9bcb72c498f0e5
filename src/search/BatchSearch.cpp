#include "search/BatchSearch.h"

#include "base/Workbench.h"
#include "display/ListView.h"
#include "display/RtfBuilder.h"
#include "platform/DirectoryListing.h"
#include "platform/NativeName.h"
#include "search/BatchCommandLine.h"
#include "search/BatchMessagePort.h"
#include "search/HitStream.h"
#include "search/ResultFile.h"
#include "search/RtfCapturePort.h"
#include "search/SearchRun.h"
#include "search/SearchWord.h"
#include "settings/SettingsIo.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include <sys/stat.h>

namespace {

constexpr int kFound = 0;
constexpr int kNotFound = 1;
constexpr int kError = 2;

int fail(const QString &text)
{
    return BatchOutput::fail("quav search", text);
}

// Standard output that could not take the result: a script must not take a
// cut result for a whole one.
int failOnStandardOutput()
{
    return fail(BatchOutput::standardOutputError());
}

// Two spellings of one file: the same file on disk, or, for files not yet
// there, the same name in the same real folder.
bool sameFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    const bool hasA = ::stat(QFile::encodeName(a).constData(), &sa) == 0;
    const bool hasB = ::stat(QFile::encodeName(b).constData(), &sb) == 0;
    if (hasA || hasB)
        return hasA && hasB && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    auto real = [](const QString &path) {
        const QFileInfo info(path);
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
    };
    return real(a) == real(b);
}

struct Options
{
    BatchSearchOptions search;
    QString word;
    std::optional<bool> timestamps;
    QString out;
    QString rtf;
    std::optional<HitStream::What> stream; // -l, -n
};

std::optional<QString> parse(const QList<QByteArray> &args, Options &o)
{
    BatchArguments a(args);
    while (a.next()) {
        QString error;
        if (o.search.take(a, &error)) {
            if (!error.isEmpty())
                return error;
        } else if (a.isFlag(QLatin1StringView("-l")) || a.isFlag(QLatin1StringView("-n"))) {
            const HitStream::What what =
                a.isFlag(QLatin1StringView("-l")) ? HitStream::What::Files : HitStream::What::Lines;
            if (o.stream && *o.stream != what)
                return QStringLiteral("-l と -n は同時に指定できません。");
            o.stream = what;
        } else if (a.isFlag(QLatin1StringView("--timestamps"))) {
            o.timestamps = true;
        } else if (a.isFlag(QLatin1StringView("--no-timestamps"))) {
            o.timestamps = false;
        } else if (a.is(QLatin1StringView("--out")) || a.is(QLatin1StringView("--rtf"))) {
            const bool isOut = a.is(QLatin1StringView("--out"));
            const std::optional<QString> v = a.value();
            if (!v || v->isEmpty())
                return (isOut ? QStringLiteral("--out") : QStringLiteral("--rtf")) + QStringLiteral(" には値が必要です。");
            (isOut ? o.out : o.rtf) = *v;
        } else {
            return QStringLiteral("不明なオプションです: ") + a.written();
        }
    }
    if (o.search.help)
        return std::nullopt;
    if (o.stream && (!o.out.isEmpty() || !o.rtf.isEmpty()))
        return QStringLiteral("-l、-n は --out、--rtf と同時に指定できません。");
    return o.search.takeWord(a.words(), &o.word);
}

// The stored choice is known only once the settings are read: cp932 refuses
// what no file read so can hold, as the window does.
QString refusedWord(const QString &word, const Settings &s)
{
    const SearchWord::Prepared p = SearchWord::Prepare(word, s.encodingChoice());
    return p.problem == SearchWord::Problem::None ? QString() : p.message;
}

// -l and -n: the hits streamed to standard output, the work area unused.
int streamHits(const Options &o, const BatchSearchOptions::Root &root)
{
    Settings s = SettingsIo::loadWithoutQuestions();
    o.search.applyTo(s);
    if (const QString refused = refusedWord(o.word, s); !refused.isEmpty())
        return fail(refused);
    bool helpersSet = false;
    const int helpers = qEnvironmentVariableIntValue("QUAV_SCAN_HELPERS", &helpersSet);
    if (helpersSet)
        SearchRun::scanHelpers = helpers;
    const HitStream::Outcome outcome =
        HitStream::run(s, o.word, !o.search.caseSensitive, root.shown, root.native, *o.stream, stdout);
    BatchMessagePort messages;
    for (const QString &reason : outcome.skipped)
        messages.show(reason, QStringLiteral("検索"), MessagePort::Icon::Exclamation, MessagePort::Buttons::Ok);
    messages.flush();
    if (!outcome.outputError.isEmpty())
        return fail(outcome.outputError);
    return outcome.files > 0 ? kFound : kNotFound;
}

} // namespace

QString BatchSearch::helpText()
{
    return QStringLiteral(
        "使い方: quav search [オプション] 検索文字列\n"
        "\n"
        "フォルダ内の識別子（拡張子）が一致するファイル（Shift-JIS）から検索文字列を含む行を探し、\n"
        "検索結果の一覧をウィンドウの検索と同じ形式で出力します。\n"
        "\n"
        "  --dir フォルダ        検索するフォルダ（既定: カレントフォルダ）\n"
        "  --ext TXT,CSV,...     検索する識別子、カンマ区切り（大文字にして比較）\n"
        "                        （既定: 登録識別子全て）\n"
        "  --case                英大文字・小文字を区別する（既定: 区別しない）\n"
        "  --subdirs             サブフォルダも検索する\n"
        "  --no-subdirs          サブフォルダは検索しない（既定: 保存された設定）\n"
        "  --encoding auto|cp932 auto: ファイルごとに BOM と UTF-8 かどうかで文字コードを判定、\n"
        "                        cp932: すべてシフトJIS として読む（既定: 保存された設定）\n"
        "  --timestamps          ファイル行に更新日時とサイズを付ける\n"
        "  --no-timestamps       付けない（既定: 保存された設定）\n"
        "  --out ファイル        結果ファイルを書く（Shift-JIS、CR LF、\":@:\" は空白3つ）\n"
        "                        省略時は同じ行を標準出力へ UTF-8 で出力（ファイル行のパスは省略せずに）\n"
        "                        （UTF-8 でないファイル名・フォルダ名はディスク上のバイト列のまま。-l、-n も同じ）\n"
        "  --rtf ファイル        一覧表示用の RTF 文書も書く\n"
        "  -n                    ヒットした行ごとに「パス:行番号:行」を標準出力へ出力する（grep -n と同じ形式、\n"
        "                        行は UTF-8、すべてのファイルのすべてのヒット行、ワークエリアの上限なし）\n"
        "  -l                    ヒットしたファイルのパスを1行に1つ標準出力へ出力する\n"
        "                        （各ファイルは最初のヒットまでしか読まない）\n"
        "  --help                この説明を表示する\n"
        "\n"
        "隠しフォルダ（名前が \".\" で始まる）、読み取り専用のフォルダ、リンクのフォルダには入りません。\n"
        "ウィンドウならメッセージボックスに出るメッセージは「見出し: 本文」の形で標準エラー出力へ出し、\n"
        "検索は続けます。\n"
        "\n"
        "終了ステータス: 0 = 1つ以上のファイルを結果に加えた、1 = 加えたファイルがない、\n"
        "                2 = エラー（不正なオプション、検索できない検索文字列、フォルダがない、\n"
        "                    結果ファイルや標準出力に書けない、出力先が通常のファイルでない）\n");
}

int BatchSearch::run(const QList<QByteArray> &args, bool processEndsAfter)
{
    Options o;
    if (const auto error = parse(args, o))
        return fail(*error);
    if (o.search.help)
        return BatchOutput::write(stdout, helpText()) ? kFound : failOnStandardOutput();

    // The files to be written are looked at before anything is searched: a
    // FIFO or a device is never replaced by a regular file, and one file
    // cannot take both outputs.
    for (const QString &target : {o.out, o.rtf}) {
        if (target.isEmpty())
            continue;
        if (const QString problem = ResultFile::targetProblem(QFileInfo(target).absoluteFilePath()); !problem.isEmpty())
            return fail(problem);
    }
    if (!o.out.isEmpty() && !o.rtf.isEmpty() && sameFile(o.out, o.rtf))
        return fail(QStringLiteral("--out と --rtf に同じファイルが指定されています。"));

    QString error;
    const std::optional<BatchSearchOptions::Root> root = o.search.root(&error);
    if (!root)
        return fail(error);
    if (o.stream)
        return streamHits(o, *root);
    const QString startDir = DirectoryListing::withSeparator(NativeName::decodePath(NativeName::currentFolder()));

    // A work area can hold 32,700 entries; freeing them one by one would
    // only delay the end of a process that is ending anyway.
    auto owned = std::make_unique<Workbench>();
    struct LeftToTheSystem
    {
        std::unique_ptr<Workbench> &owned;
        bool leave;
        ~LeftToTheSystem()
        {
            if (leave)
                (void)owned.release();
        }
    } leftToTheSystem{owned, processEndsAfter};
    Workbench &wb = *owned;
    wb.settings = SettingsIo::loadWithoutQuestions();
    wb.Start_Dir = startDir;
    Settings &s = wb.settings;
    o.search.applyTo(s);
    if (const QString refused = refusedWord(o.word, s); !refused.isEmpty())
        return fail(refused);
    if (o.timestamps)
        s.FILE_NAME_DISP = *o.timestamps ? 1 : 0;
    // Only --out writes a result file: a stored FILE_OUT must not make a
    // script overwrite a file it did not name.
    s.FILE_OUT = o.out.isEmpty() ? 0 : 1;
    s.FILE_OUT_NAME = o.out.isEmpty() ? QString() : QFileInfo(o.out).absoluteFilePath();

    BatchMessagePort messages;
    wb.messages = &messages;

    // The list document is written before the view loads it; each batch run
    // has a folder of its own, so runs side by side never read each other's.
    std::optional<QTemporaryDir> rtfDir;
    std::optional<RtfCapturePort> rtfPort;
    if (!o.rtf.isEmpty()) {
        rtfDir.emplace();
        if (!rtfDir->isValid())
            return fail(QStringLiteral("一時フォルダを作成できません。"));
        wb.display.documentFolder = rtfDir->path();
        rtfPort.emplace(QFileInfo(o.rtf).absoluteFilePath());
        wb.listView = &*rtfPort;
        RtfBuilder::Make_RTF_Colors(wb); // as the window does at start-up
    }

    WorkArea &work = wb.work;
    work.Search_Word = o.word;
    work.Compare_Mode = o.search.caseSensitive ? 0 : 1;
    work.Search_Running = 1;
    work.Search_Path = root->shown;
    work.Search_Path_Native = root->native;
    work.Current_Dir = DirectoryListing::withSeparator(root->shown);

    // For measuring: the number of helper threads that read ahead.
    bool helpersSet = false;
    const int helpers = qEnvironmentVariableIntValue("QUAV_SCAN_HELPERS", &helpersSet);
    if (helpersSet)
        SearchRun::scanHelpers = helpers;

    // The list document is built as the window builds its list view.
    std::function<void()> buildViews;
    if (rtfPort)
        buildViews = [&wb] {
            if (!wb.work.Search_Hit_File_List().isEmpty())
                ListView::Build_List_View(wb);
        };
    const SearchOutcome outcome = SearchRun::Search_Execute(wb, buildViews, RunNotices::Boxes::Every);
    for (const QString &reason : outcome.skipped)
        messages.show(reason, QStringLiteral("検索"), MessagePort::Icon::Exclamation, MessagePort::Buttons::Ok);
    messages.flush();

    if (o.out.isEmpty()) {
        if (!BatchOutput::write(stdout, ResultFile::shellText(work, s.FILE_NAME_DISP == 1)))
            return failOnStandardOutput();
    } else if (!outcome.resultWritten) {
        return kError; // the port has shown why
    }

    if (rtfPort && outcome.admitted > 0 && !rtfPort->captured())
        return fail(QStringLiteral("RTF 文書を書けません。") + rtfPort->error());

    return outcome.admitted > 0 ? kFound : kNotFound;
}
