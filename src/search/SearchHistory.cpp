#include "search/SearchHistory.h"

namespace {

int firstIndexOf(const std::array<QString, SearchHistory::kEntries> &history, const QString &text)
{
    for (int i = 0; i < SearchHistory::kEntries; ++i)
        if (history[size_t(i)] == text)
            return i;
    return -1;
}

} // namespace

void SearchHistory::Record(std::array<QString, kEntries> &history, qint32 &defaultIndex,
                           const QString &text, bool makeDefault)
{
    const QString previousDefault = defaultText(history, defaultIndex);
    if (firstIndexOf(history, text) < 0) {
        for (int i = kEntries - 1; i > 0; --i)
            history[size_t(i)] = history[size_t(i - 1)];
        history[0] = text;
    }
    // The remembered default may have been an empty entry (first use); it
    // then matches the first empty slot, as the stored history expects.
    const int found = firstIndexOf(history, makeDefault ? text : previousDefault);
    defaultIndex = found < 0 ? 0 : found;
}

QStringList SearchHistory::nonEmpty(const std::array<QString, kEntries> &history)
{
    QStringList out;
    for (const QString &s : history)
        if (!s.isEmpty())
            out.append(s);
    return out;
}

QStringList SearchHistory::All(const std::array<QString, kEntries> &history)
{
    return QStringList(history.begin(), history.end());
}

QString SearchHistory::defaultText(const std::array<QString, kEntries> &history, qint32 defaultIndex)
{
    if (defaultIndex < 0 || defaultIndex >= kEntries)
        return QString();
    return history[size_t(defaultIndex)];
}
