#pragma once
// A worksheet window: an MDI child showing one level of the workbook in its cell area.
#include <QMdiSubWindow>

#include "ui/cell_area_view.h"

namespace qx {

class WorksheetWindow final : public QMdiSubWindow {
    Q_OBJECT
  public:
    WorksheetWindow(Session& session, int level, QWidget* parent = nullptr);

    int level() const { return m_level; }
    CellAreaView* cellArea() const { return m_area; }
    // The title names the level and its file, which opening, saving and renaming change.
    void updateTitle();

  private:
    Session& m_session;
    int m_level;
    CellAreaView* m_area;
};

}  // namespace qx
