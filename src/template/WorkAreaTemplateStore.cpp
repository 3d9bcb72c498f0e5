#include "template/WorkAreaTemplateStore.h"

#include "base/Workbench.h"
#include "display/ListView.h"
#include "workarea/LineFormat.h"
#include "workarea/LineIndex.h"
#include "workarea/WorkArea.h"

bool WorkAreaTemplateStore::isOpen(const QString &path) const
{
    return m_work.Is_File_Open(path) != 0;
}

qint64 WorkAreaTemplateStore::storedLines() const
{
    return m_work.Search_Hit_All_Line_List().count();
}

QStringList WorkAreaTemplateStore::storedEntries(const QString &path) const
{
    const int i = m_work.Search_Hit_File_List().indexOf(path);
    if (i < 0)
        return {};
    const WorkArea::Range range = m_work.fileLineRange(i);
    const ItemList &all = m_work.Search_Hit_All_Line_List();
    QStringList out;
    out.reserve(range.size());
    for (int k = range.first; k <= range.last; ++k)
        out.append(all.text(k));
    return out;
}

QByteArray WorkAreaTemplateStore::nativePathOf(const QString &path) const
{
    const int i = m_work.Search_Hit_File_List().indexOf(path);
    return i < 0 || i >= m_work.fileOrigins().size() ? QByteArray() : m_work.fileOrigins().at(i).nativePath;
}

bool WorkAreaTemplateStore::addFile(AddedFile &&file)
{
    WorkArea &w = m_work;
    FileOrigin origin;
    origin.nativePath = file.nativePath;
    origin.size = file.size;
    origin.modifiedNsecs = file.modifiedNsecs;
    if (w.admitFile(file.path, origin, {file.header}, std::move(file.entries), file.changed) < 0)
        return false;
    LineIndex::Build_Line_Index(w);
    return true;
}

void WorkAreaTemplateStore::beginRun(WorkArea &work)
{
    if (work.Search_Hit_List().isEmpty())
        work.appendDisplayLine(LineFormat::kColumnHeader);
}

void WorkAreaTemplateStore::finishRun(Workbench &wb, bool added, bool madeFiles)
{
    WorkArea &w = wb.work;
    if (w.Search_Hit_List().count() > 1)
        w.Result_Flag = 1;
    if (madeFiles)
        w.Hozon_Flag = 1;
    if (added && wb.listView)
        ListView::Build_List_View(wb);
    ListView::Show_Status_Counts(wb);
}
