#pragma once

#include "base/Command.h"
#include "base/MenuEntries.h"
#include "base/StatusPanels.h"
#include "base/ViewFrame.h"
#include "platform/ProgressPort.h"

#include <QIcon>
#include <QMainWindow>
#include <QPointer>

#include <array>

struct Workbench;
class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QStatusBar;
class QTimer;
class QToolBar;
class QToolButton;
class RichTextView;
class MessageBoxPort;
class TimedEventPump;
class QtClipboardPort;
class Time_Kanri;

// The main window: toolbar of 21 commands, the menus that mirror it, the two
// result views stacked below the toolbar, the progress bar and the status bar
// with its four keyed panels. It renders the workbench's state and forwards
// the user's commands to the core or to a dialog.
class KIHON : public QMainWindow, public ProgressPort
{
    Q_OBJECT
public:
    static const QString kCaption;

    explicit KIHON(Workbench &wb);
    ~KIHON() override;

    // Start-up in the program's order; startDir is the folder it started in.
    void Form_Load(const QString &startDir);

    // Copies the toolbar's enabled states to the menu entries of the 20
    // commands that have one.
    void MENU_SETTEI();

    // The program's icon, drawn for it, in the sizes the desktop uses.
    static QIcon applicationIcon();

    // Every toolbar key and menu entry ends here.
    enum class Origin { Toolbar, Menu };
    void runCommand(Command command, Origin origin);

    QToolBar *toolbar() const { return m_toolbar; }
    QStatusBar *statusBarWidget() const { return m_statusBar; }
    QAction *buttonAction(Command command) const { return m_buttons[size_t(command)]; }
    QAction *menuEntry(MenuEntry entry) const { return m_menuEntries[size_t(entry)]; }
    RichTextView *listView() const { return m_listView; }
    RichTextView *detailView() const { return m_detailView; }
    QTimer *timer1() const { return m_timer1; }
    Time_Kanri *timeKanri() const;
    // The break reminder's poll: shows the reminder when it is due.
    void Timer1_Timer();
    const ViewFrame &viewFrame() const { return m_frame; }

    // ProgressPort
    void setRange(int minimum, int maximum) override;
    void setValue(int value) override;
    void setShown(bool shown) override;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildToolbar();
    void buildMenus();
    void addFoldedAccessKey(QMenu *menu);
    void fitOntoScreen();
    void buildStatusBar();
    void layoutClientArea();
    void applyBars(bool toolbarShown, bool statusShown);
    void refreshGeometrySettings();
    void showError(const QString &text, const QString &caption);

    // Entry points of commands.
    void deleteFile();
    void openSort();
    void openChangeSettei();
    void openUpdate();
    void openHozon();
    void openSearchSave();
    void openParameterRead();
    void openHinagataRead();
    void openHinagataFukusei();
    void openTimeKanri(bool fromMenu);
    // The one time-management dialog, made when first needed.
    Time_Kanri *ensureTimeKanri();
    void openColorSettei();
    void writeDump();

    void toggleBar(MenuEntry which, QWidget *bar,
                   bool (*toggle)(Workbench &, ViewFrame &, bool));
    void M_DISP_TOOL_BAR_Click();
    void M_DISP_STATUS_BAR_Click();
    void M_HELP_VER_Click();
    void M_FILE_UNDO_Click();
    void M_CONFIG_UNDO_Click();
    void endProgram();
    void Form_Activate();

    Workbench &m_wb;
    QWidget *m_client = nullptr;
    QToolBar *m_toolbar = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QProgressBar *m_progress = nullptr;
    RichTextView *m_listView = nullptr;
    RichTextView *m_detailView = nullptr;
    QTimer *m_timer1 = nullptr;
    std::array<QAction *, Commands::kCount> m_buttons{}; // by command
    std::array<QAction *, MenuEntries::kCount> m_menuEntries{}; // by menu entry
    std::array<QLabel *, StatusPanels::kCount> m_panels{}; // by panel
    ViewFrame m_frame;
    bool m_closing = false;
    QPointer<Time_Kanri> m_timeKanri; // one instance, for both views
    bool m_closeWhenIdle = false; // closed while busy: close when the operation ends

    std::unique_ptr<MessageBoxPort> m_messagePort;
    std::unique_ptr<TimedEventPump> m_pump;
    std::unique_ptr<QtClipboardPort> m_clipboard;
};
