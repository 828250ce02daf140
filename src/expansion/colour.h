#pragma once
// Colours are held as one 32-bit value laid out red (bits 0-7), green (8-15), blue
// (16-23); the top byte is ignored.
#include "library/parameter_state.h"

#include <cstdint>
#include <string>

namespace pelto {

void SplitColour(int32_t colour, int32_t& red, int32_t& green, int32_t& blue);

// Six upper-case hexadecimal digits, red first, no "#".
std::string ColourToHex(int32_t colour);

// Red, Green and Blue of the record from its Colour.
void SetColourComponents(ColourParameter& colour);

} // namespace pelto
