#pragma once
#include <chrono>
#include <cstdint>
#include <string>

namespace platform {

// The page fetch behind the collectors. The command line is
//   " -l " log file " -d " folder " -o " file name " -j sjis " URL
// and asks for the page at URL (http:// only) in the file folder + file name,
// in CP932 (see PageToCp932), with a short log of the fetch in the log file.
// Result: the HTTP status (above 0) when the page was stored; -302 for any
// redirect answer, which is not followed; the negative status of any other
// answer; 0 for a command line or URL refused before any request (an address
// with a blank or a control character) or a page that could not be stored;
// the negative libcurl code of a transport failure (time-outs included).
// `option` is kept for the call's shape and not used. No shell is involved.
std::int32_t W3getv(std::string& commandLine, std::int32_t& option);

// Connect and total time-outs of every fetch: 10 s and 60 s. Tests only
// shorten them, so that a slow answer does not hold a test for a minute.
void SetW3getvTimeoutsForTests(std::chrono::milliseconds connect, std::chrono::milliseconds total);

}  // namespace platform
