#include "platform/file_system.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fstream>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/replace_group.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

long ErrorNumberOf(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return error_number::kDiskFull;
        case ENOENT:
        case ENOTDIR:
            return error_number::kPathNotFound;
        default:
            return error_number::kPathFileAccess;
    }
}

// The fresh file of one AtomicReplace, named after the target with the
// process id and a counter so that writers in other processes and threads
// never share one. Removed when it goes, unless it has become the target.
class ReplacementFile {
public:
    explicit ReplacementFile(const fs::path& target) : target_(target) {
        static std::atomic<unsigned long> counter{0};
        do {
            path_ = target;
            path_ += ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter++);
            fd_ = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        } while (fd_ < 0 && errno == EEXIST);
        if (fd_ < 0) Fail();
        struct stat old {};
        if (stat(target.c_str(), &old) == 0) {
            // Best effort: some file systems keep no permissions at all.
            static_cast<void>(fchmod(fd_, old.st_mode & 07777));
        }
    }

    ~ReplacementFile() {
        if (fd_ >= 0) close(fd_);
        if (!renamed_) unlink(path_.c_str());
    }

    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    void Write(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t written = write(fd_, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) continue;
            if (written < 0) Fail();
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }

    // Some file systems report a full disk only when the data is flushed or
    // the file is closed.
    void SyncAndClose() {
        if (fsync(fd_) != 0) Fail();
        const int fd = fd_;
        fd_ = -1;
        if (close(fd) != 0) Fail();
    }

    void RenameOverTarget() {
        if (rename(path_.c_str(), target_.c_str()) != 0) Fail();
        renamed_ = true;
    }

private:
    [[noreturn]] void Fail() const {
        const int error = errno;
        RaiseFileError(ErrorNumberOf(error), target_, std::error_code(error, std::generic_category()),
                       "AtomicReplace");
    }

    fs::path target_;
    fs::path path_;
    int fd_ = -1;
    bool renamed_ = false;
};

// The writing process of a fresh file of AtomicReplace ("<target>.tmp<pid>-<n>"),
// 0 when the name is not one.
pid_t ReplacementWriter(const std::string& name) {
    const std::size_t tmp = name.rfind(".tmp");
    if (tmp == std::string::npos) return 0;
    const std::string suffix = name.substr(tmp + 4);
    const std::size_t dash = suffix.find('-');
    const auto digits = [](std::string_view text) {
        return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (dash == std::string::npos || !digits(std::string_view(suffix).substr(0, dash)) ||
        !digits(std::string_view(suffix).substr(dash + 1)) || dash > 9) {
        return 0;
    }
    return static_cast<pid_t>(std::stol(suffix.substr(0, dash)));
}

// A process that ended but has not been reaped (a zombie) still answers to
// its id; it writes no more.
bool WritesStill(pid_t pid) {
    if (kill(pid, 0) != 0 && errno == ESRCH) return false;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return true;
    const std::size_t end = line.rfind(')');
    if (end == std::string::npos || end + 2 >= line.size()) return true;
    const char state = line[end + 2];
    return state != 'Z' && state != 'X';
}

// The rename lives in the folder's entries; flushing the folder makes it
// last. The new file is already in place, so a failure here changes nothing.
void SyncFolderOf(const fs::path& target) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// Where the character at byte `at` ends, so that '?' takes a whole Japanese
// character rather than one of its bytes.
std::size_t AfterCharacter(std::string_view text, std::size_t at) {
    char32_t ignored = 0;
    NextCodePoint(text, at, ignored);
    return at;
}

bool WildcardMatches(std::string_view pattern, std::string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    // Where the last '*' was seen, and how much of the name it has taken so
    // far: on a mismatch that star takes one more character and matching resumes.
    std::size_t starPattern = std::string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = ++p;
            starName = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n = AfterCharacter(name, n);
        } else if (p < pattern.size() && AsciiLower(pattern[p]) == AsciiLower(name[n])) {
            ++p;
            ++n;
        } else if (starPattern != std::string_view::npos) {
            starName = AfterCharacter(name, starName);
            n = starName;
            p = starPattern;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool NameBefore(const std::string& a, const std::string& b) {
    const auto lowerBefore = [](char x, char y) {
        return static_cast<unsigned char>(AsciiLower(x)) < static_cast<unsigned char>(AsciiLower(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), lowerBefore)) return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), lowerBefore)) return false;
    return a < b;
}

}  // namespace

void RaiseFileError(long number, const fs::path& path, std::error_code reason, const std::string& source) {
    throw TrappedError(number, StandardErrorDescription(number) + " (" + path.string() + ": " + reason.message() + ")",
                       source);
}

void AtomicReplace(const fs::path& target, std::string_view bytes) {
    if (ReplaceGroup* group = ReplaceGroup::Current()) {
        group->Add(target, bytes);
        return;
    }
    AtomicReplaceNow(target, bytes);
}

void AtomicReplaceNow(const fs::path& target, std::string_view bytes) {
    ReplacementFile file(target);
    file.Write(bytes);
    file.SyncAndClose();
    file.RenameOverTarget();
    SyncFolderOf(target);
}

void WriteScratchFile(const fs::path& path, std::string_view bytes) {
    // Closes `fd` (when open), removes what was written and throws for `error`.
    const auto fail = [&path](int fd, int error) {
        if (fd >= 0) close(fd);
        unlink(path.c_str());
        RaiseFileError(ErrorNumberOf(error), path, std::error_code(error, std::generic_category()), "WriteScratchFile");
    };
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) fail(-1, errno);
    const auto length = static_cast<off_t>(bytes.size());
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) fail(fd, errno);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    if (ftruncate(fd, length) != 0) fail(fd, errno);
    if (close(fd) != 0) fail(-1, errno);
}

void RemoveOrphanedReplacements(const fs::path& folder) {
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const pid_t writer = ReplacementWriter(entry->path().filename().string());
        if (writer > 0 && !WritesStill(writer)) unlink(entry->path().c_str());
    }
}

bool FileExists(const fs::path& path) {
    std::error_code ignored;
    return fs::is_regular_file(path, ignored);
}

std::optional<DateTime> FileModifiedTime(const fs::path& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return std::nullopt;
    return LocalDateTime(status.st_mtim);
}

std::vector<std::string> ListMatching(const fs::path& folder, std::string_view pattern) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        std::string name = it->path().filename().string();
        if (it->is_regular_file(ignored) && WildcardMatches(pattern, name)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), NameBefore);
    return names;
}

void EnsureFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) RaiseFileError(error_number::kPathNotFound, folder, error, "EnsureFolder");
}

}  // namespace platform
