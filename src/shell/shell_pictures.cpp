#include "shell/shell_pictures.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace pelto::ui {

namespace {

// A transparent pixmap of the given logical size at the application's pixel ratio.
QPixmap Canvas(int width, int height) {
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(width, height) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QPixmap BackgroundTile() {
    const int size = 48;
    QPixmap tile = Canvas(size, size);
    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(0, 0, size, size), QColor(0xe9, 0xee, 0xf3));
    // Dots on a diagonal grid; the pattern repeats exactly at the tile's edges.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd5, 0xde, 0xe8));
    for (QPoint c : {QPoint(0, 0), QPoint(size, 0), QPoint(0, size), QPoint(size, size),
                     QPoint(size / 2, size / 2)})
        p.drawEllipse(c, 3, 3);
    return tile;
}

QPixmap BannerTile() {
    const int width = 240, height = 56;
    QPixmap tile = Canvas(width, height);
    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(0x2f, 0x5d, 0x8a));
    sky.setColorAt(1, QColor(0x4f, 0x86, 0xb8));
    p.fillRect(QRect(0, 0, width, height), sky);
    // Two gentle waves that start and end at the same height, so pieces join.
    for (int layer = 0; layer < 2; ++layer) {
        QPainterPath wave;
        const qreal base = height * (layer == 0 ? 0.62 : 0.78);
        const qreal lift = layer == 0 ? 9 : 6;
        wave.moveTo(0, base);
        wave.cubicTo(width * 0.25, base - lift, width * 0.25, base - lift, width * 0.5, base);
        wave.cubicTo(width * 0.75, base + lift, width * 0.75, base + lift, width, base);
        wave.lineTo(width, height);
        wave.lineTo(0, height);
        wave.closeSubpath();
        p.fillPath(wave, layer == 0 ? QColor(255, 255, 255, 40) : QColor(255, 255, 255, 70));
    }
    return tile;
}

QPixmap SlotPicture() {
    const int size = 40;
    QPixmap picture = Canvas(size, size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient face(0, 0, size, size);
    face.setColorAt(0, QColor(0x5b, 0x95, 0xc9));
    face.setColorAt(1, QColor(0x2f, 0x5d, 0x8a));
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawRoundedRect(QRectF(2, 2, size - 4, size - 4), 8, 8);
    // A four-pointed sparkle: an effect being applied.
    QPainterPath star;
    const qreal c = size / 2.0, r = size * 0.3, w = size * 0.07;
    star.moveTo(c, c - r);
    star.lineTo(c + w, c - w);
    star.lineTo(c + r, c);
    star.lineTo(c + w, c + w);
    star.lineTo(c, c + r);
    star.lineTo(c - w, c + w);
    star.lineTo(c - r, c);
    star.lineTo(c - w, c - w);
    star.closeSubpath();
    p.fillPath(star, Qt::white);
    return picture;
}

QPixmap ProgramEmblem(int size) {
    QPixmap picture = Canvas(size, size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient face(0, 0, 0, size);
    face.setColorAt(0, QColor(0x5b, 0x95, 0xc9));
    face.setColorAt(1, QColor(0x23, 0x4a, 0x70));
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    // A field under a rising sun.
    p.setBrush(QColor(0xf6, 0xc4, 0x4f));
    p.drawEllipse(QPointF(size * 0.5, size * 0.55), size * 0.18, size * 0.18);
    QPainterPath field;
    field.moveTo(size * 0.08, size * 0.62);
    field.cubicTo(size * 0.35, size * 0.52, size * 0.65, size * 0.52, size * 0.92, size * 0.62);
    field.arcTo(QRectF(1, 1, size - 2, size - 2), -8, -164);
    field.closeSubpath();
    p.fillPath(field, QColor(0x7c, 0xb3, 0x42));
    return picture;
}

} // namespace pelto::ui
