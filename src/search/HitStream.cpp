#include "search/HitStream.h"

#include "search/BatchCommandLine.h"
#include "search/FileMatchers.h"
#include "search/FolderWalk.h"
#include "search/ScanPool.h"
#include "search/SearchRequest.h"
#include "search/WalkFeed.h"

namespace {

// Written in blocks without a flush each: the caller flushes once at the end.
class Output
{
public:
    explicit Output(std::FILE *out) : m_out(out) {}
    bool put(QByteArrayView bytes)
    {
        if (!m_error.isEmpty())
            return false;
        if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_out) != size_t(bytes.size()))
            m_error = BatchOutput::standardOutputError();
        return m_error.isEmpty();
    }
    const QString &error() const { return m_error; }
    QString finish()
    {
        if (m_error.isEmpty() && (std::fflush(m_out) != 0 || std::ferror(m_out)))
            m_error = BatchOutput::standardOutputError();
        return m_error;
    }

private:
    std::FILE *m_out;
    QString m_error;
};

} // namespace

HitStream::Outcome HitStream::run(const SearchRequest &request, What what, std::FILE *out)
{
    Outcome outcome;
    FileMatchers matchers(request);
    FolderWalk walk(request, [&](const QString &reason) { outcome.skipped.append(reason); });
    const ScanPool::Mode mode = what == What::Files ? ScanPool::Mode::FirstHit : ScanPool::Mode::HitLines;
    WalkFeed feed(walk, matchers, mode);
    Output output(out);

    const auto write = [&](QByteArray &text) {
        const bool taken = output.put(text);
        text.clear();
        return taken;
    };
    feed.listAhead();
    ScanProbe probe;
    ScanPool *pool = feed.pool();
    while (pool && pool->take(probe)) {
        const WalkFile &file = feed.next();
        if (!probe.readable) {
            outcome.skipped.append(probe.error);
        } else if (probe.hasHit) {
            ++outcome.files;
            if (what == What::Files) {
                output.put(file.nativeDir) && output.put(file.nativeName) && output.put("\n");
            } else if (write(probe.hitLines) && probe.resumeAt >= 0) {
                ScanProbe rest = pool->continueLines(file.nativeDir, file.nativeName, file.realPath(), probe, write);
                if (!rest.readable)
                    outcome.skipped.append(rest.error);
                write(rest.hitLines);
            }
        }
        if (!output.error().isEmpty())
            break; // a closed pipe or a full disk: nothing more can be told
        feed.listAhead();
    }
    if (pool)
        pool->cancel();
    outcome.outputError = output.finish();
    return outcome;
}
