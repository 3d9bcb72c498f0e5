#include "template/NewFileSave.h"

#include "workarea/LineFormat.h"
#include "workarea/WorkArea.h"

SaveResult NewFileSave::Save_New_File(const WorkArea &work, int fileIndex, bool overwriteAgreed)
{
    SaveRequest request;
    request.path = work.Native_Path(fileIndex);
    request.displayName = work.File_Key(fileIndex);
    request.overwriteAgreed = overwriteAgreed;
    const QString &key = work.File_Key(fileIndex);
    const ItemList &all = work.Search_Hit_All_Line_List;
    // StoredLine holds views into the entries, which outlive the save.
    for (int k = qMax(0, int(work.Search_Hit_File_List.data(fileIndex))); k < all.count(); ++k) {
        const QString &entry = all.text(k);
        if (LineFormat::Entry_Key(entry) != key)
            break;
        request.lines.append(StoredLine{LineFormat::Entry_Line_No(entry), LineFormat::Entry_Text(entry)});
    }
    const QString unmapped = FileSave::unmappedCharacters(request.lines);
    if (!unmapped.isEmpty()) {
        SaveResult refused;
        refused.message = key + QStringLiteral("\r\nShift-JIS で書けない文字があるため、保存しませんでした：") + unmapped;
        return refused;
    }
    return FileSave::save(request);
}
