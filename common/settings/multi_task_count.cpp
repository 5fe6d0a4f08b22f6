#include "common/settings/multi_task_count.h"

#include <optional>

#include "common/run_state.h"
#include "common/settings/settings.h"
#include "platform/integer_round.h"
#include "platform/numeric_text.h"

namespace common {

std::int32_t ReadMultiTaskCount() {
    const char* path = State().isKorvane ? "MirControl\\Common\\MultiTaskKsn" : "MirControl\\Common\\MultiTask";
    const std::optional<double> value = platform::ParseDouble(ReadSetting(path));
    const std::int32_t count = value ? platform::ToLong(*value) : 0;
    if (count > 10) {
        WriteSetting(path, "10");
        return 10;
    }
    if (count < 1) {
        WriteSetting(path, "1");
        return 1;
    }
    return count;
}

}  // namespace common
