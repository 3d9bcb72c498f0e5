#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// The record of one save batch in the undo journal: what the batch is, and
// per file what it held before and what the batch writes.
//
// On disk (file "manifest" in the batch's folder) it is text, one record a
// line, fields separated by TAB, appended as the batch goes on and never
// rewritten, so that a crash can cut at most the last line (a line without
// its LF is ignored):
//
//   quav-undo<TAB>1
//   time<TAB>2024-05-01T10:20:30.123+09:00
//   command<TAB>quav replace --with B A        (percent-encoded UTF-8)
//   file<TAB>n<TAB>kind<TAB>path<TAB>old<TAB>new<TAB>mode<TAB>uid<TAB>gid
//   written<TAB>n
//   changed<TAB>n
//   state<TAB>done | undone | kept
//
// kind: "rename" (replaced by a new file; the previous one is kept as file
// "n" of the batch folder, a hard link of the old inode or a copy),
// "inplace" (rewritten in place; "n" is a copy), "created" (a new file;
// nothing kept). path: the file's bytes on disk in hex, links followed. old,
// new: SHA-256 in hex of the previous content ("-" for a created file) and of
// what the batch writes. mode: octal permission bits before the save.
// "written n": file n now holds what the batch wrote. "changed n": someone
// else changed file n while it was saved; its previous content (kept) is
// theirs. The last "state" line wins; none means the batch never finished.
struct UndoManifest
{
    enum class Kind { Rename, InPlace, Created };
    enum class State { Open, Done, Undone, Kept };

    struct File
    {
        int index = 0;
        Kind kind = Kind::Rename;
        QByteArray path;
        QByteArray oldHash; // empty for a created file and a file replaced by rename
        QByteArray newHash;
        uint mode = 0;
        uint uid = 0;
        uint gid = 0;
        bool written = false;
        bool changedMeanwhile = false;
    };

    QDateTime time;
    QString command;
    QList<File> files;
    State state = State::Open;

    static QByteArray header(const QDateTime &time, const QString &command);
    static QByteArray fileRecord(const File &file);
    static QByteArray writtenRecord(int index);
    static QByteArray changedRecord(int index);
    static QByteArray stateRecord(State state);
    // false when the bytes are not a manifest
    static bool parse(const QByteArray &bytes, UndoManifest &out);

    static QByteArray hashOf(QByteArrayView bytes);
    static QString stateText(State state);
};
