#include "settings/SettingsIo.h"

#include "base/Workbench.h"
#include "platform/MessagePort.h"
#include "settings/SettingsStore.h"

namespace {

const QString kSearchData = QStringLiteral("SEARCH_DATA");
const QString kSearchPath = QStringLiteral("SEARCH_PATH");
const QString kSearchSikibetu = QStringLiteral("SEARCH_SIKIBETU");
const QString kWindowConfig = QStringLiteral("WINDOW_CONFIG");
const QString kExecute = QStringLiteral("EXECUTE");

QString indexed(const char *stem, int i, int width)
{
    return QString::fromLatin1(stem) + QString::number(i).rightJustified(width, QLatin1Char('0'));
}

// A value missing from the store, or stored with another type, leaves the
// variable as it is.
void readNumber(const SettingsStore &store, const QString &section, const char *name, qint32 &target)
{
    if (const auto v = store.number(section, QString::fromLatin1(name)))
        target = *v;
}

void readString(const SettingsStore &store, const QString &section, const QString &name, QString &target)
{
    if (const auto v = store.string(section, name))
        target = *v;
}

// The numbered string values of a section: DATA0 … DATA9, SIKIBETU00 … SIKIBETU19.
template<size_t N>
void readList(const SettingsStore &store, const QString &section, const char *stem, int width,
              std::array<QString, N> &list)
{
    for (size_t i = 0; i < N; ++i)
        readString(store, section, indexed(stem, int(i), width), list[i]);
}

template<size_t N>
void writeList(SettingsStore &store, const QString &section, const char *stem, int width,
               const std::array<QString, N> &list)
{
    for (size_t i = 0; i < N; ++i)
        store.setString(section, indexed(stem, int(i), width), list[i]);
}

void readAll(const SettingsStore &store, Settings &s, const QString &section)
{
    if (section == kSearchData) {
        readNumber(store, section, "DEFAULT_DATA", s.DEFAULT_DATA);
        readList(store, section, "DATA", 1, s.DATA);
    } else if (section == kSearchPath) {
        readNumber(store, section, "DEFAULT_PATH", s.DEFAULT_PATH);
        readList(store, section, "PATH", 1, s.PATH);
    } else if (section == kSearchSikibetu) {
        readNumber(store, section, "DEFAULT_SIKIBETU", s.DEFAULT_SIKIBETU);
        readNumber(store, section, "SIKIBETU_ALL_FLG", s.SIKIBETU_ALL_FLG);
        readList(store, section, "SIKIBETU", 2, s.SIKIBETU);
    } else if (section == kWindowConfig) {
        readNumber(store, section, "S_Bar", s.S_Bar);
        readNumber(store, section, "T_Bar", s.T_Bar);
        readNumber(store, section, "FORM_MAX", s.FORM_MAX);
        readNumber(store, section, "FORM_MIN", s.FORM_MIN);
        readNumber(store, section, "Hit_Color", s.Hit_Color);
        readNumber(store, section, "File_Name_Color", s.File_Name_Color);
        readNumber(store, section, "Line_No_Color", s.Line_No_Color);
    } else if (section == kExecute) {
        readNumber(store, section, "FILE_OUT", s.FILE_OUT);
        readNumber(store, section, "FILE_NAME_DISP", s.FILE_NAME_DISP);
        readNumber(store, section, "SUB_DIR_FLG", s.SUB_DIR_FLG);
        readNumber(store, section, "VDT_FOLLOW", s.VDT_FOLLOW);
        readNumber(store, section, "VDT_INTERVAL_TIME", s.VDT_INTERVAL_TIME);
        readNumber(store, section, "Color_Set_Flg", s.Color_Set_Flg);
        readString(store, section, QStringLiteral("EDITOR"), s.EDITOR);
        readString(store, section, QStringLiteral("FILE_OUT_NAME"), s.FILE_OUT_NAME);
    }
}

const QStringList &sectionOrder()
{
    static const QStringList order = {kSearchData, kSearchPath, kSearchSikibetu, kWindowConfig, kExecute};
    return order;
}

// A writer whose section is missing asks the repair question first; the
// values are then written whatever the answer, so the user's choice is kept.
bool finishWrite(Workbench &wb, const QString &section, bool askRepair, QString *error,
                 const std::function<void(SettingsStore &)> &write)
{
    if (!wb.store)
        return true;
    if (askRepair && !wb.store->hasSection(section))
        SettingsIo::Repair_Settings(wb);
    write(*wb.store);
    return wb.store->save(error);
}

} // namespace

const QString SettingsIo::kRepairQuestion =
    QStringLiteral("保存されている設定情報が破損しているため、修復が必要です。\r\n\r\n"
                   "設定情報は全て初期化されますが、今すぐ修復しますか？");
const QString SettingsIo::kRepairCaption = QStringLiteral("ＱＵＡＶ");

void SettingsIo::Repair_Settings(Workbench &wb)
{
    if (!wb.store)
        return;
    const auto answer = wb.messages->show(kRepairQuestion, kRepairCaption, MessagePort::Icon::Critical,
                                          MessagePort::Buttons::YesNo);
    if (answer != MessagePort::Answer::Yes)
        return;
    QString error;
    if (!wb.store->importInstallFile(wb.Start_Dir, &error))
        wb.messages->show(error, kRepairCaption, MessagePort::Icon::Critical);
}

