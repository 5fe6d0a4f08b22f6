#pragma once
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

#include "common/env_rec.h"
#include "common/run_env.h"
#include "platform/cp932.h"
#include "tests/support/file_bytes.h"

namespace bench {

// The best of `rounds` runs, in milliseconds.
inline double BestMilliseconds(long rounds, const std::function<void()>& run) {
    double best = 1e300;
    for (long r = 0; r < rounds; ++r) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

// The floor a loader is measured against: reading the file's bytes and
// converting them from CP932, nothing more. `chars` receives the UTF-8 size.
inline double ReadAndConvertMilliseconds(long rounds, const std::string& path, std::size_t& chars) {
    return BestMilliseconds(rounds, [&] { chars = platform::FromCp932(testsupport::ReadBytes(path)).text.size(); });
}

// A fresh run environment in the current (temporary) program folder.
inline common::EnvRec FreshEnvironment() {
    common::EnvRec env;
    common::CCENV00M(env);
    common::SetTaskWorkPaths(0, 0, env);
    return env;
}

}  // namespace bench
