#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

class MessagePort;

// The list being edited in the identifier editor. Identifiers are upper case,
// without ".", never containing "*", at most 20; changes stay here until
// Store copies them into SIKIBETU.
class IdentifierForm
{
public:
    static constexpr int kMaxItems = 20;
    static const QString kCaption; // "識別子　編集"

    explicit IdentifierForm(const std::array<QString, kMaxItems> &sikibetu);

    const QStringList &items() const { return m_items; }

    // The add button. `text` is the text box: it is trimmed and upper-cased
    // first, and left as each check leaves it. The checks run in order and
    // the first that fails shows its message and ends the action:
    // empty, ".", duplicate, 20 items, "*", longer than 3 (a question).
    // true when the identifier was appended.
    bool Add(QString &text, MessagePort &messages);

    // The delete button: removes every selected row (indexes into items()),
    // keeping the order of the rest. false with a message when none is given.
    bool Remove(const QList<int> &selectedRows, MessagePort &messages);

    // All 20 entries emptied, then the items copied to entries 0, 1, ...
    void Store(std::array<QString, kMaxItems> &sikibetu) const;

private:
    QStringList m_items;
};
