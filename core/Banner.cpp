#include "core/Banner.h"

#include <QFont>
#include <QLabel>

QLabel* MakeBanner(QWidget* dialog, const QString& header)
{
    auto* label = new QLabel(header, dialog);
    label->setObjectName("lblInfo");
    QFont font("Tahoma");
    font.setPointSize(14);
    font.setBold(true);
    label->setFont(font);
    label->setMinimumHeight(48);
    label->setContentsMargins(14, 0, 14, 0);
    label->setStyleSheet("QLabel#lblInfo { color: white; background: qlineargradient(x1:0, y1:0, x2:1, y2:0, "
                         "stop:0 #7a2e1d, stop:1 #c8794a); }");
    return label;
}
