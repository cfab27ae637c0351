#pragma once
// Every menu command once: menus, button bars (which record and send ids) and quorix-cli
// (which accepts the short names) all dispatch through this table.
#include <span>
#include <string_view>

#include "core/err_stat.h"

namespace qx {

class Session;

enum class CommandOutcome {
    Done,
    NotAvailable,  // the subsystem behind the command is not built yet
    Failed,        // the ErrStat says why
    Unknown,       // no command has that id or name
};

using CommandHandler = CommandOutcome (*)(Session& session, ErrStat& err);

struct Command {
    int id;                 // the number a menu item or a button sends
    std::string_view name;  // short command name, also the label of a recorded button
    std::string_view menuText;
    CommandHandler handler;
    // The protected action (1..9) the active level must allow before the command runs; 0 for none.
    int action = 0;
};

class CommandTable {
  public:
    explicit CommandTable(std::span<const Command> commands) : m_commands(commands) {}

    // The menu commands of the application.
    static CommandTable standard();

    const Command* findById(int id) const;
    // Names are compared exactly, as button labels are.
    const Command* findByName(std::string_view name) const;
    std::span<const Command> all() const { return m_commands; }

  private:
    std::span<const Command> m_commands;
};

}  // namespace qx
