#pragma once
// Kills one child copy of this process at a chosen moment, from a thread of
// its own, for the end-to-end runs.
#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <functional>
#include <string>
#include <thread>

#include "tests/apps/judgement_installation.h"

namespace e2e {

// Kills (SIGKILL) the first child whose task sequence (its fourth command-line
// word) `chosen` accepts, once `when` holds.
class ChildKiller {
public:
    ChildKiller(std::function<bool()> when, std::function<bool(const std::string& sequence)> chosen)
        : thread_([this, when = std::move(when), chosen = std::move(chosen)] { Watch(when, chosen); }) {}
    ~ChildKiller() {
        stop_ = true;
        thread_.join();
    }
    ChildKiller(const ChildKiller&) = delete;
    ChildKiller& operator=(const ChildKiller&) = delete;
    bool killed() const { return killed_; }

private:
    void Watch(const std::function<bool()>& when, const std::function<bool(const std::string&)>& chosen) {
        while (!stop_) {
            if (when()) {
                for (const auto& [pid, words] : judgement_e2e::Children()) {
                    if (words.size() == 4 && chosen(words[3]) && kill(pid, SIGKILL) == 0) {
                        killed_ = true;
                        return;
                    }
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    std::atomic<bool> stop_{false};
    std::atomic<bool> killed_{false};
    std::thread thread_;
};

}  // namespace e2e
