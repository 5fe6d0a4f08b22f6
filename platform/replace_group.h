#pragma once
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace platform {

// While a group is open on a thread, AtomicReplace on that thread hands each
// file to a few writer threads and returns at once, so that a step writing
// many files waits for their flushes together rather than one after another.
// No file of the group may be read, nor its folder's files counted on, before
// Finish. Groups may nest; the innermost one takes the files.
class ReplaceGroup {
public:
    ReplaceGroup();
    // Waits for the files still being written; a failure is then dropped.
    ~ReplaceGroup();
    ReplaceGroup(const ReplaceGroup&) = delete;
    ReplaceGroup& operator=(const ReplaceGroup&) = delete;

    // Waits until every file given is in place or has failed, and closes the
    // group. Each file is written whatever became of the others; of those
    // that failed, the first given throws its TrappedError.
    void Finish();

    // The group open on the calling thread, or null.
    static ReplaceGroup* Current();

    // Takes one file of the group (called by AtomicReplace).
    void Add(const std::filesystem::path& target, std::string_view bytes);

private:
    struct File {
        std::filesystem::path target;
        std::string bytes;
        std::exception_ptr failure;
    };

    // Writes the file, keeping its failure for Finish.
    static void WriteFile(File& file);
    void Write();
    void Close();

    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<File> files_;  // a writer keeps its file while more are added
    std::size_t next_ = 0;  // the first file no writer has taken yet
    bool closing_ = false;
    bool closed_ = false;  // Close has run: the writers are joined
    std::vector<std::thread> writers_;
    ReplaceGroup* outer_;
};

}  // namespace platform
