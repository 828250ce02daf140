#include "expansion/colour.h"

namespace pelto {

void SplitColour(int32_t colour, int32_t& red, int32_t& green, int32_t& blue) {
    red = colour & 255;
    green = (colour & 65280) / 256;
    blue = (colour & 16711680) / 256 / 256;
}

std::string ColourToHex(int32_t colour) {
    static const char digits[] = "0123456789ABCDEF";
    int32_t parts[3];
    SplitColour(colour, parts[0], parts[1], parts[2]);
    std::string out;
    for (int32_t part : parts) {
        out += digits[(part >> 4) & 15];
        out += digits[part & 15];
    }
    return out;
}

void SetColourComponents(ColourParameter& c) {
    int32_t r, g, b;
    SplitColour(c.Colour, r, g, b);
    c.Red = static_cast<int16_t>(r);
    c.Green = static_cast<int16_t>(g);
    c.Blue = static_cast<int16_t>(b);
}

} // namespace pelto
