#pragma once

#include "platform/TextEncoding.h"

#include <QString>


class RunNotices;
class WorkArea;
struct ScannedFile;
struct WalkFile;

// Takes the files with a hit into the work area, or refuses them with the
// search's own messages (caption "検索"), as far as the run's notices show
// them; the walk goes on either way.
class ResultSink
{
public:
    static const QString kCaption;          // "検索"
    static const QString kAlreadyOpen;      // "上記ファイルは既に開かれています。"
    static const QString kOverflow;         // "Over Flow しました。対象データが多すぎます。"
    static const QString kAdditionStopped;  // "追加は中止しました。"

    ResultSink(WorkArea &work, RunNotices &notices, bool withDateSize);

    // The file's key, and the path shown in both messages: its path as on
    // disk (a name that is not UTF-8 decoded as code page 932).
    static QString keyOf(const WalkFile &file);

    // A file already in the file list (compared exactly).
    bool isOpen(const WalkFile &file) const;
    void refuseDuplicate(const WalkFile &file);
    void refuseOverflow(const WalkFile &file);

    // How many more lines the all-lines store takes (32,700 in all), never
    // more than a 16-bit list holds.
    qint64 lineRoom() const;

    // Adds the file: its path to the file and change lists (with its bytes,
    // size and time as read), all its lines to the all-lines store, its
    // header and hit lines to the display lists.
    // false, with nothing added, when the all-lines store, the display lists
    // or the file list cannot take it: refusing it is the caller's (the store
    // may be emptied first). true when admitted; the entries are then taken
    // over from scanned.
    bool Admit(const WalkFile &file, ScannedFile &scanned, TextEncoding encoding = TextEncoding::Cp932);

    int admitted() const { return m_admitted; }

private:
    WorkArea &m_work;
    RunNotices &m_notices;
    bool m_withDateSize;
    int m_admitted = 0;
};
