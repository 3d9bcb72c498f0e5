#pragma once

#include "../display/DisplayFixture.h"

#include "ScriptedMessagePort.h"
#include "WorkAreaChecks.h"
#include "display/DetailView.h"
#include "display/ListView.h"

#include <QTest>

// A workbench after a search, without widgets: fake views, a scripted message
// port, the list view built and the status shown.
struct EditFixture
{
    QTemporaryDir dir;
    FakeRichView list;
    FakeRichView detail;
    ScriptedMessagePort port;
    Workbench wb;

    explicit EditFixture(const QList<TestFile> &files, const QString &word, qint16 compareMode = 1)
    {
        attachPorts(wb, dir, list, detail, port);
        detail.shown = false; // as after a search: the list view shows
        wb.work.Compare_Mode = compareMode;
        fillWorkArea(wb, files, word);
        wb.work.Result_Flag = 1;
        ListView::Build_List_View(wb);
        ListView::Show_Status_Counts(wb);
    }

    // The first display line that begins with text.
    int lineOf(const QString &text) const
    {
        for (int k = 0; k < wb.work.Search_Hit_List().count(); ++k)
            if (wb.work.Search_Hit_List().text(k).startsWith(text))
                return k;
        return -1;
    }

    // A double-click at column `column` of display line k.
    bool showDetail(int k, int column = 0)
    {
        list.setCaret(ListView::lineStart(wb.work.Mojisuu_Count_List(), k) + column);
        DetailView::Show_Detail_View(wb, DetailView::Origin::DoubleClick);
        return detail.shown && !list.shown;
    }

    // The stored lines of file i as "number:text".
    QStringList stored(int file) const
    {
        QStringList out;
        const WorkArea::Range r = wb.work.fileLineRange(file);
        for (int k = r.first; k <= r.last; ++k) {
            const QString &e = wb.work.Search_Hit_All_Line_List().text(k);
            out.append(LineFormat::Entry_Line_No(e).toString() + QLatin1Char(':') + LineFormat::Entry_Text(e).toString());
        }
        return out;
    }
};
