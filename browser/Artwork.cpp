#include "browser/Artwork.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace artwork {
namespace {
const QColor kAmber(0xF7, 0xA5, 0x41);
const QColor kEmber(0xD9, 0x48, 0x0F);

// A transparent pixmap of the given logical size, sharp on high-density screens.
QPixmap canvas(int width, int height)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pm(qRound(width * ratio), qRound(height * ratio));
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    return pm;
}

QPainterPath heart(const QRectF& r)
{
    QPainterPath p;
    const qreal w = r.width(), h = r.height();
    p.moveTo(r.left() + w / 2, r.top() + h);
    p.cubicTo(r.left() - w * 0.1, r.top() + h * 0.55, r.left() + w * 0.1, r.top() - h * 0.1, r.left() + w / 2,
              r.top() + h * 0.25);
    p.cubicTo(r.left() + w * 0.9, r.top() - h * 0.1, r.left() + w * 1.1, r.top() + h * 0.55, r.left() + w / 2,
              r.top() + h);
    return p;
}
} // namespace

QPixmap logo(int size)
{
    QPixmap pm = canvas(size, size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    // The tile.
    QLinearGradient tile(0, 0, 0, s);
    tile.setColorAt(0, kAmber);
    tile.setColorAt(1, kEmber);
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(s * 0.02, s * 0.02, s * 0.96, s * 0.96), s * 0.22, s * 0.22);

    // Steam: three soft waves rising from the bowl.
    QPen steam(QColor(255, 255, 255, 210), s * 0.05, Qt::SolidLine, Qt::RoundCap);
    p.setPen(steam);
    p.setBrush(Qt::NoBrush);
    for (const qreal x : {0.36, 0.50, 0.64}) {
        QPainterPath wave;
        wave.moveTo(s * x, s * 0.48);
        wave.cubicTo(s * (x - 0.07), s * 0.40, s * (x + 0.07), s * 0.32, s * x, s * 0.22);
        p.drawPath(wave);
    }

    // The bowl: a half disc under a rim, on a small foot.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPainterPath bowl;
    bowl.moveTo(s * 0.16, s * 0.55);
    bowl.lineTo(s * 0.84, s * 0.55);
    bowl.arcTo(QRectF(s * 0.16, s * 0.32, s * 0.68, s * 0.46), 0, -180);
    bowl.closeSubpath();
    p.drawPath(bowl);
    p.drawRoundedRect(QRectF(s * 0.38, s * 0.77, s * 0.24, s * 0.06), s * 0.03, s * 0.03);
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawRoundedRect(QRectF(s * 0.12, s * 0.52, s * 0.76, s * 0.05), s * 0.025, s * 0.025);
    return pm;
}

QPixmap bar(int width, int height)
{
    QPixmap pm = canvas(width, height);
    QPainter p(&pm);
    QLinearGradient band(0, 0, width, 0);
    band.setColorAt(0, kEmber);
    band.setColorAt(0.6, kAmber);
    band.setColorAt(1, QColor(0xFF, 0xE0, 0xA3));
    p.fillRect(QRect(0, 0, width, height), band);
    return pm;
}

QPixmap donateButton()
{
    const int w = 132, h = 40;
    QPixmap pm = canvas(w, h);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient face(0, 0, 0, h);
    face.setColorAt(0, QColor(0xFF, 0xD9, 0x6B));
    face.setColorAt(1, QColor(0xF5, 0xA6, 0x23));
    p.setPen(QPen(QColor(0xC9, 0x80, 0x10), 1));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), h / 2.0, h / 2.0);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xD6, 0x2E, 0x2E));
    p.drawPath(heart(QRectF(16, 12, 18, 17)));

    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(16);
    p.setFont(font);
    p.setPen(QColor(0x3A, 0x2A, 0x10));
    p.drawText(QRectF(40, 0, w - 52, h), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Donate"));
    return pm;
}

} // namespace artwork
