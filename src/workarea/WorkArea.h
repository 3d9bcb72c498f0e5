#pragma once

#include "platform/TextEncoding.h"
#include "workarea/ItemList.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Where a file of the work area came from on disk, as it was when it was
// read: the save writes it back by these bytes and takes a different size or
// modification time as a change made by someone else.
struct FileOrigin
{
    QByteArray nativePath;  // the path's bytes as on disk; empty: the key's UTF-8 form
    qint64 size = -1;       // bytes; -1: not read from disk (a file made in memory)
    qint64 modifiedNsecs = -1; // modification time, nanoseconds since 1970; -1: as size
    // Decided when the file was read; every later read or write of it uses it.
    TextEncoding encoding = TextEncoding::Cp932;
    // The bytes the file's lines were read from, where no file on disk keeps
    // them for the save: a template as it was read (what duplication copies),
    // a made file's template. Empty otherwise, and once the file is saved.
    QByteArray sourceBytes{};
};

// The single in-memory store of everything the user works on: seven lists and
// the state shared by every subsystem. Nothing of it is persisted.
//
// The lists are read through the accessors of their own names and written
// only through the operations below, each of which keeps these invariants
// or refuses with nothing changed:
//  - Search_Hit_File_Change is parallel to Search_Hit_File_List;
//  - Mojisuu_Count_List is parallel to Search_Hit_List;
//  - files stand in the all-lines store in file-list order, each contiguous;
//  - fileOrigins is parallel to Search_Hit_File_List as well;
//  - a file is at most once in the file list; keys are paths exactly as on
//    disk and compare exactly (A.TXT and a.txt are two files);
//  - ItemData of the file list and the count list (the line index) is valid
//    only after Build_Line_Index.
class WorkArea
{
public:
    static constexpr int kAdmissionLimit = 32700;

    const ItemList &Search_Hit_File_List() const { return m_fileList; }       // path as on disk; data = first line index
    const ItemList &Search_Hit_File_Change() const { return m_changeList; }   // same path; data = change flag
    const ItemList &Search_Hit_All_Line_List() const { return m_allLines; }   // KEY:@:000012.000:@:text
    const ItemList &Search_Hit_List() const { return m_hitList; }             // display lines; data = byte length
    const ItemList &Mojisuu_Count_List() const { return m_countList; }        // char count text; data = running total
    const ItemList &Search_List() const { return m_searchList; }              // scan buffer
    const ItemList &Sort_List() const { return m_sortList; }                  // spare
    const QList<FileOrigin> &fileOrigins() const { return m_origins; } // item i: where file i was read from

    QString Search_Word;
    qint16 Compare_Mode = 0;   // 0 = case-sensitive, 1 = ignore case
    qint16 Search_Running = 0; // 1 while a search may go on
    QString Search_Path;       // root folder of the search
    // Search_Path's bytes on disk where they were given as bytes (a folder
    // named on the command line); the walk takes them only while they still
    // show as Search_Path.
    QByteArray Search_Path_Native;
    QString Current_Dir;       // folder being scanned, with a trailing "/"
    QString Search_Sikibetu;
    // Written only by the operations below, which keep them true to the lists.
    qint16 Result_Flag = 0;
    qint16 Hozon_Flag = 0;

    // 1 when some file-list item equals path exactly.
    int Is_File_Open(const QString &path) const;
    // Admits a file as a search or a template read finds it: its display
    // lines (its header first, fitted, the header keeping key beside it) at
    // the end of the display lists; key in the file and change lists at its
    // sorted place, with origin and the change flag (a set flag sets
    // Hozon_Flag); its entries, taken over, as one run of the all-lines
    // store. The entries are all of key, in the store's order, at least one.
    // The file's index, or -1 with nothing changed when the file is open
    // already, the lists have no room or the lines are not the file's. The
    // line index is left to Build_Line_Index, which a run of admissions
    // calls once.
    int admitFile(const QString &key, const FileOrigin &origin, const QStringList &displayLines,
                   QStringList &&entries, bool changed = false);
    // The bytes file i is opened and saved by: the bytes it was read from,
    // else its key's UTF-8 form.
    QByteArray nativePath(int i) const;
    // The encoding file i was read in; code page 932 for no such file.
    TextEncoding encodingOf(int i) const;
    // Whether a file of `lines` lines may join the all-lines store.
    bool Admits(qint64 lines) const;

    // Fits a display text and appends it with its byte length, and its
    // character count to Mojisuu_Count_List (the column heading, a line of a
    // display block). false (nothing added) when the display lists are full
    // or text is a file header: a header comes in with its file (admitFile).
    bool appendDisplayLine(const QString &text);
    // The full key kept beside display line i when it was appended as a file
    // header; empty for other lines.
    QString headerFileKey(int i) const;
    // Whether n more display lines fit.
    bool displayRoom(int n) const;

