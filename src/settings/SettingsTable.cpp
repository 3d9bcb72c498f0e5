#include "settings/SettingsTable.h"

#include <algorithm>
#include <variant>

const QString SettingsTable::kSearchData = QStringLiteral("SEARCH_DATA");
const QString SettingsTable::kSearchPath = QStringLiteral("SEARCH_PATH");
const QString SettingsTable::kSearchSikibetu = QStringLiteral("SEARCH_SIKIBETU");
const QString SettingsTable::kWindowConfig = QStringLiteral("WINDOW_CONFIG");
const QString SettingsTable::kExecute = QStringLiteral("EXECUTE");

namespace {

using History = std::array<QString, 10>;
using Identifiers = std::array<QString, 20>;
using Member = std::variant<qint32 Settings::*, QString Settings::*, History Settings::*, Identifiers Settings::*>;

// A numbered list is one row: its stem followed by the entry number with
// `digits` digits (DATA0 … DATA9, SIKIBETU00 … SIKIBETU19), its entries read
// and written one after the other in number order.
struct Row
{
    const QString *section;
    const char *name;
    int readOrder;  // place among the loader's reads of the section; 0: not read there
    int writeOrder; // place in the section writer; 0: never written
    Member member;
    int digits = 0;
};

// The colouring switch is spelled as its writer always spelled it; names
// compare without case, so the loader finds it under either spelling, and a
// value already stored keeps the spelling it has.
const Row kRows[] = {
    // section                      name                 read write member
    {&SettingsTable::kSearchData,     "DEFAULT_DATA",      1,   1,    &Settings::DEFAULT_DATA},
    {&SettingsTable::kSearchData,     "DATA",              2,   2,    &Settings::DATA, 1},
    {&SettingsTable::kSearchPath,     "DEFAULT_PATH",      1,   1,    &Settings::DEFAULT_PATH},
    {&SettingsTable::kSearchPath,     "PATH",              2,   2,    &Settings::PATH, 1},
    {&SettingsTable::kSearchSikibetu, "DEFAULT_SIKIBETU",  1,   1,    &Settings::DEFAULT_SIKIBETU},
    {&SettingsTable::kSearchSikibetu, "SIKIBETU_ALL_FLG",  2,   2,    &Settings::SIKIBETU_ALL_FLG},
    {&SettingsTable::kSearchSikibetu, "SIKIBETU",          3,   3,    &Settings::SIKIBETU, 2},
    {&SettingsTable::kWindowConfig,   "FORM_X",            0,   1,    &Settings::FORM_X},
    {&SettingsTable::kWindowConfig,   "FORM_Y",            0,   2,    &Settings::FORM_Y},
    {&SettingsTable::kWindowConfig,   "Height",            0,   3,    &Settings::Height},
    {&SettingsTable::kWindowConfig,   "Width",             0,   4,    &Settings::Width},
    {&SettingsTable::kWindowConfig,   "S_Bar",             1,   8,    &Settings::S_Bar},
    {&SettingsTable::kWindowConfig,   "T_Bar",             2,   9,    &Settings::T_Bar},
    {&SettingsTable::kWindowConfig,   "FORM_MAX",          3,   0,    &Settings::FORM_MAX},
    {&SettingsTable::kWindowConfig,   "FORM_MIN",          4,   0,    &Settings::FORM_MIN},
    {&SettingsTable::kWindowConfig,   "Hit_Color",         5,   5,    &Settings::Hit_Color},
    {&SettingsTable::kWindowConfig,   "File_Name_Color",   6,   6,    &Settings::File_Name_Color},
    {&SettingsTable::kWindowConfig,   "Line_No_Color",     7,   7,    &Settings::Line_No_Color},
    {&SettingsTable::kExecute,        "FILE_OUT",          1,   4,    &Settings::FILE_OUT},
    {&SettingsTable::kExecute,        "FILE_NAME_DISP",    2,   1,    &Settings::FILE_NAME_DISP},
    {&SettingsTable::kExecute,        "SUB_DIR_FLG",       3,   5,    &Settings::SUB_DIR_FLG},
    {&SettingsTable::kExecute,        "VDT_FOLLOW",        4,   2,    &Settings::VDT_FOLLOW},
    {&SettingsTable::kExecute,        "VDT_INTERVAL_TIME", 5,   3,    &Settings::VDT_INTERVAL_TIME},
    {&SettingsTable::kExecute,        "Color_Set_fLG",     6,   8,    &Settings::Color_Set_Flg},
    {&SettingsTable::kExecute,        "EDITOR",            7,   6,    &Settings::EDITOR},
    {&SettingsTable::kExecute,        "FILE_OUT_NAME",     8,   7,    &Settings::FILE_OUT_NAME},
    {&SettingsTable::kExecute,        "ENCODING",          9,   9,    &Settings::ENCODING},
    {&SettingsTable::kExecute,        "UNDO_FLG",          10,  10,   &Settings::UNDO_FLG},
    {&SettingsTable::kExecute,        "UNDO_DAYS",         11,  11,   &Settings::UNDO_DAYS},
    {&SettingsTable::kExecute,        "UNDO_MB",           12,  12,   &Settings::UNDO_MB},
};

// The rows of a section in the order `order` gives, rows with order 0 left out.
QList<const Row *> rowsOf(const QString &section, int Row::*order)
{
    QList<const Row *> rows;
    for (const Row &row : kRows)
        if (row.*order != 0 && section.compare(*row.section, Qt::CaseInsensitive) == 0)
            rows.append(&row);
    std::sort(rows.begin(), rows.end(), [order](const Row *a, const Row *b) { return a->*order < b->*order; });
    return rows;
}

QString entryName(const Row &row, size_t index)
{
    return QLatin1String(row.name) + QString::number(index).rightJustified(row.digits, QLatin1Char('0'));
}

void read(const SettingsStore &store, Settings &s, const QString &section, const Row &row)
{
    auto readText = [&](const QString &name, QString &target) {
        if (const auto v = store.string(section, name))
            target = *v;
    };
    auto readList = [&](auto &list) {
        for (size_t i = 0; i < list.size(); ++i)
            readText(entryName(row, i), list[i]);
    };
    std::visit(
        [&](auto member) {
            auto &target = s.*member;
            using T = std::decay_t<decltype(target)>;
            if constexpr (std::is_same_v<T, qint32>) {
                if (const auto v = store.number(section, QLatin1String(row.name)))
                    target = *v;
            } else if constexpr (std::is_same_v<T, QString>) {
                readText(QLatin1String(row.name), target);
            } else {
                readList(target);
            }
        },
        row.member);
}

void write(const Settings &s, const Row &row, QList<SettingsStore::Value> &values)
{
    std::visit(
        [&](auto member) {
            const auto &source = s.*member;
            using T = std::decay_t<decltype(source)>;
            if constexpr (std::is_same_v<T, qint32>) {
                values.append(SettingsStore::Value{QLatin1String(row.name), true, source, {}});
            } else if constexpr (std::is_same_v<T, QString>) {
                values.append(SettingsStore::Value{QLatin1String(row.name), false, 0, source});
            } else {
                for (size_t i = 0; i < source.size(); ++i)
                    values.append(SettingsStore::Value{entryName(row, i), false, 0, source[i]});
            }
        },
        row.member);
}

} // namespace

const QStringList &SettingsTable::sections()
{
    static const QStringList order = {kSearchData, kSearchPath, kSearchSikibetu, kWindowConfig, kExecute};
    return order;
}

void SettingsTable::readSection(const SettingsStore &store, Settings &settings, const QString &section)
{
    for (const Row *row : rowsOf(section, &Row::readOrder))
        read(store, settings, section, *row);
}

void SettingsTable::readValue(const SettingsStore &store, Settings &settings, const QString &section,
                              const QString &name)
{
    for (const Row &row : kRows)
        if (section.compare(*row.section, Qt::CaseInsensitive) == 0
            && name.compare(QLatin1String(row.name), Qt::CaseInsensitive) == 0)
            read(store, settings, section, row);
}

QList<SettingsStore::Value> SettingsTable::sectionValues(const Settings &settings, const QString &section)
{
    QList<SettingsStore::Value> values;
    for (const Row *row : rowsOf(section, &Row::writeOrder))
        write(settings, *row, values);
    return values;
}
