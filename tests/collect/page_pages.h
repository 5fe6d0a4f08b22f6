#pragma once
#include <iconv.h>

#include <string>

#include "platform/cp932.h"

namespace testsupport {

// The price page the fetch tests serve, in UTF-8; `meta` goes into its head.
inline std::string PricePage(const std::string& meta) {
    return "<html><head>" + meta +
           "<title>株価</title><script>var s = \"<td>x</td>\";</script></head><body>"
           "<table><tr><td>銘柄</td><td><a href=\"/q?s=7203\">トヨタ自動車</a></td></tr>"
           "<tr><td>記号</td><td>&#12354;&#60;b&#62;</td></tr></table></body></html>";
}

inline std::string ToCp932Bytes(const std::string& utf8) { return platform::ToCp932(utf8).bytes; }

// `utf8` in the charset iconv knows as `charset`.
inline std::string EncodeBytes(const char* charset, const std::string& utf8) {
    iconv_t cd = iconv_open(charset, "UTF-8");
    std::string out(utf8.size() * 3 + 16, '\0');
    char* src = const_cast<char*>(utf8.data());
    std::size_t srcLeft = utf8.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);  // a stateful charset's return to ASCII
    iconv_close(cd);
    out.resize(out.size() - dstLeft);
    return out;
}

inline std::string ToEucJpBytes(const std::string& utf8) { return EncodeBytes("EUC-JP", utf8); }

}  // namespace testsupport
