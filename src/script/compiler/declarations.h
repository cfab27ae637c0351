#pragma once
// Parameter and local declarations: the positional codes that replace their names in the body,
// the record's signature and local list.
#include <string>
#include <vector>

#include "core/err_stat.h"
#include "script/compiler/script_source.h"

namespace qx {

// Limits a library reader holds a script to: passed-in parameters, and numbers in the local list.
inline constexpr std::size_t kMaxPassedIn = 32;
inline constexpr std::size_t kMaxLocalListNumbers = 32;
inline constexpr int kMaxDimension = 255;

struct DeclaredName {
    std::string name;
    std::string code;
};

struct Declarations {
    std::vector<DeclaredName> names;  // passed-in first, then locals, each in declaration order
    std::string signature;            // "(#,*,$,~)"
    std::string localList;            // "2,1,10,1,20"
};

bool parseDeclarations(const ScriptSource& script, Declarations& out, ErrStat& err);

// Replaces every whole-word use of a declared name outside strings by its code and moves the string
// positions along. `uses` gets the number of replacements per name.
void replaceNames(ScriptSource& script, const Declarations& declarations, std::vector<int>& uses);

bool isScriptNameStart(char c);
bool isScriptNameChar(char c);

}  // namespace qx
