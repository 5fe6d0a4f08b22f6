#include "common/files/text_file_io.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/logs/logs.h"
#include "common/logs/progress.h"
#include "common/run_state.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/integer_round.h"
#include "platform/trapped_error.h"

namespace common {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kLineEnd = "\r\n";
constexpr const char* kUnreadable = "CP932として読めないバイト";
constexpr const char* kUnwritable = "CP932で書けない文字";

// Closes on every way out; a failing close is reported by Close().
class FileHandle {
public:
    FileHandle(const std::string& path, int flags, const char* source) : path_(path), source_(source) {
        do {
            fd_ = open(path.c_str(), flags | O_CLOEXEC, 0666);
        } while (fd_ < 0 && errno == EINTR);
        if (fd_ < 0) Fail(errno);
    }
    ~FileHandle() {
        if (fd_ >= 0) close(fd_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    int fd() const { return fd_; }
    [[noreturn]] void Fail(int error) const {
        RaiseFileFailure(std::error_code(error, std::generic_category()), path_, source_);
    }

    // Some file systems report a full disk only when the file is closed.
    void Close() {
        const int fd = fd_;
        fd_ = -1;
        if (close(fd) != 0) Fail(errno);
    }

private:
    std::string path_;
    const char* source_;
    int fd_ = -1;
};

void ReportSubstitutions(std::size_t count, const std::string& what, const std::string& path) {
    if (count == 0) return;
    WriteErrorLog(State().errorLogOn, State().functionId, log_tag::kWarning, "00",
                  what + "を「?」にしました（" + std::to_string(count) + "件）：" + path);
}

}  // namespace

long LineProgressStep(long count) { return AtLeastOne(platform::ToLong(static_cast<double>(count) / 100.0)); }

void RaiseFileFailure(const std::error_code& error, const std::string& path, const char* source) {
    long number = platform::error_number::kPathFileAccess;
    if (error == std::errc::no_space_on_device || error == std::errc::file_too_large ||
        error.value() == EDQUOT) {
        number = platform::error_number::kDiskFull;
    } else if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory) {
        // The file alone missing is "file not found"; a missing folder on the way is "path not found".
        std::error_code ignored;
        const fs::path parent = fs::path(path).parent_path();
        number = parent.empty() || fs::is_directory(parent, ignored) ? platform::error_number::kFileNotFound
                                                                     : platform::error_number::kPathNotFound;
    }
    platform::RaiseFileError(number, path, error, source);
}

std::string ReadFileBytes(const std::string& path) {
    FileHandle file(path, O_RDONLY, "ReadFileBytes");
    // Read straight into a string of the file's size, one more byte to see the
    // end; a file that grows meanwhile is read on to its new end.
    struct stat info {};
    if (fstat(file.fd(), &info) != 0) file.Fail(errno);
    std::string bytes(static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)) + 1, '\0');
    std::size_t size = 0;
    for (;;) {
        if (size == bytes.size()) bytes.resize(bytes.size() * 2);
        const ssize_t got = read(file.fd(), bytes.data() + size, bytes.size() - size);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) file.Fail(errno);
        if (got == 0) break;
        size += static_cast<std::size_t>(got);
    }
    bytes.resize(size);
    file.Close();
    return bytes;
}

void CutToWholeLines(const std::string& path) {
    if (!platform::FileExists(path)) return;
    const std::string bytes = ReadFileBytes(path);
    const std::size_t whole = bytes.rfind('\n') + 1;  // nothing without a line end
    if (whole != bytes.size()) platform::AtomicReplace(path, bytes.substr(0, whole));
}

void AppendFileBytes(const std::string& path, std::string_view bytes) {
    FileHandle file(path, O_WRONLY | O_CREAT | O_APPEND, "AppendFileBytes");
    struct stat before {};
    if (fstat(file.fd(), &before) != 0) file.Fail(errno);
    while (!bytes.empty()) {
        const ssize_t written = write(file.fd(), bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) {
            // A cut-off line would later read as a whole one: the file goes back to its old end.
            const int error = errno;
            static_cast<void>(ftruncate(file.fd(), before.st_size));
            file.Fail(error);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    file.Close();
}

void ReportUnreadableBytes(std::size_t count, const std::string& path) {
    ReportSubstitutions(count, kUnreadable, path);
}

std::string DecodeText(std::string_view bytes, const std::string& path) {
    platform::DecodeResult decoded = platform::FromCp932(bytes);
    ReportSubstitutions(decoded.invalid, kUnreadable, path);
    return std::move(decoded.text);
}

std::vector<std::string> DecodeLines(std::string_view bytes, const std::string& path,
                                     const LineProgress& beforeLine) {
    // No CP932 trail byte is LF, so the raw bytes can be cut into lines before decoding.
    std::vector<std::string> lines;
    std::size_t invalid = 0;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        if (beforeLine) beforeLine(lines.size());
        const std::size_t lf = bytes.find('\n', pos);
        const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
        std::string_view raw = bytes.substr(pos, end - pos);
        if (raw.ends_with('\r')) raw.remove_suffix(1);
        platform::DecodeResult decoded = platform::FromCp932(raw);
        invalid += decoded.invalid;
        lines.push_back(std::move(decoded.text));
        pos = end + 1;
    }
    ReportSubstitutions(invalid, kUnreadable, path);
    return lines;
}

std::string EncodeLines(std::span<const std::string> lines, const std::string& path,
                        const LineProgress& beforeLine) {
    // CP932 never takes more bytes than UTF-8: the whole file fits at once.
    std::size_t most = 0;
    for (const std::string& line : lines) most += line.size() + kLineEnd.size();
    std::string bytes;
    bytes.reserve(most);
    std::size_t unmappable = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (beforeLine) beforeLine(i);
        unmappable += platform::AppendCp932(lines[i], bytes);
        bytes += kLineEnd;
    }
    ReportSubstitutions(unmappable, kUnwritable, path);
    return bytes;
}

}  // namespace common
