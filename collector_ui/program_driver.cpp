#include "collector_ui/program_driver.h"

#include "common/startup/program_parts.h"
#include "platform/trapped_error.h"

namespace collector_ui {

void RunProgramDriver(const char* id) {
    const auto driver = common::Parts().drivers.find(id);
    if (driver == common::Parts().drivers.end()) {
        throw platform::TrappedError(5, "プロシージャの呼び出し、または引数が不正です。", id);
    }
    driver->second();
}

}  // namespace collector_ui
