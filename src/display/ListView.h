#pragma once

struct Workbench;

// The list view (RTB_Search_Kekka) and the status after a change.
class ListView
{
public:
    static void Build_List_View(Workbench &wb);
    static void Show_Status_Counts(Workbench &wb);
};
