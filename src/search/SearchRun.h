#pragma once

struct Workbench;

// The search run: walks Search_Path (and its subfolders on request), scans
// every file with a chosen identifier and fills the work area.
class SearchRun
{
public:
    // The whole run, as started by the search settings dialog after it has set
    // Search_Word, Compare_Mode, Search_Running = 1, Search_Path and
    // Current_Dir. Messages go through the workbench's message port.
    static void Search_Execute(Workbench &wb);
};
