// The rule for texts written as fields of tab-separated lines.
#include "platform/field_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(FieldText, ControlCharactersBecomeBlanksAndNothingElseChanges) {
    const struct {
        std::string text;
        std::string appended;
    } cases[] = {
        {"", ""},
        {"東京都 千代田区", "東京都 千代田区"},
        {"104\t*", "104 *"},
        {"90\n2024/01/01\r", "90 2024/01/01 "},
        {"a\0b\x01\x1F\x7F"s, "a b   "},
        {"\xC2\x80x\xC2\x9F", " x "},          // C1 controls, two bytes each
        {"©\xC2\xA0末", "©\xC2\xA0末"},         // other characters led by C2 stay
        {"end\xC2", "end\xC2"},                 // a lone lead byte is no control
    };
    for (const auto& c : cases) {
        std::string line = "head\t";
        platform::AppendFieldText(line, c.text);
        EXPECT_EQ(line, "head\t" + c.appended) << c.text;
    }
}

}  // namespace
