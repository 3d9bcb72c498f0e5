#include "search/SearchRun.h"

#include "app/Workbench.h"

// Placeholder body until the search run is built; replaced as a whole.
void SearchRun::Search_Execute(Workbench &) {}
