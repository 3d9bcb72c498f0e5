#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>


// One item of an ItemList; outside the class only so that it can be declared
// relocatable.
struct ItemListEntry
{
    QString text;
    qint32 data = 0;
    QString tag;
};
Q_DECLARE_TYPEINFO(ItemListEntry, Q_RELOCATABLE_TYPE);

// An ordered list of texts with one 32-bit integer (ItemData) per item, the
// storage of every work-area list. Counts and indexes are 16-bit positions:
// no list holds more than kMaxItems, and an add that would
// exceed it is refused (the list is left unchanged), never wrapped.
//
// A sorted list places an item added without a position in collation order
// (see compare); an item inserted at a given index stays there.
class ItemList
{
public:
    static constexpr int kMaxItems = 32767;

    explicit ItemList(bool sorted) : m_sorted(sorted) {}

    bool isSorted() const { return m_sorted; }
    int count() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    bool isFull() const { return count() >= kMaxItems; }

    const QString &text(int index) const { return m_items[size_t(index)].text; }
    qint32 data(int index) const { return m_items[size_t(index)].data; }
    void setData(int index, qint32 value) { m_items[size_t(index)].data = value; }
    void setText(int index, const QString &text) { m_items[size_t(index)].text = text; }
    // A second, hidden text per item that travels with it through inserts and
    // removals (the full key of a file header whose display text was cut).
    // Empty unless set; add and insert leave it empty.
    const QString &tag(int index) const { return m_items[size_t(index)].tag; }
    void setTag(int index, const QString &tag) { m_items[size_t(index)].tag = tag; }

    // Sorted list: placed in collation order after equal items; plain list:
    // appended. The index of the new item, or -1 when the list is full.
    int add(const QString &text, qint32 data = 0);
    // Inserts at a given index (0..count); false when full or out of range.
    bool insert(int index, const QString &text, qint32 data = 0);
    // Adds a run of items that is already in collation order and belongs in
    // one place of a sorted list (a file's all-lines entries): the same result
    // as adding them one by one, at the cost of one insertion. Index of the
    // first item, or -1 (nothing added) when the run does not fit.
    int addRun(const QStringList &texts);
    // The same, taking the texts over (they are left empty or unspecified).
    int addRun(QStringList &&texts);

    void remove(int index);
    void removeRange(int index, int n);
    // Replaces items index..index+n-1 by texts (ItemData 0, no tag), in
    // place: what stood before and after keeps its index, shifted only by
    // the difference in length, and nothing is placed by collation. false,
    // with nothing changed, when the range is not inside the list or the
    // result would pass kMaxItems. Texts are taken over.
    bool replaceRange(int index, int n, QStringList &&texts);
    void clear() { m_items.clear(); }

    // First item exactly equal to text, or -1. Binary search on a sorted
    // list, a scan on a plain one.
    int indexOf(QStringView text) const;

    QStringList texts() const;

    // The collation of sorted lists, case-insensitive and deterministic.
    // A text is compared as its key (up to the first ":@:") and then the rest,
    // so that all-lines entries ("KEY:@:000012.000:@:text") group by file in
    // the same order as the file list holds the bare paths, also where one
    // path is a prefix of another (A.TXT before A.TXT2), and stand in
    // line-number order within a file. Keys equal but for letter case (two
    // files A.TXT and a.txt) are told apart by their exact code units before
    // the rest is looked at, so each file's entries stay together; any other
    // tie on letter case falls back to the exact code units as well.
    static int compare(QStringView a, QStringView b);

private:
    using Item = ItemListEntry;
    int upperBound(QStringView text) const;
    template<typename Texts>
    int addRunOf(Texts &&texts);

    bool m_sorted;
    // A QList of a relocatable type: a run inserted into a sorted list of
    // 32,000 entries moves the tail with one memmove, not item by item.
    QList<Item> m_items;
};

