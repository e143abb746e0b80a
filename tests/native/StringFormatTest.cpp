#include "StringFormat.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

struct FormatCase {
    std::u16string pattern;
    std::u16string argument;
    std::u16string expected;
};

TEST(StringFormatTest, ReplacesTheFirstPlaceholderAndUndoublesPercentSigns) {
    const std::u16string product = u"Quorvel Evaluation Edition";
    const FormatCase cases[] = {
        {u"%s Setup", product, u"Quorvel Evaluation Edition Setup"},
        {u"Please Register %s", product, u"Please Register Quorvel Evaluation Edition"},
        {u"Please register your copy of %s. Fill in your name, your organization name (if applicable) "
         u"and then click on Register.",
         product,
         u"Please register your copy of Quorvel Evaluation Edition. Fill in your name, your organization "
         u"name (if applicable) and then click on Register."},
        {u"%s", u"", u""},
        {u"", product, u""},
        {u"no placeholder", product, u"no placeholder"},
        {u"%s and %s", u"A", u"A and %s"},
        {u"100%% %s", u"sure", u"100% sure"},
        {u"%%s %s", u"A", u"%s A"},
        {u"%%%s", u"A", u"%A"},
        {u"%d %s", u"A", u"%d A"},
        {u"50%", u"A", u"50%"},
        {u"%", u"A", u"%"},
        // The argument is inserted verbatim, never formatted itself.
        {u"[%s]", u"%s %% %", u"[%s %% %]"},
        {u"%s Setup", u"Gr\u00FC\u00DFe \U0001F600", u"Gr\u00FC\u00DFe \U0001F600 Setup"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.pattern) + " with " + testing::PrintToString(c.argument));
        EXPECT_EQ(FormatS(c.pattern, c.argument), c.expected);
    }
}

} // namespace
} // namespace platform
