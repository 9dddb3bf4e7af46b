#include "support/SceneColour.h"

#include <algorithm>

double ColouredShare(const Picture& picture) {
    int coloured = 0;
    const int pixels = picture.width * picture.height;
    if (pixels <= 0 || picture.rgb.size() < static_cast<std::size_t>(pixels) * 3) {
        return 0.0;
    }
    for (int k = 0; k < pixels; ++k) {
        const std::uint8_t* p = &picture.rgb[static_cast<std::size_t>(k) * 3];
        coloured += std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]}) > 24 ? 1 : 0;
    }
    return static_cast<double>(coloured) / pixels;
}
