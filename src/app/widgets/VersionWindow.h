#pragma once

#include "base/widgets/QuavDialog.h"

// "バージョン情報": the program's name and version.
class VersionWindow : public QuavDialog
{
    Q_OBJECT
public:
    explicit VersionWindow(Workbench &wb);
};
