#pragma once

#include "DialogFixture.h"

#include "app/widgets/KIHON.h"

#include <QTest>

// The main window on a settings store of its own (QUAV_CONFIG_DIR in a
// temporary folder), started over a second temporary folder that is the
// current directory meanwhile. Every message from start-up on goes to the
// scripted port.
struct WindowFixture
{
    QTemporaryDir config;
    QTemporaryDir tree;
    QString cwd = QDir::currentPath();
    ScriptedMessagePort port;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<Workbench> wb;
    std::unique_ptr<KIHON> window; // last: goes first, detaching its ports from wb

    WindowFixture()
    {
        qputenv("QUAV_CONFIG_DIR", config.path().toUtf8());
        QDir::setCurrent(tree.path());
    }
    ~WindowFixture()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w != window.get() && w->isVisible())
                w->close();
        DialogFixture::settle();
        window.reset();
        QDir::setCurrent(cwd);
    }

    QString file(const QString &name) const { return tree.filePath(name); }

    // A new start: a fresh workbench, the store read from disk, the window
    // loaded over the tree and shown.
    bool start()
    {
        window.reset();
        wb = std::make_unique<Workbench>();
        store = std::make_unique<SettingsStore>(); // finds its file through the variable
        wb->store = store.get();
        window = std::make_unique<KIHON>(*wb);
        wb->messages = &port;
        window->Form_Load(tree.path());
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }
};
