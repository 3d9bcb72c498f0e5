#pragma once

#include <QString>

struct Workbench;
struct Settings;

// Reading and writing the five settings sections between the store and the
// Settings variables, as the settings table orders them. A writer writes its
// whole section; when the store cannot be written it returns false with a
// Japanese reason in *error, the settings in memory stay as they are, and the
// user is told through the message port, once in a session.
class SettingsIo
{
public:
    static constexpr qint32 kDefaultWidth = 9600;  // twips
    static constexpr qint32 kDefaultHeight = 7200; // twips
    static const QString kRepairQuestion;
    static const QString kRepairCaption;
    static const QString kNotSaved; // the program runs on with what it has

    // Start-up: reads the store; a store without the program's root key is
    // filled from the import file without asking. A store that exists but
    // cannot be read is never written over: the factory defaults serve in
    // memory. Returns a text for the user when the store could not be read
    // or written (which counts as the session's one report of it).
    static QString openStore(Workbench &wb);
    // Reads the five sections in order; a section that is missing asks the
    // repair question (and this run goes on without its values). Lines of
    // the store that could not be read as written are reported first, with
    // the name of the copy kept of the file.
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
    static Settings loadWithoutQuestions();
};
