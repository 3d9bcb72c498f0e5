#pragma once

#include "base/Workbench.h"
#include "search/SearchRequest.h"

// The search a workbench's settings and work area describe, for tests that
// set those up as the search dialog leaves them.
inline SearchRequest storedRequest(const Workbench &wb)
{
    const Settings &s = wb.settings;
    SearchRequest r;
    r.word = wb.work.Search_Word;
    r.ignoreCase = wb.work.Compare_Mode == 1;
    r.root = wb.work.Search_Path;
    r.nativeRoot = wb.work.Search_Path_Native;
    r.identifiers = s.SIKIBETU_ALL_FLG == 1 ? SearchRequest::listed(s.SIKIBETU) : QStringList{wb.work.Search_Sikibetu};
    r.subDirs = s.SUB_DIR_FLG == 1;
    r.timestamps = s.FILE_NAME_DISP == 1;
    r.resultFile = s.FILE_OUT == 1;
    r.resultFileName = s.FILE_OUT_NAME;
    r.encoding = s.encodingChoice();
    return r;
}