void SettingsIo::Load_Settings(Workbench &wb)
{
    if (!wb.store)
        return;
    for (const QString &section : sectionOrder()) {
        if (!wb.store->hasSection(section)) {
            // The imported values take effect at the next start: this run
            // goes on with what it has.
            Repair_Settings(wb);
            continue;
        }
        readAll(*wb.store, wb.settings, section);
    }
}

Settings SettingsIo::Load_Without_Questions(const QString &startDir)
{
    Settings s;
    SettingsStore store;
    if (!store.load() || !store.rootExists()) {
        store = SettingsStore(QString());
        store.merge(SettingsStore::installFile(startDir));
    }
    for (const QString &section : sectionOrder())
        readAll(store, s, section);
    return s;
}

bool SettingsIo::Write_Execute(Workbench &wb, QString *error)
{
    const Settings &s = wb.settings;
    return finishWrite(wb, kExecute, true, error, [&](SettingsStore &st) {
        st.setNumber(kExecute, QStringLiteral("FILE_NAME_DISP"), s.FILE_NAME_DISP);
        st.setNumber(kExecute, QStringLiteral("VDT_FOLLOW"), s.VDT_FOLLOW);
        st.setNumber(kExecute, QStringLiteral("VDT_INTERVAL_TIME"), s.VDT_INTERVAL_TIME);
        st.setNumber(kExecute, QStringLiteral("FILE_OUT"), s.FILE_OUT);
        st.setNumber(kExecute, QStringLiteral("SUB_DIR_FLG"), s.SUB_DIR_FLG);
        st.setString(kExecute, QStringLiteral("EDITOR"), s.EDITOR);
        st.setString(kExecute, QStringLiteral("FILE_OUT_NAME"), s.FILE_OUT_NAME);
        st.setNumber(kExecute, QStringLiteral("Color_Set_fLG"), s.Color_Set_Flg);
    });
}

bool SettingsIo::Write_Search_Data(Workbench &wb, QString *error)
{
    const Settings &s = wb.settings;
    return finishWrite(wb, kSearchData, true, error, [&](SettingsStore &st) {
        st.setNumber(kSearchData, QStringLiteral("DEFAULT_DATA"), s.DEFAULT_DATA);
        writeList(st, kSearchData, "DATA", 1, s.DATA);
    });
}

bool SettingsIo::Write_Search_Path(Workbench &wb, QString *error)
{
    const Settings &s = wb.settings;
    return finishWrite(wb, kSearchPath, true, error, [&](SettingsStore &st) {
        st.setNumber(kSearchPath, QStringLiteral("DEFAULT_PATH"), s.DEFAULT_PATH);
        writeList(st, kSearchPath, "PATH", 1, s.PATH);
    });
}

bool SettingsIo::Write_Search_Sikibetu(Workbench &wb, QString *error)
{
    const Settings &s = wb.settings;
    return finishWrite(wb, kSearchSikibetu, true, error, [&](SettingsStore &st) {
        st.setNumber(kSearchSikibetu, QStringLiteral("DEFAULT_SIKIBETU"), s.DEFAULT_SIKIBETU);
        st.setNumber(kSearchSikibetu, QStringLiteral("SIKIBETU_ALL_FLG"), s.SIKIBETU_ALL_FLG);
        writeList(st, kSearchSikibetu, "SIKIBETU", 2, s.SIKIBETU);
    });
}

bool SettingsIo::Write_Window_Config(Workbench &wb, QString *error)
{
    const Settings &s = wb.settings;
    return finishWrite(wb, kWindowConfig, false, error, [&](SettingsStore &st) {
        st.setNumber(kWindowConfig, QStringLiteral("FORM_X"), s.FORM_X);
        st.setNumber(kWindowConfig, QStringLiteral("FORM_Y"), s.FORM_Y);
        st.setNumber(kWindowConfig, QStringLiteral("Height"), s.Height);
        st.setNumber(kWindowConfig, QStringLiteral("Width"), s.Width);
        st.setNumber(kWindowConfig, QStringLiteral("Hit_Color"), s.Hit_Color);
        st.setNumber(kWindowConfig, QStringLiteral("File_Name_Color"), s.File_Name_Color);
        st.setNumber(kWindowConfig, QStringLiteral("Line_No_Color"), s.Line_No_Color);
        st.setNumber(kWindowConfig, QStringLiteral("S_Bar"), s.S_Bar);
        st.setNumber(kWindowConfig, QStringLiteral("T_Bar"), s.T_Bar);
    });
}

bool SettingsIo::Restore_Window(Workbench &wb)
{
    Settings &s = wb.settings;
    const bool stored = wb.store && wb.store->hasSection(kWindowConfig);
    if (stored) {
        readNumber(*wb.store, kWindowConfig, "FORM_X", s.FORM_X);
        readNumber(*wb.store, kWindowConfig, "FORM_Y", s.FORM_Y);
        readNumber(*wb.store, kWindowConfig, "Height", s.Height);
        readNumber(*wb.store, kWindowConfig, "Width", s.Width);
    }
    // A window too small to use (a damaged or zero value) falls back to the
    // default placement as well.
    if (!stored || s.Width < 1500 || s.Height < 1500) {
        s.FORM_X = 0;
        s.FORM_Y = 0;
        s.Width = kDefaultWidth;
        s.Height = kDefaultHeight;
    }
    wb.Main_Left = s.FORM_X;
    wb.Main_Top = s.FORM_Y;
    wb.Main_Width = s.Width;
    wb.Main_Height = s.Height;
    return stored;
}
