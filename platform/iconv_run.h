#pragma once
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Converts `in` through `cd` and appends the result to `out`, expecting at
// most `expansion` output bytes per input byte. Where iconv refuses the bytes
// that start `rest`, `refuse(rest)` gives how many of them to pass over after
// a "?", or 0 to stop there with `stopped` set. Returns how often iconv
// refused.
//
// A text that is refused at every other character still converts in linear
// time: the output is sized once and grown by doubling, and after a refusal
// iconv is handed a short stretch of the input, widened again as it goes
// through, because iconv converts far ahead of a refused character before it
// reports it.
template <class Refuse>
std::size_t RunIconv(iconv_t cd, std::string_view in, std::size_t expansion, std::string& out, Refuse refuse,
                     bool& stopped) {
    constexpr std::size_t kStretchAfterRefusal = 64;
    stopped = false;
    std::size_t refused = 0;
    std::size_t used = out.size();
    out.resize(used + in.size() * expansion + 16);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    std::size_t stretch = srcLeft;
    while (srcLeft > 0) {
        const std::size_t take = std::min(stretch, srcLeft);
        const bool whole = take == srcLeft;
        std::size_t takeLeft = take;
        char* dst = out.data() + used;
        std::size_t dstLeft = out.size() - used;
        const std::size_t rc = iconv(cd, &src, &takeLeft, &dst, &dstLeft);
        const int error = errno;
        srcLeft -= take - takeLeft;
        used = out.size() - dstLeft;
        if (rc != static_cast<std::size_t>(-1) || (error == EINVAL && !whole)) {
            // Through, or a character cut by the end of the stretch: go on wider.
            stretch = std::max(stretch, 2 * take);
            continue;
        }
        if (error == E2BIG) {
            out.resize(std::max(2 * out.size(), used + srcLeft * expansion + 16));
            continue;
        }
        const std::size_t skip = std::min(refuse(std::string_view(src, srcLeft)), srcLeft);
        if (skip == 0) {
            stopped = true;
            break;
        }
        if (used == out.size()) out.resize(2 * out.size());
        out[used++] = '?';
        ++refused;
        src += skip;
        srcLeft -= skip;
        stretch = kStretchAfterRefusal;
        // A refusal may leave a stateful charset mid-sequence; start afresh.
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(used);
    return refused;
}

}  // namespace platform
