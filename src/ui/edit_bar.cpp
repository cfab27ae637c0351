#include "ui/edit_bar.h"

#include <QKeyEvent>

namespace qx {

QValidator::State Latin1Validator::validate(QString& input, int&) const {
    for (const QChar c : input) {
        if (c.unicode() < 32 || c.unicode() > 255 || c.unicode() == 127) return Invalid;
    }
    return Acceptable;
}

EditBar::EditBar(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(kEditBarLimit);
    setValidator(new Latin1Validator(this));
    setToolTip(
        tr("The entry of the cell under the pointer (at most 255 characters, Latin-1 only).\n"
           "Characters from 127 up stay in the cell but are saved to files as '^'."));
    setAccessibleName(tr("Edit bar"));
}

void EditBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Q_EMIT escapePressed();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void EditBar::mousePressEvent(QMouseEvent* event) {
    Q_EMIT clickedIn();
    QLineEdit::mousePressEvent(event);
}

}  // namespace qx
