#pragma once

#include "base/DuplicationParameters.h"
#include "workarea/ItemList.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct Workbench;
class MessagePort;

// The parameter dialog's working copy of the parameter list (its sorted image
// list): read from parameter cards, added to, deleted from, and committed to
// DuplicationParameters. Refusals are shown through the message port with the
// caption kCaption and leave the images as they were.
class ParameterForm
{
public:
    static const QString kCaption; // "複製用パラメータ読み込み", of every message
    static const QString kCancelCaption;   // "キャンセル"
    static const QString kCompleteCaption; // "設定完了"
    static const QString kNoSelection;     // "リストが選択されていません。"
    static const QString kCardTooLong;     // "パラメータは１００枚までです。以降のイメージは読み捨てました。"
    static const QString kNothingTyped;    // "追加イメージが入力されていません。"
    static const QString kImageDuplicate;  // "パラメータイメージが重複しています。"
    static const QString kNothingChosen;   // "パラメータイメージリストが選択されていません。"
    static const QString kTooMany;         // "パラメータの数が多すぎます。MAX100まで！"
    static const QString kEmptyImage;      // "パラメータにスペースは使えません。"
    static const QString kDuplicate;       // "パラメータが重複しています。"

    // The images start as the committed list.
    explicit ParameterForm(const DuplicationParameters &committed);

    QStringList images() const { return m_images.texts(); }
    int count() const { return m_images.count(); }
    // The commit button's caption: kCompleteCaption once a read, add or
    // delete has succeeded, kCancelCaption before. Both commit.
    QString commitCaption() const { return m_changed ? kCompleteCaption : kCancelCaption; }

    // The lines of a parameter card, each unchanged (blanks and empty lines
    // kept), at most 100 of them; *cut tells whether lines were left unread.
    // An empty card has no lines.
    static QStringList cardLines(const QByteArray &bytes, bool *cut = nullptr);

    // Adds the lines of the card at the native path (empty: nothing was
    // selected) to the images, without any test of their own. A card that
    // cannot be read is reported and nothing is added.
    bool readCard(const QByteArray &nativePath, MessagePort &port);
    // A path typed or stored as text.
    bool readCard(const QString &path, MessagePort &port);
    // Adds one typed value. Its leading and trailing spaces (half-width and
    // full-width, not tabs) are trimmed in place, as the text box then shows
    // it; an empty value, one with a line break (an image is one line of a
    // card) and one already among the images are refused. A character
    // without a code page 932 form is taken: only a Shift-JIS template
    // refuses it, when a duplicate is made.
    bool Add(QString &typed, MessagePort &port);
    // Removes the images at the given rows.
    bool Delete(const QList<int> &rows, MessagePort &port);

    // The checks of a commit, then the images become the parameters. An
    // empty image list commits an empty parameter list. false, with the
    // parameters unchanged and the refusal shown, when a check fails.
    bool Commit(DuplicationParameters &parameters, MessagePort &port) const;
    // The dialog's commit: Commit to the workbench's parameters, then
    // Param_Count and the duplication command follow them.
    bool commitTo(Workbench &wb) const;

    // Why a value cannot stand in a file name, or empty when it can: a
    // value holding "/" or NUL, or equal to "." or "..", would name a file
    // in another folder or none, and one holding ":@:" could not be the key
    // of a file in the work area.
    static QString unusableInFileName(const QString &value);

private:
    ItemList m_images{true};
    bool m_changed = false;
};
