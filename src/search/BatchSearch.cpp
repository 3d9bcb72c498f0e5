#include "search/BatchSearch.h"

#include "base/Workbench.h"
#include "display/ListView.h"
#include "display/RtfBuilder.h"
#include "platform/DirectoryListing.h"
#include "platform/NativeName.h"
#include "search/BatchCommandLine.h"
#include "search/BatchOption.h"
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
constexpr char kProgram[] = "quav search";

int fail(const QString &text)
{
    return BatchOutput::fail(kProgram, text);
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

// The command line read: its choices and the one word to search.
std::optional<QString> parse(const QList<QByteArray> &args, BatchChoices &o, QString *word)
{
    BatchArguments a(args);
    if (const QString error = BatchOption::parse(BatchCommand::Search, a, o); !error.isEmpty())
        return error;
    if (o.help)
        return std::nullopt;
    if (o.stream && (!o.out.isEmpty() || !o.rtf.isEmpty()))
        return QStringLiteral("-l、-n は --out、--rtf と同時に指定できません。");
    return o.search.takeWord(a.words(), word);
}

// The stored choice is known only once the settings are read: cp932 refuses
// what no file read so can hold, as the window does.
QString refusedWord(const SearchRequest &request)
{
    const SearchWord::Prepared p = SearchWord::Prepare(request.word, request.encoding);
    return p.problem == SearchWord::Problem::None ? QString() : p.message;
}

// For measuring: the number of helper threads that read ahead.
void takeScanHelpers()
{
    bool helpersSet = false;
    const int helpers = qEnvironmentVariableIntValue("QUAV_SCAN_HELPERS", &helpersSet);
    if (helpersSet)
        SearchRun::scanHelpers = helpers;
}

// -l and -n: the hits streamed to standard output, the work area unused.
int streamHits(const BatchChoices &o, const SearchRequest &request)
{
    const HitStream::Outcome outcome = HitStream::run(request, *o.stream, stdout);
    BatchMessagePort messages;
    messages.showSkipped(outcome.skipped);
    messages.flush();
    if (!outcome.outputError.isEmpty())
        return fail(outcome.outputError);
    return outcome.files > 0 ? kFound : kNotFound;
}

} // namespace

BatchCommandText BatchSearch::text()
{
    return {BatchCommand::Search, QStringLiteral("quav-search"),
            QStringLiteral("フォルダ内のテキストファイルを検索し、検索結果の一覧を出力する"),
            {QStringLiteral("quav search [オプション] 検索文字列")},
            QStringLiteral("フォルダ内の識別子（拡張子）が一致するファイル（Shift-JIS）から検索文字列を含む行を探し、\n"
                           "検索結果の一覧をウィンドウの検索と同じ形式で出力します。\n"),
            QStringLiteral(
                "隠しフォルダ（名前が \".\" で始まる）、読み取り専用のフォルダ、リンクのフォルダには入りません。\n"
                "ウィンドウならメッセージボックスに出るメッセージは「見出し: 本文」の形で標準エラー出力へ出し、\n"
                "検索は続けます。\n"
                "\n"
                "終了ステータス: 0 = 1つ以上のファイルを結果に加えた、1 = 加えたファイルがない、\n"
                "                2 = エラー（不正なオプション、検索できない検索文字列、フォルダがない、\n"
                "                    結果ファイルや標準出力に書けない、出力先が通常のファイルでない）\n")};
}

QString BatchSearch::helpText()
{
    return text().helpText();
}

int BatchSearch::run(const QList<QByteArray> &args, bool processEndsAfter)
{
    BatchChoices o;
    QString word;
    if (const auto error = parse(args, o, &word))
        return fail(*error);
    if (o.help)
        return BatchOutput::print(kProgram, helpText());

    // The files to be written are looked at before anything is searched: a
    // FIFO or a device is never replaced by a regular file, and one file
    // cannot take both outputs. From here on both are absolute.
    for (QString *target : {&o.out, &o.rtf}) {
        if (target->isEmpty())
            continue;
        *target = QFileInfo(*target).absoluteFilePath();
        if (const QString problem = ResultFile::targetProblem(*target); !problem.isEmpty())
            return fail(problem);
    }
    if (!o.out.isEmpty() && !o.rtf.isEmpty() && sameFile(o.out, o.rtf))
        return fail(QStringLiteral("--out と --rtf に同じファイルが指定されています。"));

    QString error;
    const std::optional<BatchSearchOptions::Root> root = o.search.root(&error);
    if (!root)
        return fail(error);
    const Settings stored = SettingsIo::loadWithoutQuestions();
    SearchRequest request = o.search.request(word, *root, stored);
    if (const QString refused = refusedWord(request); !refused.isEmpty())
        return fail(refused);
    takeScanHelpers();
    if (o.stream)
        return streamHits(o, request);
    if (o.timestamps)
        request.timestamps = *o.timestamps;
    // Only --out writes a result file: a stored FILE_OUT must not make a
    // script overwrite a file it did not name.
    request.resultFile = !o.out.isEmpty();
    if (request.resultFile)
        request.resultFileName = o.out;
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
    wb.settings = stored;
    wb.Start_Dir = startDir;

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
        rtfPort.emplace(o.rtf);
        wb.listView = &*rtfPort;
        RtfBuilder::Make_RTF_Colors(wb.display, wb.settings); // as the window does at start-up
    }

    WorkArea &work = wb.work;
    work.Search_Running = 1;

    // The list document is built as the window builds its list view.
    std::function<void()> buildViews;
    if (rtfPort)
        buildViews = [&wb] {
            if (!wb.work.Search_Hit_File_List().isEmpty())
                ListView::Build_List_View(wb);
        };
    const SearchOutcome outcome = SearchRun::Search_Execute(wb, request, buildViews, RunNotices::Boxes::Every);
    messages.showSkipped(outcome.skipped);
    messages.flush();

    // Standard output that could not take the result: a script must not
    // take a cut result for a whole one.
    if (o.out.isEmpty()) {
        if (!BatchOutput::write(stdout, ResultFile::shellText(work, request.timestamps)))
            return fail(BatchOutput::standardOutputError());
    } else if (!outcome.resultWritten) {
        return kError; // the port has shown why
    }

    if (rtfPort && outcome.admitted > 0 && !rtfPort->captured())
        return fail(QStringLiteral("RTF 文書を書けません。") + rtfPort->error());

    return outcome.admitted > 0 ? kFound : kNotFound;
}
