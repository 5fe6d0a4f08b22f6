#pragma once

namespace common {

// The first word of a child copy's command line; both programs carry it.
inline constexpr const char* kChildModeToken = "Tq8vRw3mZp6LxK2nHc9dYf4GsB7jE";

}  // namespace common
