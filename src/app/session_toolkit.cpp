#include "app/session_toolkit.h"

#include <sstream>

#include "app/session.h"
#include "core/paths.h"
#include "files/text/text_export.h"
#include "protect/protection.h"

namespace qx {

int SessionToolkitHost::highestLevel() const {
    return m_session.highestLevel();
}

int SessionToolkitHost::activeLevel() const {
    return m_session.activeLevel();
}

bool SessionToolkitHost::scriptMay(ScriptAction action, int level) {
    if (level == 0) level = m_session.activeLevel();
    return CheckScriptAction(m_session.protection(), static_cast<int>(action), level, m_session.highestLevel());
}

ToolkitPlace SessionToolkitHost::pointer() {
    return ToolkitPlace{m_session.pointer().row, m_session.pointer().col, m_session.activeLevel()};
}

void SessionToolkitHost::moveTo(int level, int row, int col) {
    ErrStat err;
    m_session.moveTo(level, row, col, err);
    m_session.scratch().repaintPending = true;
    m_session.platform().changed();
}

ToolkitSelection SessionToolkitHost::selection() {
    const CellArea a = m_session.selection();
    return ToolkitSelection{m_session.activeLevel(), a.firstRow, a.firstCol, a.lastRow, a.lastCol};
}

void SessionToolkitHost::refresh() {
    m_session.scratch().repaintPending = true;
    m_session.platform().changed();
}

std::string SessionToolkitHost::reportText(int level, const CellArea& area, int width) {
    std::ostringstream out;
    ErrStat err;
    exportText(m_session.cells(), TextKind::Text, out, level, area, width, err);
    return out.str();
}

bool SessionToolkitHost::saveWork(const std::string& path, int level, ErrStat& err) {
    const SplitPath split = splitPath(path);
    return m_session.files().saveFile(level, split.directory, split.name, false, err);
}

bool SessionToolkitHost::loadWork(const std::string& path, int level, ErrStat& err) {
    const SplitPath split = splitPath(path);
    return m_session.files().loadFile(level, split.directory, split.name, err);
}

bool SessionToolkitHost::clearWork(int level, ErrStat& err) {
    m_session.files().clear(level, false, err);
    m_session.scratch().repaintPending = true;
    return !err.failed();
}

bool SessionToolkitHost::scriptMayStore(int level) {
    return scriptMay(ScriptAction::Edit, level);
}

}  // namespace qx
