#include "search/WalkFeed.h"

#include "search/FileMatchers.h"
#include "search/OpenFile.h"
#include "search/SearchRun.h"

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
        if (!m_pool) {
            tuneOnHeads(files);
            m_pool.emplace(m_matchers, SearchRun::scanHelpers, m_pump, m_mode);
            m_pool->setRoom(m_room);
        }
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

void WalkFeed::tuneOnHeads(const QList<WalkFile> &files)
{
    constexpr qsizetype kSampleHead = 64 * 1024;
    QByteArray sample;
    for (qsizetype i = 0; i < files.size() && i < 4; ++i) {
        OpenFile file;
        QByteArray head;
        if (file.openNative(files.at(i).nativePath(), files.at(i).realPath(), nullptr)
            && file.readMore(head, kSampleHead, nullptr))
            sample += head;
    }
    m_matchers.cp932().tune(sample);
    if (m_matchers.detects())
        m_matchers.utf8().tune(sample);
}
