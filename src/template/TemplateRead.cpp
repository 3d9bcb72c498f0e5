#include "template/TemplateRead.h"

#include "edit/SavedText.h"
#include "platform/EventPump.h"
#include "platform/MessagePort.h"
#include "platform/NativeName.h"
#include "platform/ProgressPort.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"
#include "search/OpenFile.h"
#include "workarea/LineFormat.h"
#include "workarea/WorkArea.h"

#include <sys/stat.h>

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

TemplateRead::Outcome unreadable(const QString &pathAndReason)
{
    TemplateRead::Outcome out = refused(TemplateRead::Status::Unreadable,
                                        pathAndReason + QStringLiteral("\r\n") + TemplateRead::kStopped);
    out.skipped = pathAndReason;
    return out;
}

} // namespace

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

TemplateRead::Outcome TemplateRead::readTemplate(const QByteArray &nativePath, qint64 storedLines,
                                                  EncodingChoice choice)
{
    const QString path = NativeName::decodePath(nativePath);
    if (path.contains(LineFormat::kSeparator))
        return unreadable(path + QStringLiteral("\r\nファイル名に \":@:\" が含まれているため、読み込めません。"));
    struct stat st;
    if (::stat(nativePath.constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return unreadable(path + QStringLiteral("\r\n通常のファイルではありません。"));
    // The time is the opened file's own, to the nanosecond, as a save
    // compares it with the file's stamp; the header shows it to the second.
    OpenFile file;
    QByteArray bytes;
    QString error;
    if (!file.openNative(nativePath, path, &error) || !file.readMore(bytes, -1, &error))
        return unreadable(error);
    const qint64 nsecs = file.modifiedNsecs();
    Outcome out = makeTemplate(path, bytes, QDateTime::fromMSecsSinceEpoch(nsecs / 1000000), storedLines, choice);
    out.file.modifiedNsecs = nsecs;
    // A name that is not UTF-8 is saved again by the bytes it was read by.
    if (NativeName::encode(path) != nativePath)
        out.file.nativePath = nativePath;
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
    // Return must not throw away unsaved changes: No is the default.
    const auto answer =
        port.show(kDiscardQuestion, kCaption, MessagePort::Icon::Critical, MessagePort::Buttons::YesNoDefaultNo);
    return answer == MessagePort::Answer::Yes ? Discard::Discard : Discard::Declined;
}

TemplateRead::Summary TemplateRead::readTemplates(const QList<QByteArray> &nativePaths, TemplateStore &store,
                                                   MessagePort &port, const TemplateRunPorts &ports,
                                                   EncodingChoice choice)
{
    Summary summary;
    // Only the window reads templates this way: its rule holds whatever the
    // ports ask.
    RunNotices notices(port, ports.status, RunNotices::Boxes::FirstOfEachKind);
    QStringList skipped;
    if (ports.progress) {
        ports.progress->setRange(0, int(nativePaths.size()));
        ports.progress->setValue(0);
        ports.progress->setShown(true);
    }
    for (qsizetype i = 0; i < nativePaths.size() && !ports.stopped(); ++i) {
        Outcome outcome = readTemplate(nativePaths.at(i), store.storedLines(), choice);
        const QString path = outcome.file.path.isEmpty() ? NativeName::decodePath(nativePaths.at(i)) : outcome.file.path;
        switch (outcome.status) {
        case Status::Empty:
            ++summary.empty;
            break;
        case Status::Unreadable:
            ++summary.refused;
            skipped.append(outcome.skipped);
            break;
        case Status::Overflow:
            ++summary.refused;
            notices.refuse(RunNotices::Kind::Overflow, [&] { return outcome.message; }, kCaption);
            break;
        case Status::Added:
            // The line limit passed, but the file or display lists may still
            // be full: that is the same overflow to the user.
            if (store.addFile(std::move(outcome.file))) {
                ++summary.added;
            } else {
                ++summary.refused;
                notices.refuse(RunNotices::Kind::Overflow, [&] { return refusalText(path, kOverflow); }, kCaption);
            }
            break;
        }
        if (ports.progress)
            ports.progress->setValue(int(i + 1));
        if (ports.pump)
            ports.pump->yield();
    }
    const QString closing = notices.closingMessage(skipped);
    if (!closing.isEmpty())
        port.show(closing, kCaption, MessagePort::Icon::Exclamation);
    return summary;
}

bool TemplateRead::askClearSearchWord(const QString &searchWord, MessagePort &port)
{
    if (searchWord.isEmpty())
        return false;
    return port.show(kClearWordQuestion, kCaption, MessagePort::Icon::Question, MessagePort::Buttons::YesNo)
        == MessagePort::Answer::Yes;
}
