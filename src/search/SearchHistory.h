#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The search history of the search settings dialog: ten texts, entry 0 the
// newest, and DEFAULT_DATA, the entry shown when the dialog opens.
class SearchHistory
{
public:
    static constexpr int kEntries = 10;

    // Records a search. `text` is the search text already trimmed. A text that
    // is already in the history keeps its place; a new one goes to entry 0 and
    // entry 9 drops out. With `makeDefault` the text becomes the default;
    // otherwise the default stays the same text even where it moved down by
    // one. DEFAULT_DATA is 0 when nothing matches.
    static void Record(std::array<QString, kEntries> &history, qint32 &defaultIndex,
                       const QString &text, bool makeDefault);

    // The non-empty entries 0 to 9 in order (the combo list at opening).
    static QStringList nonEmpty(const std::array<QString, kEntries> &history);
    // All ten entries, empty ones included (COMBO_SEARCH_DATA_REFRESH).
    static QStringList All(const std::array<QString, kEntries> &history);
    // Entry DEFAULT_DATA, or empty when the index is out of range.
    static QString defaultText(const std::array<QString, kEntries> &history, qint32 defaultIndex);
};
