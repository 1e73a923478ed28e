#include "browser/MainBanner.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QToolTip>

namespace {
// The gap between the last letter button and the banner's right edge: 120 twips.
int rightGap(const QWidget* w) { return (120 * w->logicalDpiX() + 720) / 1440; }
constexpr int kTextIndent = 10;
} // namespace

void ElidedLabel::setRightReserve(int pixels)
{
    if (pixels == rightReserve_)
        return;
    rightReserve_ = pixels;
    update();
}

QString ElidedLabel::shownText() const
{
    const int room = std::max(0, contentsRect().width() - kTextIndent - rightReserve_);
    return fontMetrics().elidedText(text(), Qt::ElideRight, room);
}

QSize ElidedLabel::sizeHint() const { return {0, QLabel::sizeHint().height()}; }
QSize ElidedLabel::minimumSizeHint() const { return {0, QLabel::minimumSizeHint().height()}; }

bool ElidedLabel::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QLabel::event(event);
    if (shownText() != text())
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
    else
        QToolTip::hideText();
    return true;
}

void ElidedLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect room = contentsRect().adjusted(kTextIndent, 0, -rightReserve_, 0);
    style()->drawItemText(&p, room, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(), shownText(),
                          foregroundRole());
}

MainBanner::MainBanner(QWidget* parent) : QWidget(parent)
{
    label_ = new ElidedLabel(this);
    label_->setObjectName("lblDisplay");
    for (int i = 0; i <= 26; ++i) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString("cmdList_%1").arg(i));
        button->setText(i == 0 ? QString("All") : QString(QChar('A' + i - 1)));
        buttons_.append(button);
    }
}

QSize MainBanner::minimumSizeHint() const
{
    int width = rightGap(this);
    for (const QToolButton* button : buttons_)
        width += button->sizeHint().width();
    return {width, 0};
}

void MainBanner::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeChildren();
}

bool MainBanner::event(QEvent* event)
{
    // A new style sheet or font changes the buttons' own widths.
    const bool done = QWidget::event(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange
        || event->type() == QEvent::Polish)
        placeChildren();
    return done;
}

void MainBanner::placeChildren()
{
    // Right to left: the last button keeps the gap to the banner's right edge, each other one ends where
    // the next begins; all take the banner's height.
    int left = width() - rightGap(this);
    for (qsizetype i = buttons_.size() - 1; i >= 0; --i) {
        const int w = buttons_[i]->sizeHint().width();
        left -= w;
        buttons_[i]->setGeometry(left, 0, w, height());
    }
    label_->setGeometry(rect());
    label_->setRightReserve(std::max(0, width() - left));
    label_->lower();
}
