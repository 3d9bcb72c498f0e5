#include "workarea/LineIndex.h"

#include "app/StatusPanels.h"
#include "platform/EventPump.h"
#include "workarea/LineFormat.h"
#include "workarea/WorkArea.h"

void LineIndex::Build_Line_Index(WorkArea &work, StatusPanels *status, EventPump *pump)
{
    if (status) {
        status->setText(StatusPanels::kSearch, QStringLiteral("Wait...!"));
        status->setText(StatusPanels::kPath, QStringLiteral("ｲﾝﾃﾞｯｸｽを生成中 !"));
    }
    if (pump)
        pump->yieldNow();

    const ItemList &lines = work.Search_Hit_All_Line_List;
    const int lineCount = lines.count();
    int j = 0;
    for (int i = 0; i < work.Search_Hit_File_List.count(); ++i) {
        const QString key = work.File_Key(i);
        // j is not reset between files: each file's search starts at the first
        // line of the previous one. A key compare ignores case so that a file
        // list item whose folder differs in case still finds its lines.
        int k = j;
        while (k < lineCount
               && LineFormat::Entry_Key(lines.text(k)).compare(key, Qt::CaseInsensitive) != 0)
            ++k;
        if (k < lineCount)
            j = k;
        // Not found: the index points past the last entry and the next file
        // searches on from where this one started.
        work.Search_Hit_File_List.setData(i, k);
    }

    qint32 total = 0;
    ItemList &counts = work.Mojisuu_Count_List;
    for (int k = 0; k < counts.count(); ++k) {
        total += counts.text(k).toInt();
        counts.setData(k, total);
    }
}
