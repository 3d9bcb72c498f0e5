#include "edit/UndoRestore.h"

#include "platform/FileReplacer.h"

const QString UndoRestore::kCaption = QStringLiteral("保存の取り消し");

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

using File = UndoRestore::File;
using What = UndoRestore::File::What;

File restoreOne(const UndoStore::Hold &hold, const UndoManifest::File &f, UndoRestore::Mode mode, bool dryRun)
{
    File out;
    out.path = f.path;
    FileReplacer file(f.path);
    const FileReplacer::Status found = file.inspect();
    if (found == FileReplacer::Status::Failed) {
        out.reason = file.reason();
        return out;
    }
    const bool created = f.kind == UndoManifest::Kind::Created;
    if (found == FileReplacer::Status::Missing) {
        out.what = created ? What::AlreadyBefore : What::NotAsWritten;
        out.reason = QStringLiteral("ファイルがありません。");
        return out;
    }
    QByteArray now;
    if (!file.readAll(now)) {
        out.reason = file.reason();
        return out;
    }
    const QByteArray hash = UndoManifest::hashOf(now);
    // The rest of a write in place that a crash cut short.
    const bool halfWritten = mode == UndoRestore::Mode::Rollback && f.kind == UndoManifest::Kind::InPlace
        && !f.written && hash != f.oldHash;
    if (hash != f.newHash && !halfWritten) {
        // A file replaced by rename has no recorded hash of its previous
        // content: its kept inode is that content, compared as it is.
        bool before = false;
        if (!created && !f.oldHash.isEmpty()) {
            before = hash == f.oldHash;
        } else if (!created) {
            QByteArray previous;
            before = hold.previous(f.index, previous) && previous == now;
        }
        out.what = before ? What::AlreadyBefore : What::NotAsWritten;
        if (out.what == What::NotAsWritten)
            out.reason = QStringLiteral("保存の後に変更されています。");
        return out;
    }
    out.what = What::Restored;
    if (dryRun)
        return out;
    QByteArray previous;
    if (!created && !hold.previous(f.index, previous)) {
        out.what = What::Failed;
        out.reason = QStringLiteral("取り消し用の記録に元の内容がありません。");
        return out;
    }
    const FileReplacer::Status done = created ? file.remove() : file.write(previous, now);
    if (done == FileReplacer::Status::Changed) {
        out.what = What::NotAsWritten;
        out.reason = QStringLiteral("戻している間に変更されました。");
    } else if (done != FileReplacer::Status::Ok) {
        out.what = What::Failed;
        out.reason = file.reason();
    }
    return out;
}

} // namespace

bool UndoRestore::Result::allRestored() const
{
    if (!error.isEmpty())
        return false;
    for (const File &f : files)
        if (f.what != What::Restored && f.what != What::AlreadyBefore)
            return false;
    return true;
}

QList<QByteArray> UndoRestore::Result::restoredPaths() const
{
    QList<QByteArray> out;
    for (const File &f : files)
        if (f.what == What::Restored)
            out.append(f.path);
    return out;
}

QString UndoRestore::Result::problems() const
{
    QStringList parts;
    if (!error.isEmpty())
        parts.append(error);
    for (const File &f : files)
        if (f.what == What::NotAsWritten || f.what == What::Failed)
            parts.append(FileReplacer::displayName(f.path) + kLineBreak + f.reason + kLineBreak
                         + QStringLiteral("このファイルは元に戻していません。"));
    return parts.join(kLineBreak);
}

UndoRestore::Result UndoRestore::run(const UndoStore::Batch &batch, Mode mode, bool dryRun)
{
    Result r;
    UndoStore::Hold hold(batch.id);
    if (!hold.held()) {
        r.error = QStringLiteral("この保存（%1）はまだ実行中か、取り消し用の記録を開けません。").arg(batch.id);
        return r;
    }
    // Newest first: a file saved twice in one batch ends as it began.
    for (auto it = batch.manifest.files.crbegin(); it != batch.manifest.files.crend(); ++it)
        r.files.append(restoreOne(hold, *it, mode, dryRun));
    if (!dryRun)
        hold.setState(UndoManifest::State::Undone);
    return r;
}

QList<QByteArray> UndoRestore::writtenFiles(const UndoStore::Batch &batch)
{
    QList<QByteArray> out;
    for (const UndoManifest::File &f : batch.manifest.files) {
        FileReplacer file(f.path);
        QByteArray now;
        if (file.inspect() != FileReplacer::Status::Ok || !file.readAll(now))
            continue;
        const QByteArray hash = UndoManifest::hashOf(now);
        if (hash == f.newHash || (f.kind == UndoManifest::Kind::InPlace && hash != f.oldHash))
            out.append(f.path);
    }
    return out;
}

QString UndoRestore::describe(const UndoStore::Batch &batch)
{
    return batch.manifest.time.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) + QStringLiteral("　")
        + batch.manifest.command + QStringLiteral("　") + QString::number(batch.manifest.files.size())
        + QStringLiteral(" ファイル　") + UndoManifest::stateText(batch.manifest.state);
}

QString UndoRestore::nameList(const QList<QByteArray> &paths, int most)
{
    QStringList lines;
    for (qsizetype i = 0; i < paths.size() && i < most; ++i)
        lines.append(FileReplacer::displayName(paths.at(i)));
    if (paths.size() > most)
        lines.append(QStringLiteral("ほか %1 件").arg(paths.size() - most));
    return lines.join(kLineBreak);
}
