#pragma once

#include <QString>
#include <QStringList>

// The sort dialog (Quav_Sort) without its widgets: the line texts of one file,
// sorted as often as the user likes and put back renumbered from 1.
//
// The order is the work area's own: a sorted list's collation
// (ItemList::compare, case-insensitive, exact text as tie-break), so what the
// dialog shows is the order the store would give.
class LineSort
{
public:
    explicit LineSort(const QStringList &entries = {});

    // Takes one file's all-lines entries, in order, keeping their texts.
    void Load(const QStringList &entries);

    const QStringList &lines() const { return m_lines; }
    // Whether a sort has run ("結果反映/完了" is offered only then).
    bool sorted() const { return m_sorted; }

    // "並び替え実行": sorts the current lines in the chosen order.
    void Command1_Click(bool ascending);

    // The lines as all-lines entries of the file key, numbered 000001.000,
    // 000002.000, ... in their current order (fractions of inserted lines are
    // gone), which is also the store's order.
    QStringList reflectEntries(const QString &key) const;

    // The sorted list's order.
    static QStringList Ascending(QStringList lines);
    // The reverse of it, as a sorted list gives it: each line of the
    // ascending order i (0-based) prefixed with 999999 - i as "999999.000",
    // placed by the same collation and stripped again.
    static QStringList Descending(const QStringList &lines);

private:
    QStringList m_lines;
    bool m_sorted = false;
};
