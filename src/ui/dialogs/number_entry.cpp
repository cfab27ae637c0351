#include "ui/dialogs/number_entry.h"

namespace qx {

std::optional<std::string> numberEntryRefusal(const QString& typed, int low, int high) {
    bool ok = false;
    const qlonglong value = typed.trimmed().toLongLong(&ok);
    if (!ok || value < low) return "Entry MUST be greater than " + std::to_string(low - 1) + ".";
    if (value > high) return "Entry MUST be less than " + std::to_string(high + 1) + ".";
    return std::nullopt;
}

std::optional<int> readNumberEntry(QLineEdit& field, int low, int high, Platform& platform) {
    if (const auto refusal = numberEntryRefusal(field.text(), low, high)) {
        platform.messageBox("WARNING", *refusal, BoxIcon::Exclamation, BoxButtons::Ok);
        field.setFocus();
        field.selectAll();
        return std::nullopt;
    }
    return field.text().trimmed().toInt();
}

}  // namespace qx
