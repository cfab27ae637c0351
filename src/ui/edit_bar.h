#pragma once
// The edit bar: one line of at most 255 characters, Latin-1 only, because cell texts are bytes.
#include <QLineEdit>
#include <QValidator>

namespace qx {

constexpr int kEditBarLimit = 255;

// Refuses any character outside Latin-1 and control characters, wherever it comes from (typed or pasted).
class Latin1Validator final : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

class EditBar final : public QLineEdit {
    Q_OBJECT
  public:
    explicit EditBar(QWidget* parent = nullptr);

  Q_SIGNALS:
    void escapePressed();
    // Focus came in by a click while no cell was being edited.
    void clickedIn();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace qx
