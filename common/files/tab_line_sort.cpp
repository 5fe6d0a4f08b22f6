#include "common/files/tab_line_sort.h"

#include <algorithm>
#include <utility>

#include "common/files/text_file_io.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace common {

namespace {

constexpr long kSubscriptOutOfRange = 9;
constexpr long kInvalidCall = 5;

struct KeyedLine {
    std::string key;
    std::size_t index;
};

// Staged progress of the analysis program's sort; does nothing without a record.
class SortProgress {
public:
    explicit SortProgress(MSGRec* msg) : msg_(msg) {
        if (!msg_) return;
        if (msg_->StageCount <= 0) {
            msg_->StageCount = 3;
            msg_->StagesDone = 0;
        }
        Show(0);
    }

    void Begin(long denominator) {
        if (!msg_) return;
        msg_->lngDenominator = denominator;
        msg_->lngNumerator = 0;
    }
    void Show(long numerator) {
        if (!msg_) return;
        msg_->lngNumerator = numerator;
        ShowStagedProgress(*msg_);
    }
    void Finish() {
        if (!msg_) return;
        Show(msg_->lngDenominator);
    }
    void NextStage() {
        if (!msg_) return;
        msg_->lngNumerator = 0;
        ++msg_->StagesDone;
        ShowStagedProgress(*msg_);
    }
    bool On() const { return msg_ != nullptr; }

private:
    MSGRec* msg_;
};

void SortLines(std::vector<std::string>& lines, const SortKeyRec& keys, MSGRec* msg, const char* source) {
    const LineKeyMaker maker(keys, source);
    SortProgress progress(msg);

    const long n = static_cast<long>(lines.size());
    progress.Begin(n);
    const long step = LineProgressStep(n);
    std::vector<KeyedLine> keyed;
    keyed.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        keyed.push_back({maker.KeyOf(lines[i]), i});
        const long b = static_cast<long>(i) + 1;
        if (progress.On() && b >= 2 && b % step == 0) progress.Show(b);
    }
    progress.Finish();
    progress.NextStage();

    progress.Begin(1);
    // The input index breaks ties, so equal keys keep their input order.
    std::sort(keyed.begin(), keyed.end(), [](const KeyedLine& a, const KeyedLine& b) {
        const int order = a.key.compare(b.key);
        return order < 0 || (order == 0 && a.index < b.index);
    });
    progress.Finish();
    progress.NextStage();

    // Each data line is moved once, straight to its place.
    std::vector<std::string> sorted;
    sorted.reserve(lines.size());
    for (KeyedLine& entry : keyed) sorted.push_back(std::move(lines[entry.index]));
    lines.swap(sorted);
    progress.NextStage();
}

}  // namespace

void CheckKeyCount(long keyCount, const char* source) {
    if (keyCount > kMaxKeyFields) {
        throw platform::TrappedError(kSubscriptOutOfRange, "インデックスが有効範囲にありません。", source);
    }
}

LineKeyMaker::LineKeyMaker(const SortKeyRec& keys, const char* source) {
    CheckKeyCount(keys.KeyCount, source);
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    for (long j = 1; j <= keys.KeyCount; ++j) {
        const long start = keys.KeyStart[static_cast<std::size_t>(j)];
        const long length = keys.KeyLength[static_cast<std::size_t>(j)];
        if (start < 1 || length < 0) {
            throw platform::TrappedError(kInvalidCall, "プロシージャの呼び出し、または引数が不正です。", source);
        }
        const auto first = static_cast<std::size_t>(start - 1);
        spans.emplace_back(first, first + static_cast<std::size_t>(length));
        bounds_.push_back(spans.back().first);
        bounds_.push_back(spans.back().second);
    }
    std::sort(bounds_.begin(), bounds_.end());
    bounds_.erase(std::unique(bounds_.begin(), bounds_.end()), bounds_.end());
    const auto indexOf = [&](std::size_t position) {
        return static_cast<std::size_t>(std::lower_bound(bounds_.begin(), bounds_.end(), position) - bounds_.begin());
    };
    for (const auto& [first, end] : spans) fields_.push_back({indexOf(first), indexOf(end)});
}

std::string LineKeyMaker::KeyOf(std::string_view line) const {
    // One walk over the line finds the byte offset of every field bound.
    std::array<std::size_t, 2 * kMaxKeyFields> offsets{};
    std::size_t pos = 0;
    std::size_t chars = 0;
    for (std::size_t k = 0; k < bounds_.size(); ++k) {
        char32_t ignored = 0;
        while (chars < bounds_[k] && pos < line.size()) {
            platform::NextCodePoint(line, pos, ignored);
            ++chars;
        }
        offsets[k] = pos;
    }
    std::string key;
    for (const Field& field : fields_) {
        key.append(line.substr(offsets[field.from], offsets[field.to] - offsets[field.from]));
    }
    return key;
}

void SortLinesByKeys(std::vector<std::string>& lines, const SortKeyRec& keys) {
    SortLines(lines, keys, nullptr, "SortLinesByKeys");
}

void SortLinesByKeysWithProgress(MSGRec& msg, std::vector<std::string>& lines, const SortKeyRec& keys) {
    SortLines(lines, keys, &msg, "SortLinesByKeysWithProgress");
}

}  // namespace common
