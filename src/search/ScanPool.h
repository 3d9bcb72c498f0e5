#pragma once

#include "search/FileScan.h"
#include "search/FolderWalk.h"
#include "search/OpenFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/TextEncoding.h"

class EventPump;
class FileMatchers;

// What the byte prefilter found out about one file.
struct ScanProbe
{
    bool readable = false;
    // Decided from the file's bytes (always Cp932 when every file is read
    // as code page 932).
    TextEncoding encoding = TextEncoding::Cp932;
    QString error; // why it could not be read
    bool hasHit = false;
    // The file cannot be taken whatever else it holds: it has more lines
    // than the all-lines store could take when it was read (the room only
    // shrinks), or a line longer than a line may be. Its bytes are not kept,
    // and it was read no further than needed to know that and whether it
    // has a hit.
    bool tooLong = false;
    // As the file was when opened.
    qint64 size = 0;
    qint64 modifiedSecs = 0; // since 1970
    qint64 modifiedNsecs = 0;
    // A file with a hit that is not too long: its whole bytes, unless it
    // was decoded ahead, and its lines.
    QByteArray bytes;
    qint64 lines = 0;
    // Decoded ahead when the whole file fitted the room left in the
    // all-lines store at the time, less the lines of the files decoded ahead
    // of it (the room only shrinks, so a file that did not fit then never
    // will).
    bool decoded = false;
    ScannedFile scanned;
    // How far the file was read, and how many bytes the search and the line
    // count looked at, added over each look: for the tests and the benchmark
    // notes (a byte is looked at a bounded number of times, however long the
    // file's lines are).
    qint64 bytesRead = 0;
    qint64 examined = 0;

    // Mode::HitLines: the file's hit lines (HitLines; Mode::HitRecords: as
    // its records, where they lie in the file), and, when they grew
    // past kMaxHitText before the file's end, where the rest begins: its byte
    // offset and line number (resumeAt -1: searched to the end). The hit
    // lines of a UTF-16 file, decoded whole, are never left for later.
    QByteArray hitLines;
    qint64 resumeAt = -1;
    qint64 resumeLine = 1;
};

// Reads and prefilters files on helper threads ahead of the caller, and hands
// the results back in the order the files were added, on the calling thread,
// where everything that touches the work area or the user happens. The
// helpers share nothing with the rest of the program but the (read-only)
// matchers. Files of several folders may be queued, so the helpers do not
// wait at the end of each folder.
//
// At most window() files beyond the next one to be taken are read ahead, so
// memory stays bounded by kWindow of the largest files with a hit. A helper
// that finds the window full sleeps until half of it is free again: woken
// for every file taken, it would cost a sleep and a wake-up per file.
class ScanPool
{
public:
    // What a file is read for. Results: whether it has a hit and, if so, its
    // bytes for the work area (above). FirstHit: whether it has a hit, read
    // no further than its first one, nothing kept. HitLines: every hit line,
    // read to its end in steps, nothing kept but the line being read.
    // HitRecords: the same, each hit line as a HitLines::Record.
    enum class Mode { Results, FirstHit, HitLines, HitRecords };

    static constexpr int kWindow = 32;
    // FirstHit keeps nothing of a file, so its window is wider: a helper
    // that the system leaves waiting with the next file to be taken holds
    // the caller up only once the caller has read all of these itself.
    static constexpr int kFirstHitWindow = 16 * kWindow;
    // Files read ahead at most in this pool's mode.
    qint64 window() const { return m_window; }
    // HitLines: a helper leaves a file once this much text of its hit lines
    // is waiting, so that memory stays bounded; the caller goes on with
    // continueLines.
    static constexpr qsizetype kMaxHitText = 1024 * 1024;
    // HitLines: a line longer than this is not held; its file is reported
    // unreadable.
    static constexpr qsizetype kMaxHeldLine = 16 * 1024 * 1024;
    // A file is read in steps, the first of kFirstRead bytes, each further
    // one twice the last up to kMaxRead, and searched as it comes: its
    // reading ends at the first confirmed hit once it is known to have more
    // lines than the store can take, or a line longer than a line may be.
    // When the store is full that is the line of the hit: most of a file
    // after its first hit is never read. A file that cannot be taken is
    // searched on without keeping its bytes.
    static constexpr qsizetype kFirstRead = 8 * 1024;
    static constexpr qsizetype kMaxRead = 256 * 1024;

    // A file that has not taken a hit after this many bytes has its lines
    // counted from then on, so that a file that could never be taken is not
    // held whole while it is searched.
    static constexpr qsizetype kHeldUncounted = 16 * 1024 * 1024;

