// Times the editing algorithms over a full work area: the replace passes over
// 32,700 stored lines in about 1,000 files (against the search that filled
// the work area), and the line editor's load, reflect and sort of one file of
// 32,700 lines. Prints the median of several runs.
//
// Usage: edit_bench [RUNS]

#include "base/Workbench.h"
#include "edit/LineEditor.h"
#include "edit/LineSort.h"
#include "edit/ReplaceForm.h"
#include "edit/ReplacePass.h"
#include "platform/Cp932.h"
#include "platform/MessagePort.h"
#include "search/SearchRequest.h"
#include "search/SearchRun.h"
#include "../tests/support/WorkAreaTestAccess.h"
#include "BenchTiming.h"
#include "workarea/LineFormat.h"
#include "workarea/LineIndex.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <random>

#include <malloc.h>

namespace {

constexpr int kFiles = 1000;
constexpr int kLines = 32700;
const QString kWord = QStringLiteral("置替対象");

class SilentPort : public MessagePort
{
public:
    Answer show(const QString &, const QString &, Icon, Buttons buttons) override
    {
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return {}; }
};

QString sentence(std::mt19937 &rng, bool withWord)
{
    static const QStringList words{"検索", "処理", "設定", "データ", "ファイル", "status", "OK", "あいう",
                                   "12345", "変更", "保存", "Timeout", "ネットワーク", "確認"};
    QString out;
    const int n = 4 + int(rng() % 8);
    for (int i = 0; i < n; ++i) {
        out += words.at(qsizetype(rng() % words.size()));
        if (withWord && i == n / 2)
            out += kWord;
    }
    return out + QStringLiteral("。");
}

// 1,000 files holding 32,700 lines, each file with the word in about a
// quarter of its lines.
void writeCorpus(const QString &root)
{
    std::mt19937 rng(20240607);
    for (int f = 0; f < kFiles; ++f) {
        const int lines = kLines / kFiles + (f < kLines % kFiles ? 1 : 0);
        QByteArray bytes;
        for (int i = 0; i < lines; ++i) {
            Cp932::encodeAppend(sentence(rng, i == 0 || rng() % 4 == 0), bytes);
            bytes += "\r\n";
        }
        QFile file(root + QStringLiteral("/F%1.TXT").arg(f, 4, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the corpus");
    }
}

using namespace BenchTiming;

void search(Workbench &wb, const QString &root)
{
    wb.work.clearAll();
    wb.work.Search_Running = 1;
    SearchRequest request;
    request.word = kWord;
    request.ignoreCase = true;
    request.root = root;
    request.identifiers = {QStringLiteral("TXT")};
    request.subDirs = true;
    SearchRun::Search_Execute(wb, request);
}

// Makes a copied work area share nothing with its original, as the
// program's own work area does not.
void detach(WorkArea &w)
{
    using A = WorkAreaTestAccess;
    for (ItemList *list : {&A::display(w), &A::counts(w), &A::allLines(w), &A::changes(w), &A::files(w)})
        if (!list->isEmpty())
            list->setData(0, list->data(0));
}

// Every file selected, as the replace dialog runs it: each file's display
// block and stored range, the changes written in place through the work
// area's own operations, then the line index rebuilt.
int replaceAll(WorkArea &w, const QString &replacement)
{
    ReplacePass pass(kWord, replacement, 1);
    QList<int> files;
    for (int k = 0; k < w.Search_Hit_File_List().count(); ++k)
        files.append(k);
    const int changed = ReplaceForm::replaceFiles(w, pass, files);
    LineIndex::Build_Line_Index(w);
    return changed;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // Between runs the bench drops whole copies of the work area, which the
    // program never does; glibc would hand the freed top of the heap back to
    // the system and every timed run would pay the page faults of taking it
    // again (a third of a replace). Kept for the whole bench, searches too.
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir tmp;
    const QString root = tmp.path() + QStringLiteral("/corpus");
    QDir().mkpath(root);
    writeCorpus(root);

    SilentPort port;
    Workbench wb;
    wb.messages = &port;
    const Timing searched = median(runs, [] {}, [&] { search(wb, root); });
    const WorkArea filled = wb.work;
    std::printf("work area: %d files, %d stored lines, %d display lines\n", filled.Search_Hit_File_List().count(),
                filled.Search_Hit_All_Line_List().count(), filled.Search_Hit_List().count());
    print("search that filled it", searched);

    // A copy of the filled work area that shares nothing with it, as the
    // program's own work area does not.
    WorkArea w;
    auto fresh = [&] {
        w = filled;
        detach(w);
    };
    int changed = 0;
    auto ratio = [&](Timing t) {
        return QStringLiteral("%1 files changed; ratio to the search: wall %2, cpu %3")
            .arg(changed)
            .arg(t.wall / searched.wall, 0, 'f', 2)
            .arg(t.cpu / searched.cpu, 0, 'f', 2);
    };
    const Timing splice = median(runs, fresh, [&] { changed = replaceAll(w, QStringLiteral("置替")); });
    print("replace all files, other length", splice, ratio(splice));
    const Timing sameLength =
        median(runs, fresh, [&] { changed = replaceAll(w, QStringLiteral("置替済み")); });
    print("replace all files, same length", sameLength, ratio(sameLength));
    print("of which the line index", median(runs, fresh, [&] { LineIndex::Build_Line_Index(w); }));

    // One file of 32,700 lines between two others.
    const QString key = root + QStringLiteral("/BIG.TXT");
    QStringList entries;
    std::mt19937 rng(7);
    for (int i = 1; i <= kLines - 2; ++i)
        entries.append(key + LineFormat::kSeparator + LineFormat::Line_No_10(i) + LineFormat::kSeparator
                       + sentence(rng, false));
    WorkArea three;
    WorkAreaTestAccess::addFile(three, root + QStringLiteral("/A.TXT"));
    WorkAreaTestAccess::addFile(three, key);
    WorkAreaTestAccess::addFile(three, root + QStringLiteral("/C.TXT"));
    ItemList &stored = WorkAreaTestAccess::allLines(three);
    stored.add(root + QStringLiteral("/A.TXT:@:000001.000:@:a"));
    stored.addRun(entries);
    stored.add(root + QStringLiteral("/C.TXT:@:000001.000:@:c"));
    LineIndex::Build_Line_Index(three);
    const int count = int(entries.size());
    std::printf("one file of %d lines between two others\n", count);

    LineEditor editor(port);
    print("line editor load", median(runs, [] {}, [&] { editor.Load(entries); }));
    WorkArea target;
    auto freshThree = [&] {
        target = three;
        detach(target);
    };
    print("line editor reflect into the store", median(runs, freshThree, [&] {
              if (!target.replaceFileLines(1, editor.reflectEntries(key)))
                  qFatal("reflect refused");
              LineIndex::Build_Line_Index(target);
          }));
    LineSort sort;
    for (bool ascending : {true, false})
        print(ascending ? "sort ascending + reflect" : "sort descending + reflect",
              median(runs, freshThree, [&] {
                  sort.Load(entries);
                  sort.Command1_Click(ascending);
                  if (!target.replaceFileLines(1, sort.reflectEntries(key)))
                      qFatal("reflect refused");
              }));
    return 0;
}
