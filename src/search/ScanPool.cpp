#include "search/ScanPool.h"

#include "platform/EventPump.h"
#include "search/FileScan.h"
#include "search/HitLines.h"
#include "search/LineMeter.h"
#include "search/FileMatchers.h"
#include "search/WordMatcher.h"
#include "search/WordStream.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace {

// The first n bytes go; the rest is moved down in place, so that the buffer
// keeps its start and capacity (a fresh buffer per step costs a page fault
// per page).
void dropFront(QByteArray &buffer, qsizetype n)
{
    std::memmove(buffer.data(), buffer.constData() + n, size_t(buffer.size() - n));
    buffer.truncate(buffer.size() - n);
}

} // namespace

ScanPool::ScanPool(const FileMatchers &matchers, int helpers, EventPump *pump, Mode mode)
    : m_matchers(matchers), m_pump(pump), m_mode(mode), m_window(mode == Mode::FirstHit ? kFirstHitWindow : kWindow)
{
    if (helpers < 0)
        helpers = std::clamp(int(std::thread::hardware_concurrency()) - 1, 0, 3);
    for (int i = 0; i < helpers; ++i)
        m_threads.emplace_back([this] { helperLoop(); });
}

ScanPool::~ScanPool()
{
    cancel();
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_work.notify_all();
    for (std::thread &t : m_threads)
        t.join();
}

void ScanPool::add(const QByteArray &folder, const QList<QByteArray> &names, const QStringList &keys)
{
    addJobs(folder, names.size(), [&](int fd, qsizetype i) {
        return Job{fd, folder, names.at(i), QString(), keys.at(i)};
    });
}

void ScanPool::add(const QList<WalkFile> &files)
{
    if (files.isEmpty())
        return;
    addJobs(files.front().nativeDir, files.size(), [&](int fd, qsizetype i) {
        const WalkFile &f = files.at(i);
        return Job{fd, f.nativeDir, f.nativeName, f.dir, f.name};
    });
}

void ScanPool::addJobs(const QByteArray &folder, qsizetype count, const std::function<Job(int fd, qsizetype i)> &job)
{
    if (count == 0)
        return;
    // Prepared outside the lock, which the helpers take for every file.
    // Files are opened relative to their folder: no lookup from the root for
    // each. Without the folder open, by full path.
    Folder f;
    f.path = folder;
    f.fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::vector<Job> jobs;
    jobs.reserve(size_t(count));
    for (qsizetype i = 0; i < count; ++i)
        jobs.push_back(job(f.fd, i));
    {
        std::lock_guard lock(m_mutex);
        for (Job &job : jobs) {
            m_jobs.push_back(std::move(job));
            m_probes.emplace_back();
            m_finished.push_back(0);
        }
        f.lastJob = m_base + qint64(m_jobs.size()) - 1;
        m_folders.push_back(std::move(f));
        m_queued.store(qint64(m_jobs.size()), std::memory_order_relaxed);
    }
    m_work.notify_all();
}

qsizetype ScanPool::queued() const
{
    return qsizetype(m_queued.load(std::memory_order_relaxed));
}

bool ScanPool::claim(qint64 &index, Job &job)
{
    const qint64 end = m_base + qint64(m_jobs.size());
    if (m_next >= end || m_next >= m_base + m_window)
        return false;
    index = m_next++;
    job = std::move(m_jobs[size_t(index - m_base)]); // its slot only keeps the order from now on
    ++m_inFlight;
    return true;
}

bool ScanPool::open(const Job &job, OpenFile &file, ScanProbe &result)
{
    const bool ok = job.fd >= 0 ? file.openAt(job.fd, job.name, job.shownFolder, job.shownName, &result.error)
                                : file.openNative(job.folder + job.name, job.key(), &result.error);
    result.size = file.size();
    result.modifiedSecs = file.modifiedSecs();
    result.modifiedNsecs = file.modifiedNsecs();
    return ok;
}

