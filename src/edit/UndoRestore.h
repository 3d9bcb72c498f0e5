#pragma once

#include "platform/UndoStore.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Puts the files of a save batch back as they were before it, from the undo
// journal, through the same writer as a save (FileReplacer). A file is put
// back only while it is still exactly what the batch wrote (its hash in the
// manifest); any other file is left alone and named. A file the batch
// created is removed under the same condition.
//
// A rollback of a batch cut short by a crash also puts back a file that was
// being written in place when the crash came (neither its old nor its new
// content: the rest of a half-done write).
class UndoRestore
{
public:
    static const QString kCaption; // "保存の取り消し"

    enum class Mode { Undo, Rollback };

    struct File
    {
        enum class What {
            Restored,      // put back (or, on a dry run, would be)
            AlreadyBefore, // holds its previous content already: nothing to do
            NotAsWritten,  // changed since the batch: left alone
            Failed,        // could not be put back; see reason
        };
        QByteArray path;
        What what = What::Failed;
        QString reason;
    };

    struct Result
    {
        QString error; // the batch could not be taken (a save still runs it)
        QList<File> files;

        bool allRestored() const;
        // The paths put back or removed (to be marked changed in the work area).
        QList<QByteArray> restoredPaths() const;
        // The files left alone or failed, one paragraph each, in Japanese.
        QString problems() const;
    };

    static Result run(const UndoStore::Batch &batch, Mode mode, bool dryRun);

    // The files of a batch that hold what it wrote, or a part of it.
    static QList<QByteArray> writtenFiles(const UndoStore::Batch &batch);

    // A short description of a batch for lists and questions: time, command,
    // number of files, state.
    static QString describe(const UndoStore::Batch &batch);
    // Up to `most` names, then "ほか n 件".
    static QString nameList(const QList<QByteArray> &paths, int most = 20);
};
