#include "editor/shell/commands.h"

#include <gtest/gtest.h>

#include <climits>

#include "editor/shell/command_ids.h"
#include "shell_fixture.h"

namespace ws {
namespace {

using test::ShellFixture;

// Digits past the int range saturate; 2^64 + 5 shows a wrap-around.
TEST(LeadingInteger, ReadsTheLeadingDecimalNumber) {
  // clang-format off
  const std::pair<const char*, int> rows[] = {
      {"25", 25}, {"  42 units", 42}, {"-1", -1}, {"abc", 0}, {"", 0}, {"x12", 0},
      {"99999999999999999999", INT_MAX}, {"-99999999999999999999", INT_MIN},
      {"18446744073709551621", INT_MAX}};
  // clang-format on
  for (const auto& [text, value] : rows) EXPECT_EQ(LeadingInteger(text), value) << text;
}

class CommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(f.FirstTick().laidOut); }
  bool Run(int id) { return f.registry.Dispatch(f.ctx, id); }
  ShellFixture f;
};

TEST_F(CommandsTest, SetUnitsAndGuideFrameAskAgainUntilInRange) {
  for (const char* v : {"51", "0", "50"}) f.ui.QueueValue(v);
  EXPECT_TRUE(Run(Cmd::kSetUnits));
  EXPECT_EQ(std::make_tuple(f.ui.MessageTexts(), f.ui.Prompts(), f.editor.display.view.gridStep,
                            f.shell.redraw),
            std::make_tuple(std::vector<std::string>(2, std::string(kMsgValueOutOfRange)),
                            std::vector<std::string>(3, std::string(kPromptGridValue)), 50, true));
  // Cancel, and -1 which reads as Cancel, keep the step.
  f.ui.QueueValue(std::nullopt);
  Run(Cmd::kSetUnits);
  f.ui.QueueValue("-1");
  Run(Cmd::kSetUnits);
  EXPECT_EQ(f.editor.display.view.gridStep, 50);
  f.ui.QueueValue("1");
  Run(Cmd::kSetUnits);
  EXPECT_EQ(f.editor.display.view.gridStep, 1);
  // The guide frame takes 2 to 10000 and keeps the integer halves.
  f.ui.ClearMessages();
  for (const char* v : {"10001", "10000", "1", "3"}) f.ui.QueueValue(v);
  Run(Cmd::kSetGuideFrame);
  EXPECT_EQ(f.ui.MessageTexts().size(), 2u);
  const std::string w(kPromptGuideWidth), h(kPromptGuideHeight);
  EXPECT_EQ(std::vector<std::string>(f.ui.Prompts().end() - 4, f.ui.Prompts().end()),
            (std::vector<std::string>{w, w, h, h}));
  EXPECT_EQ(std::make_tuple(
                f.editor.display.options.guideHalfWidth, f.editor.display.options.guideHalfHeight,
                CurrentPreferences(f.ctx).viewHalfWidth, f.editor.model.preferences.viewHalfHeight),
            std::make_tuple(5000.0, 1.0, 5000.0, 1.0));
}

}  // namespace
}  // namespace ws
