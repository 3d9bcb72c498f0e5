// Times the opening of the save dialog "保存" over a work area of N files
// (default 2,000 and 10,000), two thirds of them changed and preselected,
// and the reading of its selection when "保存" is pressed. Prints the median
// of several runs; the time should grow in step with N.
//
// Then times the save itself: N files of 3 lines (the all-lines store holds
// 32,767 lines: 10,000 files fit with 3 each), about 170 bytes, on
// disk, each with one line changed in the work area, all written by
// SaveForm::Cmd_Jikkou with the undo journal (in a folder of the bench's
// own). The files lie in the system's temporary folder (TMPDIR); on a
// memory file system flushing costs nothing and the figure says little.
//
// Usage: QT_QPA_PLATFORM=offscreen save_dialog_bench [RUNS] [N...]

#include "base/Workbench.h"
#include "edit/SaveForm.h"
#include "edit/widgets/QUAV_Hozon.h"
#include "platform/Cp932.h"
#include "workarea/LineFormat.h"
#include "workarea/LineIndex.h"
#include "../tests/support/WorkAreaTestAccess.h"
#include "BenchTiming.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QItemSelection>
#include <QListWidget>

#include <cstdlib>
#include <memory>

#include <sys/stat.h>

using namespace BenchTiming;

namespace {

// n files on disk under root, admitted to wb's work area as a search reads
// them, each with its first line changed in the store.
bool makeChangedFiles(Workbench &wb, const QString &root, int n)
{
    WorkArea &w = wb.work;
    w.appendDisplayLine(LineFormat::kColumnHeader);
    for (int i = 0; i < n; ++i) {
        const QString folder = root + QStringLiteral("/d%1").arg(i % 50);
        QDir().mkpath(folder);
        const QString path = folder + QStringLiteral("/file%1.txt").arg(i, 6, 10, QLatin1Char('0'));
        QStringList lines, entries;
        QByteArray bytes;
        for (int k = 0; k < 3; ++k) {
            lines.append(QStringLiteral("行%1 検索の対象になる日本語の文章です。 %2").arg(k).arg(i));
            bytes += Cp932::encode(lines.last()) + "\r\n";
        }
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return false;
        f.close();
        struct stat st {};
        ::stat(QFile::encodeName(path).constData(), &st);
        lines[0] = QStringLiteral("置換した行 %1").arg(i);
        for (int k = 0; k < lines.size(); ++k)
            entries.append(path + LineFormat::kSeparator + LineFormat::Line_No_10(k + 1) + LineFormat::kSeparator
                           + lines.at(k));
        const FileOrigin origin{QFile::encodeName(path), qint64(st.st_size),
                                qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
        const QString header = LineFormat::fileHeader(LineFormat::kSearchPrefix, path, QString());
        if (w.admitFile(path, origin, {header}, std::move(entries), true) < 0)
            return false;
    }
    LineIndex::Build_Line_Index(w);
    w.Hozon_Flag = 1;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    QList<int> sizes;
    for (int i = 2; i < argc; ++i)
        sizes.append(atoi(argv[i]));
    if (sizes.isEmpty())
        sizes = {2000, 10000};
    for (int n : sizes) {
        Workbench wb;
        for (int i = 0; i < n; ++i) {
            const int k = WorkAreaTestAccess::addFile(
                wb.work, QStringLiteral("/home/user/project/folder%1/file%2.txt").arg(i % 97).arg(i, 6, 10, QLatin1Char('0')));
            // Runs of changed files broken by unchanged ones, as a replace in
            // some folders leaves them.
            wb.work.setFileChanged(k, i % 3 != 0);
        }
        std::unique_ptr<QUAV_Hozon> dialog;
        const Timing opened = median(runs, [&] { dialog.reset(); }, [&] { dialog.reset(new QUAV_Hozon(wb)); });
        print(qPrintable(QStringLiteral("open with %1 files").arg(n)), opened);
        int selected = 0;
        const Timing read = median(runs, [] {}, [&] {
            selected = 0;
            const auto *list = dialog->findChild<QListWidget *>(QStringLiteral("List1"));
            for (const QItemSelectionRange &range : list->selectionModel()->selection())
                selected += range.height();
        });
        print(qPrintable(QStringLiteral("read the selection of %1 files").arg(n)), read,
              QStringLiteral("%1 selected").arg(selected));
    }
    for (int n : sizes) {
        QTemporaryDir state;
        qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
        std::unique_ptr<QTemporaryDir> files;
        std::unique_ptr<Workbench> wb;
        SaveForm::Outcome out;
        const Timing saved = median(
            runs,
            [&] {
                wb.reset();
                files = std::make_unique<QTemporaryDir>();
                wb = std::make_unique<Workbench>();
                if (!makeChangedFiles(*wb, files->path(), n))
                    std::abort();
                ::sync();
            },
            [&] { out = SaveForm::Cmd_Jikkou(*wb, QList<bool>(n, true)); });
        if (out.written != n)
            std::abort();
        print(qPrintable(QStringLiteral("save %1 changed files").arg(n)), saved,
              QStringLiteral("%1 written").arg(out.written));
    }
    return 0;
}
