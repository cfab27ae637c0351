#pragma once
// The button bars as data: which bars exist, their buttons, and which bar is on show.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

constexpr int kMaxBars = 16;
constexpr int kMaxBarButtons = 9;
constexpr int kMaxButtonLabel = 8;
constexpr int kMaxBarName = 16;

struct BarButton {
    std::string label;     // at most 8 characters; a script button's label is the script's name
    uint16_t command = 0;  // 0: script button
    bool isScript() const { return command == 0; }
    bool operator==(const BarButton&) const = default;
};

struct ButtonBar {
    std::string name;  // at most 16 characters, unique
    uint32_t flags = 0;
    std::vector<BarButton> buttons;
    bool isDefault() const;
};

struct BuiltInButton {
    std::string_view label;
    uint16_t command;
};

extern const std::array<BuiltInButton, 9> kStandardModeButtons;
extern const std::array<BuiltInButton, 9> kEditModeButtons;
extern const std::array<BuiltInButton, 8> kTableOptionsButtons;
extern const std::array<BuiltInButton, 2> kStandardEditBarButtons;
extern const std::array<BuiltInButton, 2> kEditModeEditBarButtons;

constexpr std::string_view kTableOptionsName = "Table options";

bool isDefaultBarName(std::string_view name);

// The first character that may not appear in a bar name (it would break the settings records),
// or '\0' when the name is acceptable. Bytes outside 32..126 are refused too.
char illegalBarNameChar(std::string_view name);

// Places are numbered 1..16; button positions are 0-based. "Standard mode" and "Edit mode"
// always exist, cannot be changed or deleted, and "Standard mode" is on show at first.
class BarSet {
  public:
    BarSet();

    // Place number, or 0 when the name exists, is empty, or all places are taken. The new bar is shown.
    int addBar(std::string_view name, uint32_t flags = 0);
    int findBar(std::string_view name) const;
    // Removes a bar (default bars stay); returns the name of the bar now on show.
    std::string deleteBar(int place);
    bool showBar(std::string_view name);

    // These act on the bar on show and refuse default bars, empty labels and a tenth button.
    bool addButton(std::string_view label, uint16_t command);
    bool insertButton(int position, std::string_view label, uint16_t command);
    bool deleteButton(int position);
    bool moveButton(int from, int to);

    std::optional<std::string> buttonLabel(int place, int position) const;
    std::optional<uint16_t> buttonCommand(int place, int position) const;

    const ButtonBar* bar(int place) const;
    const ButtonBar* shownBar() const { return bar(m_shown); }
    int shownPlace() const { return m_shown; }
    // The occupied places in order.
    std::vector<int> places() const;

    // Adds "Table options", the bar that stands in for missing settings.
    void installTableOptions();

  private:
    int addBuiltIn(std::string_view name, const BuiltInButton* first, std::size_t count);
    ButtonBar* editableShownBar();

    std::array<std::optional<ButtonBar>, kMaxBars> m_bars;
    int m_shown = 0;
};

}  // namespace qx
