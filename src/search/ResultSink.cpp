#include "search/ResultSink.h"

#include "search/FileScan.h"
#include "search/FolderWalk.h"
#include "search/RunNotices.h"
#include "workarea/LineFormat.h"
#include "workarea/WorkArea.h"

#include <QStringBuilder>

#include <algorithm>

const QString ResultSink::kCaption = QStringLiteral("検索");
const QString ResultSink::kAlreadyOpen = QStringLiteral("上記ファイルは既に開かれています。");
const QString ResultSink::kOverflow = QStringLiteral("Over Flow しました。対象データが多すぎます。");
const QString ResultSink::kAdditionStopped = QStringLiteral("追加は中止しました。");

ResultSink::ResultSink(WorkArea &work, RunNotices &notices, bool withDateSize)
    : m_work(work), m_notices(notices), m_withDateSize(withDateSize)
{
}

bool ResultSink::isOpen(const WalkFile &file) const
{
    return m_work.Is_File_Open(file.realPath()) == 1;
}

namespace {

// "path CR LF reason CR LF 追加は中止しました。", built in one allocation: a
// search over a large tree may refuse thousands of files.
QString refusal(const WalkFile &file, const QString &reason)
{
    return file.dir % file.name % QLatin1String("\r\n") % reason % QLatin1String("\r\n")
        % ResultSink::kAdditionStopped;
}

} // namespace

void ResultSink::refuseDuplicate(const WalkFile &file)
{
    m_notices.refuse(RunNotices::Kind::AlreadyOpen, [&] { return refusal(file, kAlreadyOpen); }, kCaption);
}

void ResultSink::refuseOverflow(const WalkFile &file)
{
    m_notices.refuse(RunNotices::Kind::Overflow, [&] { return refusal(file, kOverflow); }, kCaption);
}

qint64 ResultSink::lineRoom() const
{
    const qint64 room = qint64(WorkArea::kAdmissionLimit) - m_work.Search_Hit_All_Line_List().count();
    return std::max<qint64>(0, std::min<qint64>(room, ItemList::kMaxItems));
}

bool ResultSink::Admit(const WalkFile &file, ScannedFile &scanned, TextEncoding encoding)
{
    // The work area itself refuses what it has no room for.
    const QString suffix = m_withDateSize ? LineFormat::dateSizeSuffix(file.modified, file.size) : QString();
    const QString key = keyOf(file);
    QStringList display;
    display.reserve(1 + scanned.hitLines.size());
    display.append(LineFormat::fileHeader(LineFormat::kSearchPrefix, key, suffix));
    for (int i : scanned.hitLines)
        display.append(LineFormat::Line_No_6(i + 1) + QLatin1Char(':') + scanned.lineText(i).toString());
    const int index = m_work.admitFile(key, FileOrigin{file.nativePath(), file.size, file.modifiedNsecs, encoding}, display,
                                        std::move(scanned.entries));
    scanned.entries.clear();
    if (index < 0)
        return false;
    ++m_admitted;
    return true;
}

QString ResultSink::keyOf(const WalkFile &file)
{
    return file.realPath();
}
