#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "search/FileScan.h"
#include "search/OpenFile.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class WordMatcher;

// What the byte prefilter found out about one file.
struct Probe
{
    bool readable = false;
    QString error; // why it could not be read
    bool hasHit = false;
    // As the file was when opened.
    qint64 size = 0;
    qint64 modifiedSecs = 0; // since 1970
    // Kept only when the file has a hit: its bytes as far as they were read,
    // and the file, still open when a hit in its head ended the reading.
    QByteArray bytes;
    OpenFile file;
    // Decoded ahead when the whole file fitted the room left in the
    // all-lines store at the time, less the lines of the files decoded ahead
    // of it (the room only shrinks, so a file that did not fit then never
    // will).
    bool decoded = false;
    ScannedFile scanned;
};

// Reads and prefilters the files of one folder on helper threads ahead of the
// caller, and hands the results back in order on the calling thread, where
// everything that touches the work area or the user happens. The helpers
// share nothing with the rest of the program but the (read-only) matcher.
//
// At most kWindow files beyond the one being handed back are read ahead, so
// memory stays bounded by kWindow of the largest files with a hit.
class ScanPool
{
public:
    static constexpr int kWindow = 16;
    // A file is first read this far; a hit there ends its reading until the
    // whole file is wanted.
    static constexpr qsizetype kHead = 64 * 1024;

    // helpers < 0: one fewer than the machine's cores, at most 3; 0: all on
    // the calling thread.
    ScanPool(const WordMatcher &matcher, int helpers = -1);
    ~ScanPool();
    ScanPool(const ScanPool &) = delete;
    ScanPool &operator=(const ScanPool &) = delete;

    // handle(i, probe) for i = 0, 1, ... in order; returning false drops the
    // rest (files already being read are finished and discarded). folder
    // ends in "/"; keys: the files' upper-case paths, for decoding ahead.
    void run(const QString &folder, const QStringList &names, const QStringList &keys,
             const std::function<bool(int, Probe &)> &handle);

    // The lines the all-lines store can still take; set by the caller as it
    // admits files.
    void setRoom(qint64 lines) { m_room.store(lines, std::memory_order_relaxed); }

    int helpers() const { return int(m_threads.size()); }

private:
    void helperLoop();
    bool claim(int &index); // under m_mutex
    void probe(int index, QByteArray &scratch);

    const WordMatcher &m_matcher;
    std::vector<std::thread> m_threads;
    std::mutex m_mutex;
    std::condition_variable m_work; // a job may be claimable
    std::condition_variable m_done; // a job was finished
    bool m_quit = false;

    // The batch being run; guarded by m_mutex.
    QString m_folder;
    int m_folderFd = -1;
    const QStringList *m_paths = nullptr; // names in m_folder
    const QStringList *m_keys = nullptr;
    std::atomic<qint64> m_room{0};
    std::atomic<qint64> m_reserved{0}; // lines of files decoded ahead and not handed back yet
    std::vector<Probe> m_probes;
    std::vector<char> m_finished;
    int m_next = 0;     // first job nobody has claimed
    int m_handled = 0;  // jobs below this were handed back
    int m_end = 0;      // jobs at or beyond this are not wanted
    int m_inFlight = 0; // jobs claimed and not finished
    QByteArray m_mainScratch;
};
