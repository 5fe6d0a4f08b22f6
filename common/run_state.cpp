#include "common/run_state.h"

namespace common {

RunState& State() {
    static RunState state;
    return state;
}

}  // namespace common
