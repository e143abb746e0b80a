#include "Accelerator.h"

#include <gtest/gtest.h>

#include <string_view>

namespace platform {
namespace {

struct AcceleratorCase {
    std::u16string_view caption;
    char16_t expected;
};

TEST(AcceleratorTest, FindsTheCharacterAfterTheFirstSingleAmpersand) {
    const AcceleratorCase cases[] = {
        {u"&Register", u'R'},
        {u"&Name", u'N'},
        {u"Save &as", u'a'},         // case as written
        {u"&One &Two", u'O'},        // only the first counts
        {u"I agree", 0},
        {u"", 0},
        {u"Fish && &Chips", u'C'},   // "&&" is a literal ampersand
        {u"&&", 0},
        {u"A&&B", 0},
        {u"&&x", 0},
        {u"&&&x", u'x'},             // literal ampersand, then the accelerator
        {u"a&", 0},                  // a trailing "&" marks nothing
        {u"a&&&", 0},
        {u"&\u00DCber", u'\u00DC'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::u16string(c.caption)));
        EXPECT_EQ(AcceleratorOf(c.caption), c.expected);
    }
}

} // namespace
} // namespace platform
