#include "template/TemplateRead.h"

#include "edit/SavedText.h"
#include "platform/TextCodec.h"
#include "platform/DirectoryListing.h"
#include "platform/DiskStamp.h"
#include "platform/EventPump.h"
#include "platform/MessagePort.h"
#include "platform/ProgressPort.h"
#include "platform/TextFile.h"
#include "workarea/LineFormat.h"
#include "workarea/WorkArea.h"

#include <QFile>
#include <QFileInfo>

const QString TemplateRead::kCaption = QStringLiteral("雛形読み込み");
const QString TemplateRead::kAlreadyOpen = QStringLiteral("同じファイルが既に開かれています。");
const QString TemplateRead::kNoSelection = QStringLiteral("リストが選択されていません。");
const QString TemplateRead::kDiscardQuestion =
    QStringLiteral("現在の検索編集内容は全て消去されます。\r\n続けますか？");
const QString TemplateRead::kOverflow = QStringLiteral("Over Flow しました。対象データが多すぎます。");
const QString TemplateRead::kStopped = QStringLiteral("雛形追加は中止しました。");
const QString TemplateRead::kClearWordQuestion =
    QStringLiteral("検索文字列が意味をなさなくなる可能性があります。\r\n現在の検索文字列をクリアしますか？");

namespace {

// The file's full name, the reason and the closing line, one a line.
QString refusalText(const QString &path, const QString &reason)
{
    return path + QStringLiteral("\r\n") + reason + QStringLiteral("\r\n") + TemplateRead::kStopped;
}

TemplateRead::Outcome refused(TemplateRead::Status status, const QString &message)
{
    TemplateRead::Outcome out;
    out.status = status;
    out.message = message;
    return out;
}

} // namespace

QString TemplateRead::templateFolder(const QString &browseFolder)
{
    return DirectoryListing::withSeparator(browseFolder);
}

QString TemplateRead::templateHeader(const QString &path, const QDateTime &modified, qint64 size)
{
    return LineFormat::fileHeader(LineFormat::kAddPrefix, path, LineFormat::dateSizeSuffix(modified, size));
}

QStringList TemplateRead::templateEntries(const QString &path, const QStringList &lines)
{
    QStringList entries;
    entries.reserve(lines.size());
    const QString keyPart = path + LineFormat::kSeparator;
    for (qsizetype k = 0; k < lines.size(); ++k)
        entries.append(keyPart + LineFormat::Line_No_10(k + 1) + LineFormat::kSeparator + lines.at(k));
    return entries;
}

TemplateRead::Outcome TemplateRead::makeTemplate(const QString &path, const QByteArray &bytes,
                                                  const QDateTime &modified, qint64 storedLines,
                                                  EncodingChoice choice)
{
    if (bytes.isEmpty())
        return refused(Status::Empty, QString());
    // Decided as the search decides it, and split into lines as the save
    // will split the file again.
    const TextEncoding encoding = choice == EncodingChoice::Detect ? TextEncodings::detect(bytes) : TextEncoding::Cp932;
    // Counted before anything is decoded or added: a file refused here
    // leaves no trace.
    const QList<SavedText::RawLine> raw
        = SavedText::splitRaw(QByteArrayView(bytes).sliced(TextEncodings::markSize(encoding)), encoding);
    if (storedLines + raw.size() > WorkArea::kAdmissionLimit)
        return refused(Status::Overflow, refusalText(path, kOverflow));

    const TextCodec &codec = TextCodec::forEncoding(encoding);
    std::vector<char16_t> text;
    QStringList lines;
    lines.reserve(raw.size());
    for (const SavedText::RawLine &line : raw) {
        const qsizetype n = codec.decode(line.bytes, text);
        lines.append(QString(reinterpret_cast<const QChar *>(text.data()), n));
    }

    Outcome out;
    out.status = Status::Added;
    out.file.path = path;
    out.file.header = templateHeader(path, modified, bytes.size());
    out.file.entries = templateEntries(path, lines);
    out.file.changed = false;
    out.file.bytes = bytes;
    out.file.size = bytes.size();
    out.file.encoding = encoding;
    return out;
}

