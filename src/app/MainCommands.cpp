#include "app/MainCommands.h"

#include "base/ViewFrame.h"
#include "base/Workbench.h"
#include "display/ListView.h"
#include "platform/MessagePort.h"
#include "settings/SearchPath.h"
#include "settings/SettingsIo.h"
#include "workarea/LineFormat.h"

#include <QDir>

const QString MainCommands::kVersionCaption = QStringLiteral("バージョン情報");
const QString MainCommands::kVersionText = QStringLiteral("ＱＵＡＶ　Ver1.2");
const QString MainCommands::kNoParameters = QStringLiteral("複製のためのパラメータが設定されていません。");
const QString MainCommands::kFukuseiCaption = QStringLiteral("雛形複製");

QString MainCommands::Startup(Workbench &wb, const QString &startDir)
{
    wb.Start_Dir = startDir.endsWith(QLatin1Char('/')) ? startDir : startDir + QLatin1Char('/');

    const QString error = SettingsIo::openStore(wb);
    SettingsIo::Restore_Window(wb);
    SettingsIo::Load_Settings(wb);

    const qint32 last = wb.settings.DEFAULT_PATH;
    if (last >= 0 && last < 10 && !wb.settings.PATH[size_t(last)].isEmpty())
        SearchPath::Change_Folder(wb.settings.PATH[size_t(last)]);
    wb.work.Search_Path = SearchPath::currentDirectory();
    if (wb.work.Search_Path.isEmpty())
        wb.work.Search_Path = QDir::currentPath();

    wb.status.setText(StatusPanels::kSearch, QStringLiteral("Initial"));
    wb.status.setText(StatusPanels::kPath, wb.work.Search_Path);
    wb.status.setText(StatusPanels::kWord, QStringLiteral("未設定"));
    wb.status.setText(StatusPanels::kHitSu, QStringLiteral("未実行"));

    wb.work.clearAll();
    wb.board.applyStartup();

    wb.Param_Count = 0;
    return error;
}

void MainCommands::Activate(Workbench &wb, bool detailViewShown)
{
    wb.board.activated(wb.Param_Count, wb.work, detailViewShown, wb.display.Detail_Header);
}

bool MainCommands::toggleToolBar(Workbench &wb, ViewFrame &frame, bool checked)
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
    SettingsIo::Write_Window_Config(wb);
    return !checked;
}

bool MainCommands::toggleStatusBar(Workbench &wb, ViewFrame &frame, bool checked)
{
    if (checked) {
        frame.height += ViewFrame::kStatusBarTwips;
        wb.settings.S_Bar = 0;
    } else {
        frame.height -= ViewFrame::kStatusBarTwips;
        wb.settings.S_Bar = 1;
    }
    SettingsIo::Write_Window_Config(wb);
    return !checked;
}

void MainCommands::buildResultViews(Workbench &wb)
{
    if (!wb.work.Search_Hit_File_List().isEmpty())
        ListView::Build_List_View(wb);
}

bool MainCommands::confirmEnd(const WorkArea &work, MessagePort &messages)
{
    if (work.Hozon_Flag != 1)
        return true;
    return messages.show(QStringLiteral("保存されていない変更があります。\r\n"
                                         "終了すると、変更は保存されずに失われます。\r\n"
                                         "保存せずに終了しますか？"),
                          QStringLiteral("ＱＵＡＶ"), MessagePort::Icon::Exclamation,
                          MessagePort::Buttons::YesNoDefaultNo)
        == MessagePort::Answer::Yes;
}

void MainCommands::Stop(WorkArea &work)
{
    work.Search_Running = 0;
}

bool MainCommands::checkFukusei(int paramCount, MessagePort &messages)
{
    if (paramCount != 0)
        return true;
    messages.show(kNoParameters, kFukuseiCaption, MessagePort::Icon::Exclamation);
    return false;
}
