#pragma once

#include <QString>

class MessagePort;
struct Workbench;

// The choice of "フォルダー履歴からパスを選択" without its widgets: checks the
// entry chosen, enters it and makes it the search folder.
class FolderChoiceForm
{
public:
    static const QString kCaption; // "フォルダー履歴からパスを選択"

    enum class Refusal { None, NoSelection, InvalidFolder };

    // `index` is the history entry chosen (-1: none) and `folder` the folder
    // its line shows. Enters the folder; a refusal has been said through the
    // message port.
    static Refusal Check(MessagePort &messages, int index, const QString &folder);
    // After Check: makes entry `index` the default and its folder the search
    // folder, writes the SEARCH_PATH section and returns the folder.
    static QString Take(Workbench &wb, int index);
};
