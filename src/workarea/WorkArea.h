#pragma once

#include "workarea/ItemList.h"

#include <QString>

// The single in-memory store of everything the user works on: seven lists and
// the state shared by every subsystem. Nothing of it is persisted.
//
// Invariants every writer keeps:
//  - Search_Hit_File_Change is parallel to Search_Hit_File_List;
//  - Mojisuu_Count_List is parallel to Search_Hit_List;
//  - files stand in the all-lines store in file-list order, each contiguous;
//  - a file is at most once in the file list (compared without case);
//  - ItemData of the file list and the count list (the line index) is valid
//    only after Build_Line_Index.
class WorkArea
{
public:
    static constexpr int kAdmissionLimit = 32700;

    ItemList Search_Hit_File_List{true};     // path as on disk; data = first line index
    ItemList Search_Hit_File_Change{true};   // same path; data = change flag
    ItemList Search_Hit_All_Line_List{true}; // KEY:@:000012.000:@:text
    ItemList Search_Hit_List{false};         // display lines; data = byte length
    ItemList Mojisuu_Count_List{false};      // char count text; data = running total
    ItemList Search_List{false};             // scan buffer
    ItemList Sort_List{true};                // spare

    QString Search_Word;
    qint16 Compare_Mode = 0;   // 0 = case-sensitive, 1 = ignore case
    qint16 Search_Running = 0; // 1 while a search may go on
    QString Search_Path;       // root folder of the search
    QString Current_Dir;       // folder being scanned, with a trailing "/"
    QString Search_Sikibetu;
    qint16 Result_Flag = 0;
    qint16 Hozon_Flag = 0;

    // 1 when some file-list item equals path without regard to case.
    int Is_File_Open(const QString &path) const;
    // Adds a path to the file list and the change list (flag 0) at the same
    // sorted place. Its index, or -1 when the lists are full.
    int Add_File(const QString &path);
    // Whether a file of `lines` lines may join the all-lines store.
    bool Admits(qint64 lines) const;

    // Fits a display text and appends it with its byte length, and its
    // character count to Mojisuu_Count_List. false (nothing added) when the
    // display lists are full. A file header also keeps its file's full key
    // (taken from the text before fitting) beside the display line, since
    // fitting to 83 columns cuts a long path.
    bool Append_Display_Line(const QString &text);
    // The full key kept beside display line i when it was appended as a file
    // header; empty for other lines or where a writer stored the line directly.
    QString Header_File_Key(int i) const;
    // Whether n more display lines fit.
    bool Display_Room(int n) const;

    // File list, display list, all-lines store, counts and change list.
    void Clear_Results();
    // All seven lists.
    void Clear_All();

    // The key of file i: its path in upper case.
    QString File_Key(int i) const;
};