    // File list, display list, all-lines store, counts and change list.
    void clearResults();
    // All seven lists; with them go the result and every unsaved change
    // (Result_Flag and Hozon_Flag := 0).
    void clearAll();
    // Result_Flag := 1 when the display list holds more than its column
    // header; else it keeps its value (a run that added nothing).
    void noteResultLines();
    // Result_Flag := 1 when the display list holds more than its column
    // header, else 0 (after lines were taken out).
    void recomputeResultFlag();
    // The scan buffer, emptied after each file a search has looked at.
    void clearScanBuffer();
    // Where file i is on disk now, after it was written: its size in bytes
    // and modification time in nanoseconds (the path stays).
    void keepFileStamp(int i, qint64 size, qint64 modifiedNsecs);

    // The key of file i: its path exactly as on disk (as shown).
    QString File_Key(int i) const;

    // ---- Edits (WorkAreaEdits.cpp) ----------------------------------------
    // The named operations through which replace, the line editor, sort and
    // deselect change the lists. Each keeps every invariant above, the line
    // index included, so the lists are consistent after every call; each
    // refuses (false, nothing changed) what would break one. They expect the
    // line index to be valid when called, as every writer leaves it.

    // An inclusive range of list indexes; empty when last < first.
    struct Range
    {
        int first = 0;
        int last = -1;
        bool isEmpty() const { return last < first; }
        int size() const { return isEmpty() ? 0 : last - first + 1; }
    };
    // A new text for the display line at index.
    struct DisplayText
    {
        int index = 0;
        QString text;
    };

    // The stored lines of file i, by the line index.
    Range fileLineRange(int file) const;
    // The key the stored lines of file i begin with, as the store holds it.
    QString storedKey(int file) const;
    // The file whose header is display line k, or -1. By the full key kept
    // beside the header; where none was kept, by the header's own text when
    // it is whole, or the one file whose key begins with a cut header's path.
    // Never guesses between two files.
    int headerFileIndex(int k) const;
    // Each file's display block (its header and the hit lines after it), by
    // file-list index; empty for a file without a header. One pass.
    QList<Range> fileDisplayBlocks() const;

    // An all-lines entry rewritten where it stands. Its key and line number
    // (everything up to its second ":@:") must stay as they are.
    bool replaceStoredLine(int index, const QString &entry);
    // Display lines rewritten where they stand: each text is fitted, its byte
    // length and character count stored, and the running totals follow. A
    // file header stays a header with its kept key, and a hit line cannot
    // become one.
    bool replaceDisplayLines(const QList<DisplayText> &lines);
    bool replaceDisplayLine(int index, const QString &text) { return replaceDisplayLines({{index, text}}); }
    // All stored lines of file i replaced by entries, in the same place: at
    // least one entry, each with the file's storedKey, in the store's order
    // (line numbers rising); the store may not pass the admission limit by it.
    bool replaceFileLines(int file, QStringList entries);
    // Deselect: file i leaves every list (its stored lines, its display
    // block with the counts, its file-list and change-list items); the other
    // files keep their order and Hozon_Flag is recomputed.
    bool dropFile(int file);
    // The change flag of file i; Hozon_Flag follows.
    void setFileChanged(int file, bool changed);
    // Hozon_Flag := 1 when some file's change flag is set, else 0.
    void recomputeHozonFlag();

    // Every broken invariant, one text each; empty when the lists are
    // consistent: parallel lists, fitted display lines with their counts and
    // running totals, the column heading first, one header per file, each
    // file once, its stored lines contiguous, in file-list order and in line
    // order, and the line index pointing at them.
    QStringList invariantErrors() const;

private:
    friend class LineIndex;
    // Tests that build broken states on purpose (tests/support).
    friend struct WorkAreaTestAccess;

    // Adds a path to the file list and the change list (flag 0) at the same
    // sorted place, and its origin at that place in the origin list. Its
    // index, or -1 when the lists are full.
    int Add_File(const QString &path, const FileOrigin &origin = {});
    // Takes file i out of the file, change and origin lists.
    void removeFile(int i);
    // Whether entries can be one file's run in the store: at least one, all
    // of key, in the store's order.
    static bool isRunOf(const QString &key, const QStringList &entries);
    // appendDisplayLine for any text. A file header also keeps its file's
    // full key beside the display line, since fitting to 83 columns cuts a
    // long path: fileKey, or else the key taken from the text before fitting
    // (which cannot tell a path's trailing spaces from the header's fill).
    bool appendAnyDisplayLine(const QString &text, const QString &fileKey = QString());

    // Running totals of the character counts from display line `from` on.
    void refreshTotals(int from);
    // Adds delta to the first-line index of the files after `file`.
    void shiftFileStarts(int file, int delta);

    ItemList m_fileList{true};
    ItemList m_changeList{true};
    ItemList m_allLines{true};
    ItemList m_hitList{false};
    ItemList m_countList{false};
    ItemList m_searchList{false};
    ItemList m_sortList{true};
    QList<FileOrigin> m_origins;
};
