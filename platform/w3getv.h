#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// The page fetch behind the collectors. The command line is
//   " -l " log file " -d " folder " -o " file name " -j sjis " URL
// and asks for the page at URL (http:// only) in the file folder + file name,
// in CP932 (see PageToCp932), with a short log of the fetch in the log file.
// Bytes an address cannot carry (a blank, quotes, angle brackets and the
// like, bytes beyond ASCII) are sent percent-encoded; an address with a
// control character is refused.
// Result: the HTTP status (above 0) when the page was stored; -302 for any
// redirect answer, which is not followed; the negative status of any other
// answer; 0 for a command line or URL refused before any request; -18 for a
// page that ends before its document does (an html element never closed);
// the negative libcurl code of any other transport failure (time-outs and a
// site too slow to go on with included).
// A page that cannot be stored here is this machine's fault, not the site's:
// it throws TrappedError rather than give a result. (A log that cannot be
// written is let be, as every log of the program.)
// `option` is kept for the call's shape and not used. `page`, when given,
// receives the stored page as read back from its file, for a caller that
// would read the file straight back. No shell is involved.
struct StoredPage {
    std::string text;            // the stored CP932 bytes decoded
    std::size_t unreadable = 0;  // bytes that decode as "?"
};
std::int32_t W3getv(std::string& commandLine, std::int32_t& option, StoredPage* page = nullptr);

// When a fetch gives up: no connection within `connect`, no whole answer
// within `total`, or fewer than `lowSpeedBytes` a second for `lowSpeedTime`.
struct W3getvLimits {
    std::chrono::milliseconds connect{10'000};
    std::chrono::milliseconds total{60'000};
    long lowSpeedBytes = 1024;
    std::chrono::seconds lowSpeedTime{15};
};

// Tests only shorten the limits, so that a slow answer does not hold a test
// for a minute.
void SetW3getvLimitsForTests(const W3getvLimits& limits);

}  // namespace platform
