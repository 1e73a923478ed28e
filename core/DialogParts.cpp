#include "core/DialogParts.h"

#include "core/Banner.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <memory>

QPushButton* NamedButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

QVBoxLayout* BannerLayout(QWidget* dialog, const QString& header)
{
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(MakeBanner(dialog, header));
    auto* body = new QVBoxLayout;
    body->setContentsMargins(12, 10, 12, 12);
    body->setSpacing(StyleSpacing(dialog));
    layout->addLayout(body, 1);
    return body;
}

int StyleSpacing(const QWidget* widget)
{
    const int spacing = widget->style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing, nullptr, widget);
    return spacing >= 0 ? spacing : 6;
}

QHBoxLayout* PageButtonRow(QWidget* dialog, const QStringList& captions, QList<QPushButton*>& buttons,
                           const std::function<void(int)>& show)
{
    auto* row = new QHBoxLayout;
    // One button stays down, kept so here rather than by a button group: the buttons of a group are a
    // single Tab stop, and each page button is one.
    auto pageButtons = std::make_shared<QList<QPushButton*>>();
    for (int i = 0; i < captions.size(); ++i) {
        QPushButton* b = NamedButton(dialog, QString("cmdAction_%1").arg(i), captions[i]);
        b->setCheckable(true);
        pageButtons->append(b);
        buttons << b;
        row->addWidget(b);
        QObject::connect(b, &QPushButton::toggled, dialog, [pageButtons, b](bool down) {
            if (down)
                for (QPushButton* other : *pageButtons)
                    if (other != b)
                        other->setChecked(false);
        });
        QObject::connect(b, &QPushButton::clicked, dialog, [show, b, i] {
            b->setChecked(true);
            show(i);
        });
    }
    row->addStretch();
    return row;
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons)
        row->addWidget(button);
    return row;
}
