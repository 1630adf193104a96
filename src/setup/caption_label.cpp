#include "setup/caption_label.h"

#include <QMouseEvent>

namespace volt::setup {

CaptionLabel::CaptionLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
}

void CaptionLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    Q_EMIT PointerEntered();
}

void CaptionLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    Q_EMIT PointerLeft();
}

void CaptionLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
    Q_EMIT ButtonPressed();
}

// The click comes before the release, so a message box opened by the click returns before
// the caption turns back to its resting colour.
void CaptionLabel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Q_EMIT Clicked();
    }
    Q_EMIT ButtonReleased();
}

}  // namespace volt::setup
