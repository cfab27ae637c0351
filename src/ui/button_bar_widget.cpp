#include "ui/button_bar_widget.h"

#include <QFontMetrics>
#include <QResizeEvent>

#include "ui/qt_platform.h"

namespace qx {
namespace {

constexpr int kSpacing = 2;

}  // namespace

ButtonBarWidget::ButtonBarWidget(BarSet& bars, QWidget* parent) : QWidget(parent), m_bars(bars) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    rebuild();
}

int ButtonBarWidget::buttonWidth() const {
    // Wide enough for the longest label a button may carry.
    return fontMetrics().horizontalAdvance(QStringLiteral("MMMMMMMM")) * 3 / 4 + 16;
}

QSize ButtonBarWidget::sizeHint() const {
    return QSize(kMaxBarButtons * (buttonWidth() + kSpacing), fontMetrics().height() + 14);
}

QSize ButtonBarWidget::minimumSizeHint() const {
    return QSize(0, sizeHint().height());
}

void ButtonBarWidget::rebuild() {
    layoutButtons();
}

void ButtonBarWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutButtons();
}

void ButtonBarWidget::layoutButtons() {
    // A button may be deleted from inside its own click; hidden now, it goes once the click is over.
    for (QPushButton* b : m_buttons) {
        b->hide();
        b->deleteLater();
    }
    m_buttons.clear();
    const ButtonBar* bar = m_bars.shownBar();
    if (bar == nullptr) return;
    const int w = buttonWidth();
    const int h = height() > 4 ? height() - 4 : sizeHint().height() - 4;
    int x = 0;
    for (const BarButton& button : bar->buttons) {
        if (x + w > width()) break;
        auto* push = new QPushButton(fromEngine(button.label), this);
        push->setFocusPolicy(Qt::NoFocus);
        push->setGeometry(x, 2, w, h);
        const uint16_t command = button.command;
        const QString label = fromEngine(button.label);
        if (button.isScript()) {
            push->setToolTip(tr("Runs the script %1").arg(label));
            connect(push, &QPushButton::clicked, this, [this, label] { Q_EMIT scriptPressed(label); });
        } else {
            connect(push, &QPushButton::clicked, this, [this, command] { Q_EMIT commandPressed(command); });
        }
        push->show();
        m_buttons.push_back(push);
        x += w + kSpacing;
    }
}

}  // namespace qx
