#pragma once

#include "template/TemplateRunPorts.h"
#include "template/TemplateStore.h"

#include <QString>
#include <QStringList>

#include <functional>

class MessagePort;

// TextReplace::ReplaceInLine, or a stand-in with its contract.
using ReplaceInLineFunction =
    std::function<int(qint16 kind, qint16 method, QString &line, const QString &search, qint16 compare,
                      const QString &replacement, QString &output, qint16 &changed)>;

// Template duplication: for every parameter and every chosen source file of
// the work area, a new file whose name carries the parameter and whose lines
// are the source's with the search text replaced by it. The new files live
// in the work area, changed and unsaved.
class TemplateDuplication
{
public:
    static const QString kCaption;          // "雛形複製"
    static const QString kLineErrorCaption; // "雛形複製処理"
    static const QString kNoParameters;     // "複製のためのパラメータが設定されていません。"
    static const QString kNoSource;         // "対象ファイルが選択されていません。"
    static const QString kNoSearchText;     // "検索文字列が設定されていません。"
    static const QString kOneSourceOnly;    // the refusal of pattern 3 with other than one source
    static const QString kAlreadyOpen;      // N CR LF this
    static const QString kOverflow;         // S を P this
    static const QString kLineError;        // "実行時のエラーを検出しました。" CR LF "複製失敗"

    // The name patterns, numbered as the pattern combo's items carry them.
    enum Pattern { BeforeExtension = 1, AfterName = 2, ParameterOnly = 3 };
    // The combo's items in order: "＊＿＃＃＃．＊", "＊．＊＿＃＃＃", "＃＃＃".
    static QStringList patternItems();

    // The new full name for source S and parameter P, both used unchanged:
    //  1: P before the extension, "_" joining: /t/FORM.TXT -> /t/FORM_P.TXT;
    //     the extension is the file name's last "." on, so a dot in a folder
    //     name is never taken, and a name without one is treated as 2;
    //  2: "_" and P after the whole name: /t/FORM.TXT -> /t/FORM.TXT_P;
    //  3: a file named P in S's folder: /t/FORM.TXT -> /t/P.
    static QString newFileName(const QString &source, const QString &parameter, int pattern);

    // The bytes a made file is saved by: the source's folder as the source
    // is on disk, then the new name in the encoding of the source's name
    // (code page 932 when that is not UTF-8, as names unpacked from old
    // archives often are). Empty when that is the new path's UTF-8 form.
    static QByteArray newNativePath(const QByteArray &sourceNative, const QString &newPath);

    // "MAKE___FILE = " + N + ":@: <-- " + S, no fill, no date.
    static QString madeHeader(const QString &newPath, const QString &source);

    // The command's test before the dialog opens; false, refused, when there
    // are no parameters.
    static bool checkOpen(int paramCount, MessagePort &port);
    // The run's refusals, in order: no source, no search text, pattern 3
    // with other than exactly one source. false when refused.
    static bool checkRun(int selectedSources, const QString &searchText, int pattern, MessagePort &port);

    enum class Status { Made, AlreadyOpen, Overflow, Unsavable };
    struct Made
    {
        Status status = Status::Made;
        AddedFile file;     // complete when Made: change flag set, the source's bytes
        QString message;    // for the refusals, naming the new file
        int lineErrors = 0; // lines the replace routine refused, left out
    };

    // One new file from one source and one parameter, not yet added: refused
    // when its name is already in the work area, when its lines would take
    // the all-lines store past the admission limit (32,700 entries), or when
    // the parameter has characters without a code page 932 form and the
    // source is a Shift-JIS file or has a name that is not UTF-8 (the new
    // name is then written in code page 932); a UTF source with a UTF-8 name
    // takes every character.
    // Letter case is significant in the search; a parameter as long as the
    // search text overwrites in place, another length splices.
    static Made Make_File_Seisei(const QString &parameter, const QString &searchText, const QString &source,
                                 int pattern, const TemplateStore &store, const ReplaceInLineFunction &replace);

    struct Summary
    {
        bool refused = false; // a check of checkRun failed; nothing tried
        int made = 0;
        int alreadyOpen = 0;
        int overflow = 0;
        int unsavable = 0;
        QStringList newPaths; // the files made, in order of making
    };

    // The run: checkRun, then every parameter in order and, within it,
    // every source in order. A refused combination is reported (by the rule
    // of ports.boxes; an unsavable one in the closing summary, or each in a
    // box with Boxes::Every) and the run goes on; each made file joins the work
    // area (and its line index) before the next is made, so a later source
    // may be a file made earlier. A stop ends it between two combinations.
    static Summary Run(const QStringList &parameters, const QStringList &sources, const QString &searchText,
                       int pattern, TemplateStore &store, MessagePort &port, const ReplaceInLineFunction &replace,
                       const TemplateRunPorts &ports = {});

    // The replace routine of the editing commands, which every run but a
    // test's uses.
    static ReplaceInLineFunction lineReplacer();
};
