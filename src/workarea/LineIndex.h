#pragma once

class WorkArea;
class EventPump;

// The two lookups the views and editors need without scanning the work area:
// the all-lines index of each file's first line (file-list ItemData) and the
// character offset just past each display line (count-list ItemData).
class LineIndex
{
public:
    // Rebuilt from scratch after every change of the work area. Both passes
    // are single forward passes. A file without lines in the store, or files
    // out of order, never make it read past the end: such a file's index
    // points past the last entry.
    static void Build_Line_Index(WorkArea &work, EventPump *pump = nullptr);
};
