#include "settings/FolderChoiceForm.h"

#include "base/Workbench.h"
#include "platform/MessagePort.h"
#include "settings/SearchPath.h"
#include "settings/SettingsIo.h"

#include <QDir>

const QString FolderChoiceForm::kCaption = QStringLiteral("フォルダー履歴からパスを選択");

FolderChoiceForm::Refusal FolderChoiceForm::Check(MessagePort &messages, int index, const QString &folder)
{
    if (index < 0) {
        messages.show(QStringLiteral("フォルダーが選択されていません。"), kCaption, MessagePort::Icon::Question);
        return Refusal::NoSelection;
    }
    if (SearchPath::Change_Folder(folder) == 9) {
        messages.show(QStringLiteral("フォルダーが無効です。（存在を確認して下さい。）"), kCaption,
                      MessagePort::Icon::Critical);
        return Refusal::InvalidFolder;
    }
    return Refusal::None;
}

QString FolderChoiceForm::Take(Workbench &wb, int index)
{
    Settings &s = wb.settings;
    s.DEFAULT_PATH = index;
    const QString entry = s.PATH[size_t(index)];
    // A recorded entry is an absolute folder as the system reported it; an
    // entry edited into the store by hand may not be, and then the folder
    // actually entered is the search folder.
    const QString chosen = QDir::isAbsolutePath(entry) ? QDir::cleanPath(entry) : QDir::currentPath();
    wb.work.Search_Path = chosen;
    SettingsIo::Write_Search_Path(wb);
    wb.status.setText(StatusPanels::kPath, chosen);
    return chosen;
}
