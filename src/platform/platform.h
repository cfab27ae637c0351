#pragma once
// Everything the engine asks of the outside world. The engine never talks to Qt,
// the terminal or the clock directly; front ends and tests supply an implementation.
#include <cstdint>
#include <optional>
#include <string>

namespace qx {

enum class BoxIcon { None, Information, Exclamation, Question, Stop };
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class BoxAnswer { Ok, Cancel, Yes, No };

// Local calendar time as the platform's clock gives it.
struct DateTime {
    int year = 2000;
    int month = 1;        // 1..12
    int day = 1;          // 1..31
    int hour = 0;         // 0..23
    int minute = 0;       // 0..59
    int second = 0;       // 0..59
    int millisecond = 0;  // 0..999
    int weekday = 6;      // 0 = Sunday
    int yearDay = 1;      // 1..366
};

class Platform {
public:
    virtual ~Platform() = default;

    // A modal box on the frame window; returns the button the user chose.
    virtual BoxAnswer messageBox(const std::string& caption, const std::string& text, BoxIcon icon,
                                 BoxButtons buttons) = 0;
    // A one-line text prompt (passwords, line widths); nullopt when cancelled.
    virtual std::optional<std::string> promptText(const std::string& caption, const std::string& prompt,
                                                  bool hidden) = 0;
    // The GUI's own file dialogs; nullopt when cancelled.
    virtual std::optional<std::string> chooseFile(const std::string& caption, const std::string& directory,
                                                  const std::string& filter, bool forSaving) = 0;
    virtual DateTime now() = 0;
    virtual double elapsedMs() = 0;
    // Something worksheets show has changed; the front end repaints when convenient.
    virtual void changed() = 0;
};

}  // namespace qx
