#pragma once
// Turning a formula's stored (readable) text back into compiled text with the reference list the
// file gave, without compiling. Used only where the result is exactly what compiling would give.
#include <span>
#include <string>
#include <string_view>

namespace qx {

// One entry of a stored reference list; level 0 means "the cell's own level".
struct StoredReference {
    int row = 0;
    int col = 0;
    int level = 0;
};

// False when the text cannot be converted exactly: an address missing from the list, an entry the
// text never uses, an entry naming a level, duplicates, more entries than a formula may hold, or
// text that compiling would change (blanks, '~', a leading '+'). `formula` is false for a
// Variable Label's template.
bool convertStoredForm(std::string_view text, std::span<const StoredReference> refs, bool formula, std::string& out);

}  // namespace qx
