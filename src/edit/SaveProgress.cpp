#include "edit/SaveProgress.h"

#include "base/Workbench.h"

namespace {

// The status bar text is set at most this often (ms): one label update per
// file would cost more than the saving of a small file.
constexpr qint64 kStatusIntervalMs = 30;

} // namespace

SaveProgress::SaveProgress(Workbench &wb, int total) : m_wb(wb), m_total(total)
{
    m_searchPanel = wb.status.text(StatusPanels::kSearch);
    m_pathPanel = wb.status.text(StatusPanels::kPath);
    m_busy = wb.board.Enter_Busy();
    wb.board.saveStarting();
    wb.MENU_SETTEI();
    wb.work.Search_Running = 1;
    wb.pump->setBusyCursor(true);
    wb.status.setText(StatusPanels::kSearch, QStringLiteral("Save...!"));
    wb.progress->setRange(0, std::max(total, 1));
    wb.progress->setValue(0);
    wb.progress->setShown(true);
}

SaveProgress::~SaveProgress()
{
    end();
}

bool SaveProgress::next(const QString &file)
{
    // What STOP pressed during the previous file asks for is seen here, after
    // the window had its turn.
    m_wb.pump->yield();
    if (m_wb.work.Search_Running == 0)
        return false;
    ++m_done;
    // After a wait the count replaces the waiting text at once.
    if (!m_waitingFor.isEmpty()) {
        m_waitingFor.clear();
        m_shown.invalidate();
    }
    if (!m_shown.isValid() || m_shown.elapsed() >= kStatusIntervalMs || m_done == m_total) {
        m_wb.status.setText(StatusPanels::kPath, QStringLiteral("保存中 %1 / %2 件目: ").arg(m_done).arg(m_total) + file);
        m_wb.progress->setValue(m_done);
        m_shown.start();
    }
    return true;
}

bool SaveProgress::waiting(const QString &file)
{
    if (file != m_waitingFor) {
        m_waitingFor = file;
        m_wb.status.setText(StatusPanels::kPath, QStringLiteral("ほかの保存の終了を待っています: ") + file);
    }
    m_wb.pump->yield();
    return m_wb.work.Search_Running != 0;
}

void SaveProgress::end()
{
    if (m_ended)
        return;
    m_ended = true;
    m_wb.work.Search_Running = 0;
    m_wb.progress->setShown(false);
    m_wb.status.setText(StatusPanels::kSearch, m_searchPanel);
    m_wb.status.setText(StatusPanels::kPath, m_pathPanel);
    m_wb.pump->setBusyCursor(false);
    if (m_busy) {
        m_wb.board.Leave_Busy();
        m_wb.board.saveEnded();
    }
    m_wb.MENU_SETTEI();
}
