#include "template/NewFileSave.h"

#include "edit/SaveForm.h"
#include "workarea/WorkArea.h"

SaveResult NewFileSave::saveNewFile(const WorkArea &work, int fileIndex, bool overwriteAgreed, SaveBatch *batch)
{
    QStringList entries;
    SaveRequest request = SaveForm::requestFor(work, fileIndex, entries);
    // Never read from disk: whatever stands under its name is another file.
    request.readStamp.reset();
    request.overwriteAgreed = overwriteAgreed;
    request.batch = batch;
    return FileSave::save(request);
}
