#include "workarea/ItemList.h"

#include "platform/TextCase.h"

#include <algorithm>
#include <string_view>
#include <type_traits>
#include <utility>

namespace {

// Where ":@:" begins, or -1: the first ':' looked for with the library's
// character search, as QStringView::indexOf costs more for a short needle.
qsizetype separatorAt(QStringView text)
{
    const std::u16string_view view(text.utf16(), size_t(text.size()));
    const size_t at = view.find(u":@:");
    return at == std::u16string_view::npos ? -1 : qsizetype(at);
}

// Case-insensitive compare of two plain texts; 0 when equal ignoring case.
int compareFolded(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    const char16_t *pa = a.utf16();
    const char16_t *pb = b.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        if (pa[i] == pb[i])
            continue;
        const char16_t x = TextCase::upperUnit(pa[i]);
        const char16_t y = TextCase::upperUnit(pb[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

int ItemList::compare(QStringView a, QStringView b)
{
    const qsizetype sa = separatorAt(a);
    const qsizetype sb = separatorAt(b);
    const QStringView keyA = sa < 0 ? a : a.left(sa);
    const QStringView keyB = sb < 0 ? b : b.left(sb);
    if (int c = compareFolded(keyA, keyB))
        return c;
    if (int c = keyA.compare(keyB, Qt::CaseSensitive))
        return c < 0 ? -1 : 1;
    const QStringView restA = sa < 0 ? QStringView() : a.mid(sa);
    const QStringView restB = sb < 0 ? QStringView() : b.mid(sb);
    if (int c = compareFolded(restA, restB))
        return c;
    const int c = restA.compare(restB, Qt::CaseSensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int ItemList::upperBound(QStringView text) const
{
    auto it = std::upper_bound(m_items.begin(), m_items.end(), text,
                               [](QStringView t, const Item &item) { return compare(t, item.text) < 0; });
    return int(it - m_items.begin());
}

int ItemList::add(const QString &text, qint32 data)
{
    if (isFull())
        return -1;
    const int index = m_sorted ? upperBound(text) : count();
    m_items.insert(m_items.begin() + index, Item{text, data, {}});
    return index;
}

bool ItemList::insert(int index, const QString &text, qint32 data)
{
    if (isFull() || index < 0 || index > count())
        return false;
    m_items.insert(m_items.begin() + index, Item{text, data, {}});
    return true;
}

int ItemList::addRun(const QStringList &texts)
{
    return addRunOf(texts);
}

int ItemList::addRun(QStringList &&texts)
{
    return addRunOf(std::move(texts));
}

template<typename Texts>
int ItemList::addRunOf(Texts &&texts)
{
    // A const list's texts are shared; a list handed over gives them up.
    constexpr bool take = !std::is_const_v<std::remove_reference_t<Texts>> && std::is_rvalue_reference_v<Texts &&>;
    auto text = [&](qsizetype i) -> decltype(auto) {
        if constexpr (take)
            return std::move(texts[i]);
        else
            return std::as_const(texts)[i];
    };
    if (texts.isEmpty())
        return count();
    if (count() + texts.size() > kMaxItems)
        return -1;
    const size_t n = size_t(texts.size());
    if (!m_sorted) {
        const int first = count();
        for (qsizetype i = 0; i < texts.size(); ++i)
            m_items.push_back(Item{text(i), 0, {}});
        return first;
    }
    const int first = upperBound(texts.front());
    // The shortcut holds only when nothing already stored falls inside the
    // run; otherwise the items are placed one by one.
    const bool contiguous = first == count() || compare(texts.back(), m_items[size_t(first)].text) < 0;
    if (!contiguous) {
        for (const QString &t : std::as_const(texts))
            add(t);
        return first;
    }
    // Empty items opened in place and filled: no second array of the run.
    m_items.insert(m_items.begin() + first, n, Item{});
    for (size_t i = 0; i < n; ++i)
        m_items[size_t(first) + i].text = text(qsizetype(i));
    return first;
}

void ItemList::remove(int index)
{
    if (index >= 0 && index < count())
        m_items.erase(m_items.begin() + index);
}

void ItemList::removeRange(int index, int n)
{
    if (index < 0 || n <= 0 || index >= count())
        return;
    n = std::min(n, count() - index);
    m_items.erase(m_items.begin() + index, m_items.begin() + index + n);
}

bool ItemList::replaceRange(int index, int n, QStringList &&texts)
{
    if (index < 0 || n < 0 || index + n > count() || count() - n + texts.size() > kMaxItems)
        return false;
    const qsizetype common = std::min<qsizetype>(n, texts.size());
    for (qsizetype i = 0; i < common; ++i)
        m_items[size_t(index + i)] = Item{std::move(texts[i]), 0, {}};
    if (texts.size() > n) {
        // One opening for the rest of the run: the tail moves once.
        m_items.insert(m_items.begin() + index + n, texts.size() - n, Item{});
        for (qsizetype i = n; i < texts.size(); ++i)
            m_items[size_t(index + i)].text = std::move(texts[i]);
    } else if (texts.size() < n) {
        m_items.erase(m_items.begin() + index + common, m_items.begin() + index + n);
    }
    return true;
}

int ItemList::indexOf(QStringView text) const
{
    if (!m_sorted) {
        for (int i = 0; i < count(); ++i)
            if (m_items[size_t(i)].text == text)
                return i;
        return -1;
    }
    // compare is 0 only for equal texts: the first item not below text is
    // the one, if any.
    auto it = std::partition_point(m_items.begin(), m_items.end(),
                                   [&](const Item &item) { return compare(item.text, text) < 0; });
    if (it != m_items.end() && it->text == text)
        return int(it - m_items.begin());
    return -1;
}

QStringList ItemList::texts() const
{
    QStringList out;
    out.reserve(count());
    for (const Item &item : m_items)
        out.append(item.text);
    return out;
}
