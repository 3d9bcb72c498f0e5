#include "display/DisplayColorsForm.h"

#include "base/Workbench.h"
#include "display/RtfBuilder.h"
#include "platform/MessagePort.h"
#include "settings/SettingsIo.h"

const QString DisplayColorsForm::kCaption = QStringLiteral("表示色設定");
const QString DisplayColorsForm::kNoTarget = QStringLiteral("色の設定対象が選定されていません。");

qint32 *DisplayColorsForm::targetColor(Settings &s, int target)
{
    switch (target) {
    case 0: return &s.Hit_Color;
    case 1: return &s.File_Name_Color;
    case 2: return &s.Line_No_Color;
    default: return nullptr;
    }
}

bool DisplayColorsForm::checkTarget(Settings &s, MessagePort &messages, int target)
{
    if (targetColor(s, target))
        return true;
    messages.show(kNoTarget, kCaption, MessagePort::Icon::Exclamation);
    return false;
}

bool DisplayColorsForm::storePicked(Settings &s, int target, qint32 before, qint32 picked)
{
    qint32 *color = targetColor(s, target);
    if (!color || picked == before)
        return false;
    *color = picked;
    return true;
}

void DisplayColorsForm::Apply(Workbench &wb, bool colouring)
{
    wb.settings.Color_Set_Flg = colouring ? 1 : 0;
    if (colouring)
        RtfBuilder::Make_RTF_Colors(wb.display, wb.settings);
    else
        // A detail document kept from before carries the colours; the next
        // one must be written without them.
        wb.display.detailCacheKey.clear();

    // Both sections go to the same file: after a failure the second is not
    // tried. The writers tell the user of a failure themselves.
    if (SettingsIo::Write_Execute(wb))
        SettingsIo::Write_Window_Config(wb);
}

qint32 DisplayColorsForm::fromRgb(int red, int green, int blue)
{
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
