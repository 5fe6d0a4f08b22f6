#include "platform/w3getv.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/page_charset.h"
#include "platform/trapped_error.h"

namespace platform {
namespace {

std::atomic<long> gConnectMs{10'000};
std::atomic<long> gTotalMs{60'000};
std::atomic<long> gLowSpeedBytes{1024};
std::atomic<long> gLowSpeedSeconds{15};

// A page larger than this is refused rather than held in memory.
constexpr std::size_t kMaxPageBytes = 64u << 20;

// The result of a page that ends before its document does, as libcurl's
// code for a transfer cut short.
constexpr std::int32_t kCutShort = -CURLE_PARTIAL_FILE;

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

// Bytes that may not stand in an address as they are; '%' stays, since an
// address may already carry encoded bytes.
bool NeedsEncoding(unsigned char byte) {
    return byte == ' ' || byte >= 0x80 || std::string_view("\"<>\\^`{|}").find(static_cast<char>(byte)) !=
                                             std::string_view::npos;
}

// The address as it is sent: http:// only, without control characters, with
// every byte it cannot carry percent-encoded (a company code with a blank).
std::optional<std::string> AddressToSend(std::string_view url) {
    if (url.substr(0, 7) != "http://" || url.size() == 7) return std::nullopt;
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string sent;
    sent.reserve(url.size());
    for (const char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return std::nullopt;
        if (NeedsEncoding(byte)) {
            sent += '%';
            sent += kHex[byte >> 4];
            sent += kHex[byte & 0x0F];
        } else {
            sent += c;
        }
    }
    return sent;
}

// Whether the address names this machine, where compression gains nothing
// and costs the site the time to compress every page.
bool IsLoopbackAddress(std::string_view url) {
    std::string_view host = url.substr(7);  // after "http://"
    host = host.substr(0, host.find_first_of("/?#"));
    if (const std::size_t at = host.rfind('@'); at != std::string_view::npos) host.remove_prefix(at + 1);
    if (host.starts_with("[")) return host.starts_with("[::1]");
    host = host.substr(0, host.find(':'));
    return host == "localhost" || host.starts_with("127.");
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Where `tag` ("<html", "</html", lower case) next starts at or after `from`, in any letter case.
std::size_t FindTag(std::string_view page, std::string_view tag, std::size_t from) {
    for (std::size_t at = page.find('<', from); at != std::string_view::npos; at = page.find('<', at + 1)) {
        if (page.size() - at < tag.size()) break;
        std::size_t i = 1;
        while (i < tag.size() && AsciiLower(page[at + i]) == tag[i]) ++i;
        if (i < tag.size()) continue;
        const std::size_t after = at + tag.size();
        if (after == page.size() || std::string_view(" \t\r\n>/").find(page[after]) != std::string_view::npos) {
            return at;
        }
    }
    return std::string_view::npos;
}

// A page that opens an html element and never closes it ended before its
// document did: the connection closed early, or a wrong length cut it.
// Pieces of markup without an html element are taken as they come.
bool EndsBeforeItsDocument(std::string_view page) {
    const std::size_t open = FindTag(page, "<html", 0);
    return open != std::string_view::npos && FindTag(page, "</html", open) == std::string_view::npos;
}

class FetchLog {
public:
    explicit FetchLog(std::string path) : path_(std::move(path)) {}
    void Add(std::string_view name, std::string_view value) {
        text_ += std::string(name) + ": " + std::string(value) + "\r\n";
    }
    // A log, as every log of the program, must not stop the work it reports
    // on; the page it reports on is another matter (see W3getv).
    void Write() const {
        if (path_.empty()) return;
        try {
            WriteScratchFile(path_, ToCp932(text_).bytes);
        } catch (const TrappedError&) {
        }
    }

private:
    std::string path_;
    std::string text_;
};

// The body as it arrives, in blocks: one string grown by doubling would, near
// the cap, move into a buffer twice its size while still holding the old one,
// and an endless body then took about three times the cap.
class Body {
public:
    // False when the body would grow beyond the cap.
    bool Append(const char* data, std::size_t bytes) {
        if (size_ + bytes > kMaxPageBytes) return false;
        size_ += bytes;
        while (bytes > 0) {
            if (blocks_.empty() || blocks_.back().size() == kBlockBytes) {
                const std::size_t room = blocks_.empty() ? kFirstBlockBytes : kBlockBytes;
                blocks_.emplace_back().reserve(room);
            }
            std::string& block = blocks_.back();
            const std::size_t taken = std::min(bytes, kBlockBytes - block.size());
            block.append(data, taken);
            data += taken;
            bytes -= taken;
        }
        return true;
    }
    std::string Take() {
        if (blocks_.size() == 1) return std::move(blocks_.front());
        std::string whole;
        whole.reserve(size_);
        for (const std::string& block : blocks_) whole += block;
        return whole;
    }

private:
    static constexpr std::size_t kBlockBytes = 1u << 20;
    static constexpr std::size_t kFirstBlockBytes = 64u << 10;  // most pages fit
    std::vector<std::string> blocks_;
    std::size_t size_ = 0;
};

struct Answer {
    std::string body;
    std::string contentType;
    long status = 0;
    CURLcode code = CURLE_OK;
    std::string error;
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    const std::size_t bytes = size * count;
    return static_cast<Body*>(user)->Append(data, bytes) ? bytes : 0;  // 0 ends the transfer with a write error
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
    Body body;
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, gConnectMs.load());
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, gTotalMs.load());
    // A site that drips its page fails the attempt long before the total
    // time-out, so that ten attempts do not hold one stock for ten minutes.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, gLowSpeedBytes.load());
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, gLowSpeedSeconds.load());
    // Compressed pages from a site across the network, but not brotli: a
    // server compresses brotli far more slowly than gzip, for pages of a few
    // kilobytes that gain nothing by it.
    if (!IsLoopbackAddress(url)) curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    answer.code = curl_easy_perform(curl);
    if (answer.code == CURLE_OK) {
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &answer.status);
        const char* type = nullptr;
        curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &type);
        if (type != nullptr) answer.contentType = type;
        answer.body = body.Take();
    } else {
        answer.error = error[0] != '\0' ? error : curl_easy_strerror(answer.code);
    }
    curl_easy_cleanup(curl);
    return answer;
}

