#pragma once
#include <functional>
#include <optional>

#include "platform/trapped_error.h"

namespace testsupport {

// The trapped error that `action` raises, or nullopt when it raises none.
inline std::optional<platform::TrappedError> CaughtError(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::TrappedError& error) {
        return error;
    }
    return std::nullopt;
}

// The number of the trapped error that `action` raises, or 0 when it raises none.
inline long ErrorNumberOf(const std::function<void()>& action) {
    const std::optional<platform::TrappedError> error = CaughtError(action);
    return error ? error->number() : 0;
}

}  // namespace testsupport
