// Times the opening of the save dialog "保存" over a work area of N files
// (default 2,000 and 10,000), two thirds of them changed and preselected,
// and the reading of its selection when "保存" is pressed. Prints the median
// of several runs; the time should grow in step with N.
//
// Usage: QT_QPA_PLATFORM=offscreen save_dialog_bench [RUNS] [N...]

#include "base/Workbench.h"
#include "edit/widgets/QUAV_Hozon.h"
#include "../tests/support/WorkAreaTestAccess.h"
#include "BenchTiming.h"

#include <QApplication>
#include <QItemSelection>
#include <QListWidget>

#include <cstdlib>
#include <memory>

using namespace BenchTiming;

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
    return 0;
}
