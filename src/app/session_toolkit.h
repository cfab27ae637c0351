#pragma once
// The session's side of the toolkit: windows, protection and files as the scripts see them.
#include "formula/script_frame.h"
#include "script/toolkit/toolkit.h"

namespace qx {

class Session;

class SessionToolkitHost final : public ToolkitHost, public ScriptStoreCheck {
  public:
    explicit SessionToolkitHost(Session& session) : m_session(session) {}

    int highestLevel() const override;
    int activeLevel() const override;
    bool scriptMay(ScriptAction action, int level) override;
    ToolkitPlace pointer() override;
    void moveTo(int level, int row, int col) override;
    ToolkitSelection selection() override;
    void refresh() override;
    std::string reportText(int level, const CellArea& area, int width) override;
    bool saveWork(const std::string& path, int level, ErrStat& err) override;
    bool loadWork(const std::string& path, int level, ErrStat& err) override;
    bool clearWork(int level, ErrStat& err) override;
    bool scriptMayStore(int level) override;

  private:
    Session& m_session;
};

}  // namespace qx
