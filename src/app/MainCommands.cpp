#include "app/MainCommands.h"

#include "base/ViewFrame.h"
#include "base/Workbench.h"
#include "display/ListView.h"
#include "platform/MessagePort.h"
#include "settings/SearchPath.h"
#include "settings/SettingsIo.h"
#include "settings/SettingsStore.h"
#include "workarea/LineFormat.h"

#include <QDir>

const QString MainCommands::kVersionCaption = QStringLiteral("バージョン情報");
const QString MainCommands::kVersionText = QStringLiteral("ＱＵＡＶ　Ver1.2");
const QString MainCommands::kNoParameters = QStringLiteral("複製のためのパラメータが設定されていません。");
const QString MainCommands::kFukuseiCaption = QStringLiteral("雛形複製");

QString MainCommands::Startup(Workbench &wb, const QString &startDir)
{
    QString error;
    wb.Start_Dir = startDir.endsWith(QLatin1Char('/')) ? startDir : startDir + QLatin1Char('/');

    // A store without the program's root key (first start, or a file that
    // was lost) is filled from the import file without asking.
    if (wb.store) {
        QString loadError;
        if (!wb.store->load(&loadError))
            error = loadError;
        if (!wb.store->rootExists() && !wb.store->importInstallFile(wb.Start_Dir, &error)) {
            // The defaults are in memory even when the folder cannot be
            // written: the program runs with them.
        }
    }
    SettingsIo::Restore_Window(wb);
    SettingsIo::Load_Settings(wb);

    const qint32 last = wb.settings.DEFAULT_PATH;
    if (last >= 0 && last < 10 && !wb.settings.PATH[size_t(last)].isEmpty())
        SearchPath::Change_Folder(wb.settings.PATH[size_t(last)]);
    wb.work.Search_Path = SearchPath::Current_Directory();
    if (wb.work.Search_Path.isEmpty())
        wb.work.Search_Path = QDir::currentPath();

    wb.status.setText(StatusPanels::kSearch, QStringLiteral("Initial"));
    wb.status.setText(StatusPanels::kPath, wb.work.Search_Path);
    wb.status.setText(StatusPanels::kWord, QStringLiteral("未設定"));
    wb.status.setText(StatusPanels::kHitSu, QStringLiteral("未実行"));

    wb.work.Result_Flag = 0;
    wb.board.Apply_Startup();

    wb.Param_Count = 0;
    wb.work.Hozon_Flag = 0;
    return error;
}

void MainCommands::Activate(Workbench &wb, bool listViewShown)
{
    wb.board.setEnabled(Command::HINA_FUKUSEI, wb.Param_Count >= 1);
    if (wb.work.Result_Flag != 0) {
        if (!listViewShown) {
            wb.board.setEnabled(Command::UPDATE, true);
            wb.board.setEnabled(Command::SORT, LineFormat::isAddedFileHeader(wb.display.Detail_Header));
        } else {
            wb.board.disable({Command::UPDATE, Command::SORT});
        }
    }
}

bool MainCommands::Toggle_Tool_Bar(Workbench &wb, ViewFrame &frame, bool checked, QString *error)
{
    if (checked) {
        frame.top = 0;
        frame.height += ViewFrame::kToolbarTwips;
        wb.settings.T_Bar = 0;
    } else {
        frame.top = ViewFrame::kToolbarTwips;
        frame.height -= ViewFrame::kToolbarTwips;
        wb.settings.T_Bar = 1;
    }
    SettingsIo::Write_Window_Config(wb, error);
    return !checked;
}

bool MainCommands::Toggle_Status_Bar(Workbench &wb, ViewFrame &frame, bool checked, QString *error)
{
    if (checked) {
        frame.height += ViewFrame::kStatusBarTwips;
        wb.settings.S_Bar = 0;
    } else {
        frame.height -= ViewFrame::kStatusBarTwips;
        wb.settings.S_Bar = 1;
    }
    SettingsIo::Write_Window_Config(wb, error);
    return !checked;
}

void MainCommands::Build_Result_Views(Workbench &wb)
{
    if (!wb.work.Search_Hit_File_List.isEmpty())
        ListView::Build_List_View(wb);
}

void MainCommands::Stop(Workbench &wb)
{
    wb.work.Search_Running = 0;
}

bool MainCommands::Check_Fukusei(Workbench &wb)
{
    if (wb.Param_Count != 0)
        return true;
    wb.messages->show(kNoParameters, kFukuseiCaption, MessagePort::Icon::Exclamation);
    return false;
}
