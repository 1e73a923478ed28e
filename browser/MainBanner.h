#pragma once
// The banner across the main window: the "Browsing by ..." label spans it, and the 27 letter buttons stand
// right-aligned over it, each as wide as its own caption, touching one another. The label's text never
// widens the window: what does not fit left of the buttons is cut with an ellipsis.
#include <QLabel>
#include <QList>
#include <QWidget>

class QToolButton;

// A label whose text is drawn cut to the room it is given, and that asks for no width of its own.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // Pixels at the right edge that the text keeps clear of (the letter buttons stand there).
    void setRightReserve(int pixels);
    int rightReserve() const { return rightReserve_; }
    // The text as drawn: elided to fit.
    QString shownText() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // A cut text shows whole as the label's tip.
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int rightReserve_ = 0;
};

class MainBanner : public QWidget {
    Q_OBJECT
public:
    explicit MainBanner(QWidget* parent = nullptr);

    ElidedLabel* label() const { return label_; }
    const QList<QToolButton*>& buttons() const { return buttons_; }
    // Room for every letter button, so that the window never hides one; the label asks for none.
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void placeChildren();

    ElidedLabel* label_ = nullptr;
    QList<QToolButton*> buttons_;
};
