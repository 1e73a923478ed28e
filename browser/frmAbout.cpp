#include "browser/frmAbout.h"

#include "browser/Artwork.h"
#include "core/DialogKeys.h"
#include "core/basMain.h"
#include "platform/ui/Ui.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

const QString frmAbout::kWebPage = QStringLiteral("https://tovalquendry.example.org/");
const QString frmAbout::kMailLink = QStringLiteral("mailto:cook@tovalquendry.example.org?subject=Tovalquendry");
const QString frmAbout::kDonatePage = QStringLiteral("https://tovalquendry.example.org/donate");

namespace {
constexpr int kWidth = 480;
const QColor kLinkColour(0, 0, 255); // the hover colour of the two text links
const QColor kPlainColour(0, 0, 0);

QLabel* label(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

void setFontLook(QLabel* l, qreal pointSize, bool bold)
{
    QFont f = l->font();
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    l->setFont(f);
}

bool isHot(const QLabel* l) { return l->font().underline(); }

void setHot(QLabel* l, bool hot)
{
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, hot ? kLinkColour : kPlainColour);
    l->setPalette(pal);
    QFont f = l->font();
    f.setUnderline(hot);
    l->setFont(f);
}

QLabel* linkLabel(QWidget* parent, const char* name, const QString& text)
{
    QLabel* l = label(parent, name, text);
    l->setCursor(Qt::PointingHandCursor);
    l->setMouseTracking(true);
    l->setToolTip(text);
    setHot(l, false);
    return l;
}
} // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmAbout");
    setMouseTracking(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* imgBar = label(this, "imgBar", QString());
    imgBar->setPixmap(artwork::bar(kWidth, 10));
    imgBar->setFixedHeight(10);

    auto* imgLogo = label(this, "imgLogo", QString());
    imgLogo->setPixmap(artwork::logo(96));

    lblTitle_ = label(this, "lblTitle", QString());
    setFontLook(lblTitle_, 20, true);
    lblVersion_ = label(this, "lblVersion", QString());
    auto* lblInfo = label(this, "lblInfo", "Brought to you by :");
    auto* lblAuthor = label(this, "lblAuthor", "the Tovalquendry developers");
    setFontLook(lblAuthor, lblAuthor->font().pointSizeF(), true);
    lblWeb_ = linkLabel(this, "lblWeb", "tovalquendry.example.org");
    lblEmail_ = linkLabel(this, "lblEmail", "cook@tovalquendry.example.org");

    auto* lblDonate = label(this, "lblDonate",
                            "If you use this software and feel it is worth it - please send a donation for the "
                            "continuing development and support by clicking on the donate image. Thankyou!");
    lblDonate->setWordWrap(true);
    imgDonate_ = label(this, "imgDonate", QString());
    imgDonate_->setPixmap(artwork::donateButton());
    imgDonate_->setCursor(Qt::PointingHandCursor);
    imgDonate_->setToolTip(kDonatePage);

    cmdOk_ = new QPushButton("OK", this);
    cmdOk_->setObjectName("cmdOk");
    cmdOk_->setAutoDefault(false); // only Escape and the button itself close the box
    cmdOk_->setMinimumWidth(90);

    for (QLabel* l : {lblWeb_, lblEmail_, imgDonate_})
        l->installEventFilter(this);
    connect(cmdOk_, &QPushButton::clicked, this, &frmAbout::cmdOk_Click);

    auto* credits = new QHBoxLayout;
    credits->addWidget(lblInfo);
    credits->addWidget(lblAuthor);
    credits->addStretch();

    auto* text = new QVBoxLayout;
    text->setSpacing(4);
    text->addWidget(lblTitle_);
    text->addWidget(lblVersion_);
    text->addSpacing(10);
    text->addLayout(credits);
    text->addWidget(lblWeb_, 0, Qt::AlignLeft);
    text->addWidget(lblEmail_, 0, Qt::AlignLeft);

    auto* top = new QHBoxLayout;
    top->setSpacing(20);
    top->addWidget(imgLogo, 0, Qt::AlignTop);
    top->addLayout(text, 1);

    auto* donate = new QHBoxLayout;
    donate->setSpacing(16);
    donate->addWidget(lblDonate, 1);
    donate->addWidget(imgDonate_, 0, Qt::AlignVCenter);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk_);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(20, 16, 20, 16);
    body->setSpacing(16);
    body->addLayout(top);
    body->addLayout(donate);
    body->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(imgBar);
    layout->addLayout(body);

    setFixedWidth(kWidth);
    setFixedHeight(sizeHint().height());
    Form_Load();
    EnterPressesFocusedButton(this);
}

void frmAbout::Form_Load()
{
    const QString title = ui::programTitle();
    setWindowTitle("About " + title);
    lblVersion_->setText(basMain::versionText());
    lblTitle_->setText(title);
}

void frmAbout::Form_KeyUp(int key)
{
    if (key == Qt::Key_Escape)
        close();
}

void frmAbout::cmdOk_Click() { close(); }

void frmAbout::openLink(const QString& link)
{
    try {
        ui::openDocument(link);
    } catch (...) {
    }
}

void frmAbout::lblWeb_Click()
{
    openLink(kWebPage);
    setHot(lblWeb_, false);
}

void frmAbout::lblEmail_Click()
{
    openLink(kMailLink);
    setHot(lblEmail_, false);
}

void frmAbout::imgDonate_Click() { openLink(kDonatePage); }

void frmAbout::lblWeb_MouseMove()
{
    if (!isHot(lblWeb_))
        setHot(lblWeb_, true);
}

void frmAbout::lblEmail_MouseMove()
{
    if (!isHot(lblEmail_))
        setHot(lblEmail_, true);
}

void frmAbout::Form_MouseMove()
{
    for (QLabel* l : {lblWeb_, lblEmail_})
        if (isHot(l))
            setHot(l, false);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseMove || type == QEvent::Enter) {
        if (watched == lblWeb_)
            lblWeb_MouseMove();
        else if (watched == lblEmail_)
            lblEmail_MouseMove();
        else
            return QDialog::eventFilter(watched, event);
        return type == QEvent::MouseMove; // the form must not see the move, or it would undo the look
    }
    if (type == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* target = static_cast<QWidget*>(watched);
        if (mouse->button() != Qt::LeftButton || !target->rect().contains(mouse->position().toPoint()))
            return QDialog::eventFilter(watched, event);
        if (watched == lblWeb_)
            lblWeb_Click();
        else if (watched == lblEmail_)
            lblEmail_Click();
        else
            imgDonate_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::keyPressEvent(QKeyEvent* event)
{
    // Escape closes the box when the key is released, not already when it goes down.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmAbout::keyReleaseEvent(QKeyEvent* event) { Form_KeyUp(event->key()); }

void frmAbout::mouseMoveEvent(QMouseEvent* event)
{
    Form_MouseMove();
    QDialog::mouseMoveEvent(event);
}