TemplateRead::Outcome TemplateRead::readTemplate(const QString &path, qint64 storedLines, EncodingChoice choice)
{
    if (path.contains(LineFormat::kSeparator))
        return refused(Status::Unreadable,
                       refusalText(path, QStringLiteral("ファイル名に \":@:\" が含まれているため、読み込めません。")));
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return refused(Status::Unreadable, refusalText(path, QStringLiteral("通常のファイルではありません。")));
    // The time is kept to the nanosecond, as a save compares it with the
    // file's own stamp; the header shows it to the second.
    const std::optional<DiskStamp> stamp = DiskStamp::of(QFile::encodeName(path));
    QByteArray bytes;
    QString error;
    if (!TextFile::readBytes(path, bytes, &error))
        return refused(Status::Unreadable, error + QStringLiteral("\r\n") + kStopped);
    const QDateTime modified = stamp ? QDateTime::fromMSecsSinceEpoch(stamp->mtimeNs / 1000000) : QDateTime();
    Outcome out = makeTemplate(path, bytes, modified, storedLines, choice);
    if (stamp)
        out.file.modifiedNsecs = stamp->mtimeNs;
    return out;
}

bool TemplateRead::checkSelection(const QStringList &paths, const TemplateStore &store, MessagePort &port)
{
    for (const QString &path : paths) {
        if (store.isOpen(path)) {
            port.show(kAlreadyOpen, kCaption, MessagePort::Icon::Exclamation);
            return false;
        }
    }
    if (paths.isEmpty()) {
        port.show(kNoSelection, kCaption, MessagePort::Icon::Exclamation);
        return false;
    }
    return true;
}

TemplateRead::Discard TemplateRead::askDiscard(bool discardTicked, int resultFlag, MessagePort &port)
{
    if (!discardTicked || resultFlag != 1)
        return Discard::Keep;
    const auto answer =
        port.show(kDiscardQuestion, kCaption, MessagePort::Icon::Critical, MessagePort::Buttons::YesNo);
    return answer == MessagePort::Answer::Yes ? Discard::Discard : Discard::Declined;
}

TemplateRead::Summary TemplateRead::readTemplates(const QStringList &paths, TemplateStore &store,
                                                   MessagePort &port, ProgressPort *progress, EventPump *pump,
                                                   EncodingChoice choice)
{
    Summary summary;
    if (progress) {
        progress->setRange(0, int(paths.size()));
        progress->setValue(0);
        progress->setShown(true);
    }
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString &path = paths.at(i);
        Outcome outcome = readTemplate(path, store.storedLines(), choice);
        switch (outcome.status) {
        case Status::Empty:
            ++summary.empty;
            break;
        case Status::Unreadable:
            ++summary.refused;
            port.show(outcome.message, kCaption, MessagePort::Icon::Critical);
            break;
        case Status::Overflow:
            ++summary.refused;
            port.show(outcome.message, kCaption, MessagePort::Icon::Exclamation);
            break;
        case Status::Added:
            // The line limit passed, but the file or display lists may still
            // be full: that is the same overflow to the user.
            if (store.addFile(std::move(outcome.file))) {
                ++summary.added;
            } else {
                ++summary.refused;
                port.show(refusalText(path, kOverflow), kCaption, MessagePort::Icon::Exclamation);
            }
            break;
        }
        if (progress)
            progress->setValue(int(i + 1));
        if (pump)
            pump->yield();
    }
    return summary;
}

bool TemplateRead::askClearSearchWord(const QString &searchWord, MessagePort &port)
{
    if (searchWord.isEmpty())
        return false;
    return port.show(kClearWordQuestion, kCaption, MessagePort::Icon::Question, MessagePort::Buttons::YesNo)
        == MessagePort::Answer::Yes;
}
