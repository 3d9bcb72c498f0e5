#pragma once

#include "base/Workbench.h"
#include "platform/SettingsStore.h"

#include "ScriptedMessagePort.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

// What a dialog test needs: a workbench with a scripted message port and a
// settings store in a temporary folder (QUAV_CONFIG_DIR), a stand-in for the
// main window, and the process's current directory restored afterwards.
struct DialogFixture
{
    QTemporaryDir dir;
    QString cwd = QDir::currentPath();
    std::unique_ptr<SettingsStore> store;
    ScriptedMessagePort port;
    Workbench wb;
    QWidget main;

    DialogFixture()
    {
        qputenv("QUAV_CONFIG_DIR", dir.path().toUtf8());
        store = std::make_unique<SettingsStore>();
        store->importInstallFile();
        wb.store = store.get();
        wb.messages = &port;
        wb.Start_Dir = dir.path() + QLatin1Char('/');
        wb.display.documentFolder = dir.path();
        wb.mainWidth = 9600;
        wb.mainHeight = 7200;
        wb.work.Search_Path = dir.path();
    }
    ~DialogFixture()
    {
        closeAll();
        QDir::setCurrent(cwd);
    }

    // The store as a fresh start would read it from disk.
    SettingsStore reread() const
    {
        SettingsStore s;
        s.load();
        return s;
    }

    // Runs the pending deletions of closed dialogs.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // Every visible top-level widget of type T, and the first of them.
    template<typename T>
    static QList<T *> shown()
    {
        QList<T *> out;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *t = qobject_cast<T *>(w); t && t->isVisible())
                out.append(t);
        return out;
    }
    template<typename T>
    static T *find()
    {
        const QList<T *> all = shown<T>();
        return all.isEmpty() ? nullptr : all.first();
    }

    static void closeAll()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible())
                w->close();
        settle();
    }
};
