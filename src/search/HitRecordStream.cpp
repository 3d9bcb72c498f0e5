#include "search/HitRecordStream.h"

#include "search/FileMatchers.h"
#include "search/FolderWalk.h"
#include "search/ScanPool.h"
#include "search/SearchRequest.h"
#include "search/WalkFeed.h"

HitRecordStream::Outcome HitRecordStream::run(const SearchRequest &request, const Records &records,
                                              const Done &done)
{
    Outcome outcome;
    FileMatchers matchers(request);
    FolderWalk walk(request, [&](const QString &reason) { outcome.skipped.append(reason); });
    WalkFeed feed(walk, matchers, ScanPool::Mode::HitRecords);

    feed.listAhead();
    ScanProbe probe;
    ScanPool *pool = feed.pool();
    while (pool && pool->take(probe)) {
        const WalkFile &walked = feed.next();
        const File file{walked, probe.encoding, probe.size, probe.modifiedNsecs};
        if (!probe.readable) {
            outcome.skipped.append(probe.error);
        } else if (probe.hasHit) {
            ++outcome.files;
            records(file, probe.hitLines);
            bool complete = true;
            if (probe.resumeAt >= 0) {
                // The rest of a file with many hits, piece by piece.
                ScanProbe rest = pool->continueLines(walked.nativeDir, walked.nativeName, walked.realPath(), probe,
                                                     [&](QByteArray &piece) {
                                                         records(file, piece);
                                                         piece.clear();
                                                         return true;
                                                     });
                complete = rest.readable;
                if (complete)
                    records(file, rest.hitLines);
                else
                    outcome.skipped.append(rest.error);
            }
            done(file, complete);
        }
        feed.listAhead();
    }
    if (pool)
        pool->cancel();
    return outcome;
}
