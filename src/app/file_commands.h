#pragma once
// The file menu's commands and the protection settings as the file readers and writers see them.
#include "app/command_table.h"
#include "files/load_context.h"
#include "protect/protection.h"

namespace qx {

class Session;

// The session's protection settings behind the files' port: loads that would add cells to a level
// that forbids it are refused with the refusal box, and a workbook's open password is asked for.
class SessionProtectionPort final : public ProtectionPort {
  public:
    SessionProtectionPort(ProtectionSettings& settings, Platform& platform, int highestLevel)
        : m_settings(settings), m_platform(platform), m_highestLevel(highestLevel) {}

    bool mayAddCells(int level) override;
    bool openPasswordAccepted(const std::string& password, uint32_t flags) override;
    std::string password() const override { return m_settings.password.text(); }
    uint32_t flags(int level) const override;
    void setPassword(const std::string& password) override { m_settings.password.assign(password); }
    void setFlags(int level, uint32_t flags) override;
    void reset() override { ResetProtection(m_settings); }

  private:
    ProtectionSettings& m_settings;
    Platform& m_platform;
    int m_highestLevel;
};

CommandOutcome saveCommand(Session& session, ErrStat& err);
CommandOutcome clearWorkbookCommand(Session& session, ErrStat& err);
CommandOutcome clearWorksheetCommand(Session& session, ErrStat& err);

}  // namespace qx
