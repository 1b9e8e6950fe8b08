#include "ui/window/placement.h"

#include <cmath>

namespace lumarel {

WindowOrigin CentredOrigin(ScreenSize screen, int windowWidth, int windowHeight) {
    const float top = static_cast<float>(screen.height) / 2 - static_cast<float>(windowHeight) / 2;
    const float left = static_cast<float>(screen.width) / 2 - static_cast<float>(windowWidth) / 2;
    return {static_cast<int>(std::lround(left)), static_cast<int>(std::lround(top))};
}

}  // namespace lumarel
