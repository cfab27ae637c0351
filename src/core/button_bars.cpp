#include "core/button_bars.h"

#include <algorithm>

#include "core/app_globals.h"
#include "core/slot.h"

namespace qx {

const std::array<BuiltInButton, 9> kStandardModeButtons = {{
    {"Recalc", 4307},
    {"Protect", 4012},
    {"UnProt", 4013},
    {"Hide", 4010},
    {"Unhide", 4011},
    {"+BkColor", 4255},
    {"-BkColor", 4256},
    {"+Border", 4252},
    {"-Border", 4257},
}};

const std::array<BuiltInButton, 9> kEditModeButtons = {{
    {"Copy", 541},
    {"Cut", 542},
    {"Paste", 544},
    {"Undo", 540},
    {"Replace", 543},
    {"Function", 547},
    {"Address", 546},
    {"Label", 545},
    {"( [ ] )", 548},
}};

const std::array<BuiltInButton, 8> kTableOptionsButtons = {{
    {"Capture", 4404},
    {"Place", 4418},
    {"Invert", 4314},
    {"Sort", 4315},
    {"SwapCol", 4318},
    {"RmvRow", 4316},
    {"RmvCol", 4317},
    {"SetValue", 4319},
}};

const std::array<BuiltInButton, 2> kStandardEditBarButtons = {{{"List", 590}, {"View", 591}}};
const std::array<BuiltInButton, 2> kEditModeEditBarButtons = {{{"Esc", 592}, {"Rtn", 593}}};

bool isDefaultBarName(std::string_view name) {
    return name == kStandardModeName || name == kEditModeName;
}

bool ButtonBar::isDefault() const {
    return isDefaultBarName(name);
}

char illegalBarNameChar(std::string_view name) {
    constexpr std::string_view kRefused = ",|{}~";
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte > 126 || kRefused.find(c) != std::string_view::npos) return c;
    }
    return '\0';
}

BarSet::BarSet() {
    addBuiltIn(kStandardModeName, kStandardModeButtons.data(), kStandardModeButtons.size());
    addBuiltIn(kEditModeName, kEditModeButtons.data(), kEditModeButtons.size());
    m_shown = 1;
}

int BarSet::addBuiltIn(std::string_view name, const BuiltInButton* first, std::size_t count) {
    const int place = addBar(name);
    if (place == 0) return 0;
    auto& buttons = slot(m_bars, place - 1)->buttons;
    for (std::size_t i = 0; i < count; ++i) buttons.push_back({std::string(first[i].label), first[i].command});
    return place;
}

int BarSet::addBar(std::string_view name, uint32_t flags) {
    name = name.substr(0, kMaxBarName);
    if (name.empty() || findBar(name) != 0) return 0;
    const auto slot = std::find_if(m_bars.begin(), m_bars.end(), [](const auto& b) { return !b.has_value(); });
    if (slot == m_bars.end()) return 0;
    slot->emplace(ButtonBar{std::string(name), flags, {}});
    m_shown = static_cast<int>(slot - m_bars.begin()) + 1;
    return m_shown;
}

int BarSet::findBar(std::string_view name) const {
    for (int i = 0; i < kMaxBars; ++i) {
        if (slot(m_bars, i) && slot(m_bars, i)->name == name) return i + 1;
    }
    return 0;
}

const ButtonBar* BarSet::bar(int place) const {
    if (place < 1 || place > kMaxBars || !slot(m_bars, place - 1)) return nullptr;
    return &*slot(m_bars, place - 1);
}

std::vector<int> BarSet::places() const {
    std::vector<int> out;
    for (int i = 0; i < kMaxBars; ++i) {
        if (slot(m_bars, i)) out.push_back(i + 1);
    }
    return out;
}

std::string BarSet::deleteBar(int place) {
    const ButtonBar* target = bar(place);
    if (target && !target->isDefault()) {
        slot(m_bars, place - 1).reset();
        if (m_shown == place) m_shown = places().front();
    }
    const ButtonBar* shown = shownBar();
    return shown ? shown->name : std::string();
}

bool BarSet::showBar(std::string_view name) {
    const int place = findBar(name);
    if (place == 0) return false;
    m_shown = place;
    return true;
}

ButtonBar* BarSet::editableShownBar() {
    if (m_shown == 0 || !slot(m_bars, m_shown - 1) || slot(m_bars, m_shown - 1)->isDefault()) return nullptr;
    return &*slot(m_bars, m_shown - 1);
}

bool BarSet::addButton(std::string_view label, uint16_t command) {
    const ButtonBar* shown = shownBar();
    return shown && insertButton(static_cast<int>(shown->buttons.size()), label, command);
}

bool BarSet::insertButton(int position, std::string_view label, uint16_t command) {
    ButtonBar* b = editableShownBar();
    if (!b || label.empty() || b->buttons.size() >= kMaxBarButtons) return false;
    if (position < 0 || position > static_cast<int>(b->buttons.size())) return false;
    b->buttons.insert(b->buttons.begin() + position, BarButton{std::string(label.substr(0, kMaxButtonLabel)), command});
    return true;
}

bool BarSet::deleteButton(int position) {
    ButtonBar* b = editableShownBar();
    if (!b || position < 0 || position >= static_cast<int>(b->buttons.size())) return false;
    b->buttons.erase(b->buttons.begin() + position);
    return true;
}

bool BarSet::moveButton(int from, int to) {
    ButtonBar* b = editableShownBar();
    if (!b) return false;
    const int count = static_cast<int>(b->buttons.size());
    if (from < 0 || from >= count || to < 0 || to >= count) return false;
    BarButton moved = std::move(slot(b->buttons, from));
    b->buttons.erase(b->buttons.begin() + from);
    b->buttons.insert(b->buttons.begin() + to, std::move(moved));
    return true;
}

std::optional<std::string> BarSet::buttonLabel(int place, int position) const {
    const ButtonBar* b = bar(place);
    if (!b || position < 0 || position >= static_cast<int>(b->buttons.size())) return std::nullopt;
    return slot(b->buttons, position).label;
}

std::optional<uint16_t> BarSet::buttonCommand(int place, int position) const {
    const ButtonBar* b = bar(place);
    if (!b || position < 0 || position >= static_cast<int>(b->buttons.size())) return std::nullopt;
    return slot(b->buttons, position).command;
}

void BarSet::installTableOptions() {
    const int shown = m_shown;
    addBuiltIn(kTableOptionsName, kTableOptionsButtons.data(), kTableOptionsButtons.size());
    m_shown = shown;
}

}  // namespace qx
