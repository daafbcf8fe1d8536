// The Run menu and its Ctrl keys: the items, the flags each command sets, and the check marks.
#include "runtime_test.h"

namespace {

using RunMenu = RuntimeTest;

UINT state_at(int position) {
  return GetMenuState(state.run_menu, position, MF_BYPOSITION);
}

struct Flags {
  int animate, step, logging, recording, playback, one, quit;
  bool operator==(const Flags&) const = default;
};

Flags flags() {
  return {state.animate_on,  state.single_step, state.logging_on,    state.recording_on,
          state.playback_on, state.play_one,    state.quit_requested};
}

void ctrl_key(int code) {
  headless::key_down(state.draw_window, VK_CONTROL);
  headless::key_down(state.draw_window, code);
  headless::key_up(state.draw_window, code);
  headless::key_up(state.draw_window, VK_CONTROL);
  drain();
}

TEST_F(RunMenu, ItemsInOrderWithTheirFlags) {
  start();
  ASSERT_NE(state.run_menu, nullptr);
  ASSERT_NE(GetMenu(state.draw_window), nullptr);
  const UINT expected[] = {
      MF_STRING,    MF_STRING,    MF_STRING, MF_SEPARATOR, MF_CHECKED,
      MF_SEPARATOR, MF_STRING,    MF_STRING, MF_STRING,    MF_SEPARATOR,
      MF_STRING,    MF_SEPARATOR, MF_GRAYED, MF_GRAYED,    MF_GRAYED,
  };
  for (int position = 0; position < 15; ++position)
    EXPECT_EQ(state_at(position) & (MF_SEPARATOR | MF_CHECKED | MF_GRAYED), expected[position])
        << "position " << position;
  EXPECT_EQ(state_at(15), 0xFFFFFFFFu);
  EXPECT_TRUE(GetMenuState(state.run_menu, CMD_INFO, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(RunMenu, AnimationCommands) {
  start();
  command(CMD_ANIMATE);
  drain();
  EXPECT_EQ(state.animate_on, 1);
  command(CMD_ADVANCE_FRAME);
  drain();
  EXPECT_EQ(state.animate_on, 0);
  EXPECT_EQ(state.single_step, 1);
  command(CMD_ANIMATE);
  command(CMD_HALT);
  drain();
  EXPECT_EQ(state.animate_on, 0);
  EXPECT_EQ(state.single_step, 1);  // halt keeps a pending single step
  command(CMD_ANIMATE);
  command(CMD_PLAY_ONE);
  drain();
  EXPECT_EQ(state.animate_on, 0);
  EXPECT_EQ(state.single_step, 0);
  EXPECT_EQ(state.play_one, 1);
}

TEST_F(RunMenu, IdsOutsideOneToEightDoNothing) {
  start();
  gfx_set_animation(ANIM_RUN);
  Flags before = flags();
  for (int id : {0, 9, 10, 100, 65535}) command(id);
  drain();
  EXPECT_EQ(flags(), before);
  EXPECT_FALSE(file_exists(SCRIPT_FILE_NAME));
}

TEST_F(RunMenu, CheckMarksFollowLoggingRecordingAndPlayback) {
  start();
  EXPECT_TRUE(checked(CMD_LOGGING));
  command(CMD_LOGGING);
  drain();
  EXPECT_EQ(state.logging_on, 0);
  EXPECT_FALSE(checked(CMD_LOGGING));
  command(CMD_LOGGING);
  drain();
  EXPECT_EQ(state.logging_on, 1);
  EXPECT_TRUE(checked(CMD_LOGGING));

  command(CMD_RECORD_SCRIPT);
  drain();
  EXPECT_TRUE(checked(CMD_RECORD_SCRIPT));
  command(CMD_RECORD_SCRIPT);
  drain();
  EXPECT_FALSE(checked(CMD_RECORD_SCRIPT));

  command(CMD_PLAYBACK_SCRIPT);
  drain();
  EXPECT_TRUE(checked(CMD_PLAYBACK_SCRIPT));
  command(CMD_PLAYBACK_SCRIPT);
  drain();
  EXPECT_FALSE(checked(CMD_PLAYBACK_SCRIPT));
  EXPECT_EQ(state.playback_on, 0);
}

TEST_F(RunMenu, CtrlKeysActAsTheirCommands) {
  start();
  ctrl_key('A');
  EXPECT_EQ(state.animate_on, 1);
  ctrl_key('F');
  EXPECT_EQ(state.animate_on, 0);
  EXPECT_EQ(state.single_step, 1);
  ctrl_key('A');
  ctrl_key('H');
  EXPECT_EQ(state.animate_on, 0);
  ctrl_key('O');
  EXPECT_EQ(state.play_one, 1);
  EXPECT_EQ(state.single_step, 0);
  ctrl_key('L');
  EXPECT_EQ(state.logging_on, 0);
  ctrl_key('R');
  EXPECT_EQ(state.recording_on, 1);
  EXPECT_TRUE(checked(CMD_RECORD_SCRIPT));
  ctrl_key('P');
  EXPECT_EQ(state.playback_on, 1);
}

TEST_F(RunMenu, LowerCaseCodesActAsTheLetters) {
  start();
  ctrl_key('a');  // 97
  EXPECT_EQ(state.animate_on, 1);
  ctrl_key('h');
  EXPECT_EQ(state.animate_on, 0);
  ctrl_key('f');
  EXPECT_EQ(state.single_step, 1);
  ctrl_key('o');
  EXPECT_EQ(state.play_one, 1);
  ctrl_key('l');
  EXPECT_EQ(state.logging_on, 0);
  ctrl_key('r');
  EXPECT_EQ(state.recording_on, 1);
  ctrl_key('p');
  EXPECT_EQ(state.playback_on, 1);
  headless::key_down(state.draw_window, VK_CONTROL);
  headless::key_down(state.draw_window, 'q');  // 113
  EXPECT_EQ(next_event().kind, EVENT_QUIT);
}

TEST_F(RunMenu, LettersWithoutCtrlAreNoCommands) {
  start();
  Flags before = flags();
  for (int code : {'A', 'F', 'L', 'R', 'P', 'O', 'Q', 'a', 'q'}) {
    headless::key_down(state.draw_window, code);
    headless::key_up(state.draw_window, code);
  }
  drain();
  EXPECT_EQ(flags(), before);
  EXPECT_EQ(state.ctrl_down, 0);
}

// A layout's letters give the commands by the letter on the key (AZERTY's key left of Z is A);
// AltGr, which comes as Ctrl with Alt, types its characters instead (@ on a German Q).
TEST_F(RunMenu, CommandsFollowTheLayoutAndAltGrTypes) {
  start();
  headless::key_down(state.draw_window, VK_CONTROL, "");
  headless::key_down(state.draw_window, VK_MENU, "");
  headless::key_down(state.draw_window, 'Q', "@");
  Event event = next_event();
  EXPECT_EQ(event.kind, EVENT_KBD);
  EXPECT_EQ(event.key, '@');
  headless::key_up(state.draw_window, 'Q');
  headless::key_up(state.draw_window, VK_MENU);
  headless::key_down(state.draw_window, 'A', "");
  drain();
  EXPECT_EQ(state.animate_on, 1);
  EXPECT_EQ(state.quit_requested, 0);
}

TEST_F(RunMenu, RepeatedKeyDownsToggleAgain) {
  start();
  headless::key_down(state.draw_window, VK_CONTROL);
  headless::key_down(state.draw_window, 'L');
  drain();
  EXPECT_EQ(state.logging_on, 0);
  headless::key_down(state.draw_window, 'L');  // auto-repeat
  drain();
  EXPECT_EQ(state.logging_on, 1);
  headless::key_down(state.draw_window, 'L');
  drain();
  EXPECT_EQ(state.logging_on, 0);
  // Ctrl stays down until its own key-up reaches the window.
  headless::key_up(state.draw_window, 'L');
  drain();
  EXPECT_EQ(state.ctrl_down, 1);
  headless::key_up(state.draw_window, VK_CONTROL);
  drain();
  EXPECT_EQ(state.ctrl_down, 0);
}

TEST_F(RunMenu, QuitKeepsTheWindowsAndTheRuntimeGoesOn) {
  start();
  command(CMD_QUIT);
  EXPECT_EQ(next_event().kind, EVENT_QUIT);
  EXPECT_TRUE(IsWindow(state.draw_window));
  EXPECT_TRUE(IsWindow(state.text_window));
  headless::click(state.draw_window, column(1), row(1));
  EXPECT_EQ(next_event().kind, EVENT_MOUSE);
  gfx_set_animation(ANIM_RUN);
  EXPECT_EQ(next_event().kind, EVENT_PERIODIC);
}

TEST_F(RunMenu, PlaybackStopsTheAnimation) {
  write_file(SCRIPT_FILE_NAME, "VORLA_KBD(120);\n");
  start();
  gfx_set_animation(ANIM_RUN);
  gfx_set_animation(ANIM_SINGLE_STEP);
  uint32_t now = headless::now_ms();
  command(CMD_PLAYBACK_SCRIPT);
  Event event = next_event();
  EXPECT_EQ(event.kind, EVENT_KBD);
  EXPECT_EQ(event.key, 'x');
  EXPECT_EQ(state.animate_on, 0);
  EXPECT_EQ(state.single_step, 0);
  EXPECT_EQ(headless::now_ms(), now);
}

}  // namespace
