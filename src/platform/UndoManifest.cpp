#include "platform/UndoManifest.h"

#include "platform/Sha256.h"

namespace {

const char *kindName(UndoManifest::Kind kind)
{
    switch (kind) {
    case UndoManifest::Kind::InPlace:
        return "inplace";
    case UndoManifest::Kind::Created:
        return "created";
    case UndoManifest::Kind::Rename:
        break;
    }
    return "rename";
}

const char *stateName(UndoManifest::State state)
{
    switch (state) {
    case UndoManifest::State::Done:
        return "done";
    case UndoManifest::State::Undone:
        return "undone";
    case UndoManifest::State::Kept:
        return "kept";
    case UndoManifest::State::Open:
        break;
    }
    return "open";
}

UndoManifest::File *fileNumbered(UndoManifest &m, const QByteArray &field)
{
    bool ok = false;
    const int n = field.toInt(&ok);
    if (!ok)
        return nullptr;
    // A batch numbers its files 1, 2, ... in the order it records them, so
    // file n is normally at n - 1; a search would make a parse quadratic.
    if (n >= 1 && n <= m.files.size() && m.files.at(n - 1).index == n)
        return &m.files[n - 1];
    for (UndoManifest::File &f : m.files)
        if (f.index == n)
            return &f;
    return nullptr;
}

} // namespace

QByteArray UndoManifest::header(const QDateTime &time, const QString &command)
{
    // Percent-encoded: a command holds no TAB or LF of its own.
    return "quav-undo\t1\ntime\t" + time.toString(Qt::ISODateWithMs).toUtf8() + "\ncommand\t"
        + command.toUtf8().toPercentEncoding(" /-_.=,:") + '\n';
}

QByteArray UndoManifest::fileRecord(const File &f)
{
    return "file\t" + QByteArray::number(f.index) + '\t' + kindName(f.kind) + '\t' + f.path.toHex() + '\t'
        + (f.oldHash.isEmpty() ? QByteArray("-") : f.oldHash) + '\t' + f.newHash + '\t'
        + QByteArray::number(f.mode, 8) + '\t' + QByteArray::number(f.uid) + '\t' + QByteArray::number(f.gid)
        + '\n';
}

QByteArray UndoManifest::writtenRecord(int index)
{
    return "written\t" + QByteArray::number(index) + '\n';
}

QByteArray UndoManifest::changedRecord(int index)
{
    return "changed\t" + QByteArray::number(index) + '\n';
}

QByteArray UndoManifest::stateRecord(State state)
{
    return QByteArray("state\t") + stateName(state) + '\n';
}

bool UndoManifest::parse(const QByteArray &bytes, UndoManifest &out)
{
    out = UndoManifest();
    // A line cut by a crash has no LF and is not a record.
    const qsizetype end = bytes.lastIndexOf('\n');
    if (!bytes.startsWith("quav-undo\t1\n") || end < 0)
        return false;
    const QList<QByteArray> lines = bytes.left(end).split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> f = line.split('\t');
        const QByteArray &what = f.first();
        if (what == "time" && f.size() == 2) {
            out.time = QDateTime::fromString(QString::fromUtf8(f.at(1)), Qt::ISODateWithMs);
        } else if (what == "command" && f.size() == 2) {
            out.command = QString::fromUtf8(QByteArray::fromPercentEncoding(f.at(1)));
        } else if (what == "file" && f.size() == 9) {
            File file;
            file.index = f.at(1).toInt();
            file.kind = f.at(2) == "inplace" ? Kind::InPlace : f.at(2) == "created" ? Kind::Created : Kind::Rename;
            file.path = QByteArray::fromHex(f.at(3));
            file.oldHash = f.at(4) == "-" ? QByteArray() : f.at(4);
            file.newHash = f.at(5);
            file.mode = f.at(6).toUInt(nullptr, 8);
            file.uid = f.at(7).toUInt();
            file.gid = f.at(8).toUInt();
            out.files.append(file);
        } else if (what == "written" && f.size() == 2) {
            if (File *file = fileNumbered(out, f.at(1)))
                file->written = true;
        } else if (what == "changed" && f.size() == 2) {
            if (File *file = fileNumbered(out, f.at(1)))
                file->changedMeanwhile = true;
        } else if (what == "state" && f.size() == 2) {
            out.state = f.at(1) == "done" ? State::Done
                : f.at(1) == "undone"     ? State::Undone
                : f.at(1) == "kept"       ? State::Kept
                                          : State::Open;
        }
    }
    return out.time.isValid();
}

QByteArray UndoManifest::hashOf(QByteArrayView bytes)
{
    return Sha256::hash(bytes).toHex();
}

QString UndoManifest::stateText(State state)
{
    switch (state) {
    case State::Done:
        return QStringLiteral("保存済み");
    case State::Undone:
        return QStringLiteral("取り消し済み");
    case State::Kept:
        return QStringLiteral("中断（書いた内容を残した）");
    case State::Open:
        break;
    }
    return QStringLiteral("中断");
}
