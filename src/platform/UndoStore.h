#pragma once

#include "platform/UndoManifest.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// The undo journal as a whole: $XDG_STATE_HOME/quav/undo (an absolute
// XDG_STATE_HOME only, else ~/.local/state/quav/undo), mode 0700, one folder
// per save batch named by its id (SaveBatch writes them).
class UndoStore
{
public:
    struct Batch
    {
        QString id;
        UndoManifest manifest;
        // A save that is still running holds the batch: it is neither cut
        // short nor to be undone yet.
        bool running = false;
        qint64 bytes = 0; // what its folder takes on disk (for pruning only)

        // Cut short by a crash and not yet rolled back or kept.
        bool interrupted() const { return !running && manifest.state == UndoManifest::State::Open; }
        bool undoable() const { return !running && manifest.state != UndoManifest::State::Undone; }
    };

    static QString folder();
    // The journal's folder, opened (created when `create`); -1 with a
    // Japanese reason when it is missing or not the user's alone.
    static int openFolder(bool create, QString *reason);

    // Every batch, oldest first (without their sizes).
    static QList<Batch> list();
    // The batches a crash cut short, oldest first; cheap when there are
    // none (a finished manifest is known by its last line).
    static QList<Batch> interrupted();
    static std::optional<Batch> find(const QString &id);
    // The newest batch that can still be undone.
    static std::optional<Batch> lastUndoable();

    // Holds a batch against a running save and a second undo while alive.
    class Hold
    {
    public:
        explicit Hold(const QString &id);
        ~Hold();
        Hold(const Hold &) = delete;
        Hold &operator=(const Hold &) = delete;
        bool held() const { return m_fd >= 0; }
        bool setState(UndoManifest::State state);
        // The kept previous content of file n.
        bool previous(int index, QByteArray &bytes) const;
        int folderFd() const { return m_dirFd; }

    private:
        int m_dirFd = -1;
        int m_fd = -1;
    };

    // A batch cut short before it replaced a file holds a second name of
    // that file, which a save would take for a hard link to write in place
    // (and so change what the journal kept): such names become copies.
    static void unshareInterrupted();

    // Removes finished batches older than `days` days, then the oldest ones
    // until the rest take at most `bytes`; a running or interrupted batch
    // is left alone.
    static void prune(int days, qint64 bytes, const QDateTime &now);

private:
    // forPruning: with their sizes, and a finished batch without its files.
    static QList<Batch> list(bool onlyInterrupted, bool forPruning);
};
