#pragma once
#include "charts/drawing_list.h"

namespace charts {

// The palette numbers the lists and charts use.
inline constexpr int kColourBlue = 1;
inline constexpr int kColourGreen = 2;
inline constexpr int kColourRed = 4;
inline constexpr int kColourMagenta = 5;
inline constexpr int kColourGrey = 8;
inline constexpr int kColourPaleGreen = 100;

// The strong and the light colour of one palette number.
struct ColourPair {
    Rgb strong;
    Rgb light;
    friend bool operator==(const ColourPair&, const ColourPair&) = default;
};

// The pair of palette number `colourNumber`; a number without a colour of
// its own (7 among them) gives black for both.
ColourPair GetColourPair(int colourNumber);

}  // namespace charts
