#include "search/WalkFeed.h"

void WalkFeed::listAhead(const std::function<bool()> &going)
{
    while (!m_walked && (!going || going()) && (!m_pool || m_pool->queued() < 2 * m_pool->window())) {
        QString folder;
        QList<WalkFile> files;
        if (!m_walk.nextFolder(folder, files)) {
            m_walked = true;
            break;
        }
        if (files.isEmpty())
            continue;
        if (!m_pool)
            m_start(m_pool, files);
        m_pool->add(files);
        m_queued.push_back(std::move(files));
    }
}

WalkFile &WalkFeed::next()
{
    while (m_position == m_queued.front().size()) {
        m_queued.pop_front();
        m_position = 0;
    }
    return m_queued.front()[m_position++];
}
