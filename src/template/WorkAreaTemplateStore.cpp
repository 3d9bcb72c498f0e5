#include "template/WorkAreaTemplateStore.h"

#include "base/Workbench.h"
#include "display/ListView.h"
#include "platform/DiskStamp.h"
#include "workarea/LineFormat.h"
#include "workarea/LineIndex.h"
#include "workarea/WorkArea.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

QByteArray WorkAreaTemplateStore::sourceBytes(const QString &path) const
{
    const int i = m_work.Search_Hit_File_List().indexOf(path);
    if (i < 0 || i >= m_work.fileOrigins().size())
        return {};
    const FileOrigin &origin = m_work.fileOrigins().at(i);
    if (!origin.sourceBytes.isEmpty() || origin.size < 0)
        return origin.sourceBytes;
    if (path == m_readPath && origin.modifiedNsecs == m_readStamp && m_read.size() == origin.size)
        return m_read;
    const int fd = ::open(m_work.nativePath(i).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat st;
    QFile file;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)
        || !DiskStamp::of(st).sameAs(DiskStamp{origin.size, origin.modifiedNsecs})
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {};
    }
    QByteArray bytes = file.readAll();
    if (bytes.size() != origin.size)
        return {};
    m_readPath = path;
    m_readStamp = origin.modifiedNsecs;
    m_read = bytes;
    return bytes;
}

TextEncoding WorkAreaTemplateStore::encodingOf(const QString &path) const
{
    return m_work.encodingOf(m_work.Search_Hit_File_List().indexOf(path));
}

QByteArray WorkAreaTemplateStore::nativePath(const QString &path) const
{
    const int i = m_work.Search_Hit_File_List().indexOf(path);
    return i < 0 ? NativeName::encode(path) : m_work.nativePath(i);
}

bool WorkAreaTemplateStore::addFile(AddedFile &&file)
{
    WorkArea &w = m_work;
    // An empty native path stands for the key's own UTF-8 bytes.
    FileOrigin origin;
    origin.nativePath = file.nativePath;
    origin.size = file.size;
    origin.modifiedNsecs = file.modifiedNsecs;
    origin.sourceBytes = std::move(file.bytes);
    origin.encoding = file.encoding;
    // The column header goes above the first file only: a run that adds
    // nothing leaves the display list as it was.
    const bool first = w.Search_Hit_List().isEmpty();
    if (first)
        w.appendDisplayLine(LineFormat::kColumnHeader);
    if (w.admitFile(file.path, origin, {file.header}, std::move(file.entries), file.changed) < 0) {
        // A refused first file takes its column header with it.
        if (first)
            w.clearResults();
        return false;
    }
    LineIndex::Build_Line_Index(w);
    return true;
}

void WorkAreaTemplateStore::finishRun(Workbench &wb, bool added)
{
    WorkArea &w = wb.work;
    // Made files came in marked changed: Hozon_Flag is 1 already.
    w.noteResultLines();
    if (added)
        ListView::Build_List_View(wb);
    ListView::Show_Status_Counts(wb);
}
