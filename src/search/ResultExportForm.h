#pragma once

#include "platform/WriteResult.h"

#include <QString>

struct Workbench;
class WorkArea;

// The result-export dialog without its widgets: the automatic-saving switch
// FILE_OUT, the output path FILE_OUT_NAME, and writing the display lines to
// that file in the result file's format.
//
// The rules are narrower than the dialog suggests: FILE_OUT changes only
// through the apply button, FILE_OUT_NAME only through the output button with
// the default box ticked, and the output button writes only while FILE_OUT is
// 1 and only ever to FILE_OUT_NAME. So that the dialog never closes as if it
// had written, the output button always says which file it wrote, or that it
// wrote nothing and why.
class ResultExportForm
{
public:
    static const QString kCaption;  // "検索結果の保存"
    static const QString kNoPath;   // the output button with an empty path
    static const QString kNoData;   // nothing to write
    static const QString kNotWritten; // automatic saving off: nothing written

    // The apply button: FILE_OUT from the automatic-saving box, EXECUTE written
    // (a store that cannot be written is reported; the switch holds for this run).
    static void applyFileOut(Workbench &wb, bool automatic);

    enum class Outcome {
        Refused,       // empty path: reported, the dialog stays open
        Stored,        // FILE_OUT is 0: settings stored, nothing written (reported)
        NoData,       // reported: nothing to write, the dialog closes
        Written,       // the file was replaced whole (reported with its path)
        WriteFailed,  // the file is as it was; the caller shows file.error
    };
    struct Result
    {
        Outcome outcome = Outcome::Refused;
        WriteResult file;
        bool closesDialog() const { return outcome == Outcome::Stored || outcome == Outcome::NoData || outcome == Outcome::Written; }
    };
    // The output button with the path box's text and the default box.
    static Result Output(Workbench &wb, const QString &typedPath, bool makeDefault);

    // The display lines written to path by the same writer as the result file
    // of a search run. The work area is only read.
    static WriteResult Export(const WorkArea &work, const QString &path);

    // What the browse button puts into the path box: the chosen name, or
    // FILE_OUT_NAME when the save dialog was cancelled (picked empty); nothing
    // when both are empty.
    static QString browseResult(const QString &picked, const QString &fileOutName);
};
