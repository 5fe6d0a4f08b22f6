#include "common/files/tab_line_sort.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "common/screens/ui_seam.h"
#include "tests/support/trapped.h"

namespace {

using Lines = std::vector<std::string>;

common::SortKeyRec Keys(std::initializer_list<std::pair<long, long>> fields) {
    common::SortKeyRec keys;
    for (const auto& [start, length] : fields) {
        ++keys.KeyCount;
        keys.KeyStart[static_cast<std::size_t>(keys.KeyCount)] = start;
        keys.KeyLength[static_cast<std::size_t>(keys.KeyCount)] = length;
    }
    return keys;
}

struct SortCase {
    const char* name;
    common::SortKeyRec keys;
    Lines input;
    Lines expected;
};

TEST(TabLineSort, OrdersByKeyFields) {
    const SortCase cases[] = {
        {"no line", Keys({{1, 1}}), {}, {}},
        {"one line", Keys({{1, 1}}), {"b"}, {"b"}},
        {"already in order", Keys({{1, 1}}), {"a1", "b2", "c3"}, {"a1", "b2", "c3"}},
        {"descending", Keys({{1, 1}}), {"d", "c", "b", "a"}, {"a", "b", "c", "d"}},
        {"rising and falling in turn", Keys({{1, 1}}), {"5", "6", "4", "7", "3", "8"}, {"3", "4", "5", "6", "7", "8"}},
        // Field 1 ranks first even though field 2 lies left of it in the line.
        {"field order, not line order", Keys({{3, 1}, {1, 1}}), {"2_a", "1_b", "3_a"}, {"2_a", "3_a", "1_b"}},
        // Fields past the end give what exists: a shorter key sorts first.
        {"lines shorter than the key", Keys({{1, 4}}), {"abcd", "ab", "abc", ""}, {"", "ab", "abc", "abcd"}},
        {"second field past the end", Keys({{1, 1}, {10, 1}}), {"a23456789X", "b", "a"},
         {"a", "a23456789X", "b"}},
        {"case and width count", Keys({{1, 1}}), {"ａ", "b", "B", "a"}, {"B", "a", "b", "ａ"}},
        // Positions count characters; keys compare by code point, which here
        // differs from the byte order of the file's code page (Ａ first there).
        {"Japanese by code point", Keys({{3, 1}}), {"xxＡ", "ううあ", "ｱｱ亜", "aaア"},
         {"ううあ", "aaア", "ｱｱ亜", "xxＡ"}},
        {"no key field keeps the order", Keys({}), {"b", "a"}, {"b", "a"}},
    };
    for (const SortCase& c : cases) {
        Lines lines = c.input;
        common::SortLinesByKeys(lines, c.keys);
        EXPECT_EQ(lines, c.expected) << c.name;
    }
}

// Many short runs of few distinct keys: equal keys must come out in input
// order however the runs fall.
TEST(TabLineSort, EqualKeysKeepInputOrderAcrossRuns) {
    std::minstd_rand random(12345);
    const std::string letters[] = {"キ", "A", "か", "b", "A"};
    Lines lines;
    for (int i = 0; i < 5000; ++i) {
        lines.push_back(letters[random() % 5] + "\t" + std::to_string(i));
    }
    common::SortLinesByKeys(lines, Keys({{1, 1}}));

    ASSERT_EQ(lines.size(), 5000u);
    std::vector<bool> seen(5000, false);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t tab = lines[i].find('\t');
        const int index = std::stoi(lines[i].substr(tab + 1));
        ASSERT_FALSE(seen[static_cast<std::size_t>(index)]) << index;
        seen[static_cast<std::size_t>(index)] = true;
        if (i == 0) continue;
        const std::size_t previousTab = lines[i - 1].find('\t');
        const std::string key = lines[i].substr(0, tab);
        const std::string previousKey = lines[i - 1].substr(0, previousTab);
        ASSERT_LE(previousKey, key) << i;
        if (key == previousKey) {
            ASSERT_LT(std::stoi(lines[i - 1].substr(previousTab + 1)), index) << i;
        }
    }
}

TEST(TabLineSort, RefusedLayoutSortsNothing) {
    const Lines input = {"b", "a"};
    common::SortKeyRec tooMany = Keys({{1, 1}});
    tooMany.KeyCount = 21;
    common::SortKeyRec startZero = Keys({{0, 1}});
    common::SortKeyRec negativeLength = Keys({{1, -1}});
    const std::pair<common::SortKeyRec, long> refused[] = {{tooMany, 9}, {startZero, 5}, {negativeLength, 5}};
    for (const auto& [keys, number] : refused) {
        Lines lines = input;
        EXPECT_EQ(testsupport::ErrorNumberOf([&] { common::SortLinesByKeys(lines, keys); }), number);
        EXPECT_EQ(lines, input);
    }
}

class LastBar : public common::ProgressView {
public:
    void SetBar(long max, long value) override {
        this->max = max;
        this->value = value;
        ++calls;
    }
    void SetButtonsVisible(bool) override {}
    void SetCaption(const std::string&) override {}
    void SetLabel(const std::string&) override {}
    long max = 0;
    long value = 0;
    long calls = 0;
};

TEST(TabLineSort, ProgressCountsThreeStages) {
    Lines plain;
    for (int i = 300; i > 0; --i) plain.push_back(std::to_string(i % 7) + "-" + std::to_string(i));
    Lines staged = plain;
    common::SortLinesByKeys(plain, Keys({{1, 1}}));

    LastBar bar;
    common::MSGRec fresh;
    fresh.DisplayOn = true;
    fresh.ProgressForm = &bar;
    common::SortLinesByKeysWithProgress(fresh, staged, Keys({{1, 1}}));
    EXPECT_EQ(staged, plain);
    EXPECT_EQ(fresh.StageCount, 3);
    EXPECT_EQ(fresh.StagesDone, 3);
    EXPECT_EQ(bar.max, 3000);
    EXPECT_EQ(bar.value, 3000);
    // About once per hundredth of the lines while the keys are built.
    EXPECT_GE(bar.calls, 100);

    // A caller that counts its own stages keeps its count.
    common::MSGRec ongoing;
    ongoing.StageCount = 5;
    ongoing.StagesDone = 1;
    common::SortLinesByKeysWithProgress(ongoing, staged, Keys({{1, 1}}));
    EXPECT_EQ(ongoing.StageCount, 5);
    EXPECT_EQ(ongoing.StagesDone, 4);
}

}  // namespace
