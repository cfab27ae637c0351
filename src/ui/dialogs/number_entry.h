#pragma once
// A numeric entry field with the range check every dialog's number fields share: a value outside
// the range is refused with a box that says which bound it crossed.
#include <QLineEdit>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace qx {

// The refusal text for a typed number outside low..high, or nothing when it is inside. Text that is
// not a whole number is refused as below the range.
std::optional<std::string> numberEntryRefusal(const QString& typed, int low, int high);

// Reads the field; a refused value shows its box, puts the focus back into the field and gives nothing.
std::optional<int> readNumberEntry(QLineEdit& field, int low, int high, Platform& platform);

}  // namespace qx
