#pragma once

#include <QString>

// State of the two result views that lives for the whole run.
struct DisplayState
{
    // RTF colour header and run prefixes, replaced as a whole by each colour
    // set-up.
    QString RTF_Header;
    QString Color_Table_Line;
    QString Black_Prefix;
    QString File_Name_Prefix;
    QString Line_No_Prefix;
    QString Hit_Prefix;

    // The folder the documents are written in; empty: the user's cache folder
    // (a batch run gives each run a folder of its own).
    QString documentFolder;
    // Where the last list and detail documents were written; the views load
    // from here.
    QString listDocumentPath;
    QString detailDocumentPath;

    // List view caret (character positions, paragraph break = 2).
    qint32 Clicked_Line_Index = 0;
    qint32 Clicked_Caret_Pos = 0;
    qint32 List_Caret_Pos = 0;

    // Detail view.
    QString Detail_Header;
    QString Detail_File_Key;
    qint32 Detail_First = 0;
    qint32 Detail_Last = 0;
    QString detailCacheKey;
    qint16 Range_Only_Flag = 0;
    // The file-list index of the file the detail view shows (-1: none). A
    // header of a long path is cut in the display list, so the file is kept
    // by index beside the header text.
    int detailFileIndex = -1;
};
