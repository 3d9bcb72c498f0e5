#pragma once

struct Workbench;

// The state CLEAR leaves once the user has agreed, and a template read that
// discards the work area leaves the same: all seven lists empty, both views
// emptied and hidden, the detail cache forgotten, SEARCH and HINAGATA on and
// every command that needs a result off, no result and no unsaved change.
class WorkAreaReset
{
public:
    static void Reset(Workbench &wb);
};
