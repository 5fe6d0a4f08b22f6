#include "charts/colour_palette.h"

namespace charts {

ColourPair GetColourPair(int colourNumber) {
    switch (colourNumber) {
        case 0: return {{0, 0, 0}, {127, 127, 127}};
        case 1: return {{0, 0, 255}, {191, 191, 255}};
        case 2: return {{0, 255, 0}, {191, 255, 191}};
        case 3: return {{0, 255, 255}, {191, 255, 255}};
        case 4: return {{255, 0, 0}, {255, 191, 191}};
        case 5: return {{255, 0, 255}, {255, 191, 255}};
        case 6: return {{255, 255, 0}, {255, 255, 191}};
        case 8: return {{150, 150, 150}, {200, 200, 200}};
        case 100: return {{224, 238, 224}, {224, 238, 224}};
        default: return {};
    }
}

}  // namespace charts
