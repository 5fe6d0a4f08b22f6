#pragma once
#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <iconv.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/files/env_rec.h"
#include "common/startup/run_env.h"
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

// Reads a file and converts every byte from CP932 through iconv, as plainly
// as it can be done; the UTF-8 size, or -1 when the file or iconv failed.
inline long ReadAndIconvOnce(const std::string& path, iconv_t cd, std::string& bytes, std::string& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat info {};
    ::fstat(fd, &info);
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (got != bytes.size()) return -1;
    out.resize(bytes.size() * 3);
    char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    char* to = out.data();
    std::size_t outLeft = out.size();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1)) return -1;
    return static_cast<long>(out.size() - outLeft);
}

// The floor with the conversion itself: every byte through iconv, as a file
// holding Japanese text goes, where FromCp932 passes pure ASCII through
// untouched. `chars` receives the UTF-8 size.
inline double ReadAndIconvMilliseconds(long rounds, const std::string& path, std::size_t& chars) {
    const iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open CP932");
    std::string bytes;
    std::string out;
    const double took = BestMilliseconds(rounds, [&] {
        const long converted = ReadAndIconvOnce(path, cd, bytes, out);
        if (converted < 0) throw std::runtime_error("cannot read or convert " + path);
        chars = static_cast<std::size_t>(converted);
    });
    iconv_close(cd);
    return took;
}

// The floor of a split run over files: `processes` real processes started
// at once, each reading and converting its consecutive share of `paths`
// (as the parts of a run are consecutive companies), in seconds of wall time
// until the last has ended. Call it with no other thread running.
inline double SharedReadAndIconvSeconds(const std::vector<std::string>& paths, long processes) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<pid_t> children;
    const std::size_t count = paths.size();
    const auto share = static_cast<std::size_t>(processes);
    for (std::size_t k = 0; k < share; ++k) {
        const pid_t pid = ::fork();
        if (pid < 0) throw std::runtime_error("fork");
        if (pid == 0) {
            const iconv_t cd = iconv_open("UTF-8", "CP932");
            std::string bytes;
            std::string out;
            bool ok = cd != reinterpret_cast<iconv_t>(-1);
            for (std::size_t i = count * k / share; ok && i < count * (k + 1) / share; ++i) {
                ok = ReadAndIconvOnce(paths[i], cd, bytes, out) >= 0;
            }
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    bool ok = true;
    for (const pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        ok = ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    if (!ok) throw std::runtime_error("a floor process could not read or convert its files");
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The median of some measurements.
inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t half = values.size() / 2;
    return values.size() % 2 == 1 ? values[half] : (values[half - 1] + values[half]) / 2;
}

// FNV-1a over what a result is made of, so that any change of it shows.
class Digest {
public:
    void Add(std::string_view bytes) {
        Add(static_cast<std::uint64_t>(bytes.size()));
        for (const char c : bytes) Byte(static_cast<unsigned char>(c));
    }
    void Add(std::uint64_t value) {
        for (int b = 0; b < 8; ++b) Byte(static_cast<unsigned char>(value >> (8 * b)));
    }
    void Add(double value) { Add(std::bit_cast<std::uint64_t>(value)); }

    std::uint64_t value() const { return hash_; }

private:
    void Byte(unsigned char c) { hash_ = (hash_ ^ c) * 0x100000001b3ULL; }
    std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

// Runs `run` `rounds` times: the first time, in a process that has not yet
// had the memory (as a user's first chart or list), and the median of the
// others, in milliseconds.
struct FirstAndMedian {
    double first = 0;
    double median = 0;
};
inline FirstAndMedian TimeFirstAndMedian(long rounds, const std::function<void()>& run) {
    std::vector<double> times;
    for (long r = 0; r < rounds; ++r) times.push_back(BestMilliseconds(1, run));
    FirstAndMedian result;
    result.first = times.front();
    result.median = times.size() > 1 ? Median(std::vector<double>(times.begin() + 1, times.end())) : times.front();
    return result;
}

// The page faults of this process so far.
inline long PageFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

// A fresh run environment in the current (temporary) program folder.
inline common::EnvRec FreshEnvironment() {
    common::EnvRec env;
    common::CCENV00M(env);
    common::SetTaskWorkPaths(0, 0, env);
    return env;
}

}  // namespace bench
