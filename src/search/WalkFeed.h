#pragma once

#include "search/FolderWalk.h"
#include "search/ScanPool.h"

#include <QList>

#include <deque>
#include <functional>
#include <optional>

// The files a walk lists, given to a scan pool folder by folder ahead of the
// reader and handed back in the order the pool's results come. The pool is
// made at the first folder with files, so that it can be tuned on them.
class WalkFeed
{
public:
    using StartPool = std::function<void(std::optional<ScanPool> &pool, const QList<WalkFile> &firstFiles)>;

    WalkFeed(FolderWalk &walk, std::optional<ScanPool> &pool, StartPool start)
        : m_walk(walk), m_pool(pool), m_start(std::move(start))
    {
    }

    // Lists folders until the pool holds two windows of files, the walk is
    // done or going() says stop.
    void listAhead(const std::function<bool()> &going = {});
    // The file of the result the pool gave last.
    WalkFile &next();

private:
    FolderWalk &m_walk;
    std::optional<ScanPool> &m_pool;
    StartPool m_start;
    std::deque<QList<WalkFile>> m_queued; // the files given to the pool, folder by folder
    qsizetype m_position = 0;             // in m_queued.front()
    bool m_walked = false;
};
