#include "workarea/LineIndex.h"

#include "platform/EventPump.h"
#include "workarea/LineFormat.h"
#include "workarea/WorkArea.h"

namespace {

bool isAsciiLetter(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// Whether the entry's key (its text before the first ":@:") equals key
// without regard to case, exactly as a case-insensitive compare of the two
// tells. Most entries looked at belong to another file and differ in length
// or in an ASCII character; those are told without folding. Folding keeps the
// length, so an equal key ends where the key does. Paths differ mostly in
// their last characters: compared from the end.
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
    for (qsizetype i = n - 1; i >= 0; --i) {
        const char16_t a = entry[i].unicode();
        const char16_t b = key[i].unicode();
        if (a == b)
            continue;
        if (a < 0x80 && b < 0x80) {
            // ASCII characters fold only to ASCII, a letter to its other case.
            if (!isAsciiLetter(a) || (a ^ 0x20) != b)
                return false;
            continue;
        }
        return LineFormat::Entry_Key(entry).compare(key, Qt::CaseInsensitive) == 0;
    }
    // Equal up to ASCII letter case; the entry's key ends at n unless a
    // separator begins earlier.
    return LineFormat::Entry_Key(entry).size() == n;
}

} // namespace

void LineIndex::Build_Line_Index(WorkArea &work, EventPump *pump)
{
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
        while (k < lineCount && !keyEquals(lines.text(k), key))
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
