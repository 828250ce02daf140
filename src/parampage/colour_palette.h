#pragma once
// The colour editor's palette (a fixed 192 x 89 spectrum: hue from left to right,
// white at the top, pure colours in row 44, black at the bottom) and its sample box.
#include <QFrame>
#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>

namespace pelto::ui {

// The palette picture of the page, drawn once.
const QImage& PaletteImage();

// RGB of a pixel as the page's 32-bit colour value (red in the lowest byte).
int32_t ColourValue(QRgb rgb);

class ColourPalette : public QWidget {
public:
    static constexpr int PaletteWidth = 192;
    static constexpr int PaletteHeight = 89;

    explicit ColourPalette(QWidget* parent);

    // Pointer handlers get the pressed buttons and the position in palette pixels.
    std::function<void(Qt::MouseButton, int x, int y)> onMouseDown;
    std::function<void(Qt::MouseButtons, int x, int y)> onMouseMove;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
};

// The sample box: its background is the colour the editor holds.
class ColourSample : public QFrame {
public:
    explicit ColourSample(QWidget* parent);
    void SetBackColor(int32_t colour);
    int32_t BackColor() const { return colour_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int32_t colour_ = 0;
};

} // namespace pelto::ui
