#pragma once

#include <QDialog>
#include <QFont>
#include <QPointer>

#include <utility>

class QListWidget;
struct Workbench;

// The protocol between a window and the dialog it opens: the opener is
// disabled, the dialog shows without modality, centred over the main window's
// remembered geometry and (for most dialogs) kept on top; when it closes, by
// its own buttons or the window's close box, it re-enables its opener and
// unloads itself. While it is disabled (a dialog it opened is showing) its
// close box does nothing.
//
// Dialogs have no parent widget: in Qt a disabled window disables its child
// windows, and the dialog must stay usable while its opener is disabled.
class QuavDialog : public QDialog
{
    Q_OBJECT
public:
    explicit QuavDialog(Workbench &wb, bool stayOnTop = true);

    // Disables the opener (may be null), loads what the dialog shows and
    // shows it centred. false when there was nothing to show (the user has
    // been told): the opener is enabled again and the dialog unloads.
    bool openFrom(QWidget *opener);
    QWidget *opener() const { return m_opener; }
    // Re-enables the opener (or, when given, another window) and unloads.
    void finish(QWidget *enableInstead = nullptr);

    // The fixed-pitch Japanese font of list boxes that show lines of text,
    // the font of the result views.
    static QFont listFont();

    // A list of paths made wide enough that they are not cut (the file names
    // at their ends above all), as far as the screen allows; wider ones
    // scroll. Each path shows whole in its tooltip as well.
    static void fitPathList(QListWidget *list);

    // left = main left + (main width - dialog width) / 2, likewise top; in
    // pixels, from the main window's remembered geometry in twips.
    static QPoint centredPosition(const QRect &mainTwips, const QSize &dialogSize);

protected:
    // What the dialog shows, loaded once its opener is disabled: a load that
    // pumps the event loop must not let the opener's commands run meanwhile.
    // false when there is nothing to show.
    virtual bool load() { return true; }

    // Hidden, the widgets keep their room, so that the dialog does not jump
    // when they are shown and hidden.
    static void keepRoomWhenHidden(std::initializer_list<QWidget *> widgets);

    // Each control's object name is the name of the member that holds it: the
    // controls are private, and tests and style sheets find them by that name.
    static void nameControls(std::initializer_list<std::pair<QWidget *, const char *>> controls);

    // While a run of this dialog goes on (it pumps the event loop and writes
    // to its own widgets), Escape and the close box do nothing.
    void setRunning(bool running) { m_running = running; }
    bool isRunning() const { return m_running; }

    void closeEvent(QCloseEvent *event) override;
    void reject() override; // Escape closes like the cancel button
    Workbench &m_wb;

private:
    QPointer<QWidget> m_opener;
    bool m_finished = false;
    bool m_running = false;
};
