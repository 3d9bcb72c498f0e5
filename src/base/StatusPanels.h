#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>

#include <array>
#include <optional>

// The status bar's four panels. The core writes texts here; the status bar
// widget mirrors them.
enum class StatusPanel { SEARCH, PATH, WORD, HIT_SU };
Q_DECLARE_METATYPE(StatusPanel)

class StatusPanels : public QObject
{
    Q_OBJECT
public:
    static constexpr StatusPanel kSearch = StatusPanel::SEARCH;
    static constexpr StatusPanel kPath = StatusPanel::PATH;
    static constexpr StatusPanel kWord = StatusPanel::WORD;
    static constexpr StatusPanel kHitSu = StatusPanel::HIT_SU;
    static constexpr int kCount = 4;

    // The panel's key as the status bar names its widget: "SEARCH", "PATH",
    // "WORD", "HIT_SU".
    static QString keyOf(StatusPanel panel);

    void setText(StatusPanel panel, const QString &text);
    QString text(StatusPanel panel) const;

Q_SIGNALS:
    void changed(StatusPanel panel, const QString &text);

private:
    // Unset until a first text, which is a change even when empty.
    std::array<std::optional<QString>, kCount> m_panels;
};