ScanProbe ScanPool::probe(const Job &job, QByteArray &scratch, EventPump *pump)
{
    // Reading and matching happen outside the lock; the job's slot is not
    // touched by anyone else until it is marked finished.
    if (m_mode == Mode::HitLines || m_mode == Mode::HitRecords)
        return probeLines(job, scratch, nullptr, {});
    ScanProbe result;
    OpenFile file;
    scratch.truncate(0);
    bool ok = open(job, file, result);

    qsizetype step = kFirstRead;
    int steps = 0;
    auto readStep = [&] {
        // The calling thread serves the window between the steps of one
        // file: a step takes a few milliseconds at most.
        if (pump && steps++ > 0)
            pump->yield();
        const qsizetype before = scratch.size();
        ok = file.readMore(scratch, scratch.size() + step, &result.error);
        result.bytesRead += scratch.size() - before;
        step = std::min(step * 2, kMaxRead);
        return ok;
    };

    // The room only shrinks: a file that does not fit it now never will.
    const qint64 room = m_room.load(std::memory_order_relaxed);
    LineMeter meter;
    auto measure = [&] {
        result.examined += scratch.size() - meter.taken();
        meter.feed(scratch, room);
        return meter.fits(room);
    };

    // The file's encoding. Without a mark it stays open while the bytes
    // are valid UTF-8: the word is looked for as UTF-8, and as code page 932
    // only once the file turns out to be code page 932 (UTF-8 text holds
    // many places that look like code page 932 codes, each a candidate to
    // decode). A code page 932 file with Japanese text nearly always shows
    // an invalid byte in its first step; a file of ASCII so far reads alike
    // in both, and is searched once.
    const bool detect = m_matchers.detects();
    TextEncoding encoding = TextEncoding::Cp932;
    bool decided = !detect;
    bool markLooked = !detect;
    Utf8Check check;
    bool hitCp932 = false, hitUtf8 = false;
    if (!decided)
        meter.setCount(LineMeter::Count::Either);
    auto decide = [&](TextEncoding e) {
        encoding = e;
        decided = true;
        meter.setCount(TextEncodings::isUtf8(e) ? LineMeter::Count::Utf8 : LineMeter::Count::Cp932);
        result.hasHit = TextEncodings::isUtf8(e) ? hitUtf8 : hitCp932;
    };

    // Whole lines are searched as they arrive; bytes before `searched` are
    // whole lines without a hit, and bytes before `lookedAt` have been looked
    // at for line breaks. A file that cannot be taken (too many lines in a
    // large file) is wanted only for whether it has a hit, which refuses it:
    // its searched lines are dropped as it goes.
    qsizetype searched = 0;
    qsizetype searchedCp932 = 0; // while the encoding is open: how far code page 932 was looked for
    qsizetype lookedAt = 0;
    // Wanted only for whether it has a hit: nothing is kept.
    bool takeable = m_mode != Mode::FirstHit;
    bool overlongLine = false;
    auto drop = [&] {
        // What code page 932 may still have to search is kept.
        const qsizetype cut = decided ? searched : std::min(searched, searchedCp932);
        dropFront(scratch, cut);
        check.dropped(cut);
        lookedAt -= cut;
        searched -= cut;
        searchedCp932 -= cut;
    };
    while (ok && !result.hasHit && !file.atEnd() && readStep()) {
        if (!markLooked && (scratch.size() >= 3 || file.atEnd())) {
            markLooked = true;
            bool marked = false;
            const TextEncoding e = TextEncodings::fromMark(scratch, &marked);
            if (marked && TextEncodings::isUtf16(e)) {
                probeUtf16(e, job.key(), file, scratch, result, room, readStep);
                return result;
            }
            if (marked) {
                decide(e);
                searched = lookedAt = TextEncodings::markSize(e);
            }
        }
        const QByteArrayView bytes(scratch);
        if (!decided) {
            check.feed(bytes, file.atEnd());
            if (!check.valid()) {
                decide(TextEncoding::Cp932);
                if (!result.hasHit && searched > searchedCp932)
                    result.hasHit = FileScan::Scan_File(m_matchers.cp932(), bytes.first(searched), searchedCp932);
            }
        }
        qsizetype end = file.atEnd() ? bytes.size() : FileScan::lastLineEnd(bytes, lookedAt);
        result.examined += bytes.size() - lookedAt;
        lookedAt = bytes.size();
        if (end > searched && !result.hasHit) {
            result.examined += end - searched;
            const QByteArrayView lines = bytes.first(end);
            if (decided) {
                result.hasHit = FileScan::Scan_File(m_matchers.forEncoding(encoding), lines, searched);
            } else {
                if (!check.sawMultiByte()) {
                    // ASCII so far: the same text either way. Its hit is a
                    // hit whatever the encoding turns out to be.
                    if (!hitCp932)
                        hitCp932 = FileScan::Scan_File(m_matchers.cp932(), lines, searched);
                    hitUtf8 = hitCp932;
                    searchedCp932 = end;
                    if (hitCp932 && m_mode == Mode::FirstHit)
                        result.hasHit = true;
                } else if (!hitUtf8) {
                    hitUtf8 = FileScan::Scan_File(m_matchers.utf8(), lines, searched);
                }
            }
            searched = end;
        }
        if (!decided && file.atEnd())
            decide(check.isUtf8() ? TextEncoding::Utf8 : TextEncoding::Cp932);
        if (result.hasHit)
            break;
        if (takeable && bytes.size() > kHeldUncounted && !measure())
            takeable = false;
        if (!takeable)
            drop();
        // A line not ended yet that is already too long: the file cannot be
        // taken, and the line is too long to be searched as one.
        if (scratch.size() - searched > meter.maxLineBytes()) {
            takeable = false;
            overlongLine = true;
            break;
        }
    }

    if (ok && overlongLine) {
        // The rest is searched as it comes, from the start of that line, and
        // not kept. A file whose encoding is still open is taken as what its
        // bytes so far suggest: it can never be taken, and only whether it
        // is refused with a message depends on it.
        if (!decided)
            decide(check.sawMultiByte() ? TextEncoding::Utf8 : TextEncoding::Cp932);
        WordStream stream(m_matchers.forEncoding(encoding));
        result.examined += scratch.size() - searched;
        stream.feed(QByteArrayView(scratch).sliced(searched), file.atEnd());
        while (!result.hasHit && !stream.found() && !file.atEnd()) {
            scratch.truncate(0);
            if (!readStep())
                break;
            result.examined += scratch.size();
            stream.feed(scratch, file.atEnd());
        }
        result.hasHit = result.hasHit || stream.found();
    }
    result.encoding = encoding;
    if (!takeable) {
        scratch.truncate(0);
        result.readable = ok;
        result.hasHit = result.tooLong = ok && result.hasHit;
        return result;
    }

    result.readable = ok;
    if (ok && result.hasHit) {
        // A file that cannot be taken is read no further than needed to
        // know that, and its bytes are not kept. Any other file with a hit
        // is read to its end here, and decoded ahead when it fits the room
        // less what was decoded ahead of it. (Lines counted on a part of the
        // file are never more than the whole file has.)
        bool fits = measure();
        while (fits && !file.atEnd() && readStep())
            fits = measure();
        if (!ok) {
            result.readable = false;
            result.hasHit = false;
        } else if (!fits) {
            result.tooLong = true;
        } else {
            result.lines = meter.lines();
            if (result.lines <= room - m_reserved.load(std::memory_order_relaxed)) {
                m_reserved.fetch_add(result.lines, std::memory_order_relaxed);
                result.examined += scratch.size();
                m_matchers.collect(encoding, scratch, job.key(), result.scanned, pump, result.lines);
                result.decoded = true;
            } else {
                // A copy, so that the scratch buffer keeps its capacity: a
                // fresh buffer per file costs a page fault per page.
                result.bytes = QByteArray(scratch.constData(), scratch.size());
            }
        }
    }
    return result;
}

