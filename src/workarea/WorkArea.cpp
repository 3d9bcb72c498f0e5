#include "workarea/WorkArea.h"

#include "platform/NativeName.h"
#include "workarea/LineFormat.h"

int WorkArea::Is_File_Open(const QString &path) const
{
    return m_fileList.indexOf(path) >= 0 ? 1 : 0;
}

int WorkArea::Add_File(const QString &path, const FileOrigin &origin)
{
    if (m_fileList.isFull() || m_changeList.isFull())
        return -1;
    const int index = m_fileList.add(path, 0);
    m_changeList.add(path, 0);
    m_origins.insert(index, origin);
    return index;
}

int WorkArea::admitFile(const QString &key, const FileOrigin &origin, const QStringList &displayLines,
                         QStringList &&entries, bool changed)
{
    if (Is_File_Open(key) || m_fileList.isFull() || m_changeList.isFull())
        return -1;
    if (displayLines.isEmpty() || !displayRoom(int(displayLines.size())) || !LineFormat::Is_Header(displayLines.front()))
        return -1;
    for (qsizetype i = 1; i < displayLines.size(); ++i)
        if (LineFormat::Is_Header(displayLines.at(i)))
            return -1;
    // The run lands in one piece, where the file list places key.
    if (!isRunOf(key, entries) || !Admits(entries.size()))
        return -1;

    const int index = Add_File(key, origin);
    m_allLines.addRun(std::move(entries));
    appendAnyDisplayLine(displayLines.front(), key);
    for (qsizetype i = 1; i < displayLines.size(); ++i)
        appendAnyDisplayLine(displayLines.at(i));
    if (changed)
        setFileChanged(index, true);
    return index;
}

bool WorkArea::isRunOf(const QString &key, const QStringList &entries)
{
    // In the store's order, which compares keys first, and beginning and
    // ending with key: every entry between is of key as well.
    if (entries.isEmpty() || LineFormat::Entry_Key(entries.front()) != key
        || LineFormat::Entry_Key(entries.back()) != key)
        return false;
    for (qsizetype i = 1; i < entries.size(); ++i)
        if (ItemList::compare(entries.at(i - 1), entries.at(i)) > 0)
            return false;
    return true;
}

void WorkArea::removeFile(int i)
{
    if (i < 0 || i >= m_fileList.count())
        return;
    m_fileList.remove(i);
    m_changeList.remove(i);
    if (i < m_origins.size())
        m_origins.removeAt(i);
}

TextEncoding WorkArea::encodingOf(int i) const
{
    return i >= 0 && i < m_origins.size() ? m_origins.at(i).encoding : TextEncoding::Cp932;
}

QByteArray WorkArea::nativePath(int i) const
{
    if (i >= 0 && i < m_origins.size() && !m_origins.at(i).nativePath.isEmpty())
        return m_origins.at(i).nativePath;
    if (i < 0 || i >= m_fileList.count())
        return QByteArray();
    return NativeName::encode(m_fileList.text(i));
}

bool WorkArea::Admits(qint64 lines) const
{
    return m_allLines.count() + lines <= kAdmissionLimit;
}

bool WorkArea::appendDisplayLine(const QString &text)
{
    return !LineFormat::Is_Header(text) && appendAnyDisplayLine(text);
}

bool WorkArea::appendAnyDisplayLine(const QString &text, const QString &fileKey)
{
    if (!displayRoom(1))
        return false;
    const FittedLine fitted = LineFormat::Fit_Display_Line(text);
    const int index = m_hitList.add(fitted.text, fitted.byteLength);
    if (LineFormat::Is_Header(text))
        m_hitList.setTag(index, fileKey.isEmpty() ? LineFormat::headerKey(text) : fileKey);
    m_countList.add(QString::number(fitted.charCount), 0);
    return true;
}

bool WorkArea::displayRoom(int n) const
{
    return m_hitList.count() + n <= ItemList::kMaxItems
        && m_countList.count() + n <= ItemList::kMaxItems;
}

void WorkArea::clearResults()
{
    m_fileList.clear();
    m_hitList.clear();
    m_allLines.clear();
    m_countList.clear();
    m_changeList.clear();
    m_origins.clear();
}

void WorkArea::clearScanBuffer()
{
    m_searchList.clear();
}

void WorkArea::keepFileStamp(int i, qint64 size, qint64 modifiedNsecs)
{
    if (i < 0 || i >= m_origins.size())
        return;
    FileOrigin &origin = m_origins[i];
    if (origin.nativePath.isEmpty())
        origin.nativePath = nativePath(i);
    origin.size = size;
    origin.modifiedNsecs = modifiedNsecs;
    origin.sourceBytes.clear();
}

void WorkArea::clearAll()
{
    clearResults();
    m_searchList.clear();
    m_sortList.clear();
    Result_Flag = 0;
    Hozon_Flag = 0;
}

void WorkArea::noteResultLines()
{
    if (m_hitList.count() > 1)
        Result_Flag = 1;
}

void WorkArea::recomputeResultFlag()
{
    Result_Flag = m_hitList.count() > 1 ? 1 : 0;
}

QString WorkArea::headerFileKey(int i) const
{
    if (i < 0 || i >= m_hitList.count())
        return QString();
    return m_hitList.tag(i);
}

QString WorkArea::File_Key(int i) const
{
    return m_fileList.text(i);
}
