#pragma once
// "Line Width": the characters per line of an export, asked before every export.
#include <QDialog>
#include <QLineEdit>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace qx {

inline constexpr std::string_view kLineWidthCaption = "Line Width";
inline constexpr int kDefaultLineWidth = 255;

class LineWidthDialog final : public QDialog {
    Q_OBJECT
  public:
    LineWidthDialog(const QString& prompt, Platform& platform, QWidget* parent = nullptr);

    // The width chosen; set once the dialog was accepted.
    std::optional<int> width() const { return m_width; }
    QLineEdit* field() const { return m_field; }

  private:
    void take();

    Platform& m_platform;
    QLineEdit* m_field = nullptr;
    std::optional<int> m_width;
};

}  // namespace qx
