#pragma once
// Everything the engine asks of the outside world. The engine never talks to Qt,
// the terminal or the clock directly; front ends and tests supply an implementation.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qx {

enum class BoxIcon { None, Information, Exclamation, Question, Stop };
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class BoxAnswer { Ok, Cancel, Yes, No };

// One entry of a file dialog's type list: the text the user reads and its pattern ("*.qx3", "*.*").
struct FileFilter {
    std::string description;
    std::string pattern;
};

// A chosen file and the index of the type-list entry that was selected when it was chosen.
struct FileChoice {
    std::string path;
    int filter = 0;
};

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
    // A file dialog with a type list. Front ends without one answer through chooseFile, as if the
    // preselected entry had stayed selected.
    virtual std::optional<FileChoice> chooseFileOfType(const std::string& caption, const std::string& directory,
                                                       const std::vector<FileFilter>& filters, int preselected,
                                                       bool forSaving) {
        std::string joined;
        for (const FileFilter& f : filters) joined += (joined.empty() ? "" : ";") + f.pattern;
        std::optional<std::string> path = chooseFile(caption, directory, joined, forSaving);
        if (!path) return std::nullopt;
        return FileChoice{*path, preselected};
    }
    virtual DateTime now() = 0;
    virtual double elapsedMs() = 0;
    // Something worksheets show has changed; the front end repaints when convenient.
    virtual void changed() = 0;
    // A line for the status field (a failing script condition); a front end without one drops it.
    virtual void statusText(const std::string& text) { (void)text; }
    // A long engine operation lets the front end look at its input (its runner calls this every few
    // tens of milliseconds of running time). True when the user asked to stop the operation.
    virtual bool pollInterrupt() { return false; }
};

}  // namespace qx