std::int32_t Fetch(const Request& request, FetchLog& log, StoredPage& page) {
    log.Add("URL", request.url);
    const std::optional<std::string> address = AddressToSend(request.url);
    if (!address) {
        log.Add("Error", "address refused (http:// only, no control character)");
        return 0;
    }
    const Answer answer = Get(*address);
    if (answer.code != CURLE_OK) {
        log.Add("Error", answer.error);
        return -static_cast<std::int32_t>(answer.code);
    }
    log.Add("Status", std::to_string(answer.status));
    if (answer.status >= 300 && answer.status < 400) return -302;
    if (answer.status < 200 || answer.status >= 300) return -static_cast<std::int32_t>(answer.status);
    if (EndsBeforeItsDocument(answer.body)) {
        log.Add("Error", "page cut short (" + std::to_string(answer.body.size()) + " bytes, html element not closed)");
        return kCutShort;
    }
    PageCp932 converted = PageToCp932(answer.body, answer.contentType);
    log.Add("Charset", converted.charset);
    log.Add("Bytes", std::to_string(converted.bytes.size()));
    if (converted.unmappable > 0) log.Add("Unmappable", std::to_string(converted.unmappable));
    WriteScratchFile(request.pagePath, converted.bytes);
    page = {std::move(converted.text), converted.unreadable};
    return static_cast<std::int32_t>(answer.status);
}

}  // namespace

std::int32_t W3getv(std::string& commandLine, std::int32_t& /*option*/, StoredPage* page) {
    const std::optional<Request> request = ParseCommandLine(commandLine);
    if (!request) return 0;
    FetchLog log(request->logPath);
    StoredPage stored;
    const std::int32_t result = Fetch(*request, log, stored);
    log.Add("Result", std::to_string(result));
    log.Write();
    if (page != nullptr) *page = std::move(stored);
    return result;
}

void SetW3getvLimitsForTests(const W3getvLimits& limits) {
    gConnectMs = static_cast<long>(limits.connect.count());
    gTotalMs = static_cast<long>(limits.total.count());
    gLowSpeedBytes = limits.lowSpeedBytes;
    gLowSpeedSeconds = static_cast<long>(limits.lowSpeedTime.count());
}

}  // namespace platform
