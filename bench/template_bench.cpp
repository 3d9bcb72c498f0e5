// Times a template duplication into the work area: one template of 300
// lines, 100 parameters, pattern 1 (parameter before the extension), so
// 30,000 new stored lines in 100 new files, each joining the work area with
// its own line-index rebuild, as the dialog's run does (no disk, no views).
// Reports the whole run, the part of it spent in line-index rebuilds, and
// the ratio to a reference: the same 30,000 entries made by a plain loop of
// QString::replace, which the noise of a shared machine inflates alike.
// Prints the median of several runs.
//
// Usage: template_bench [RUNS]

#include "BenchTiming.h"
#include "base/Workbench.h"
#include "platform/MessagePort.h"
#include "template/TemplateDuplication.h"
#include "template/TemplateRead.h"
#include "template/WorkAreaTemplateStore.h"
#include "workarea/LineFormat.h"
#include "workarea/LineIndex.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <random>


namespace {

constexpr int kTemplateLines = 300;
constexpr int kParameters = 100;
const QString kSearch = QStringLiteral("XX");
const QString kSource = QStringLiteral("/home/user/雛形/FORM.TXT");

class SilentPort : public MessagePort
{
public:
    int shown = 0;
    Answer show(const QString &, const QString &, Icon, Buttons) override
    {
        ++shown;
        return Answer::Ok;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return {}; }
};

// A form: most lines carry the search text once, some twice, some not at
// all; Japanese and ASCII mixed, 20 to 60 characters.
QStringList templateLines()
{
    static const QStringList words{QStringLiteral("項目"), QStringLiteral("品番"), QStringLiteral("="),
                                   QStringLiteral("設定値"), QStringLiteral(" "), QStringLiteral("name"),
                                   QStringLiteral("ファイル"), QStringLiteral("0123"), QStringLiteral("確認;")};
    std::mt19937 rng(300);
    QStringList lines;
    for (int i = 0; i < kTemplateLines; ++i) {
        QString line;
        const int n = 6 + int(rng() % 12);
        const int hits = int(rng() % 4); // 0: none, 3: twice
        for (int w = 0; w < n; ++w) {
            line += words.at(qsizetype(rng() % words.size()));
            if ((hits == 1 || hits == 2) && w == n / 2)
                line += kSearch;
            if (hits == 3 && (w == 1 || w == n - 1))
                line += kSearch;
        }
        lines.append(i % 25 == 24 ? QString() : line);
    }
    return lines;
}

QStringList parameters()
{
    QStringList out;
    for (int i = 1; i <= kParameters; ++i)
        out.append(QStringLiteral("P%1").arg(i, 3, 10, QLatin1Char('0')));
    return out;
}

// The work area as a template read leaves it.
void readTemplate(WorkArea &w, const QStringList &lines)
{
    WorkAreaTemplateStore store(w);
    AddedFile file;
    file.path = kSource;
    file.header = TemplateRead::templateHeader(kSource, QDateTime(QDate(2024, 5, 1), QTime(9, 30)), 12000);
    file.entries = TemplateRead::templateEntries(kSource, lines);
    if (!store.addFile(std::move(file)))
        qFatal("template not added");
}

using namespace BenchTiming;

// The duplication's entries made the plainest way: every parameter, every
// line, key and number rebuilt, the text replaced with QString::replace.
qsizetype plainLoop(const QStringList &lines, const QStringList &params)
{
    QStringList out;
    out.reserve(lines.size() * params.size());
    for (const QString &p : params) {
        const QString key = TemplateDuplication::newFileName(kSource, p, TemplateDuplication::BeforeExtension);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QString text = lines.at(i);
            out.append(key + LineFormat::kSeparator + LineFormat::Line_No_10(i + 1) + LineFormat::kSeparator
                       + text.replace(kSearch, p));
        }
    }
    return out.size();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    const QStringList lines = templateLines();
    const QStringList params = parameters();

    WorkArea start;
    readTemplate(start, lines);
    SilentPort port;
    const ReplaceInLineFunction replace = TemplateDuplication::lineReplacer();

    WorkArea w;
    TemplateDuplication::Summary summary;
    const Timing run = median(
        runs, [&] { w = start; },
        [&] {
            WorkAreaTemplateStore store(w);
            summary = TemplateDuplication::Run(params, {kSource}, kSearch, TemplateDuplication::BeforeExtension,
                                               store, port, replace);
        });
    if (summary.made != kParameters || port.shown != 0)
        qFatal("the run made %d files and showed %d messages", summary.made, port.shown);
    std::printf("template of %d lines, %d parameters: %d files made, %d stored lines in all\n", kTemplateLines,
                kParameters, summary.made, w.Search_Hit_All_Line_List().count());

    // The rebuilds of the run, replayed: the work area grown file by file as
    // the run grows it, and the index rebuilt once more in each state (a
    // rebuild over an unchanged work area does the same work as the one
    // that followed the file's joining).
    WorkArea finished = w;
    QList<AddedFile> made;
    for (int i = 1; i < finished.Search_Hit_File_List().count(); ++i) {
        AddedFile file;
        file.path = finished.File_Key(i);
        file.header = TemplateDuplication::madeHeader(file.path, kSource);
        file.entries = WorkAreaTemplateStore(finished).storedEntries(file.path);
        file.changed = true;
        made.append(std::move(file));
    }
    QList<double> rebuildWalls, rebuildCpus;
    for (int r = 0; r < runs; ++r) {
        WorkArea grow = start;
        WorkAreaTemplateStore store(grow);
        double wall = 0, cpu = 0;
        for (AddedFile file : made) {
            store.addFile(std::move(file));
            QElapsedTimer t;
            const double c0 = cpuMs();
            t.start();
            LineIndex::Build_Line_Index(grow);
            wall += double(t.nsecsElapsed()) / 1e6;
            cpu += cpuMs() - c0;
        }
        if (grow.Search_Hit_All_Line_List().texts() != finished.Search_Hit_All_Line_List().texts())
            qFatal("the replay differs from the run");
        rebuildWalls.append(wall);
        rebuildCpus.append(cpu);
    }
    std::sort(rebuildWalls.begin(), rebuildWalls.end());
    std::sort(rebuildCpus.begin(), rebuildCpus.end());
    const Timing rebuilds{rebuildWalls.at(runs / 2), rebuildCpus.at(runs / 2)};

    qsizetype made2 = 0;
    const Timing reference = median(runs, [] {}, [&] { made2 = plainLoop(lines, params); });
    if (made2 != qsizetype(kTemplateLines) * kParameters)
        qFatal("reference made %lld entries", qlonglong(made2));

    print("duplication run", run,
          QStringLiteral("goal: under 1000 ms; ratio to the reference: wall %1, cpu %2")
              .arg(run.wall / reference.wall, 0, 'f', 1)
              .arg(run.cpu / reference.cpu, 0, 'f', 1));
    print("of which line-index rebuilds", rebuilds,
          QStringLiteral("%1 rebuilds, %2% of the run (goal: at most 50%)")
              .arg(made.size())
              .arg(100.0 * rebuilds.cpu / run.cpu, 0, 'f', 1));
    print("reference: QString::replace loop", reference);
    return 0;
}
