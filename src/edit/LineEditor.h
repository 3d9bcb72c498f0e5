#pragma once

#include "workarea/WorkArea.h"

#include <QList>

#include <algorithm>
#include <QString>
#include <QStringList>
#include <QStringView>

class MessagePort;
class ProgressPort;
class EventPump;

// One line of the line editor: its text and its number in thousandths of a
// line (line 12 is 12000, a line inserted between 12 and 13 may be 12500).
struct EditorLine
{
    QString text;
    qint32 number = 0;
};
Q_DECLARE_TYPEINFO(EditorLine, Q_RELOCATABLE_TYPE);

// The line editor (QUAV_UPDATE) without its widgets: a private copy of one
// file's stored lines, edited by delete, insert, update and go back, and put
// back as all-lines entries by reflect. The dialog renders lines() and the
// mode, forwards its list's selection with setSelection, and shows the typed
// text box in insert mode.
//
// Numbers only grow along the list (inserted lines take numbers strictly
// between their neighbours), so the reflected entries form one run in the
// sorted all-lines store, in list order.
class LineEditor
{
public:
    static constexpr int kSelectOk = 0;
    static constexpr int kSelectNg = 9;
    static const QString kCaption;       // "簡易編集"
    static const QString kUpdateCaption; // "行イメージ修正"
    static const QString kUpdatePrompt;

    enum class Mode { Normal, Insert };
    enum class Commit {
        Inserted,  // back in normal mode
        Refused,   // nothing inserted; stays in insert mode with the typed text
        Blocked,   // nothing inserted; "入力完了" disabled, only cancel is left
    };

    explicit LineEditor(MessagePort &messages);

    // Takes one file's all-lines entries, in order; the go-back snapshot is
    // the file as loaded. The progress bar runs from 0 to the number of lines
    // and the event loop may run between lines.
    void Load(const QStringList &entries, ProgressPort *progress = nullptr, EventPump *pump = nullptr);

    // The most lines the file may have here: the admission limit, or fewer
    // when the other files leave less room in the all-lines store, which holds
    // at most that many in all (a reflect must never find it full).
    void setLineLimit(int limit) { m_lineLimit = std::clamp(limit, 0, WorkArea::kAdmissionLimit); }
    int lineLimit() const { return m_lineLimit; }
    // The name of the file edited when it is a Shift-JIS file, whose lines
    // cannot take characters without a code page 932 form; empty for a UTF
    // file, which takes every character.
    void setShiftJisName(const QString &name) { m_shiftJisName = name; }

    const QList<EditorLine> &lines() const { return m_lines; }
    int count() const { return int(m_lines.size()); }
    Mode mode() const { return m_mode; }
    bool commitEnabled() const { return m_commitEnabled; }

    // The rows selected in the dialog's list (any order, duplicates and rows
    // out of range ignored).
    void setSelection(const QList<int> &rows);
    const QList<int> &selection() const { return m_selection; }

    // 1-based position of the single selected line, set by insert and update.
    qint16 Check_ANSWER = 0;

    // Check_Mode 1: at least one line selected (Check_ANS = how many);
    // 2 or 3: exactly one (Check_ANS = its 1-based position, or how many when
    // several). kSelectOk or kSelectNg; any other mode shows the system error.
    int List1_Select_Count(qint16 &Check_Mode, qint16 &Check_ANS);

    // Each handler shows its refusals through the port and returns whether it
    // did what was asked.
    bool Cmd_Delete_Click();
    bool Cmd_Insert_Click(); // enters insert mode
    Commit Cmd_Insert_Commit_Click(const QString &typed);
    bool Cmd_Update_Click(); // asks for the new text through the port's input box
    void Cmd_Redo_Click();
    // In insert mode leaves it and returns false; otherwise true: the dialog
    // closes and every edit is dropped.
    bool Cmd_Cancel_Click();

    void List_RollBack_Set() { m_rollBack = m_lines; }
    void List_RollBack_Go();

    // The lines as all-lines entries of the file key, numbers written to the
    // thousandth ("000012.500"). In list order, which is the store's order.
    QStringList reflectEntries(const QString &key) const;

    // The gap per new line when n lines go between numbers prev and cur,
    // rounded down; below 1 the lines do not fit.
    static qint64 insertStep(qint64 prev, qint64 cur, qint64 n);
    // Typed text as lines: each line break (CR LF, or a lone LF or CR as a
    // text box may give) ends a line; a break at the very end adds no empty
    // line, two breaks in a row hold one; an empty text is no line.
    static QStringList splitTypedLines(QStringView text);
    // A stored line number ("000012.500") in thousandths; digits up to the
    // first other character count, as a decimal number.
    static qint32 lineNumberValue(QStringView lineNo);

private:
    bool refuse(const QString &text) const;
    bool refuseSelection(qint16 answer) const;

    MessagePort &m_messages;
    QList<EditorLine> m_lines;    // List1
    QList<EditorLine> m_rollBack; // List_RollBack
    QList<int> m_selection;       // sorted, unique
    Mode m_mode = Mode::Normal;
    bool m_commitEnabled = true;
    int m_lineLimit = WorkArea::kAdmissionLimit;
    QString m_shiftJisName;
    QStringList shiftJisNames() const
    {
        return m_shiftJisName.isEmpty() ? QStringList() : QStringList{m_shiftJisName};
    }
};
