#include "settings/SettingsIo.h"

#include "base/Workbench.h"
#include "platform/MessagePort.h"
#include "platform/SettingsStore.h"
#include "settings/SettingsTable.h"

namespace {

// At most this many line numbers are named in a message; the rest are counted.
constexpr qsizetype kNamedLines = 10;

QString lineList(const QList<int> &lines)
{
    QStringList named;
    for (qsizetype i = 0; i < lines.size() && i < kNamedLines; ++i)
        named.append(QString::number(lines[i]));
    QString text = named.join(QStringLiteral("、"));
    if (lines.size() > kNamedLines)
        text += QStringLiteral(" ほか %1 行").arg(lines.size() - kNamedLines);
    return text;
}

// Damage the user has not heard of: the file is copied aside before anything
// is written over it, and the user is told which lines and where the copy is.
void reportDamage(SettingsStore &store, MessagePort &messages)
{
    const QList<int> lines = store.takeUnreportedDamage();
    if (lines.isEmpty())
        return;
    QString copyError;
    const bool copied = store.keepDamagedCopy(&copyError);
    QString text = QStringLiteral("設定ファイルの %1 行目を書かれたとおりに読めませんでした。\r\n%2\r\n")
                       .arg(lineList(lines), store.path());
    text += copied ? QStringLiteral("元のファイルを次の名前で残しました。\r\n") + store.damagedCopyPath()
                   : copyError;
    messages.show(text, SettingsIo::kRepairCaption, MessagePort::Icon::Exclamation);
}

void reportFailure(SettingsStore &store, MessagePort &messages, const QString &reason)
{
    if (store.firstFailure())
        messages.show(reason + QStringLiteral("\r\n") + SettingsIo::kNotSaved, SettingsIo::kRepairCaption,
                      MessagePort::Icon::Critical);
}

// A writer whose section is missing asks the repair question first; the
// values are then written whatever the answer, so the user's choice is kept.
bool writeSection(Workbench &wb, const QString &section, bool askRepair, QString *error)
{
    if (!wb.store)
        return true;
    if (askRepair && !wb.store->hasSection(section))
        SettingsIo::Repair_Settings(wb);
    QString reason;
    const bool written = wb.store->writeValues(section, SettingsTable::sectionValues(wb.settings, section), &reason);
    reportDamage(*wb.store, *wb.messages);
    if (!written) {
        reportFailure(*wb.store, *wb.messages, reason);
        if (error)
            *error = reason;
    }
    return written;
}

} // namespace

const QString SettingsIo::kRepairQuestion =
    QStringLiteral("保存されている設定情報が破損しているため、修復が必要です。\r\n\r\n"
                   "設定情報は全て初期化されますが、今すぐ修復しますか？");
const QString SettingsIo::kRepairCaption = QStringLiteral("ＱＵＡＶ");
const QString SettingsIo::kNotSaved = QStringLiteral("設定は保存されませんが、このまま使用できます。");

QString SettingsIo::openStore(Workbench &wb)
{
    if (!wb.store)
        return {};
    QString error;
    if (!wb.store->load(&error)) {
        wb.store->merge(SettingsStore::installFile());
        wb.store->firstFailure();
        return error + QStringLiteral("\r\n設定ファイルには書き込まず、初期設定で動作します。");
    }
    // The defaults are in memory even when the folder cannot be written: the
    // program runs with them.
    if (!wb.store->rootExists() && !wb.store->importInstallFile(&error)) {
        wb.store->firstFailure();
        return error;
    }
    return {};
}

void SettingsIo::Repair_Settings(Workbench &wb)
{
    if (!wb.store)
        return;
    const auto answer = wb.messages->show(kRepairQuestion, kRepairCaption, MessagePort::Icon::Critical,
                                          MessagePort::Buttons::YesNo);
    if (answer != MessagePort::Answer::Yes)
        return;
    QString error;
    if (!wb.store->importInstallFile(&error))
        reportFailure(*wb.store, *wb.messages, error);
}

void SettingsIo::Load_Settings(Workbench &wb)
{
    if (!wb.store)
        return;
    reportDamage(*wb.store, *wb.messages);
    for (const QString &section : SettingsTable::sections()) {
        if (!wb.store->hasSection(section)) {
            // The imported values take effect at the next start: this run
            // goes on with what it has.
            Repair_Settings(wb);
            continue;
        }
        SettingsTable::readSection(*wb.store, wb.settings, section);
    }
}

Settings SettingsIo::loadWithoutQuestions()
{
    Settings s;
    SettingsStore store;
    if (!store.load() || !store.rootExists()) {
        store = SettingsStore(QString());
        store.merge(SettingsStore::installFile());
    }
    for (const QString &section : SettingsTable::sections())
        SettingsTable::readSection(store, s, section);
    return s;
}

bool SettingsIo::Write_Execute(Workbench &wb, QString *error)
{
    return writeSection(wb, SettingsTable::kExecute, true, error);
}

bool SettingsIo::Write_Search_Data(Workbench &wb, QString *error)
{
    return writeSection(wb, SettingsTable::kSearchData, true, error);
}

bool SettingsIo::Write_Search_Path(Workbench &wb, QString *error)
{
    return writeSection(wb, SettingsTable::kSearchPath, true, error);
}

bool SettingsIo::Write_Search_Sikibetu(Workbench &wb, QString *error)
{
    return writeSection(wb, SettingsTable::kSearchSikibetu, true, error);
}

bool SettingsIo::Write_Window_Config(Workbench &wb, QString *error)
{
    return writeSection(wb, SettingsTable::kWindowConfig, false, error);
}

bool SettingsIo::Restore_Window(Workbench &wb)
{
    Settings &s = wb.settings;
    const QString &section = SettingsTable::kWindowConfig;
    const bool stored = wb.store && wb.store->hasSection(section);
    if (stored)
        for (const char *name : {"FORM_X", "FORM_Y", "Height", "Width"})
            SettingsTable::readValue(*wb.store, s, section, QLatin1String(name));
    // A window too small to use (a damaged or zero value) falls back to the
    // default placement as well.
    if (!stored || s.Width < 1500 || s.Height < 1500) {
        s.FORM_X = 0;
        s.FORM_Y = 0;
        s.Width = kDefaultWidth;
        s.Height = kDefaultHeight;
    }
    wb.mainLeft = s.FORM_X;
    wb.mainTop = s.FORM_Y;
    wb.mainWidth = s.Width;
    wb.mainHeight = s.Height;
    return stored;
}
