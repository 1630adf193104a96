#pragma once
// A menu caption of the launcher: a fixed-size label that reports the pointer and the mouse
// button, and a click when the left button is released over it.

#include <QLabel>

namespace volt::setup {

class CaptionLabel final : public QLabel {
    Q_OBJECT
  public:
    CaptionLabel(const QString& text, QWidget* parent);

  Q_SIGNALS:
    void PointerEntered();
    void PointerLeft();
    void ButtonPressed();
    void ButtonReleased();
    void Clicked();

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace volt::setup
