#pragma once

#include "platform/TextEncoding.h"

#include <QString>

#include <array>

// Every persistent setting, one variable per stored value, named after it.
// Read once at start-up; from then on these variables are the truth and each
// dialog writes back its whole section when the user commits.
struct Settings
{
    // SEARCH_DATA
    qint32 DEFAULT_DATA = 0;
    std::array<QString, 10> DATA; // search history, 0 newest
    // SEARCH_PATH
    qint32 DEFAULT_PATH = 0;
    std::array<QString, 10> PATH; // folder history
    // SEARCH_SIKIBETU
    qint32 DEFAULT_SIKIBETU = 0;
    qint32 SIKIBETU_ALL_FLG = 0;
    static constexpr size_t kIdentifiers = 20; // the most identifiers a search takes
    std::array<QString, kIdentifiers> SIKIBETU; // identifiers, upper case, compacted
    // WINDOW_CONFIG (geometry in twips; colours red in the low byte)
    qint32 FORM_X = 0, FORM_Y = 0, Width = 0, Height = 0;
    qint32 Hit_Color = 0, File_Name_Color = 0, Line_No_Color = 0;
    qint32 S_Bar = 0, T_Bar = 0;
    qint32 FORM_MAX = 0, FORM_MIN = 0;
    // EXECUTE
    qint32 FILE_OUT = 0;
    QString FILE_OUT_NAME;
    qint32 FILE_NAME_DISP = 0;
    qint32 SUB_DIR_FLG = 0;
    qint32 VDT_FOLLOW = 0;
    qint32 VDT_INTERVAL_TIME = 0; // seconds
    qint32 Color_Set_Flg = 0;
    QString EDITOR;
    QString ENCODING = QStringLiteral("auto"); // "auto": detected per file; "cp932": every file as code page 932

    EncodingChoice encodingChoice() const
    {
        EncodingChoice choice = EncodingChoice::Detect;
        TextEncodings::parseChoice(ENCODING, &choice);
        return choice;
    }
    // The undo journal of saves: 1 keeps one (the default), 0 saves without
    // undo; batches older than UNDO_DAYS days, and the oldest beyond UNDO_MB
    // mebibytes in all, are pruned.
    qint32 UNDO_FLG = 1;
    qint32 UNDO_DAYS = 30;
    qint32 UNDO_MB = 1024;
};
