#pragma once
// Which family knows a function name, and handing each call to it; names that no family knows go to the
// attached scripts.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/err_stat.h"
#include "formula/evaluator.h"
#include "functions/origins.h"

namespace qx {

class CellStore;
class EntryOperation;
class Platform;
class FunctionCall;
class Toolkit;

// One function of a family: what the function-insert dialog shows and what runs.
using FunctionImpl = double (*)(FunctionCall& call, ErrStat& err);

struct FunctionEntry {
    std::string_view name;
    int helpId = 0;
    std::string_view callTemplate;  // first line of the help text; <> marks optional arguments
    FunctionImpl impl = nullptr;
};

// The families in the order in which a name is looked up.
enum class FamilyId : int {
    Toolkit,
    String,
    StringCopy,
    Math,
    Trig,
    CellInfo,
    Finance,
    Date,
    Matrix,
    Graphics,
    Geometry,
    Road,
    Tables,
    Summary,
    Distributions,
    Regression,
};
constexpr int kFamilyCount = 16;

// The position + 1 of `name` in a table sorted by signed bytes, 0 when absent. Case-sensitive.
int lookupFunction(std::span<const FunctionEntry> table, std::string_view name);

// Orders names as the lookup does: bytes compared as signed characters, a prefix first.
int compareNames(std::string_view a, std::string_view b);

// The attached scripts, reached when no family knows a name.
class ScriptCaller {
  public:
    virtual ~ScriptCaller() = default;
    virtual double callScript(CallRecord& call, ErrStat& err) = 0;
};

// What the general families reach besides the call itself.
struct FunctionServices {
    CellStore& store;
    EntryOperation& entry;
    Platform* platform = nullptr;  // clock for now(), ran() and the millennium; none reads as 2000-01-01
    Toolkit* toolkit = nullptr;    // the scripts' toolkit, when the session installs it
};

class FunctionRegistry final : public FunctionDispatcher {
  public:
    explicit FunctionRegistry(FunctionServices services);

    // Families of later subsystems fill their place; an empty table removes them again.
    void installFamily(FamilyId family, std::span<const FunctionEntry> table);
    void setScriptCaller(ScriptCaller* scripts) { m_scripts = scripts; }
    std::span<const FunctionEntry> family(FamilyId family) const;

    double call(CallRecord& call, ErrStat& err) override;

    FunctionServices& services() { return m_services; }

  private:
    FunctionServices m_services;
    std::array<std::span<const FunctionEntry>, kFamilyCount> m_families{};
    ScriptCaller* m_scripts = nullptr;
};

// The general families' tables, sorted by name.
std::span<const FunctionEntry> builtinFamily(FamilyId family);

}  // namespace qx