    // helpers < 0: one fewer than the machine's cores, at most 3; 0: all on
    // the calling thread. pump: served by the calling thread while it reads
    // a file itself or waits for a helper (never by the helpers).
    ScanPool(const FileMatchers &matchers, int helpers = -1, EventPump *pump = nullptr, Mode mode = Mode::Results);
    ~ScanPool();
    ScanPool(const ScanPool &) = delete;
    ScanPool &operator=(const ScanPool &) = delete;

    // Queues the files of one folder: the folder's bytes as on disk (ending
    // in "/"), the names' bytes, and their keys (paths as shown), for
    // decoding ahead and for messages.
    void add(const QByteArray &folder, const QList<QByteArray> &names, const QStringList &keys);
    // The same for files of one folder as the walk met them: their keys are
    // made only when wanted (a hit, a message).
    void add(const QList<WalkFile> &files);
    // Files queued and not taken yet.
    qsizetype queued() const;
    // The next file's result, in the order added; false when none is queued.
    // While it is not ready, the caller reads files itself.
    bool take(ScanProbe &out);
    // Drops every file not taken; waits for the ones being read.
    void cancel();

    // The lines the all-lines store can still take; set by the caller as it
    // admits files. It only shrinks.
    void setRoom(qint64 lines) { m_room.store(lines, std::memory_order_relaxed); }

    int helpers() const { return int(m_threads.size()); }

    // HitLines: the rest of a file a helper left at `from`.resumeAt, on the
    // calling thread; `write` takes the hit lines as they come and may empty
    // them (false: stop).
    ScanProbe continueLines(const QByteArray &folder, const QByteArray &name, const QString &key, const ScanProbe &from,
                        const std::function<bool(QByteArray &)> &write);

private:
    struct Folder
    {
        QByteArray path;
        int fd = -1;
        qint64 lastJob = -1; // absolute index of its last file
    };
    struct Job
    {
        int fd;
        QByteArray folder;
        QByteArray name;
        QString shownFolder; // with shownName: the key
        QString shownName;
        QString key() const { return shownFolder + shownName; }
    };
    void addJobs(const QByteArray &folder, qsizetype count, const std::function<Job(int fd, qsizetype i)> &job);
    void helperLoop();
    bool claim(qint64 &index, Job &job); // under m_mutex
    // Reads and matches one file; touches nothing shared but the atomics.
    // pump: only on the calling thread.
    // Opens the job's file and takes its size and stamps into result; false,
    // with result.error, when it cannot be read.
    static bool open(const Job &job, OpenFile &file, ScanProbe &result);
    ScanProbe probe(const Job &job, QByteArray &scratch, EventPump *pump);
    // The rest of a probe for a file with a UTF-16 mark.
    template <typename ReadStep>
    void probeUtf16(TextEncoding encoding, const QString &key, OpenFile &file, QByteArray &scratch, ScanProbe &result,
                    qint64 room, ReadStep &readStep);
    // Mode::HitLines: a file from its start, or from where `resume` left it
    // (its encoding decided then).
    ScanProbe probeLines(const Job &job, QByteArray &scratch, const ScanProbe *resume,
                     const std::function<bool(QByteArray &)> &write);
    void finish(qint64 index, ScanProbe &&result); // under m_mutex
    // Folders whose files are all taken; their descriptors are closed by the
    // caller once the lock is released.
    void dropFoldersBefore(qint64 index, std::vector<int> &toClose); // under m_mutex
    static void closeAll(std::vector<int> &fds);

    const FileMatchers &m_matchers;
    EventPump *m_pump;
    Mode m_mode;
    qint64 m_window;
    std::vector<std::thread> m_threads;
    mutable std::mutex m_mutex;
    std::condition_variable m_work; // a job may be claimable
    std::condition_variable m_done; // a job was finished
    bool m_quit = false;

    // Guarded by m_mutex. Jobs are numbered from the first ever added;
    // m_base is the number of the front of the queues.
    std::deque<Folder> m_folders;
    std::deque<Job> m_jobs;
    std::deque<ScanProbe> m_probes;
    std::deque<char> m_finished;
    qint64 m_base = 0;
    qint64 m_next = 0;     // first job nobody has claimed
    int m_inFlight = 0;    // jobs claimed and not finished
    int m_idle = 0;        // helpers waiting for a job
    QByteArray m_mainScratch;

    std::atomic<qint64> m_queued{0}; // m_jobs.size(), read without the lock
    std::atomic<qint64> m_room{0};
    std::atomic<qint64> m_reserved{0}; // lines of files decoded ahead and not taken yet
};