template <typename ReadStep>
void ScanPool::probeUtf16(TextEncoding encoding, const QString &key, OpenFile &file, QByteArray &scratch,
                          ScanProbe &result, qint64 room, ReadStep &readStep)
{
    // A UTF-16 file is decoded whole and its lines found in the text: its
    // line breaks cannot be told among its bytes.
    result.encoding = encoding;
    bool ok = true;
    while (ok && !file.atEnd())
        ok = readStep();
    result.readable = ok;
    if (!ok)
        return;
    result.examined += scratch.size();
    const QString text = FileMatchers::utf16Text(encoding, scratch);
    result.hasHit = FileScan::scanText(text, m_matchers.word(), m_matchers.ignoreCase());
    if (!result.hasHit || m_mode == Mode::FirstHit)
        return;
    const TextShape shape = FileScan::measureText(text);
    if (shape.longest > LineMeter::kMaxLineChars || shape.lines > room) {
        result.tooLong = true;
        return;
    }
    result.lines = shape.lines;
    if (result.lines <= room - m_reserved.load(std::memory_order_relaxed)) {
        m_reserved.fetch_add(result.lines, std::memory_order_relaxed);
        FileScan::collectText(text, m_matchers.word(), m_matchers.ignoreCase(), key, result.scanned);
        result.decoded = true;
    } else {
        result.bytes = QByteArray(scratch.constData(), scratch.size());
    }
}

