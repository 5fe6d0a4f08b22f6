#include "common/text/narrow_text.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(NarrowText, WideFormsBecomeNarrow) {
    const std::pair<const char*, const char*> cases[] = {
        {"０３－１２３４－５６７８", "03-1234-5678"},
        {"ＴＯＹＯＴＡ　ＭＯＴＯＲ　ＣＯＲＰ．", "TOYOTA MOTOR CORP."},
        {"￥１００", "\\100"},
        {"トヨタ", "ﾄﾖﾀ"},
        {"ガスパール", "ｶﾞｽﾊﾟｰﾙ"},
        {"ヴィッツ・ッ", "ｳﾞｨｯﾂ･ｯ"},
        {"「バ」、ポ。", "｢ﾊﾞ｣､ﾎﾟ｡"},
        {"Ｈ株：漢字ひらがなヵ", "H株:漢字ひらがなヵ"},
        {"ﾄﾖﾀ abc", "ﾄﾖﾀ abc"},
        {"a\xff" "b", "a\xff" "b"},
    };
    for (const auto& [wide, narrow] : cases) EXPECT_EQ(common::ToNarrow(wide), narrow) << wide;
}

}  // namespace
