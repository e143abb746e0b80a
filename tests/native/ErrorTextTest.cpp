#include "ErrorText.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

struct ErrorTextCase {
    std::u16string message;
    std::u16string expected;
};

TEST(ErrorTextTest, AppendsAFullStopOnlyAfterCharactersAboveIt) {
    const ErrorTextCase cases[] = {
        {u"Cannot open file license.txt", u"Cannot open file license.txt."},
        {u"Failed to set data for 'Name'", u"Failed to set data for 'Name'"},
        {u"", u""},
        {u"Done.", u"Done."},
        {u"Stop!", u"Stop!"},
        {u"(see above)", u"(see above)"},
        {u"one, two,", u"one, two,"},
        {u"range 1-", u"range 1-"},
        {u"trailing space ", u"trailing space "},
        {u"quoted \"x\"", u"quoted \"x\""},
        // The rule compares codes, not punctuation: "/" (47) is the first to get a full stop.
        {u"path a/", u"path a/."},
        {u"Continue?", u"Continue?."},
        {u"Error 7", u"Error 7."},
        {u"Gr\u00FC\u00DFe", u"Gr\u00FC\u00DFe."},
        {u".", u"."},
        {u"x", u"x."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.message));
        EXPECT_EQ(ErrorBoxText(c.message), c.expected);
    }
}

} // namespace
} // namespace platform
