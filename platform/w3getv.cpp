#include "platform/w3getv.h"

#include <curl/curl.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <string_view>

#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/page_charset.h"
#include "platform/trapped_error.h"

namespace platform {
namespace {

std::atomic<long> gConnectMs{10'000};
std::atomic<long> gTotalMs{60'000};

// A page larger than this is refused rather than held in memory.
constexpr std::size_t kMaxPageBytes = 64u << 20;

struct Request {
    std::string logPath;
    std::string pagePath;
    std::string url;
};

// The value between `marker` and `next` (or the end when `next` is empty).
std::optional<std::string> Between(std::string_view line, std::size_t& pos, std::string_view marker,
                                   std::string_view next) {
    if (line.compare(pos, marker.size(), marker) != 0) return std::nullopt;
    const std::size_t start = pos + marker.size();
    const std::size_t end = next.empty() ? line.size() : line.find(next, start);
    if (end == std::string_view::npos) return std::nullopt;
    pos = end;
    return std::string(line.substr(start, end - start));
}

std::optional<Request> ParseCommandLine(std::string_view line) {
    std::size_t pos = 0;
    const std::optional<std::string> log = Between(line, pos, " -l ", " -d ");
    if (!log) return std::nullopt;
    const std::optional<std::string> folder = Between(line, pos, " -d ", " -o ");
    if (!folder) return std::nullopt;
    const std::optional<std::string> name = Between(line, pos, " -o ", " -j ");
    if (!name) return std::nullopt;
    const std::optional<std::string> url = Between(line, pos, " -j sjis ", "");
    if (!url || folder->empty() || name->empty()) return std::nullopt;
    const std::string separator = (*name)[0] == '/' ? "" : "/";
    return Request{*log, *folder + separator + *name, *url};
}

bool IsAcceptableUrl(std::string_view url) {
    if (url.substr(0, 7) != "http://" || url.size() == 7) return false;
    for (const char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) return false;
    }
    return true;
}

class FetchLog {
public:
    explicit FetchLog(std::string path) : path_(std::move(path)) {}
    void Add(std::string_view name, std::string_view value) {
        text_ += std::string(name) + ": " + std::string(value) + "\r\n";
    }
    // The log is a courtesy: a log that cannot be written does not fail the fetch.
    void Write() const {
        if (path_.empty()) return;
        try {
            AtomicReplace(path_, ToCp932(text_).bytes);
        } catch (const TrappedError&) {
        }
    }

private:
    std::string path_;
    std::string text_;
};

struct Answer {
    std::string body;
    std::string contentType;
    long status = 0;
    CURLcode code = CURLE_OK;
    std::string error;
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* body = static_cast<std::string*>(user);
    const std::size_t bytes = size * count;
    if (body->size() + bytes > kMaxPageBytes) return 0;  // ends the transfer with a write error
    body->append(data, bytes);
    return bytes;
}

Answer Get(const std::string& url) {
    static std::once_flag init;
    std::call_once(init, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    Answer answer;
    CURL* curl = curl_easy_init();
    if (curl == nullptr) {
        answer.code = CURLE_FAILED_INIT;
        answer.error = "curl_easy_init failed";
        return answer;
    }
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, gConnectMs.load());
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, gTotalMs.load());
    // Compressed pages, but not brotli: a server compresses brotli far more
    // slowly than gzip, for pages of a few kilobytes that gain nothing by it.
    curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer.body);
    answer.code = curl_easy_perform(curl);
    if (answer.code == CURLE_OK) {
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &answer.status);
        const char* type = nullptr;
        curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &type);
        if (type != nullptr) answer.contentType = type;
    } else {
        answer.error = error[0] != '\0' ? error : curl_easy_strerror(answer.code);
    }
    curl_easy_cleanup(curl);
    return answer;
}

std::int32_t Fetch(const Request& request, FetchLog& log) {
    log.Add("URL", request.url);
    if (!IsAcceptableUrl(request.url)) {
        log.Add("Error", "address refused (http:// only, no blank or control character)");
        return 0;
    }
    const Answer answer = Get(request.url);
    if (answer.code != CURLE_OK) {
        log.Add("Error", answer.error);
        return -static_cast<std::int32_t>(answer.code);
    }
    log.Add("Status", std::to_string(answer.status));
    if (answer.status >= 300 && answer.status < 400) return -302;
    if (answer.status < 200 || answer.status >= 300) return -static_cast<std::int32_t>(answer.status);
    const PageCp932 page = PageToCp932(answer.body, answer.contentType);
    log.Add("Charset", page.charset);
    log.Add("Bytes", std::to_string(page.bytes.size()));
    if (page.unmappable > 0) log.Add("Unmappable", std::to_string(page.unmappable));
    try {
        AtomicReplace(request.pagePath, page.bytes);
    } catch (const TrappedError&) {
        log.Add("Error", "page not stored: " + request.pagePath);
        return 0;
    }
    return static_cast<std::int32_t>(answer.status);
}

}  // namespace

std::int32_t W3getv(std::string& commandLine, std::int32_t& /*option*/) {
    const std::optional<Request> request = ParseCommandLine(commandLine);
    if (!request) return 0;
    FetchLog log(request->logPath);
    const std::int32_t result = Fetch(*request, log);
    log.Add("Result", std::to_string(result));
    log.Write();
    return result;
}

void SetW3getvTimeoutsForTests(std::chrono::milliseconds connect, std::chrono::milliseconds total) {
    gConnectMs = static_cast<long>(connect.count());
    gTotalMs = static_cast<long>(total.count());
}

}  // namespace platform
