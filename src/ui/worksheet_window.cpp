#include "ui/worksheet_window.h"

#include "app/session.h"
#include "ui/app_icon.h"
#include "ui/qt_platform.h"

namespace qx {

WorksheetWindow::WorksheetWindow(Session& session, int level, QWidget* parent)
    : QMdiSubWindow(parent), m_session(session), m_level(level), m_area(new CellAreaView(session, level, this)) {
    setWidget(m_area);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(appIcon());
    updateTitle();
}

void WorksheetWindow::updateTitle() {
    const LevelRec* rec = m_session.cells().levelPtr(m_level);
    QString title = tr("Level %1 - %2").arg(m_level).arg(fromEngine(rec->defaultFileName));
    if (rec->changed) title += QStringLiteral(" *");
    if (windowTitle() != title) setWindowTitle(title);
}

}  // namespace qx
