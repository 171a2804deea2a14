#pragma once
// A label for a path: a text too long for its room is shortened in the middle ("…") instead of
// widening the window, and the whole text is its tool tip.

#include <QLabel>
#include <QResizeEvent>

namespace setup {

class ElidedLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

    void SetFullText(const QString& text) {
        full_ = text;
        setToolTip(text);
        Elide();
    }
    const QString& FullText() const { return full_; }

    // Any width will do: the text adapts to the room it is given.
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }
    QSize sizeHint() const override { return {0, QLabel::sizeHint().height()}; }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        Elide();
    }

  private:
    void Elide() { setText(fontMetrics().elidedText(full_, Qt::ElideMiddle, width())); }

    QString full_;
};

}  // namespace setup
