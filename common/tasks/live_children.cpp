#include "common/tasks/live_children.h"

#include "common/run_state.h"
#include "platform/child_process.h"
#include "platform/clock.h"

namespace common {

void NoteLiveChild(pid_t child) { State().liveChildren.insert(child); }

bool ReapIfEnded(pid_t child) {
    if (!platform::HasEnded(child)) return false;
    State().liveChildren.erase(child);
    return true;
}

void KillLiveChildren() {
    auto& children = State().liveChildren;
    for (const pid_t child : children) platform::EndNow(child);
    // SIGKILL cannot be ignored: each ends within moments and is reaped here.
    while (!children.empty()) {
        std::erase_if(children, [](pid_t child) { return platform::HasEnded(child); });
        if (!children.empty()) platform::SleepMilliseconds(10);
    }
}

}  // namespace common
