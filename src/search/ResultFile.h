#pragma once

#include "platform/WriteResult.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class WorkArea;

// The result file written after a search when FILE_OUT is 1: every display
// line in order, its first ":@:" replaced by three spaces, each followed by
// CR LF, in code page 932.
class ResultFile
{
public:
    static const QString kCaption; // "サーチ実行"

    static QStringList resultLines(const WorkArea &work);
    // Why a file may not be written in place of `path`: it exists and is not
    // a regular file (a FIFO, a device, a folder; a link counts as what it
    // points to), and writing would replace it. Empty when it may.
    static QString targetProblem(const QString &path);
    // The same lines for a terminal or a pipe: UTF-8, each followed by LF,
    // and every file header's path whole, in the bytes the file has on disk,
    // so that it can be pasted into a shell even when it is not UTF-8. A
    // header that its 83 columns cut is given whole, unfitted (withDateSize:
    // the headers carry the file's time and size).
    static QByteArray shellText(const WorkArea &work, bool withDateSize);
    // Written whole or not at all, by the rules of a save (FileReplacer);
    // not written, with a Japanese reason naming the file, on failure (also
    // when targetProblem refuses the path: nothing is written).
    static WriteResult writeResultFile(const WorkArea &work, const QString &path);
    // The closing message: "<path>へ結果を出力しました。", after a stop
    // preceded by "サーチ実行は中断されました。".
    static QString doneMessage(const QString &path, bool stopped);
};
