#include "edit/LineEditor.h"

#include "edit/StoredEntry.h"
#include "edit/UnsavableText.h"
#include "platform/EventPump.h"
#include "platform/LineBreak.h"
#include "platform/MessagePort.h"
#include "platform/ProgressPort.h"
#include "workarea/LineFormat.h"

#include <algorithm>

const QString LineEditor::kCaption = QStringLiteral("簡易編集");
const QString LineEditor::kUpdateCaption = QStringLiteral("行イメージ修正");
const QString LineEditor::kUpdatePrompt = QStringLiteral(
    "修正イメージを入力して下さい。\r\n行イメージの消去は出来ません。\r\n全ての行イメージを消去する場合は,削除コマンド使って下さい。");

namespace {

// The last inserted lines leave too small a gap for many more.
constexpr qint64 kNarrowStep = 10;

} // namespace

LineEditor::LineEditor(MessagePort &messages) : m_messages(messages) {}

void LineEditor::Load(const QStringList &entries, ProgressPort *progress, EventPump *pump)
{
    m_lines.clear();
    m_lines.reserve(entries.size());
    m_selection.clear();
    m_mode = Mode::Normal;
    if (progress) {
        progress->setRange(0, int(entries.size()));
        progress->setValue(0);
        progress->setShown(true);
    }
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString &entry = entries.at(i);
        m_lines.append({LineFormat::Entry_Text(entry).toString(), lineNumberValue(LineFormat::Entry_Line_No(entry))});
        if (progress)
            progress->setValue(int(i + 1));
        if (pump)
            pump->yield();
    }
    if (progress)
        progress->setShown(false);
    List_RollBack_Set();
}

void LineEditor::setSelection(const QList<int> &rows)
{
    m_selection.clear();
    for (int r : rows)
        if (r >= 0 && r < count())
            m_selection.append(r);
    std::sort(m_selection.begin(), m_selection.end());
    m_selection.erase(std::unique(m_selection.begin(), m_selection.end()), m_selection.end());
}

int LineEditor::List1_Select_Count(qint16 &Check_Mode, qint16 &Check_ANS)
{
    const qint16 selected = qint16(std::min<qsizetype>(m_selection.size(), WorkArea::kAdmissionLimit));
    switch (Check_Mode) {
    case 1:
        Check_ANS = selected;
        return selected > 0 ? kSelectOk : kSelectNg;
    case 2:
    case 3:
        if (selected == 1) {
            Check_ANS = qint16(m_selection.front() + 1);
            return kSelectOk;
        }
        Check_ANS = selected;
        return kSelectNg;
    default:
        m_messages.show(QStringLiteral("チェックモードの入力が不正です。"), QStringLiteral("システムエラー"),
                        MessagePort::Icon::Critical);
        return kSelectNg;
    }
}

bool LineEditor::refuse(const QString &text) const
{
    m_messages.show(text, kCaption, MessagePort::Icon::Exclamation);
    return false;
}

bool LineEditor::refuseSelection(qint16 answer) const
{
    return refuse(answer != 0 ? QStringLiteral("複数行が選択されています。\r\n１行しか選択できません。")
                              : QStringLiteral("行が選択されていません。"));
}

bool LineEditor::Cmd_Delete_Click()
{
    qint16 mode = 1;
    qint16 answer = 0;
    if (List1_Select_Count(mode, answer) == kSelectNg)
        return refuse(QStringLiteral("行が選択されていません。"));
    // A file cannot be emptied here; deselect drops a whole file.
    if (m_selection.size() >= m_lines.size())
        return refuse(QStringLiteral(
            "全ての行を削除することはできません。\r\n全行削除は、一覧画面から選択取り消しを行って下さい。"));
    List_RollBack_Set();
    // One pass over the list, however many lines go.
    QList<EditorLine> kept;
    kept.reserve(m_lines.size() - m_selection.size());
    auto next = m_selection.cbegin();
    for (int i = 0; i < count(); ++i) {
        if (next != m_selection.cend() && *next == i)
            ++next;
        else
            kept.append(std::move(m_lines[i]));
    }
    m_lines = std::move(kept);
    m_selection.clear();
    return true;
}

bool LineEditor::Cmd_Insert_Click()
{
    qint16 mode = 2;
    if (List1_Select_Count(mode, Check_ANSWER) == kSelectNg)
        return refuseSelection(Check_ANSWER);
    if (count() >= m_lineLimit)
        return refuse(QStringLiteral("行が多すぎます。これ以上追加できません。"));
    m_mode = Mode::Insert;
    m_commitEnabled = true;
    return true;
}

