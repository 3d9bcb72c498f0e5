#include "display/ListView.h"

#include "app/Workbench.h"

// Placeholder bodies until the list view is built; replaced as a whole.
void ListView::Build_List_View(Workbench &) {}
void ListView::Show_Status_Counts(Workbench &) {}
