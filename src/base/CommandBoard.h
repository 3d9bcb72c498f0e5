#pragma once

#include "base/Command.h"

#include <QObject>
#include <QString>

#include <array>

// The enabled and visible state of the 21 toolbar commands:
// the one record of what the user may do. The toolbar mirrors it at once; the
// menus copy it through MENU_SETTEI.
//
// Features change it only through the named transitions below, one per event
// of the program; each sets the commands its event affects, from the work
// area and the view, and leaves the others as they are.
class WorkArea;

class CommandBoard : public QObject
{
    Q_OBJECT
public:
    static constexpr int kCount = Commands::kCount;

    CommandBoard();

    bool isEnabled(Command command) const;
    bool isVisible(Command command) const;

    // Saves which buttons are enabled and disables all 21. The snapshot is
    // one: while busy a second call is refused (false) and changes nothing,
    // since it would record every button as disabled and leave them so when
    // the first operation ends.
    bool Enter_Busy();
    // Enables every button that was enabled at Enter_Busy; the others keep
    // their present state, so a button enabled meanwhile stays enabled.
    // Ends the busy state; a second call is harmless.
    void Leave_Busy();
    // Between Enter_Busy and Leave_Busy: a long operation runs and pumps the
    // event loop; views and handlers take no command but STOP.
    bool isBusy() const { return m_busy; }
    const std::array<qint16, kCount> &Saved_Buttons() const { return m_saved; }

    // The state after start-up: NONE1 hidden and disabled, the commands that
    // need a result disabled.
    void applyStartup();
    // A search is about to run (confirmed in its dialog, or inside the run's
    // busy state): only STOP may end it.
    void searchStarting();
    // A save of many files runs inside the busy state: only STOP may end it.
    void saveStarting();
    // The save ended and the busy state with it: STOP is off again.
    void saveEnded();
    // After the work area's files or lines changed (a search run, a template
    // read, a replace, a deselect, a duplication): what a result offers, and
    // for an empty work area what a new search needs.
    void afterResultsChanged(const WorkArea &work);
    // The work area was emptied (CLEAR, or a template read that discards it).
    void afterClear();
    // Changes were applied or saved: HOZON follows the unsaved changes.
    void afterChangeFlags(const WorkArea &work);
    // The list view shows again.
    void listViewShown();
    // The detail view is being built: a busy state without deselecting.
    void detailRequested();
    // The detail view shows the file under header; SORT only for a file that
    // a template read or a duplication made.
    void detailShown(const QString &header);
    // The detail view shows again after a duplication rebuilt the list under
    // it: the list's deselect is not offered there.
    void detailKeptAfterChange();
    // The detail view could not be built: back to the list.
    void detailRefused();
    // The duplication parameters changed: HINA_FUKUSEI needs at least one.
    void parametersChanged(int paramCount);
    // The main window is active again (a dialog closed). detailShown: the
    // detail view shows the file under header; neither view may show.
    void activated(int paramCount, const WorkArea &work, bool detailShown, const QString &header);
    // The hidden work-area dump is offered on the toolbar.
    void offerDump();

Q_SIGNALS:
    void changed(Command command);
    void busyChanged(bool busy);

private:
    friend struct CommandBoardTestAccess;
    void setEnabled(Command command, bool enabled);
    void setVisible(Command command, bool visible);
    void enable(std::initializer_list<Command> commands);
    void disable(std::initializer_list<Command> commands);

    std::array<bool, kCount> m_enabled{};
    std::array<bool, kCount> m_visible{};
    std::array<qint16, kCount> m_saved{};
    bool m_busy = false;
};
