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

    static QStringList Result_Lines(const WorkArea &work);
    // Written whole or not at all.
    static WriteResult Write_Result_File(const WorkArea &work, const QString &path);
    // The closing message: "<path>へ結果を出力しました。", after a stop
    // preceded by "サーチ実行は中断されました。".
    static QString Done_Message(const QString &path, bool stopped);
};
