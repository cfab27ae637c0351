#include "app/file_commands.h"

#include "app/session.h"

namespace qx {

bool SessionProtectionPort::mayAddCells(int level) {
    return CheckAction(m_settings, kActionAddCells, level, m_highestLevel, m_platform);
}

bool SessionProtectionPort::openPasswordAccepted(const std::string& password, uint32_t flags) {
    ProtectionSettings asked;
    asked.password.assign(password);
    asked.permissions[0] = flags;
    return AskPassword(asked, 0, m_highestLevel, m_platform);
}

uint32_t SessionProtectionPort::flags(int level) const {
    if (level < 0 || level >= kPermissionWordCount) return kPermissionReset;
    return m_settings.permissions[static_cast<std::size_t>(level)];
}

void SessionProtectionPort::setFlags(int level, uint32_t flags) {
    if (level >= 0 && level < kPermissionWordCount) setPermissionWord(m_settings, level, flags);
}

namespace {

CommandOutcome outcome(ErrStat& err) {
    return err.failed() ? CommandOutcome::Failed : CommandOutcome::Done;
}

}  // namespace

CommandOutcome saveCommand(Session& session, ErrStat& err) {
    err.enter();
    session.files().saveWorkbookCommand(err);
    return outcome(err);
}

CommandOutcome clearWorkbookCommand(Session& session, ErrStat& err) {
    err.enter();
    session.files().clear(0, true, err);
    return outcome(err);
}

CommandOutcome clearWorksheetCommand(Session& session, ErrStat& err) {
    err.enter();
    session.files().clear(session.activeLevel(), true, err);
    return outcome(err);
}

}  // namespace qx
