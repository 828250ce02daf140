#include "parampage/colour_palette.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace pelto::ui {

namespace {

// Hue (0..360) at full saturation and the given lightness (0..1), as in HSL.
QRgb SpectrumColour(double hue, double lightness) {
    const double c = (1 - std::fabs(2 * lightness - 1));
    const double h = hue / 60.0;
    const double x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1));
    double r = 0, g = 0, b = 0;
    if (h < 1) {
        r = c;
        g = x;
    } else if (h < 2) {
        r = x;
        g = c;
    } else if (h < 3) {
        g = c;
        b = x;
    } else if (h < 4) {
        g = x;
        b = c;
    } else if (h < 5) {
        r = x;
        b = c;
    } else {
        r = c;
        b = x;
    }
    const double m = lightness - c / 2;
    auto byte = [&](double v) { return static_cast<int>(std::lround((v + m) * 255)); };
    return qRgb(byte(r), byte(g), byte(b));
}

} // namespace

const QImage& PaletteImage() {
    static const QImage image = [] {
        QImage img(ColourPalette::PaletteWidth, ColourPalette::PaletteHeight, QImage::Format_RGB32);
        const int last = ColourPalette::PaletteHeight - 1;
        for (int y = 0; y <= last; ++y) {
            // Row 0 near white, row 44 the pure colours, the last row near black.
            const double lightness = 0.97 - 0.94 * y / last;
            for (int x = 0; x < ColourPalette::PaletteWidth; ++x)
                img.setPixel(x, y,
                             SpectrumColour(360.0 * x / ColourPalette::PaletteWidth, lightness));
        }
        return img;
    }();
    return image;
}

int32_t ColourValue(QRgb rgb) {
    return qRed(rgb) + 256 * qGreen(rgb) + 65536 * qBlue(rgb);
}

ColourPalette::ColourPalette(QWidget* parent) : QWidget(parent) {
    setFixedSize(PaletteWidth, PaletteHeight);
    setCursor(Qt::CrossCursor);
}

void ColourPalette::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, PaletteImage());
}

void ColourPalette::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (onMouseDown)
        onMouseDown(e->button(), p.x(), p.y());
}

void ColourPalette::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (onMouseMove)
        onMouseMove(e->buttons(), p.x(), p.y());
}

ColourSample::ColourSample(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
}

void ColourSample::SetBackColor(int32_t colour) {
    colour_ = colour & 0xFFFFFF;
    update();
}

void ColourSample::paintEvent(QPaintEvent* e) {
    {
        QPainter painter(this);
        painter.fillRect(rect(),
                         QColor(colour_ & 0xFF, (colour_ >> 8) & 0xFF, (colour_ >> 16) & 0xFF));
    }
    QFrame::paintEvent(e);
}

} // namespace pelto::ui