LineEditor::Commit LineEditor::Cmd_Insert_Commit_Click(const QString &typed)
{
    if (m_mode != Mode::Insert || !m_commitEnabled)
        return Commit::Blocked;
    const QString unsavable = UnsavableText::Refusal(QStringLiteral("挿入行"), typed, shiftJisNames());
    if (!unsavable.isEmpty()) {
        refuse(unsavable);
        return Commit::Refused;
    }
    List_RollBack_Set();
    const QStringList typedLines = splitTypedLines(typed);
    int s = Check_ANSWER - 1;
    if (s < 0 || s >= count()) {
        // The selection no longer names a line; nothing to insert before.
        refuse(QStringLiteral("行が選択されていません。"));
        return Commit::Refused;
    }
    const qint64 prev = s > 0 ? m_lines.at(s - 1).number : 0;
    const qint64 cur = m_lines.at(s).number;
    const qint64 n = typedLines.size();
    const qint64 step = insertStep(prev, cur, n);
    if (step < 1) {
        refuse(QStringLiteral("挿入行が多すぎます。\r\n挿入行を少なくするか、\r\n一旦入力を確定し、ファイルの保存を行って下さい。"));
        return Commit::Refused;
    }
    if (step <= kNarrowStep)
        refuse(QStringLiteral("挿入が多くなってきました。\r\n一旦入力を確定し、ファイルの保存を行って下さい。"));
    if (count() + n > m_lineLimit) {
        refuse(QStringLiteral("追加行が多すぎます。これ以上追加できません。"));
        m_commitEnabled = false;
        return Commit::Blocked;
    }
    // One insertion of the whole run: the lines after it move once.
    m_lines.insert(s, n, EditorLine{});
    qint64 number = prev + step;
    for (const QString &text : typedLines) {
        m_lines[s++] = EditorLine{text, qint32(number)};
        number += step;
    }
    m_selection.clear();
    m_mode = Mode::Normal;
    return Commit::Inserted;
}

bool LineEditor::Cmd_Update_Click()
{
    qint16 mode = 3;
    if (List1_Select_Count(mode, Check_ANSWER) == kSelectNg)
        return refuseSelection(Check_ANSWER);
    List_RollBack_Set();
    const int s = Check_ANSWER - 1;
    const std::optional<QString> answer = m_messages.input(kUpdatePrompt, kUpdateCaption, m_lines.at(s).text);
    // An empty answer is also what cancelling the input box gives: the line
    // stays.
    if (!answer || answer->isEmpty())
        return false;
    // One line stays one line: a pasted line break would split it on saving.
    QString refusal = LineBreak::Refusal(QStringLiteral("修正イメージ"), *answer);
    if (refusal.isEmpty())
        refusal = UnsavableText::Refusal(QStringLiteral("修正イメージ"), *answer, shiftJisNames());
    if (!refusal.isEmpty())
        return refuse(refusal);
    m_lines[s].text = *answer;
    return true;
}

void LineEditor::Cmd_Redo_Click()
{
    List_RollBack_Go();
}

bool LineEditor::Cmd_Cancel_Click()
{
    if (m_mode == Mode::Insert) {
        m_mode = Mode::Normal;
        m_commitEnabled = true;
        return false;
    }
    return true;
}

void LineEditor::List_RollBack_Go()
{
    m_lines = m_rollBack;
    m_selection.clear();
}

QStringList LineEditor::reflectEntries(const QString &key) const
{
    QStringList out;
    out.reserve(m_lines.size());
    for (const EditorLine &line : m_lines)
        out.append(StoredEntry::Make(key, LineFormat::lineNoThousandths(line.number), line.text));
    return out;
}

qint64 LineEditor::insertStep(qint64 prev, qint64 cur, qint64 n)
{
    const qint64 gap = cur - prev;
    const qint64 parts = n + 1;
    // Rounded down, also for a gap that is negative in a damaged list.
    return gap >= 0 ? gap / parts : -((-gap + parts - 1) / parts);
}

QStringList LineEditor::splitTypedLines(QStringView text)
{
    QStringList out;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        out.append(text.mid(start, i - start).toString());
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        out.append(text.mid(start).toString());
    return out;
}

qint32 LineEditor::lineNumberValue(QStringView lineNo)
{
    qint64 whole = 0;
    qsizetype i = 0;
    for (; i < lineNo.size() && lineNo[i].isDigit() && lineNo[i].unicode() < 0x80; ++i)
        whole = std::min<qint64>(whole * 10 + (lineNo[i].unicode() - u'0'), 999999);
    qint64 thousandths = 0;
    if (i < lineNo.size() && lineNo[i] == u'.') {
        qint64 scale = 100;
        for (++i; i < lineNo.size() && lineNo[i].isDigit() && lineNo[i].unicode() < 0x80 && scale > 0; ++i) {
            thousandths += (lineNo[i].unicode() - u'0') * scale;
            scale /= 10;
        }
    }
    return qint32(whole * 1000 + thousandths);
}
