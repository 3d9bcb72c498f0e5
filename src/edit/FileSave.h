#pragma once

#include "base/Settings.h"
#include "edit/SavedText.h"
#include "platform/SaveBatch.h"
#include "platform/DiskStamp.h"
#include "platform/TextEncoding.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class FileReplacer;

// One file of the work area to be written back to disk.
struct SaveRequest
{
    QByteArray path;       // the native path, bytes exactly as on disk
    QString displayName;   // how messages name the file; empty: the path decoded
    QList<StoredLine> lines; // the file's stored lines, in line-number order
    // Instead of lines, for a file read from disk: only the lines that
    // change, where they lie in the file as it was read (readStamp); every
    // other byte is written as it is on disk.
    QList<LineChange> changes;
    // The file as it was when it was read; nothing for a new file, whose name
    // must not exist on disk yet.
    std::optional<DiskStamp> readStamp;
    // The user agreed to replace what is on disk now, or to write a file
    // removed meanwhile (after any outcome that needs a question).
    bool overwriteAgreed = false;
    // The encoding the file was read in, and is written in.
    TextEncoding encoding = TextEncoding::Cp932;
    // For a new file: the bytes its lines were read from (a made file's
    // template as it was read), whose bytes and breaks it keeps. Empty: none.
    QByteArray sourceBytes;
    // The batch the file belongs to (its journal); none: a batch of this
    // file alone, with a journal.
    SaveBatch *batch = nullptr;
};

struct SaveResult
{
    enum class Outcome {
        Written,
        ChangedOnDisk, // changed since it was read: ask (default No)
        RemovedOnDisk, // removed since it was read: ask likewise whether to write it again
        AlreadyExists, // a new file whose name is taken on disk: ask likewise
        Failed,        // not written; the file on disk is as it was
    };
    Outcome outcome = Outcome::Failed;
    // Japanese; its first line names the file. Empty when written. For the
    // two questions it states the fact; the caller adds its question.
    QString message;
    // When written: the file's stamp now. Keep it as the file's read stamp;
    // a new file, once saved, is no longer new.
    DiskStamp stamp;
    // When written: what the user must still know, naming the file (another
    // program changed it during the save, and its change is now only in the
    // journal); empty otherwise.
    QString warning;

    bool written() const { return outcome == Outcome::Written; }
    bool needsQuestion() const
    {
        return outcome == Outcome::ChangedOnDisk || outcome == Outcome::RemovedOnDisk
            || outcome == Outcome::AlreadyExists;
    }
};

// Writes one file from its stored lines (SavedText: unchanged lines keep
// their bytes, the file keeps its line breaks) through FileReplacer (whole or
// not at all, links followed, permissions and owner kept). The file on disk
// is read once, at save time, and flushed once. Never throws and never shows
// anything: every outcome is in the result.
class FileSave
{
public:
    static SaveResult save(const SaveRequest &request);

    // save() in two halves, for a group of files made durable together
    // (SaveQueue): start() writes what save() writes, but a file replaced by
    // rename is left pending in `file` (its result then says Written, to be
    // confirmed); once the batch has made it durable, file.commit() puts it
    // under its name and finish() gives its result from the commit's status.
    static SaveResult start(const SaveRequest &request, FileReplacer &file, SaveBatch &batch);
    static SaveResult finish(const SaveRequest &request, const FileReplacer &file, const SaveBatch &batch,
                             int status);

    // A batch as the settings (and a command line's --no-undo) ask for.
    static SaveBatch::Options batchOptions(const Settings &settings, const QString &command, bool noUndo = false);

    // For a code page 932 file, the characters of the lines that have no
    // code page 932 form, each once: a save refuses such lines rather than
    // write "?" for them. Empty for a file of another encoding.
    static QString unmappedCharacters(const QList<StoredLine> &lines, TextEncoding encoding);
    // Empty when the request's lines can be written in its encoding;
    // otherwise why not, naming the file and the characters, as save
    // reports it (a save refused so writes nothing).
    static QString refusal(const SaveRequest &request);
    static QString displayName(const SaveRequest &request);
};