ScanProbe ScanPool::probeLines(const Job &job, QByteArray &scratch, const ScanProbe *resume,
                           const std::function<bool(QByteArray &)> &write)
{
    ScanProbe result;
    OpenFile file;
    scratch.truncate(0);
    bool ok = open(job, file, result);
    qint64 offset = resume ? resume->resumeAt : 0; // of scratch[0] in the file
    if (ok && offset > 0)
        ok = file.skipTo(offset, &result.error);

    // The encoding, as probe() decides it. Lines are printed only once it
    // is known, except lines of ASCII, which read alike in every encoding.
    // A file valid UTF-8 so far with a multi-byte sequence in it is looked
    // through to its end, or to its first invalid byte, before any of its
    // lines beyond that ASCII is taken, and then read again from there (from
    // the page cache): printed lines are never taken back, and nothing more
    // than a step is held. A code page 932 file shows an invalid byte in the
    // step that shows its first multi-byte character.
    bool decided = resume || !m_matchers.detects();
    result.encoding = resume ? resume->encoding : TextEncoding::Cp932;
    Utf8Check check;
    HitLines lines(m_matchers.forEncoding(result.encoding), job.folder + job.name, resume ? resume->resumeLine : 1,
                   m_mode == Mode::HitRecords ? HitLines::Form::Records : HitLines::Form::Grep);
    auto decide = [&](TextEncoding e) {
        decided = true;
        result.encoding = e;
        lines.setMatcher(m_matchers.forEncoding(e));
    };
    auto drop = [&](qsizetype n) {
        dropFront(scratch, n);
        offset += n;
    };
    qsizetype step = kFirstRead;
    auto readStep = [&] {
        const qsizetype before = scratch.size();
        ok = file.readMore(scratch, before + step, &result.error);
        step = std::min(step * 2, kMaxRead);
        result.bytesRead += scratch.size() - before;
        return ok;
    };
    bool markLooked = decided;
    while (ok && !file.atEnd()) {
        const qsizetype before = scratch.size();
        if (!readStep())
            break;
        const bool last = file.atEnd();
        if (!markLooked && (scratch.size() >= 3 || last)) {
            markLooked = true;
            bool marked = false;
            const TextEncoding e = TextEncodings::fromMark(scratch, &marked);
            if (marked && TextEncodings::isUtf16(e)) {
                while (ok && !file.atEnd())
                    readStep();
                result.encoding = e;
                const qsizetype mark = TextEncodings::markSize(e);
                if (ok)
                    lines.takeText(FileMatchers::utf16Text(e, scratch), m_matchers.word(), m_matchers.ignoreCase(),
                                   result.hitLines, mark, scratch.size() - mark);
                break;
            }
            if (marked) {
                decide(e);
                drop(TextEncodings::markSize(e)); // not part of line 1
            }
        }
        if (!decided) {
            check.feed(scratch, last);
            if (check.valid() && check.sawMultiByte()) {
                const qint64 rewind = offset;
                bool moved = false;
                while (ok && check.valid() && !file.atEnd()) {
                    const qsizetype checked = check.checked();
                    dropFront(scratch, checked);
                    check.dropped(checked);
                    moved = moved || checked > 0;
                    if (readStep())
                        check.feed(scratch, file.atEnd());
                }
                if (!ok)
                    break;
                decide(check.isUtf8() ? TextEncoding::Utf8 : TextEncoding::Cp932);
                if (moved) {
                    scratch.truncate(0);
                    offset = rewind;
                    step = kFirstRead;
                    if (!file.skipTo(offset, &result.error)) {
                        ok = false;
                        break;
                    }
                    continue;
                }
            } else if (!check.valid() || last) {
                decide(TextEncoding::Cp932);
            }
        }
        // A CR read last may be the first half of a CR LF: it waits.
        const qsizetype known = !last && scratch.endsWith('\r') ? scratch.size() - 1 : scratch.size();
        const qsizetype end = last ? known
                                   : FileScan::lastLineEnd(QByteArrayView(scratch).first(known),
                                                           before > 0 ? std::min(before, known) - 1 : 0);
        if (end <= 0) {
            if (scratch.size() > kMaxHeldLine) {
                ok = false;
                result.error = job.key() + QStringLiteral("\r\n行が長すぎるため、表示できません。");
            }
            continue;
        }
        result.examined += end;
        lines.take(QByteArrayView(scratch).first(end), result.hitLines, !last, offset);
        drop(end);
        if (result.hitLines.size() >= kMaxHitText && !file.atEnd()) {
            if (!write) {
                result.resumeAt = offset;
                result.resumeLine = lines.nextLine();
                break;
            }
            if (!write(result.hitLines))
                break;
        }
    }
    result.readable = ok;
    result.hasHit = ok && (lines.found() || resume);
    return result;
}

