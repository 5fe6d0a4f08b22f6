#pragma once
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>

#include <iconv.h>

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

// The floor with the conversion itself: every byte through iconv, as a file
// holding Japanese text goes, where FromCp932 passes pure ASCII through
// untouched. `chars` receives the UTF-8 size.
inline double ReadAndIconvMilliseconds(long rounds, const std::string& path, std::size_t& chars) {
    const iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open CP932");
    std::string out;
    const double took = BestMilliseconds(rounds, [&] {
        std::string bytes = testsupport::ReadBytes(path);
        out.resize(bytes.size() * 3);
        char* in = bytes.data();
        std::size_t inLeft = bytes.size();
        char* to = out.data();
        std::size_t outLeft = out.size();
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &in, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1)) {
            throw std::runtime_error("iconv refused the file");
        }
        chars = out.size() - outLeft;
    });
    iconv_close(cd);
    return took;
}

// A fresh run environment in the current (temporary) program folder.
inline common::EnvRec FreshEnvironment() {
    common::EnvRec env;
    common::CCENV00M(env);
    common::SetTaskWorkPaths(0, 0, env);
    return env;
}

}  // namespace bench
