#pragma once

#include <QString>

class MessagePort;
struct Settings;
struct Workbench;

// The display-colour dialog without its widgets: the colouring switch
// Color_Set_Flg and the three colours of the result documents. Colours are
// 32-bit values with red in the low byte, then green, then blue.
//
// A colour picked with "設定" is stored in memory at once, whatever button
// closes the dialog afterwards (it reaches the store with the next window
// configuration, at the latest at exit); the switch and the documents' colour
// header change only with "設定完了".
class DisplayColorsForm
{
public:
    static const QString kCaption;  // "表示色設定"
    static const QString kNoTarget; // "設定" without a chosen target

    // The setting a target of the drop-down list stands for: 0 hits
    // (Hit_Color), 1 file headers (File_Name_Color), 2 line numbers
    // (Line_No_Color); null for any other index.
    static qint32 *targetColor(Settings &s, int target);

    // "設定" before the picker: false, with the message shown, when no target
    // is chosen.
    static bool checkTarget(Settings &s, MessagePort &messages, int target);
    // "設定" after the picker: a colour other than the one the picker started
    // from is stored for the target; true when it was.
    static bool storePicked(Settings &s, int target, qint32 before, qint32 picked);

    // "設定完了": the switch, the colour header when colouring is on, and the
    // EXECUTE and WINDOW_CONFIG sections (a store that cannot be written is
    // reported; the choice holds for this run).
    static void Apply(Workbench &wb, bool colouring);

    static qint32 fromRgb(int red, int green, int blue);
    static int Red(qint32 color) { return color & 0xFF; }
    static int Green(qint32 color) { return (color >> 8) & 0xFF; }
    static int Blue(qint32 color) { return (color >> 16) & 0xFF; }
};
