#pragma once

#include "search/RunNotices.h"

class EventPump;
class ProgressPort;
class StatusPanels;

// How a template read or duplication run meets the window. Any port may be
// null. With FirstOfEachKind the refusals follow the search's rule: the first
// of each kind is shown, the rest counted, one summary at the end; `stop`,
// when set between two files (the dialog's cancel button), ends the run
// there, and what was added so far stays.
struct TemplateRunPorts
{
    ProgressPort *progress = nullptr;
    EventPump *pump = nullptr;
    StatusPanels *status = nullptr;
    RunNotices::Boxes boxes = RunNotices::Boxes::Every;
    const bool *stop = nullptr;

    bool stopped() const { return stop && *stop; }
};
