// Times the editing algorithms over a full work area: the replace passes over
// 32,700 stored lines in about 1,000 files (against the search that filled
// the work area), and the line editor's load, reflect and sort of one file of
// 32,700 lines. Prints the median of several runs.
//
// Usage: edit_bench [RUNS]

#include "app/Workbench.h"
#include "edit/LineEditor.h"
#include "edit/LineSort.h"
#include "edit/ReplacePass.h"
#include "platform/Cp932.h"
#include "platform/MessagePort.h"
#include "search/SearchRun.h"
#include "workarea/LineFormat.h"
#include "workarea/LineIndex.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>

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

double medianMs(int runs, const std::function<void()> &prepare, const std::function<void()> &work)
{
    QList<double> times;
    for (int r = 0; r < runs; ++r) {
        prepare();
        QElapsedTimer t;
        t.start();
        work();
        times.append(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

void search(Workbench &wb, const QString &root)
{
    wb.work.Clear_All();
    Settings &s = wb.settings;
    s.SIKIBETU_ALL_FLG = 1;
    s.SIKIBETU.fill(QString());
    s.SIKIBETU[0] = QStringLiteral("TXT");
    s.SUB_DIR_FLG = 1;
    s.FILE_NAME_DISP = 0;
    s.FILE_OUT = 0;
    wb.work.Search_Word = kWord;
    wb.work.Compare_Mode = 1;
    wb.work.Search_Running = 1;
    wb.work.Search_Path = root;
    wb.work.Current_Dir = root + QLatin1Char('/');
    SearchRun::Search_Execute(wb);
}

// Every file selected: each file's display block and stored range, the
// changes written in place, then the line index rebuilt.
int replaceAll(WorkArea &w, const QString &replacement)
{
    ReplacePass pass(kWord, replacement, 1);
    ItemList &display = w.Search_Hit_List;
    ItemList &counts = w.Mojisuu_Count_List;
    for (int j = 0; j < display.count(); ++j) {
        FittedLine fitted;
        if (pass.Display_Line(display.text(j), &fitted)) {
            display.setText(j, fitted.text);
            display.setData(j, fitted.byteLength);
            counts.setText(j, QString::number(fitted.charCount));
        }
    }
    ItemList &stored = w.Search_Hit_All_Line_List;
    int changed = 0;
    for (int k = 0; k < w.Search_Hit_File_List.count(); ++k) {
        const int first = w.Search_Hit_File_List.data(k);
        const int end = k + 1 < w.Search_Hit_File_List.count() ? w.Search_Hit_File_List.data(k + 1) : stored.count();
        bool fileChanged = false;
        for (int i = first; i < end; ++i) {
            QString out;
            if (pass.Stored_Line(stored.text(i), &out)) {
                stored.setText(i, out);
                fileChanged = true;
                ++changed;
            }
        }
        if (fileChanged)
            w.Search_Hit_File_Change.setData(k, 1);
    }
    LineIndex::Build_Line_Index(w);
    return changed;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir tmp;
    const QString root = tmp.path() + QStringLiteral("/corpus");
    QDir().mkpath(root);
    writeCorpus(root);

    SilentPort port;
    Workbench wb;
    wb.messages = &port;
    const double searchMs = medianMs(runs, [] {}, [&] { search(wb, root); });
    const WorkArea filled = wb.work;
    std::printf("work area: %d files, %d stored lines, %d display lines\n", filled.Search_Hit_File_List.count(),
                filled.Search_Hit_All_Line_List.count(), filled.Search_Hit_List.count());
    std::printf("search that filled it:               %8.2f ms\n", searchMs);

    WorkArea w;
    int changed = 0;
    const double sameLength = medianMs(runs, [&] { w = filled; }, [&] { changed = replaceAll(w, QStringLiteral("置替済み")); });
    std::printf("replace, all files, same length:     %8.2f ms (%d stored lines changed), ratio %.2f\n", sameLength,
                changed, sameLength / searchMs);
    const double splice = medianMs(runs, [&] { w = filled; }, [&] { changed = replaceAll(w, QStringLiteral("置替")); });
    std::printf("replace, all files, other length:    %8.2f ms (%d stored lines changed), ratio %.2f\n", splice,
                changed, splice / searchMs);

    // One file of 32,700 lines between two others.
    const QString key = root + QStringLiteral("/BIG.TXT");
    QStringList entries;
    std::mt19937 rng(7);
    for (int i = 1; i <= kLines - 2; ++i)
        entries.append(key + LineFormat::kSeparator + LineFormat::Line_No_10(i) + LineFormat::kSeparator
                       + sentence(rng, false));
    ItemList store(true);
    store.add(root + QStringLiteral("/A.TXT:@:000001.000:@:a"));
    store.addRun(entries);
    store.add(root + QStringLiteral("/C.TXT:@:000001.000:@:c"));
    const int first = 1;
    const int count = int(entries.size());

    LineEditor editor(port);
    const double load = medianMs(runs, [] {}, [&] { editor.Load(entries); });
    ItemList target(true);
    const double reflect = medianMs(runs, [&] { target = store; }, [&] {
        target.removeRange(first, count);
        target.addRun(editor.Reflect_Entries(key));
    });
    LineSort sort;
    const double sortUp = medianMs(runs, [&] { target = store; }, [&] {
        sort.Load(entries);
        sort.Command1_Click(true);
        target.removeRange(first, count);
        target.addRun(sort.Reflect_Entries(key));
    });
    const double sortDown = medianMs(runs, [&] { target = store; }, [&] {
        sort.Load(entries);
        sort.Command1_Click(false);
        target.removeRange(first, count);
        target.addRun(sort.Reflect_Entries(key));
    });
    std::printf("line editor, load %d lines:       %8.2f ms\n", count, load);
    std::printf("line editor, reflect into the store: %8.2f ms\n", reflect);
    std::printf("sort ascending + reflect:            %8.2f ms\n", sortUp);
    std::printf("sort descending + reflect:           %8.2f ms\n", sortDown);
    return 0;
}
