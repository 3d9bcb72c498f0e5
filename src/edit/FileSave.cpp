#include "edit/FileSave.h"

#include "platform/Cp932.h"
#include "platform/FileReplacer.h"
#include "platform/SaveBatch.h"

#include <algorithm>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");
const QString kChanged = QStringLiteral("このファイルは読み込んだ後に変更されています。");
const QString kRemoved = QStringLiteral("このファイルは読み込んだ後に削除されています。");
const QString kTaken = QStringLiteral("同じ名前のファイルが既にあります。");

SaveResult outcome(SaveResult::Outcome what, const QString &name, const QString &text)
{
    SaveResult r;
    r.outcome = what;
    r.message = name + kLineBreak + text;
    return r;
}

SaveResult failure(const QString &name, const QString &reason, bool untouched = true)
{
    return outcome(SaveResult::Outcome::Failed, name,
                   reason + kLineBreak
                       + (untouched ? QStringLiteral("保存できませんでした。ファイルは元のままです。")
                                    : QStringLiteral("保存できませんでした。")));
}

} // namespace

SaveBatch::Options FileSave::batchOptions(const Settings &settings, const QString &command, bool noUndo)
{
    SaveBatch::Options o;
    o.command = command;
    o.journal = settings.UNDO_FLG != 0 && !noUndo;
    o.keepDays = std::max(0, settings.UNDO_DAYS);
    o.keepBytes = qint64(std::max(0, settings.UNDO_MB)) << 20;
    return o;
}

namespace {

// Adds the characters of text that code page 932 cannot hold to all, each once.
void addUnmapped(QStringView text, QString &all)
{
    // What is found is all unmapped: going over it again only drops the
    // characters found before.
    const QString some = Cp932::unmappedCharacters(text);
    if (!some.isEmpty())
        all = Cp932::unmappedCharacters(all + some);
}

} // namespace

QString FileSave::unmappedCharacters(const QList<StoredLine> &lines, TextEncoding encoding)
{
    // A UTF file holds every character.
    if (encoding != TextEncoding::Cp932)
        return QString();
    QString all;
    for (const StoredLine &line : lines)
        addUnmapped(line.text, all);
    return all;
}

QString FileSave::refusal(const SaveRequest &request)
{
    QString unmapped = unmappedCharacters(request.lines, request.encoding);
    if (request.encoding == TextEncoding::Cp932)
        for (const LineChange &change : request.changes)
            addUnmapped(change.text, unmapped);
    if (unmapped.isEmpty())
        return QString();
    return failure(displayName(request),
                   QStringLiteral("シフトJISで表せない文字が含まれています。（") + unmapped + QStringLiteral("）"))
        .message;
}

QString FileSave::displayName(const SaveRequest &request)
{
    return request.displayName.isEmpty() ? FileReplacer::displayName(request.path) : request.displayName;
}

SaveResult FileSave::save(const SaveRequest &request)
{
    FileReplacer file(request.path);
    std::optional<SaveBatch> own;
    SaveBatch *batch = request.batch;
    if (!batch)
        batch = &own.emplace(SaveBatch::Options());
    SaveResult r = start(request, file, *batch);
    if (r.written() && file.pending()) {
        const FileReplacer::Status s =
            batch->makeDurable({file.pendingFd()}) ? file.commit() : file.drop(errno);
        r = finish(request, file, *batch, int(s));
    }
    return r;
}

SaveResult FileSave::start(const SaveRequest &request, FileReplacer &file, SaveBatch &batch)
{
    using Outcome = SaveResult::Outcome;
    const QString name = displayName(request);
    if (const QString refused = refusal(request); !refused.isEmpty()) {
        SaveResult r;
        r.message = refused;
        return r;
    }

    const FileReplacer::Status found = file.inspect();
    if (found == FileReplacer::Status::Failed)
        return failure(name, file.reason());
    const bool isNew = !request.readStamp;
    const bool exists = found == FileReplacer::Status::Ok;
    // A link whose target is missing still takes the name: a new file is
    // not written through it unasked.
    const bool nameTaken = exists || file.target() != request.path;
    if (!request.overwriteAgreed) {
        if (isNew && nameTaken)
            return outcome(Outcome::AlreadyExists, name, kTaken);
        if (!isNew && !exists)
            return outcome(Outcome::RemovedOnDisk, name, kRemoved);
        if (!isNew && !request.readStamp->sameAs(file.stamp()))
            return outcome(Outcome::ChangedOnDisk, name, kChanged);
    }

    QByteArray old;
    if (exists && !file.readAll(old))
        return failure(name, file.reason());
    // A new file's lines never came from what now stands under its name.
    std::optional<QByteArrayView> source;
    if (!isNew && exists)
        source = old;
    else if (isNew && !request.sourceBytes.isEmpty())
        source = request.sourceBytes;
    QByteArray content;
    if (request.changes.isEmpty()) {
        content = SavedText::compose(request.lines, source, request.encoding);
    } else {
        // Lines found where they lay in the file as read: only that file
        // takes them.
        std::optional<QByteArray> spliced;
        if (!isNew && exists)
            spliced = SavedText::splice(request.changes, old, request.encoding);
        if (!spliced)
            return outcome(exists ? Outcome::ChangedOnDisk : Outcome::RemovedOnDisk, name, exists ? kChanged : kRemoved);
        content = std::move(*spliced);
    }

    const FileReplacer::Status s = file.prepare(content, old, &batch);
    if (s == FileReplacer::Status::Ok && file.pending()) {
        SaveResult r;
        r.outcome = Outcome::Written; // once committed
        return r;
    }
    return finish(request, file, batch, int(s));
}

SaveResult FileSave::finish(const SaveRequest &request, const FileReplacer &file, const SaveBatch &batch,
                            int status)
{
    using Outcome = SaveResult::Outcome;
    const QString name = displayName(request);
    const bool isNew = !request.readStamp;
    switch (FileReplacer::Status(status)) {
    case FileReplacer::Status::Ok: {
        SaveResult r;
        r.outcome = Outcome::Written;
        r.stamp = file.writtenStamp();
        if (file.changedMeanwhile())
            r.warning = name + kLineBreak
                + QStringLiteral("保存している間にほかのプログラムがこのファイルを変更しました。") + kLineBreak
                + (batch.journalled() ? QStringLiteral("その変更は取り消し用の記録にだけ残っています（quav undo で戻せます）。")
                                      : QStringLiteral("その変更は失われました。"));
        return r;
    }
    case FileReplacer::Status::Changed:
        if (isNew)
            return outcome(Outcome::AlreadyExists, name, kTaken);
        // Gone between the look and the write: say so, not "changed".
        if (!DiskStamp::of(file.target()))
            return outcome(Outcome::RemovedOnDisk, name, kRemoved);
        return outcome(Outcome::ChangedOnDisk, name, kChanged);
    default:
        return failure(name, file.reason(), file.untouched());
    }
}
