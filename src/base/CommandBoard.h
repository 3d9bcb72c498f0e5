#pragma once

#include "base/Command.h"

#include <QObject>

#include <array>

// The enabled and visible state of the 21 toolbar commands:
// the one record of what the user may do. The toolbar mirrors it at once; the
// menus copy it through MENU_SETTEI.
class CommandBoard : public QObject
{
    Q_OBJECT
public:
    static constexpr int kCount = Commands::kCount;

    CommandBoard();

    bool isEnabled(Command command) const;
    bool isVisible(Command command) const;
    void setEnabled(Command command, bool enabled);
    void setVisible(Command command, bool visible);
    void enable(std::initializer_list<Command> commands);
    void disable(std::initializer_list<Command> commands);

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

Q_SIGNALS:
    void changed(Command command);
    void busyChanged(bool busy);

private:
    std::array<bool, kCount> m_enabled{};
    std::array<bool, kCount> m_visible{};
    std::array<qint16, kCount> m_saved{};
    bool m_busy = false;
};
