#include "browser/frmSplash.h"

#include "browser/Artwork.h"
#include "core/basMain.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace {
constexpr int kWidth = 500;
constexpr int kBarHeight = 12;

QLabel* label(QWidget* parent, const char* name, const QString& text, qreal pointSize, bool bold, QColor colour)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    QFont f = l->font();
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    l->setFont(f);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, colour);
    l->setPalette(pal);
    return l;
}
} // namespace

frmSplash::frmSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName("frmSplash");
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    setFixedWidth(kWidth);

    auto* imgBar = new QLabel(this);
    imgBar->setObjectName("imgBar");
    imgBar->setPixmap(artwork::bar(kWidth, kBarHeight));
    imgBar->setFixedHeight(kBarHeight);

    imgLogo_ = new QLabel(this);
    imgLogo_->setObjectName("imgLogo");
    imgLogo_->setPixmap(artwork::logo(128));
    imgLogo_->installEventFilter(this);

    lblTitle_ = label(this, "lblTitle", "Tovalquendry", 28, true, QColor(0x3A, 0x2A, 0x10));
    lblVersion_ = label(this, "lblVersion", QString(), 11, false, QColor(0x70, 0x60, 0x50));
    auto* lblTagline = label(this, "lblTagline", "Your personal recipe collection", 11, false, QColor(0x70, 0x60, 0x50));
    auto* lblAuthor = label(this, "lblAuthor", "Written by the Tovalquendry developers", 9, false,
                            QColor(0x90, 0x80, 0x70));

    auto* text = new QVBoxLayout;
    text->addStretch();
    text->addWidget(lblTitle_);
    text->addWidget(lblVersion_);
    text->addSpacing(8);
    text->addWidget(lblTagline);
    text->addStretch();
    text->addWidget(lblAuthor);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(28, 24, 28, 20);
    body->setSpacing(28);
    body->addWidget(imgLogo_, 0, Qt::AlignVCenter);
    body->addLayout(text, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(imgBar);
    layout->addLayout(body);

    setFixedHeight(sizeHint().height());
    Form_Load();
}

void frmSplash::Form_Load() { lblVersion_->setText(basMain::versionText()); }

void frmSplash::Form_KeyDown() { close(); }

void frmSplash::imgLogo_Click() { close(); }

bool frmSplash::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == imgLogo_ && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        imgLogo_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmSplash::keyPressEvent(QKeyEvent*) { Form_KeyDown(); }

void frmSplash::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Take the keyboard, so that a key closes the splash.
    activateWindow();
    setFocus();
}

void frmSplash::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(0xC8, 0xB8, 0xA8));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
