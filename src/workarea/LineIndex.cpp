#include "workarea/LineIndex.h"

#include "platform/EventPump.h"
#include "workarea/LineFormat.h"
#include "workarea/WorkArea.h"

namespace {

// Whether the entry's key (its text before the first ":@:") is exactly key,
// for a key that can be one (LineFormat::holdsKey): then a separator right
// after the key's characters is the entry's first. Most entries looked at
// belong to another file and differ in length or in one of their last
// characters (paths differ mostly at their end): compared from the end.
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
    return true;
}

// The first index from `from` on whose entry is not of the file that the
// entry at `from` belongs to, or `from` itself when that file is `key`. A
// file's entries stand together, so its run is passed over by doubling steps
// and then halving them: a few dozen comparisons for a run of thousands of
// lines, where a rebuild after each of many new files would otherwise walk
// every line again. Should a file's entries ever stand apart, the scan that
// follows still stays inside the list.
int skipRun(const ItemList &lines, int from, QStringView key)
{
    const int count = lines.count();
    if (from >= count || keyEquals(lines.text(from), key))
        return from;
    const QStringView runKey = LineFormat::Entry_Key(lines.text(from));
    int inRun = from; // known to be of the run
    int step = 1;
    int past = from + 1; // first index not known to be of the run
    while (past < count && keyEquals(lines.text(past), runKey)) {
        inRun = past;
        step *= 2;
        past = count - inRun > step ? inRun + step : count;
    }
    while (past - inRun > 1) {
        const int mid = inRun + (past - inRun) / 2;
        if (keyEquals(lines.text(mid), runKey))
            inRun = mid;
        else
            past = mid;
    }
    return past;
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
        // A path that cannot be a key has no lines in the store.
        int k = lineCount;
        if (LineFormat::holdsKey(key)) {
            k = skipRun(lines, j, key);
            while (k < lineCount && !keyEquals(lines.text(k), key))
                ++k;
        }
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
