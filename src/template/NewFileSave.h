#pragma once

#include "edit/FileSave.h"

class WorkArea;

// Writing a file made by duplication (never read from disk) from the work
// area: a new file, so a name already taken on disk comes back as
// AlreadyExists unless the caller has the user's leave to replace it.
// Without a batch the file is a batch of its own in the undo journal.
class NewFileSave
{
public:
    static SaveResult saveNewFile(const WorkArea &work, int fileIndex, bool overwriteAgreed,
                                  SaveBatch *batch = nullptr);
};
