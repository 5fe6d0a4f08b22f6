#include "platform/replace_group.h"

#include <system_error>

#include "platform/file_system.h"

namespace platform {

namespace {

// Enough for the flushes of one step to overlap; they are waits, not work.
constexpr std::size_t kWriters = 8;

thread_local ReplaceGroup* current = nullptr;

}  // namespace

ReplaceGroup::ReplaceGroup() : outer_(current) { current = this; }

ReplaceGroup::~ReplaceGroup() { Close(); }

ReplaceGroup* ReplaceGroup::Current() { return current; }

void ReplaceGroup::Add(const std::filesystem::path& target, std::string_view bytes) {
    {
        const std::lock_guard lock(mutex_);
        files_.push_back({target, std::string(bytes), nullptr});
    }
    ready_.notify_one();
    if (writers_.size() >= kWriters || writers_.size() >= files_.size()) return;
    try {
        writers_.emplace_back([this] { Write(); });
    } catch (const std::system_error&) {
        // The writers already running take this file too; without any, it is
        // written here and now.
        if (!writers_.empty()) return;
        File* file = nullptr;
        {
            const std::lock_guard lock(mutex_);
            file = &files_[next_++];
        }
        WriteFile(*file);
    }
}

void ReplaceGroup::WriteFile(File& file) {
    try {
        AtomicReplaceNow(file.target, file.bytes);
    } catch (...) {
        file.failure = std::current_exception();
    }
}

// A writer thread: takes the files one by one until the group closes.
void ReplaceGroup::Write() {
    for (;;) {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return next_ < files_.size() || closing_; });
        if (next_ == files_.size()) return;
        File& file = files_[next_++];
        lock.unlock();
        WriteFile(file);
    }
}

void ReplaceGroup::Close() {
    if (closed_) return;
    closed_ = true;
    if (current == this) current = outer_;
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    ready_.notify_all();
    for (std::thread& writer : writers_) writer.join();
}

void ReplaceGroup::Finish() {
    Close();
    for (const File& file : files_) {
        if (file.failure) std::rethrow_exception(file.failure);
    }
}

}  // namespace platform
