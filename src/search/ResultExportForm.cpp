#include "search/ResultExportForm.h"

#include "base/Workbench.h"
#include "platform/MessagePort.h"
#include "search/ResultFile.h"
#include "settings/SettingsIo.h"

const QString ResultExportForm::kCaption = QStringLiteral("検索結果の保存");
const QString ResultExportForm::kNoPath = QStringLiteral("検索結果出力パスが設定されていません。");
const QString ResultExportForm::kNoData =
    QStringLiteral("出力データが１件もありません。\r\nファイルヘの出力処理は中止します。");
const QString ResultExportForm::kNotWritten = QStringLiteral(
    "検索結果の自動保存が設定されていないため、ファイルには出力していません。\r\n"
    "出力するには「検索結果の自動保存」にチェックを付けて「設定変更」を押してから、"
    "もう一度「検索結果出力」を押して下さい。");

namespace {

void storeExecute(Workbench &wb)
{
    QString error;
    if (!SettingsIo::Write_Execute(wb, &error))
        wb.messages->show(error, ResultExportForm::kCaption, MessagePort::Icon::Critical);
}

// What the output button tells after writing path: the file, and a typed
// path that was not used because it was not made the default.
QString writtenMessage(const QString &path, const QString &typedPath)
{
    QString text = ResultFile::doneMessage(path, false);
    if (typedPath != path)
        text += QStringLiteral("\r\n入力されたパス（") + typedPath
            + QStringLiteral("）は、「デフォルト出力ファイルとして登録する」にチェックがないため使っていません。");
    return text;
}

} // namespace

void ResultExportForm::applyFileOut(Workbench &wb, bool automatic)
{
    wb.settings.FILE_OUT = automatic ? 1 : 0;
    storeExecute(wb);
}

ResultExportForm::Result ResultExportForm::Output(Workbench &wb, const QString &typedPath, bool makeDefault)
{
    Result r;
    // A path of blanks only is no path either.
    if (typedPath.trimmed().isEmpty()) {
        wb.messages->show(kNoPath, kCaption, MessagePort::Icon::Exclamation);
        r.outcome = Outcome::Refused;
        return r;
    }
    if (makeDefault)
        wb.settings.FILE_OUT_NAME = typedPath;
    storeExecute(wb);

    if (wb.settings.FILE_OUT != 1) {
        wb.messages->show(kNotWritten, kCaption, MessagePort::Icon::Information);
        r.outcome = Outcome::Stored;
        return r;
    }
    if (wb.work.Search_Hit_List().isEmpty()) {
        wb.messages->show(kNoData, kCaption, MessagePort::Icon::Information);
        r.outcome = Outcome::NoData;
        return r;
    }
    r.file = Export(wb.work, wb.settings.FILE_OUT_NAME);
    r.outcome = r.file.ok() ? Outcome::Written : Outcome::WriteFailed;
    if (r.outcome == Outcome::Written)
        wb.messages->show(writtenMessage(wb.settings.FILE_OUT_NAME, typedPath), kCaption,
                          MessagePort::Icon::Information);
    return r;
}

WriteResult ResultExportForm::Export(const WorkArea &work, const QString &path)
{
    WriteResult r = ResultFile::writeResultFile(work, path);
    r.error = r.reason;
    return r;
}

QString ResultExportForm::browseResult(const QString &picked, const QString &fileOutName)
{
    return picked.isEmpty() ? fileOutName : picked;
}
