#pragma once
// The button bar row: the buttons of the bar on show, laid out left to right at equal widths.
// A button that would end beyond the right edge is not created; resizing creates and removes
// buttons as they come to fit or stop fitting.
#include <QPushButton>
#include <QWidget>
#include <vector>

#include "core/button_bars.h"

namespace qx {

class ButtonBarWidget : public QWidget {
    Q_OBJECT
  public:
    explicit ButtonBarWidget(BarSet& bars, QWidget* parent = nullptr);

    // Shows the buttons of the bar on show in the bar set again (after any change to it).
    void rebuild();
    // The buttons now created, in order.
    const std::vector<QPushButton*>& buttons() const { return m_buttons; }
    int buttonWidth() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  Q_SIGNALS:
    void commandPressed(int id);
    void scriptPressed(const QString& name);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void layoutButtons();

    BarSet& m_bars;
    std::vector<QPushButton*> m_buttons;
};

}  // namespace qx
