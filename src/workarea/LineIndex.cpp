#include "workarea/LineIndex.h"

#include "platform/EventPump.h"
#include "workarea/LineFormat.h"
#include "workarea/WorkArea.h"

namespace {

// Whether the entry's key (its text before the first ":@:") is exactly key.
// Most entries looked at belong to another file and differ in length or in
// one of their last characters (paths differ mostly at their end): compared
// from the end.
bool keyEquals(QStringView entry, QStringView key)
{
    const qsizetype n = key.size();
    if (entry.size() < n)
        return false;
    if (entry.size() > n) {
        // ":@:" must begin at n.
        if (entry.size() < n + 3 || entry[n] != u':' || entry[n + 1] != u'@' || entry[n + 2] != u':')
            return false;
    }
    for (qsizetype i = n - 1; i >= 0; --i)
        if (entry[i] != key[i])
            return false;
    // A separator earlier in the entry would end its key sooner.
    return LineFormat::Entry_Key(entry).size() == n;
}

} // namespace

void LineIndex::Build_Line_Index(WorkArea &work, EventPump *pump)
{
    if (pump)
        pump->yieldNow();

    const ItemList &lines = work.m_allLines;
    const int lineCount = lines.count();
    int j = 0;
    for (int i = 0; i < work.m_fileList.count(); ++i) {
        const QString key = work.File_Key(i);
        // j is not reset between files: each file's search starts at the first
        // line of the previous one. Keys compare exactly: A.TXT and a.txt are
        // two files, each with its own lines.
        int k = j;
        while (k < lineCount && !keyEquals(lines.text(k), key))
            ++k;
        if (k < lineCount)
            j = k;
        // Not found: the index points past the last entry and the next file
        // searches on from where this one started.
        work.m_fileList.setData(i, k);
    }

    qint32 total = 0;
    ItemList &counts = work.m_countList;
    for (int k = 0; k < counts.count(); ++k) {
        total += counts.text(k).toInt();
        counts.setData(k, total);
    }
}
