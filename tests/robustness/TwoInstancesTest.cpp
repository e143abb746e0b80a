// Two runs of the program at once, as when an installer is started twice: each ends with its own
// status, neither disturbs the other, and the record is what the last Register stored.
#include "RunSupport.h"

namespace robustness {
namespace {

using namespace e2e;

struct RunPlan {
    std::wstring name;  // typed, then Register; empty: Esc
};

struct TwoRuns {
    const char* name;
    RunPlan first;
    RunPlan second;
    bool secondEndsFirst;
    std::wstring storedName;
};

void PrintTo(const TwoRuns& row, std::ostream* out) {
    *out << row.name;
}

class TwoInstancesTest : public RecordFixture, public ::testing::WithParamInterface<TwoRuns> {
protected:
    ScratchDirectory directory;
};

TEST_P(TwoInstancesTest, EachEndsWithItsStatusAndTheLastRegisterWins) {
    const TwoRuns& row = GetParam();
    ASSERT_TRUE(directory.WriteFile(L"license.txt", "Terms."));
    struct Run {
        const RunPlan* plan;
        Program* program;
        RegistrationDialog dialog;
    };
    Run runs[2] = {{&row.first}, {&row.second}};
    // The second starts while the first's dialog is up.
    for (Run& run : runs) {
        run.program = &Start(directory.Path());
        ASSERT_TRUE(run.program->Started()) << "cannot start the program: error " << run.program->StartError();
        const StartUp start = RunToDialog(*run.program);
        ASSERT_TRUE(start.dialog) << start.failure;
        EXPECT_TRUE(start.boxes.empty()) << "an error box came up";
        run.dialog = *start.dialog;
    }
    EXPECT_NE(runs[0].dialog.window, runs[1].dialog.window);
    for (Run& run : runs) {
        if (run.plan->name.empty()) continue;
        ASSERT_TRUE(Type(run.dialog.name, run.plan->name));
        ASSERT_TRUE(WaitUntil([&] { return Text(run.dialog.name) == run.plan->name; })) << "typing did not arrive";
    }

    Run& ending = runs[row.secondEndsFirst ? 1 : 0];
    Run& waiting = runs[row.secondEndsFirst ? 0 : 1];
    for (Run* run : {&ending, &waiting}) {
        const bool registers = !run->plan->name.empty();
        ASSERT_TRUE(Press(run->dialog.window, registers ? Enter : Esc));
        const auto status = run->program->WaitForExit();
        ASSERT_TRUE(status) << "a run did not end and was killed";
        EXPECT_EQ(*status, registers ? 0u : 1u);
        if (run == &ending) {
            EXPECT_TRUE(waiting.program->Running()) << "the other run ended with this one";
            EXPECT_TRUE(::IsWindowVisible(waiting.dialog.window)) << "the other run's dialog is gone";
        }
    }
    EXPECT_EQ(StoredBytes(L"Name"), StringData(row.storedName));
    EXPECT_EQ(StoredBytes(L"Organization"), StringData(L""));
}

INSTANTIATE_TEST_SUITE_P(
    , TwoInstancesTest,
    ::testing::Values(TwoRuns{"BothRegisterFirstEndsFirst", {L"Ada"}, {L"Grace"}, false, L"Grace"},
                      TwoRuns{"BothRegisterSecondEndsFirst", {L"Ada"}, {L"Grace"}, true, L"Ada"},
                      TwoRuns{"LaterCancelKeepsTheRecord", {L"Ada"}, {L""}, false, L"Ada"},
                      TwoRuns{"EarlierCancelChangesNothing", {L""}, {L"Grace"}, false, L"Grace"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace robustness
