#pragma once

#include <QAbstractButton>
#include <QColor>
#include <optional>

namespace dv {

// A link: a text that is clicked as a button is, drawn underlined in its text colour (the
// palette's, which follows the control's foreground), in its hover colour while the pointer is
// over it, under a pointing-hand pointer. It takes no focus, as texts do not.
class LinkLabel : public QAbstractButton {
  public:
    LinkLabel(const QString& text, std::optional<QColor> hover, QWidget* parent);

    // The colour the text is drawn in now.
    QColor textColour() const;
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    std::optional<QColor> hover_;
    bool pointerOver_ = false;
};

}  // namespace dv
