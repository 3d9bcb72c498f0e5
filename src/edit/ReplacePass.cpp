#include "edit/ReplacePass.h"

#include "edit/TextReplace.h"
#include "edit/UnsavableText.h"
#include "platform/LineBreak.h"
#include "platform/MessagePort.h"
#include "platform/TextMatch.h"

#include <algorithm>

const QString ReplacePass::kCaption = QStringLiteral("置替");
const QString ReplacePass::kFailureCaption = QStringLiteral("置替処理");

ReplacePass::ReplacePass(const QString &search, const QString &replacement, qint16 compare)
    : m_search(search), m_replacement(replacement), m_compare(compare),
      m_method(TextReplace::methodFor(search, replacement))
{
}

bool ReplacePass::Display_Line(const QString &item, FittedLine *fitted)
{
    QString output;
    if (!displayOutput(item, &output))
        return false;
    *fitted = LineFormat::Fit_Display_Line(output);
    return true;
}

bool ReplacePass::displayOutput(const QString &item, QString *output)
{
    return replaceIn(TextReplace::kDisplayLine, item, output);
}

bool ReplacePass::storedLine(const QString &entry, QString *output)
{
    return replaceIn(TextReplace::kStoredLine, entry, output);
}

bool ReplacePass::plainLine(QStringView text, QString *output)
{
    if (!m_search.isEmpty() && !TextMatch::contains(text, m_search, m_compare == TextReplace::kIgnoreCase))
        return false;
    return replaceIn(TextReplace::kPlainText, text.toString(), output);
}

bool ReplacePass::replaceIn(qint16 kind, const QString &text, QString *output)
{
    // Most lines hold no occurrence anywhere; those cannot change, whatever
    // part of them is protected.
    if (!m_search.isEmpty() && !TextMatch::contains(text, m_search, m_compare == TextReplace::kIgnoreCase))
        return false;
    QString line = text;
    qint16 changed = 0;
    if (TextReplace::ReplaceInLine(kind, m_method, line, m_search, m_compare, m_replacement, *output, changed)
        != TextReplace::kDone) {
        ++m_failures;
        return false;
    }
    return changed == 1;
}

QList<DisplayChange> ReplacePass::displayPass(const QStringList &items, int first, int last)
{
    QList<DisplayChange> out;
    last = std::min(last, int(items.size()) - 1);
    for (int j = std::max(first, 0); j <= last; ++j) {
        DisplayChange change;
        change.index = j;
        if (Display_Line(items.at(j), &change.fitted))
            out.append(std::move(change));
    }
    return out;
}

QList<StoredChange> ReplacePass::storedPass(const QStringList &entries, int first, int last)
{
    QList<StoredChange> out;
    last = std::min(last, int(entries.size()) - 1);
    for (int j = std::max(first, 0); j <= last; ++j) {
        StoredChange change;
        change.index = j;
        if (storedLine(entries.at(j), &change.entry))
            out.append(std::move(change));
    }
    return out;
}

void ReplacePass::reportFailures(MessagePort &messages) const
{
    if (m_failures > 0)
        messages.show(QStringLiteral("実行時のエラーを検出しました。\r\n置替失敗"), kFailureCaption,
                      MessagePort::Icon::Critical);
}

bool ReplacePass::checkRequest(const QString &search, const QString &replacement, int selectedFiles,
                                const QStringList &shiftJisFiles, MessagePort &messages)
{
    using Icon = MessagePort::Icon;
    if (search.isEmpty()) {
        messages.show(QStringLiteral("サーチ文字が入力されていません。"), kCaption, Icon::Exclamation);
        return false;
    }
    // What is put into the work area is what a save writes: a line break
    // would split the line, a character a Shift-JIS file cannot hold would
    // reach the disk as "?". A search text with a line break matches no line.
    QString refusal = LineBreak::Refusal(QStringLiteral("サーチ文字"), search);
    if (refusal.isEmpty())
        refusal = LineBreak::Refusal(QStringLiteral("置替文字"), replacement);
    if (refusal.isEmpty())
        refusal = UnsavableText::Refusal(QStringLiteral("置替文字"), replacement, shiftJisFiles);
    if (!refusal.isEmpty()) {
        messages.show(refusal, kCaption, Icon::Exclamation);
        return false;
    }
    if (replacement.isEmpty()
        && messages.show(QStringLiteral("置替文字が入力されていません。\r\nサーチ文字を削除します。よろしいですか？"),
                         kCaption, Icon::Exclamation, MessagePort::Buttons::YesNo)
            != MessagePort::Answer::Yes)
        return false;
    if (selectedFiles <= 0) {
        messages.show(QStringLiteral("対象ファイルが選択されていません。"), kCaption, Icon::Exclamation);
        return false;
    }
    if (selectedFiles >= 2)
        messages.show(QStringLiteral("複数のファイルが選択されています。\r\n処理に時間がかかるかもしれません。"),
                      kCaption, Icon::Information);
    return true;
}

bool ReplacePass::askAdoption(const QString &searchWord, const QString &search, const QString &replacement,
                               MessagePort &messages)
{
    if (replacement.isEmpty() || searchWord != search)
        return false;
    return messages.show(QStringLiteral("現在の検索文字列：") + search + QStringLiteral("を\r\n置替文字列：")
                             + replacement + QStringLiteral("で置き替えますか？"),
                         kCaption, MessagePort::Icon::Question, MessagePort::Buttons::YesNo)
        == MessagePort::Answer::Yes;
}
