#include "edit/LineSort.h"

#include "edit/StoredEntry.h"
#include "workarea/ItemList.h"
#include "workarea/LineFormat.h"

#include <algorithm>

namespace {

constexpr int kPrefixWidth = 10; // "999999.000"
constexpr qint64 kDescendingTop = 999999;

bool before(const QString &a, const QString &b)
{
    return ItemList::compare(a, b) < 0;
}

} // namespace

LineSort::LineSort(const QStringList &entries)
{
    Load(entries);
}

void LineSort::Load(const QStringList &entries)
{
    m_lines.clear();
    m_lines.reserve(entries.size());
    for (const QString &entry : entries)
        m_lines.append(LineFormat::Entry_Text(entry).toString());
    m_sorted = false;
}

void LineSort::Command1_Click(bool ascending)
{
    m_lines = ascending ? Ascending(std::move(m_lines)) : Descending(m_lines);
    m_sorted = true;
}

QStringList LineSort::reflectEntries(const QString &key) const
{
    QStringList out;
    out.reserve(m_lines.size());
    for (qsizetype i = 0; i < m_lines.size(); ++i)
        out.append(StoredEntry::Make(key, LineFormat::Line_No_10(i + 1), m_lines.at(i)));
    return out;
}

QStringList LineSort::Ascending(QStringList lines)
{
    // A sorted list places an added item after the items equal to it, which
    // is what a stable sort does.
    std::stable_sort(lines.begin(), lines.end(), before);
    return lines;
}

QStringList LineSort::Descending(const QStringList &lines)
{
    const QStringList ascending = Ascending(lines);
    QStringList prefixed;
    prefixed.reserve(ascending.size());
    for (qsizetype i = 0; i < ascending.size(); ++i)
        prefixed.append(LineFormat::Line_No_10(kDescendingTop - i) + ascending.at(i));
    // The prefixes fall as i grows, so the collation takes the lines in
    // reverse; checked in one pass rather than sorted a second time.
    std::reverse(prefixed.begin(), prefixed.end());
    if (!std::is_sorted(prefixed.cbegin(), prefixed.cend(), before))
        std::stable_sort(prefixed.begin(), prefixed.end(), before);
    for (QString &line : prefixed)
        line.remove(0, kPrefixWidth);
    return prefixed;
}
