#include "core/DialogParts.h"

#include "core/Banner.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

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
    auto* group = new QButtonGroup(dialog);
    for (int i = 0; i < captions.size(); ++i) {
        QPushButton* b = NamedButton(dialog, QString("cmdAction_%1").arg(i), captions[i]);
        b->setCheckable(true);
        group->addButton(b);
        buttons << b;
        row->addWidget(b);
        QObject::connect(b, &QPushButton::clicked, dialog, [show, i] { show(i); });
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
