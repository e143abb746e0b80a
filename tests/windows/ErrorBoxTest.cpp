// The standard error box as the user sees it (caption, text, icon, button, owner), and Guarded
// turning an escaping error into that box and carrying on.
#include "Application.h"
#include "ErrorBox.h"
#include "Exception.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <source_location>
#include <stdexcept>
#include <string>

namespace {

using testing_support::MessageBoxWatcher;
using testing_support::SeenBox;

constexpr std::u16string_view Title = u"Quorvel Evaluation Edition Setup";

class ErrorBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::Application.Initialize();
        platform::Application.SetTitle(Title);
        ASSERT_NE(platform::Application.Handle(), nullptr);
    }
    void TearDown() override { platform::Application.Reset(); }

    // Exactly one new box was shown since the last call, a standard error box with `text`.
    void ExpectOneStandardBox(std::u16string_view text, std::u16string_view caption = Title,
                              std::source_location where = std::source_location::current()) {
        ::testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()), "box expected here");
        const std::vector<SeenBox> boxes = watcher.Boxes();
        ASSERT_EQ(boxes.size(), seen + 1) << "boxes shown";
        seen = boxes.size();
        const SeenBox& box = boxes.back();
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, caption);
        EXPECT_TRUE(box.hasErrorIcon);
        EXPECT_EQ(box.buttons, 1);
        EXPECT_EQ(box.owner, platform::Application.Handle());
    }

    void ExpectNoNewBox(std::source_location where = std::source_location::current()) {
        ::testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()), "no box expected here");
        EXPECT_EQ(watcher.Boxes().size(), seen);
    }

    MessageBoxWatcher watcher;
    std::size_t seen = 0;
};

TEST_F(ErrorBoxTest, ShowsTheMessageCaptionedWithTheTitle) {
    platform::ShowErrorBox(u"Cannot open file license.txt");
    ExpectOneStandardBox(u"Cannot open file license.txt.");
}

TEST_F(ErrorBoxTest, AFullStopIsAddedOnlyAfterCharactersAboveIt) {
    struct Case {
        std::u16string message;
        std::u16string text;
    };
    const Case cases[] = {
        {u"Failed to set data for 'Name'", u"Failed to set data for 'Name'"},
        {u"Done.", u"Done."},
        {u"(see above)", u"(see above)"},
        {u"Stop!", u"Stop!"},
        {u"a,", u"a,"},
        {u"a-", u"a-"},
        {u"trailing space ", u"trailing space "},
        {u"100%", u"100%"},
        {u"say \"hi\"", u"say \"hi\""},
        {u"", u""},
        // "/" is the first character above ".".
        {u"C:/", u"C:/."},
        {u"Error 42", u"Error 42."},
        {u"Really?", u"Really?."},
        {u"first line\nsecond line", u"first line\nsecond line."},
        {u"Zoë", u"Zoë."},
        {u"日本", u"日本."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.message));
        platform::ShowErrorBox(c.message);
        ExpectOneStandardBox(c.text);
    }
}

TEST_F(ErrorBoxTest, CaptionFollowsTheCurrentTitle) {
    platform::Application.SetTitle(u"Another Title");
    platform::ShowErrorBox(u"x");
    ExpectOneStandardBox(u"x.", u"Another Title");
}

TEST_F(ErrorBoxTest, GuardedShowsAnEscapingErrorAndCarriesOn) {
    int reachedAfterBoxes = 0;
    const bool registryResult =
        platform::Guarded([] { throw platform::ERegistryException(u"Failed to set data for 'Name'"); });
    ++reachedAfterBoxes;
    EXPECT_FALSE(registryResult);
    ExpectOneStandardBox(u"Failed to set data for 'Name'");

    const bool fileResult = platform::Guarded([] { throw platform::Exception(u"Cannot open file license.txt"); });
    ++reachedAfterBoxes;
    EXPECT_FALSE(fileResult);
    ExpectOneStandardBox(u"Cannot open file license.txt.");

    const bool standardResult = platform::Guarded([] { throw std::runtime_error("Zo\xC3\xAB's disk is full"); });
    ++reachedAfterBoxes;
    EXPECT_FALSE(standardResult);
    ExpectOneStandardBox(u"Zoë's disk is full.");
    EXPECT_EQ(reachedAfterBoxes, 3);
}

TEST_F(ErrorBoxTest, GuardedRunsTheActionOnceAndShowsNothingWhenItCompletes) {
    int runs = 0;
    EXPECT_TRUE(platform::Guarded([&] { ++runs; }));
    EXPECT_EQ(runs, 1);
    ExpectNoNewBox();

    // Work done before the error stays done; the rest of the action is skipped.
    int steps = 0;
    EXPECT_FALSE(platform::Guarded([&] {
        ++steps;
        throw std::runtime_error("half way");
        ++steps;
    }));
    EXPECT_EQ(steps, 1);
    ExpectOneStandardBox(u"half way.");
}

TEST_F(ErrorBoxTest, ErrorsOfNoKnownTypeStillGetTheStandardBox) {
    EXPECT_FALSE(platform::Guarded([] { throw 42; }));
    const std::vector<SeenBox> boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(boxes[0].text.empty());
    EXPECT_EQ(boxes[0].caption, Title);
    EXPECT_TRUE(boxes[0].hasErrorIcon);
    EXPECT_EQ(boxes[0].buttons, 1);
    EXPECT_EQ(boxes[0].owner, platform::Application.Handle());
}

TEST_F(ErrorBoxTest, ShowCurrentExceptionReportsTheErrorBeingHandled) {
    try {
        throw platform::ERegistryException(u"Invalid data type for 'Name'");
    } catch (...) {
        platform::ShowCurrentException();
    }
    ExpectOneStandardBox(u"Invalid data type for 'Name'");
    try {
        throw std::logic_error("Text exceeds memo capacity");
    } catch (...) {
        platform::ShowCurrentException();
    }
    ExpectOneStandardBox(u"Text exceeds memo capacity.");
}

} // namespace
