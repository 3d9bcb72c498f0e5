#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

// The enabled and visible state of the 21 toolbar commands, addressed by key:
// the one record of what the user may do. The toolbar mirrors it at once; the
// menus copy it through MENU_SETTEI.
class CommandBoard : public QObject
{
    Q_OBJECT
public:
    static constexpr int kCount = 21;
    // The toolbar order, which is also the order of the saved-state array.
    static const std::array<QString, kCount> &keys();
    static int indexOf(const QString &key);

    CommandBoard();

    bool isEnabled(const QString &key) const;
    bool isVisible(const QString &key) const;
    void setEnabled(const QString &key, bool enabled);
    void setVisible(const QString &key, bool visible);
    void enable(std::initializer_list<const char *> keys);
    void disable(std::initializer_list<const char *> keys);

    // Saves which buttons are enabled and disables all 21. Called once before
    // each Leave_Busy; a second call would record every button as disabled.
    void Enter_Busy();
    // Enables every button that was enabled at Enter_Busy; the others keep
    // their present state, so a button enabled meanwhile stays enabled.
    void Leave_Busy();
    const std::array<qint16, kCount> &Saved_Buttons() const { return m_saved; }

    // The state after start-up: NONE1 hidden and disabled, the commands that
    // need a result disabled.
    void Apply_Startup();

Q_SIGNALS:
    void changed(const QString &key);

private:
    std::array<bool, kCount> m_enabled{};
    std::array<bool, kCount> m_visible{};
    std::array<qint16, kCount> m_saved{};
};
