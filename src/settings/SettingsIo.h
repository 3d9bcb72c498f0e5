#pragma once

#include <QString>

struct Workbench;
struct Settings;

// Reading and writing the five settings sections between the store and the
// Settings variables. Writers write their whole section in a fixed order and
// return false with a Japanese reason in *error when the store file cannot be
// written (the settings in memory stay as they are).
class SettingsIo
{
public:
    static constexpr qint32 kDefaultWidth = 9600;  // twips
    static constexpr qint32 kDefaultHeight = 7200; // twips
    static const QString kRepairQuestion;
    static const QString kRepairCaption;

    // Reads the five sections in order; a section that is missing asks the
    // repair question (and this run goes on without its values).
    static void Load_Settings(Workbench &wb);
    // Asks whether to repair the store; on Yes merges the import file into it.
    static void Repair_Settings(Workbench &wb);
    // Reads the stored geometry into FORM_X, FORM_Y, Width, Height and the
    // remembered geometry; without a WINDOW_CONFIG section (or with a window
    // too small to use) the default placement 0, 0, 9600 x 7200 twips.
    // true when the stored geometry was used.
    static bool Restore_Window(Workbench &wb);
    static bool Write_Execute(Workbench &wb, QString *error = nullptr);
    static bool Write_Search_Data(Workbench &wb, QString *error = nullptr);
    static bool Write_Search_Path(Workbench &wb, QString *error = nullptr);
    static bool Write_Search_Sikibetu(Workbench &wb, QString *error = nullptr);
    // Geometry in twips is taken from the Settings variables FORM_X, FORM_Y,
    // Width, Height, which the caller refreshes from the window first.
    static bool Write_Window_Config(Workbench &wb, QString *error = nullptr);

    // For the batch search: the settings as the window would load them at
    // start-up (the store, or the factory defaults when there is none), with
    // no question asked and nothing written.
    static Settings Load_Without_Questions(const QString &startDir);
};
