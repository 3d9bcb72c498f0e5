#pragma once

#include "edit/LineEditor.h"

#include <QString>

struct Workbench;

// The line editor (QUAV_UPDATE) bound to the work area: it loads the file the
// detail view shows into a LineEditor, and reflect puts the edited lines back
// into the all-lines store and shows the file again. The editing itself
// (delete, insert, update, go back) is the LineEditor's.
class LineEditForm
{
public:
    explicit LineEditForm(Workbench &wb);

    // Loads the shown file with the progress bar running and the panels
    // telling what happens. false when the detail view shows no file of the
    // work area (the user has been told); the dialog closes then.
    bool Form_Load();

    // Label2: the path of the file being edited.
    const QString &fileKey() const { return m_key; }
    int file() const { return m_file; }
    LineEditor &editor() { return m_editor; }
    const LineEditor &editor() const { return m_editor; }

    // "編集反映": the file's stored lines become the editor's lines, in
    // place, numbered to the thousandth (the work area moves the other files'
    // line index with them); the file is marked changed (also without edits)
    // and the detail view rebuilt. false when the work area could not take
    // them (the user has been told; the edits stay in the dialog).
    bool Cmd_Hanei_Click();

private:
    Workbench &m_wb;
    LineEditor m_editor;
    int m_file = -1;
    QString m_key;
};