ScanProbe ScanPool::continueLines(const QByteArray &folder, const QByteArray &name, const QString &key, const ScanProbe &from,
                              const std::function<bool(QByteArray &)> &write)
{
    QByteArray scratch;
    return probeLines(Job{-1, folder, name, QString(), key}, scratch, &from, write);
}

void ScanPool::finish(qint64 index, ScanProbe &&result)
{
    if (index >= m_base) { // else dropped by cancel
        m_probes[size_t(index - m_base)] = std::move(result);
        m_finished[size_t(index - m_base)] = 1;
    }
    --m_inFlight;
    m_done.notify_all();
}

void ScanPool::helperLoop()
{
    QByteArray scratch;
    std::unique_lock lock(m_mutex);
    for (;;) {
        qint64 index = 0;
        Job job;
        if (!claim(index, job)) {
            ++m_idle;
            m_work.wait(lock, [&] { return m_quit || claim(index, job); });
            --m_idle;
        }
        if (m_quit)
            return;
        lock.unlock();
        ScanProbe result = probe(job, scratch, nullptr);
        lock.lock();
        // Finished and the next one claimed under the same hold of the lock.
        finish(index, std::move(result));
    }
}

void ScanPool::dropFoldersBefore(qint64 index, std::vector<int> &toClose)
{
    while (!m_folders.empty() && m_folders.front().lastJob < index) {
        if (m_folders.front().fd >= 0)
            toClose.push_back(m_folders.front().fd);
        m_folders.pop_front();
    }
}

void ScanPool::closeAll(std::vector<int> &fds)
{
    for (int fd : fds)
        ::close(fd);
    fds.clear();
}

bool ScanPool::take(ScanProbe &out)
{
    bool wake = false;
    std::vector<int> toClose;
    {
        std::unique_lock lock(m_mutex);
        if (m_jobs.empty())
            return false;
        while (!m_finished.front()) {
            // Rather than wait, read the next file nobody has taken.
            qint64 index = 0;
            Job job;
            if (claim(index, job)) {
                lock.unlock();
                ScanProbe result = probe(job, m_mainScratch, m_pump);
                lock.lock();
                finish(index, std::move(result));
                continue;
            }
            if (!m_pump) {
                m_done.wait(lock);
                continue;
            }
            // A helper may take long over a large file: the window is served
            // meanwhile (the pump itself decides how often it runs).
            m_done.wait_for(lock, std::chrono::milliseconds(10));
            lock.unlock();
            m_pump->yield();
            lock.lock();
        }
        out = std::move(m_probes.front());
        m_probes.pop_front();
        m_jobs.pop_front();
        m_finished.pop_front();
        ++m_base;
        m_queued.store(qint64(m_jobs.size()), std::memory_order_relaxed);
        if (out.decoded)
            m_reserved.fetch_sub(out.scanned.lineCount(), std::memory_order_relaxed);
        dropFoldersBefore(m_base, toClose);
        // The window moved on: a waiting helper is woken once half of it is
        // free and there is a file to claim.
        wake = m_idle > 0 && m_next < m_base + qint64(m_jobs.size()) && m_base + m_window - m_next >= m_window / 2;
    }
    if (wake)
        m_work.notify_all();
    closeAll(toClose);
    return true;
}

void ScanPool::cancel()
{
    std::unique_lock lock(m_mutex);
    // Jobs being read still use their folder; nothing more is claimed.
    const qint64 claimedEnd = m_next;
    m_jobs.clear();
    m_probes.clear();
    m_finished.clear();
    m_base = m_next = claimedEnd;
    m_queued.store(0, std::memory_order_relaxed);
    m_done.wait(lock, [&] { return m_inFlight == 0; });
    std::vector<int> toClose;
    dropFoldersBefore(std::numeric_limits<qint64>::max(), toClose);
    m_reserved.store(0, std::memory_order_relaxed);
    lock.unlock();
    closeAll(toClose);
}
