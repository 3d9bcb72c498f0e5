#include "search/ResultSink.h"

#include "platform/MessagePort.h"
#include "search/FileScan.h"
#include "search/FolderWalk.h"
#include "workarea/LineFormat.h"
#include "workarea/WorkArea.h"

#include <algorithm>

const QString ResultSink::kCaption = QStringLiteral("検索");
const QString ResultSink::kAlreadyOpen = QStringLiteral("上記ファイルは既に開かれています。");
const QString ResultSink::kOverflow = QStringLiteral("Over Flow しました。対象データが多すぎます。");
const QString ResultSink::kAdditionStopped = QStringLiteral("追加は中止しました。");

ResultSink::ResultSink(WorkArea &work, MessagePort *messages, bool withDateSize)
    : m_work(work), m_messages(messages), m_withDateSize(withDateSize)
{
}

QString ResultSink::Message_Path(const WalkFile &file)
{
    return file.dir + file.upperName;
}

bool ResultSink::Is_Open(const WalkFile &file) const
{
    return m_work.Is_File_Open(file.realPath()) == 1;
}

void ResultSink::Refuse_Duplicate(const WalkFile &file)
{
    if (m_messages)
        m_messages->show(Message_Path(file) + QStringLiteral("\r\n") + kAlreadyOpen + QStringLiteral("\r\n")
                             + kAdditionStopped,
                         kCaption, MessagePort::Icon::Exclamation);
}

void ResultSink::Refuse_Overflow(const WalkFile &file)
{
    if (m_messages)
        m_messages->show(Message_Path(file) + QStringLiteral("\r\n") + kOverflow + QStringLiteral("\r\n")
                             + kAdditionStopped,
                         kCaption, MessagePort::Icon::Exclamation);
}

qint64 ResultSink::Line_Room() const
{
    const qint64 room = qint64(WorkArea::kAdmissionLimit) - m_work.Search_Hit_All_Line_List.count();
    return std::max<qint64>(0, std::min<qint64>(room, ItemList::kMaxItems));
}

bool ResultSink::Admit(const WalkFile &file, const ScannedFile &scanned)
{
    const qsizetype lineCount = scanned.lines.size();
    const int displayLines = 1 + int(scanned.hitLines.size());
    if (lineCount > Line_Room() || !m_work.Display_Room(displayLines)
        || m_work.Search_Hit_File_List.isFull() || m_work.Search_Hit_File_Change.isFull()) {
        Refuse_Overflow(file);
        return false;
    }

    const QString key = LineFormat::Ucase(file.dir) + file.upperName;
    const QString suffix = m_withDateSize ? LineFormat::Date_Size_Suffix(file.modified, file.size) : QString();
    m_work.Append_Display_Line(LineFormat::File_Header(LineFormat::kSearchPrefix, key, suffix));
    for (int i : scanned.hitLines)
        m_work.Append_Display_Line(LineFormat::Line_No_6(i + 1) + QLatin1Char(':') + scanned.lines.at(i));

    m_work.Add_File(file.realPath());
    QStringList entries;
    entries.reserve(lineCount);
    // KEY:@:000012.000:@:text, built in place: this runs for up to 32,700
    // lines per search. Line numbers here stay below 32,768, so six digits
    // always hold them.
    const QString head = key + LineFormat::kSeparator;
    QChar number[13] = {u'0', u'0', u'0', u'0', u'0', u'0', u'.', u'0', u'0', u'0', u':', u'@', u':'};
    for (qsizetype i = 0; i < lineCount; ++i) {
        qint64 n = i + 1;
        for (int d = 5; d >= 0; --d, n /= 10)
            number[d] = QChar(u'0' + char16_t(n % 10));
        const QString &text = scanned.lines.at(i);
        QString entry;
        entry.reserve(head.size() + 13 + text.size());
        entry.append(head).append(number, 13).append(text);
        entries.append(std::move(entry));
    }
    m_work.Search_Hit_All_Line_List.addRun(entries);
    ++m_admitted;
    return true;
}
