#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class MessagePort;
class StatusPanels;

// What one search run tells the user about the files it did not add.
//
// In the window the first refusal of each kind is shown as its box; the
// further ones of that kind are only counted, the running total in the
// "HIT_SU" panel, since a common word over a large tree refuses thousands of
// files and one modal box each would keep STOP and the close box out of reach
// for minutes. When the run ends, one message sums up the refusals by kind
// and names the files and folders that could not be read or were skipped.
//
// The batch search shows every refusal (its port writes to standard error and
// waits for nobody) and no summary.
class RunNotices
{
public:
    enum class Kind { AlreadyOpen, Overflow };
    enum class Boxes { FirstOfEachKind, Every };

    static constexpr int kListedSkips = 20; // names in the summary; the rest counted

    // status may be null.
    RunNotices(MessagePort &messages, StatusPanels *status, Boxes boxes);

    // One refused file. The text is built only when it is shown.
    void refuse(Kind kind, const std::function<QString()> &text, const QString &caption);

    int refused(Kind kind) const { return m_refused[size_t(kind)]; }
    // Refusals counted without being shown.
    int unshown() const { return m_unshown; }

    // The message for the end of the run; empty when it would tell nothing
    // the boxes have not told (or in the batch search).
    QString closingMessage(const QStringList &skipped) const;

    // The summary itself: the refusals by kind (kinds without one left out),
    // then the skipped files, kListedSkips of them by name, the rest counted.
    // Each skipped entry is "path CR LF reason"; it takes one line.
    static QString summaryText(int alreadyOpen, int overflow, const QStringList &skipped);
    // "追加中止 =" + n + "ﾌｧｲﾙ", the running total in the status bar.
    static QString runningCount(int refused);

private:
    MessagePort &m_messages;
    StatusPanels *m_status;
    Boxes m_boxes;
    std::array<int, 2> m_refused{};
    int m_unshown = 0;
};
