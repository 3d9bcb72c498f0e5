#include "display/DetailView.h"

#include "base/Workbench.h"
#include "display/ListView.h"
#include "display/RtfBuilder.h"
#include "platform/MessagePort.h"
#include "platform/RichViewPort.h"
#include "workarea/LineFormat.h"

namespace {

const QString kCaption = QStringLiteral("詳細表示");
const QString kDeselectCaption = QStringLiteral("選択取り消し");

// The list view comes back as it was before the detail view was asked for,
// the caret on the first line.
void backToList(Workbench &wb)
{
    wb.listView->setShown(true);
    wb.detailView->setShown(false);
    wb.board.detailRefused();
    wb.listView->setViewEnabled(true);
    wb.listView->setCaret(0);
    wb.listView->selectToLineEnd();
    ListView::showReadyPanels(wb.status, wb.work);
    wb.MENU_SETTEI();
}

// A file could not be located or shown: tell the user and go back to the list.
void refuse(Workbench &wb, const QString &text, const QString &caption, MessagePort::Icon icon)
{
    wb.display.Range_Only_Flag = 0;
    wb.display.Detail_Header.clear();
    wb.display.detailFileIndex = -1;
    wb.listView->setShown(false);
    wb.messages->show(text, caption, icon);
    backToList(wb);
}

} // namespace

int DetailView::locateHeaderFile(const WorkArea &work, int k)
{
    return work.headerFileIndex(k);
}

void DetailView::Show_Detail_View(Workbench &wb, Origin origin)
{
    // A search pumps the event loop while the list view can still be
    // double-clicked (during a first search it is empty): the run owns the
    // buttons until it ends.
    if (wb.board.isBusy())
        return;
    if (wb.work.Search_Hit_List().isEmpty()) {
        wb.messages->show(QStringLiteral("一覧表にデータがありません。"), kCaption, MessagePort::Icon::Exclamation);
        return;
    }
    const bool doubleClick = origin == Origin::DoubleClick;
    wb.pump->setBusyCursor(true);
    if (doubleClick)
        wb.detailView->clearText();
    wb.board.detailRequested();
    wb.MENU_SETTEI();
    if (!doubleClick)
        wb.listView->focus();
    wb.listView->setViewEnabled(false);
    Build_Detail_View(wb);
    wb.pump->setBusyCursor(false);
    if (doubleClick)
        wb.pump->flushInput();
}

bool DetailView::Build_Detail_View(Workbench &wb)
{
    DisplayState &d = wb.display;
    WorkArea &work = wb.work;
    const bool rangeOnly = d.Range_Only_Flag == 1;
    wb.status.setText(StatusPanels::kSearch, QStringLiteral("Wait..."));
    if (!rangeOnly)
        wb.status.setText(StatusPanels::kPath, QStringLiteral("詳細表示画面作成中"));
    d.Detail_Header.clear();
    wb.detailView->setShown(false);

    const ItemList &counts = work.Mojisuu_Count_List();
    d.Clicked_Caret_Pos = wb.listView->caret();
    const int k = std::min(ListView::Caret_To_Line(counts, d.Clicked_Caret_Pos), work.Search_Hit_List().count() - 1);
    d.Clicked_Line_Index = k;

    if (k <= 0) {
        refuse(wb, rangeOnly ? QStringLiteral("見出し行は取り消し処理できません。") : QStringLiteral("見出し行では表示できません。"),
               rangeOnly ? kDeselectCaption : kCaption, MessagePort::Icon::Exclamation);
        return false;
    }

    wb.listView->setCaret(ListView::lineStart(counts, k));
    // A header line is highlighted from its own start too: two long
    // paths can share a cut header's text, so a search for that text
    // could highlight the other file.
    wb.listView->selectToLineEnd();
    wb.listView->setViewEnabled(false);
    d.List_Caret_Pos = d.Clicked_Caret_Pos;
    int header = k;
    while (header > 0 && !LineFormat::Is_Header(work.Search_Hit_List().text(header)))
        --header;
    const int file = header > 0 ? locateHeaderFile(work, header) : -1;
    if (file < 0) {
        refuse(wb, QStringLiteral("この行のファイルが作業領域に見つかりません。"), rangeOnly ? kDeselectCaption : kCaption,
               MessagePort::Icon::Exclamation);
        return false;
    }

    d.Detail_Header = work.Search_Hit_List().text(header);
    // The full key of the located file: the header may show a cut path.
    d.Detail_File_Key = work.File_Key(file);
    d.detailFileIndex = file;
    d.Detail_First = work.Search_Hit_File_List().data(file);
    d.Detail_Last = file + 1 < work.Search_Hit_File_List().count() ? work.Search_Hit_File_List().data(file + 1) - 1
                                                                   : work.Search_Hit_All_Line_List().count() - 1;
    if (rangeOnly) {
        d.Range_Only_Flag = 0;
        return true;
    }

    QString error;
    auto write = [&]() {
        d.detailCacheKey.clear();
        const WriteResult document
            = RtfBuilder::Make_RTF_Document(wb, RtfBuilder::DetailMode, d.Detail_First, d.Detail_Last, d.Detail_File_Key);
        if (!document.written) {
            error = RtfBuilder::writeFailureText(document);
            return false;
        }
        d.detailCacheKey = d.Detail_File_Key;
        return true;
    };
    bool fresh = false;
    if (d.Detail_File_Key != d.detailCacheKey || d.detailDocumentPath.isEmpty()) {
        if (!write()) {
            refuse(wb, error, kCaption, MessagePort::Icon::Critical);
            return false;
        }
        fresh = true;
    }
    bool loaded = wb.detailView->loadRtf(d.detailDocumentPath);
    // The cached document may have gone from disk since: write it again.
    if (!loaded && !fresh && write())
        loaded = wb.detailView->loadRtf(d.detailDocumentPath);
    if (!loaded) {
        refuse(wb, error.isEmpty() ? RtfBuilder::loadFailureText(d.detailDocumentPath) : error, kCaption,
               MessagePort::Icon::Critical);
        return false;
    }
    wb.detailView->refresh();
    wb.detailView->setCaret(1);
    wb.board.detailShown(d.Detail_Header);
    wb.MENU_SETTEI();
    wb.listView->setShown(false);
    wb.listView->setViewEnabled(false);
    wb.detailView->setViewEnabled(true);
    wb.detailView->setShown(true);
    wb.status.setText(StatusPanels::kSearch, QStringLiteral("Details"));
    // A file that is not code page 932 says so after its path.
    const TextEncoding encoding = work.encodingOf(file);
    wb.status.setText(StatusPanels::kPath, encoding == TextEncoding::Cp932
                                               ? d.Detail_File_Key
                                               : d.Detail_File_Key + QStringLiteral("　［")
                                                   + TextEncodings::name(encoding) + QStringLiteral("］"));
    wb.status.setText(StatusPanels::kHitSu, QString());
    return true;
}
