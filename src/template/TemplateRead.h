#pragma once

#include "template/TemplateRunPorts.h"
#include "template/TemplateStore.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

class MessagePort;

// Reading template files into the work area: one header and all lines per
// file, no hit lines. A file is built whole in memory before the work area
// is asked to take it, so it joins whole or not at all.
class TemplateRead
{
public:
    static const QString kCaption;        // "雛形読み込み"
    static const QString kAlreadyOpen;    // "同じファイルが既に開かれています。"
    static const QString kNoSelection;    // "リストが選択されていません。"
    static const QString kDiscardQuestion;
    static const QString kOverflow;       // "Over Flow しました。対象データが多すぎます。"
    static const QString kStopped;        // "雛形追加は中止しました。", last line of a refusal
    static const QString kClearWordQuestion;

    enum class Status { Added, Empty, Unreadable, Overflow };
    struct Outcome
    {
        Status status = Status::Unreadable;
        AddedFile file;  // complete when status is Added
        QString message; // for Unreadable and Overflow
        QString skipped; // for Unreadable: "path CR LF reason", a line of a run's summary
    };

    enum class Discard { Keep, Discard, Declined };

    struct Summary
    {
        int added = 0;
        int empty = 0;
        int refused = 0; // unreadable or too large, each reported
    };

    // "ADD____FILE = " + path, filled with spaces to 50 characters (exactly
    // one space when it is 50 or longer), ":@:", the modified time as
    // "YYYY/MM/DD HH:MM:SS", two spaces, the size in bytes and "ﾊﾞｲﾄ".
    static QString templateHeader(const QString &path, const QDateTime &modified, qint64 size);
    // One all-lines entry per line, numbered from 000001.000.
    static QStringList templateEntries(const QString &path, const QStringList &lines);

    // One template from its bytes as read: Empty for a file of no bytes,
    // Overflow when its lines and the storedLines already held would pass
    // the admission limit (32,700 entries), otherwise Added with the file
    // ready to join the work area. Its encoding is decided as the search
    // decides it, by the same choice.
    static Outcome makeTemplate(const QString &path, const QByteArray &bytes, const QDateTime &modified,
                                 qint64 storedLines, EncodingChoice choice = EncodingChoice::Detect);
    // The same, reading the file by its bytes as on disk; its key is the
    // path as shown (NativeName::decodePath). Anything but a readable
    // regular file is Unreadable with the reason (a fifo is never opened,
    // since reading one would wait for a writer); so is a path holding
    // ":@:", which the all-lines format cannot carry.
    static Outcome readTemplate(const QByteArray &nativePath, qint64 storedLines,
                                EncodingChoice choice = EncodingChoice::Detect);

    // The checks before anything changes: a selected file already in the
    // work area refuses the whole read, then an empty selection. false when
    // refused; the refusal has been shown.
    static bool checkSelection(const QStringList &paths, const TemplateStore &store, MessagePort &port);
    // Whether the work area is to be emptied first: asked only when the
    // discard box is ticked and the work area holds a result.
    static Discard askDiscard(bool discardTicked, int resultFlag, MessagePort &port);
    // Reads every selected template in order, by native path, each in the
    // encoding the choice decides. A file that is empty is skipped silently;
    // one that cannot be read or is too large is reported and the others go
    // on, by the window's rule: the first overflow is shown, and one summary
    // at the end counts the rest and names the files that could not be read.
    static Summary readTemplates(const QList<QByteArray> &nativePaths, TemplateStore &store, MessagePort &port,
                                  const TemplateRunPorts &ports = {},
                                  EncodingChoice choice = EncodingChoice::Detect);
    // Asked after a read when a search string is set; true to clear it.
    static bool askClearSearchWord(const QString &searchWord, MessagePort &port);
};
