#pragma once

#include "search/FolderWalk.h"
#include "search/ScanPool.h"

#include <QList>

#include <deque>
#include <functional>
#include <limits>
#include <optional>

class EventPump;
class FileMatchers;

// The files a walk lists, given to a scan pool folder by folder ahead of the
// reader and handed back in the order the pool's results come. The pool is
// made at the first folder with files, once the matchers' anchor bytes are
// tuned on the heads of its first few files (read once more later, from the
// page cache).
class WalkFeed
{
public:
    // The pool's reading mode, the pump it serves while the caller waits,
    // and the lines the all-lines store can take when it starts (Results).
    WalkFeed(FolderWalk &walk, FileMatchers &matchers, ScanPool::Mode mode, EventPump *pump = nullptr,
             qint64 room = std::numeric_limits<qint64>::max())
        : m_walk(walk), m_matchers(matchers), m_mode(mode), m_pump(pump), m_room(room)
    {
    }

    // Lists folders until the pool holds two windows of files, the walk is
    // done or going() says stop.
    void listAhead(const std::function<bool()> &going = {});
    // The pool; null until a folder with files has been listed.
    ScanPool *pool() { return m_pool ? &*m_pool : nullptr; }
    // The file of the result the pool gave last.
    WalkFile &next();

private:
    void tuneOnHeads(const QList<WalkFile> &files);

    FolderWalk &m_walk;
    FileMatchers &m_matchers;
    ScanPool::Mode m_mode;
    EventPump *m_pump;
    qint64 m_room;
    std::optional<ScanPool> m_pool;
    std::deque<QList<WalkFile>> m_queued; // the files given to the pool, folder by folder
    qsizetype m_position = 0;             // in m_queued.front()
    bool m_walked = false;
};
