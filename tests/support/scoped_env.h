#pragma once
#include <optional>
#include <string>

namespace testsupport {

// Sets (or, with nullopt, unsets) one environment variable and puts the old
// value back when it goes.
class ScopedEnv {
public:
    ScopedEnv(std::string name, std::optional<std::string> value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace testsupport
