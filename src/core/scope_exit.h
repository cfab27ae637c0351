#pragma once
// Runs an action when the scope ends, however it ends: for temporary changes to shared state.
#include <utility>

namespace qx {

template <class Action>
class ScopeExit {
  public:
    explicit ScopeExit(Action action) : m_action(std::move(action)) {}
    ~ScopeExit() { m_action(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

  private:
    Action m_action;
};

}  // namespace qx
