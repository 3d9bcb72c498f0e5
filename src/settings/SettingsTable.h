#pragma once

#include "base/Settings.h"
#include "platform/SettingsStore.h"

#include <QList>
#include <QString>
#include <QStringList>

// Which stored value is which Settings member, in which section, and in what
// order the loader reads and the section writers write them: one table, so a
// value added later is added in one place.
class SettingsTable
{
public:
    static const QString kSearchData;
    static const QString kSearchPath;
    static const QString kSearchSikibetu;
    static const QString kWindowConfig;
    static const QString kExecute;

    // The sections in the loader's order.
    static const QStringList &sections();

    // Reads the section's values in the loader's order. A value missing from
    // the store, or stored with another type, leaves its member as it is.
    static void readSection(const SettingsStore &store, Settings &settings, const QString &section);
    // Reads one value (or a numbered list by its stem) whatever the loader
    // does with it: the window geometry is read when the window is placed.
    static void readValue(const SettingsStore &store, Settings &settings, const QString &section,
                          const QString &name);
    // The values the section's writer writes, in its order.
    static QList<SettingsStore::Value> sectionValues(const Settings &settings, const QString &section);
};
