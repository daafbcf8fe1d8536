// Recording the event stream to the script file and playing it back, including what the
// reader makes of files it did not write.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <string>

#include "runtime_test.h"

namespace {

class Script : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    start();
    gfx_set_logging(0);
    mark_ = log_lines().size();
  }

  std::vector<std::string> new_log_lines() { return log_lines_since(mark_); }

  // Plays the file until playback stops; the events it gave.
  static std::vector<Event> play_all() {
    std::vector<Event> events;
    command(CMD_PLAYBACK_SCRIPT);
    drain();
    while (state.playback_on) {
      state.pending_kind = EVENT_NONE;
      if (!playback_step()) break;
      events.push_back({state.pending_kind, state.pending_x, state.pending_y, state.pending_key});
      state.pending_x = state.pending_y = 0;
      state.pending_key = 0;
    }
    return events;
  }

  // The next call of the event loop returns the input scheduled for later: nothing from the
  // script came first.
  static void expect_waits_for_input() {
    uint32_t at = headless::now_ms() + 1000;
    headless::schedule(at, [] { headless::type_char(state.draw_window, '!'); });
    Event event = next_event();
    EXPECT_EQ(event.kind, EVENT_KBD);
    EXPECT_EQ(event.key, '!');
    EXPECT_EQ(headless::now_ms(), at);
  }

  size_t mark_ = 0;
};

TEST_F(Script, RecordsTheExampleScript) {
  gfx_set_animation(ANIM_RUN);
  command(CMD_RECORD_SCRIPT);
  for (int i = 0; i < 12; ++i) ASSERT_EQ(next_event().kind, EVENT_PERIODIC);
  headless::click(state.draw_window, column(-241), row(180));
  Event click = next_event();
  ASSERT_EQ(click.kind, EVENT_MOUSE);
  ASSERT_EQ(click.x, -241);
  ASSERT_EQ(click.y, 180);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(next_event().kind, EVENT_PERIODIC);
  headless::type_char(state.draw_window, 'q');
  ASSERT_EQ(next_event().key, 'q');
  command(CMD_RECORD_SCRIPT);
  next_event();
  EXPECT_EQ(state.recording_on, 0);
  EXPECT_EQ(read_file(SCRIPT_FILE_NAME),
            "VORLA_PERIODIC(12);\n"
            "VORLA_MOUSE(-241, 180);\n"
            "VORLA_PERIODIC(3);\n"
            "VORLA_KBD(113);\n");
}

TEST_F(Script, RecordingWithoutEventsLeavesAnExistingFileAlone) {
  write_file(SCRIPT_FILE_NAME, "VORLA_KBD(65);\n");
  command(CMD_RECORD_SCRIPT);
  command(CMD_RECORD_SCRIPT);
  expect_waits_for_input();
  EXPECT_EQ(state.recording_on, 0);
  EXPECT_EQ(read_file(SCRIPT_FILE_NAME), "VORLA_KBD(65);\n");
}

TEST_F(Script, PeriodicRunBecomesOneLineWhenRecordingStops) {
  gfx_set_animation(ANIM_RUN);
  command(CMD_RECORD_SCRIPT);
  for (int i = 0; i < 37; ++i) ASSERT_EQ(next_event().kind, EVENT_PERIODIC);
  command(CMD_RECORD_SCRIPT);
  next_event();
  EXPECT_EQ(state.periodic_count, 0);
  EXPECT_EQ(read_file(SCRIPT_FILE_NAME), "VORLA_PERIODIC(37);\n");
}

TEST_F(Script, LinesReachTheFileAsTheyAreWritten) {
  command(CMD_RECORD_SCRIPT);
  headless::type_char(state.draw_window, 'a');
  next_event();
  EXPECT_EQ(read_file(SCRIPT_FILE_NAME), "VORLA_KBD(97);\n");
}

TEST_F(Script, ShutDownWritesThePendingPeriodicRun) {
  gfx_set_animation(ANIM_RUN);
  command(CMD_RECORD_SCRIPT);
  for (int i = 0; i < 4; ++i) next_event();
  gfx_shutdown();
  EXPECT_EQ(read_file(SCRIPT_FILE_NAME), "VORLA_PERIODIC(4);\n");
}

TEST_F(Script, EndOfSessionWritesThePendingRunAndRecordingGoesOn) {
  gfx_set_animation(ANIM_RUN);
  command(CMD_RECORD_SCRIPT);
  for (int i = 0; i < 3; ++i) next_event();
  SendMessageA(state.draw_window, WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(read_file(SCRIPT_FILE_NAME), "VORLA_PERIODIC(3);\n");
  EXPECT_EQ(state.periodic_count, 0);
  EXPECT_TRUE(state.recording_on);
  for (int i = 0; i < 2; ++i) next_event();
  command(CMD_RECORD_SCRIPT);
  next_event();
  EXPECT_EQ(read_file(SCRIPT_FILE_NAME), "VORLA_PERIODIC(3);\nVORLA_PERIODIC(2);\n");
}

TEST_F(Script, QuitIsNotWrittenButItsRunIs) {
  gfx_set_animation(ANIM_RUN);
  command(CMD_RECORD_SCRIPT);
  next_event();
  next_event();
  PostQuitMessage(0);
  EXPECT_EQ(next_event().kind, EVENT_QUIT);
  EXPECT_EQ(read_file(SCRIPT_FILE_NAME), "VORLA_PERIODIC(2);\n");
}

TEST_F(Script, FileThatCannotBeWrittenIsReportedAndTriedAgain) {
  std::filesystem::create_directory(SCRIPT_FILE_NAME);
  command(CMD_RECORD_SCRIPT);
  headless::type_char(state.draw_window, 'a');
  next_event();
  headless::type_char(state.draw_window, 'b');
  next_event();
  std::vector<std::string> expected = {"Cannot open script file VORLA.SCR for writing\n",
                                       "Cannot open script file VORLA.SCR for writing\n"};
  EXPECT_EQ(new_log_lines(), expected);
  EXPECT_EQ(state.recording_on, 1);
}

// Another program recording VORLA.SCR holds its lock: this one neither empties nor writes the
// file and says so once, and a playback of it says it plays a file still being written.
TEST_F(Script, AFileAnotherProgramRecordsIsLeftToIt) {
  write_file(SCRIPT_FILE_NAME, "VORLA_KBD(65);\n");
  const int other = open(SCRIPT_FILE_NAME, O_WRONLY);
  ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
  command(CMD_RECORD_SCRIPT);
  headless::type_char(state.draw_window, 'a');
  next_event();
  headless::type_char(state.draw_window, 'b');
  next_event();
  EXPECT_EQ(new_log_lines(),
            std::vector<std::string>{
                "Cannot record script file VORLA.SCR: another program is recording it\n"});
  EXPECT_EQ(state.recording_on, 0);
  EXPECT_FALSE(checked(CMD_RECORD_SCRIPT));
  EXPECT_EQ(read_file(SCRIPT_FILE_NAME), "VORLA_KBD(65);\n");
  mark_ = log_lines().size();
  std::vector<Event> events = play_all();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].key, 'A');
  EXPECT_EQ(new_log_lines().front(),
            "Script file VORLA.SCR is being recorded by another program: playing what it holds so "
            "far\n");
  close(other);
  // Once the other program is done, recording works again, and holds the file meanwhile.
  command(CMD_RECORD_SCRIPT);
  headless::type_char(state.draw_window, 'c');
  next_event();
  const int later = open(SCRIPT_FILE_NAME, O_RDONLY);
  EXPECT_NE(flock(later, LOCK_SH | LOCK_NB), 0);
  close(later);
  command(CMD_RECORD_SCRIPT);
  drain();
  EXPECT_EQ(read_file(SCRIPT_FILE_NAME), "VORLA_KBD(99);\n");
}

TEST_F(Script, QuitAloneLeavesAnExistingFileAlone) {
  write_file(SCRIPT_FILE_NAME, "VORLA_KBD(65);\n");
  command(CMD_RECORD_SCRIPT);
  drain();
  PostQuitMessage(0);
  EXPECT_EQ(next_event().kind, EVENT_QUIT);
  gfx_shutdown();
  EXPECT_EQ(read_file(SCRIPT_FILE_NAME), "VORLA_KBD(65);\n");
}

// The file may grow to 40 bytes: two key lines (15 bytes each) fit, the third does not.
TEST_F(Script, LineThatCannotBeWrittenEndsTheRecordingAfterTheLastWholeLine) {
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit = {40, RLIM_INFINITY};
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  command(CMD_RECORD_SCRIPT);
  for (char key : {'a', 'b', 'c', 'd'}) {
    headless::type_char(state.draw_window, key);
    EXPECT_EQ(next_event().key, key);
  }
  EXPECT_EQ(new_log_lines(), std::vector<std::string>{"Cannot write script file VORLA.SCR\n"});
  EXPECT_EQ(state.recording_on, 0);
  EXPECT_FALSE(checked(CMD_RECORD_SCRIPT));
  EXPECT_EQ(read_file(SCRIPT_FILE_NAME), "VORLA_KBD(97);\nVORLA_KBD(98);\n");
  // A new recording starts a new file.
  limit.rlim_cur = RLIM_INFINITY;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  command(CMD_RECORD_SCRIPT);
  headless::type_char(state.draw_window, 'e');
  next_event();
  EXPECT_EQ(read_file(SCRIPT_FILE_NAME), "VORLA_KBD(101);\n");
}

TEST_F(Script, FullDiskFromTheFirstLineAndAPendingRunAreReportedOnce) {
  std::filesystem::create_symlink("/dev/full", SCRIPT_FILE_NAME);
  gfx_set_animation(ANIM_RUN);
  command(CMD_RECORD_SCRIPT);
  next_event();
  headless::type_char(state.draw_window, 'a');
  while (next_event().kind != EVENT_KBD) {
  }
  EXPECT_EQ(new_log_lines(), std::vector<std::string>{"Cannot write script file VORLA.SCR\n"});
  EXPECT_EQ(state.recording_on, 0);
  EXPECT_EQ(state.periodic_count, 0);
  EXPECT_FALSE(checked(CMD_RECORD_SCRIPT));
}

TEST_F(Script, PlaysTheLineFormsBack) {
  write_file(SCRIPT_FILE_NAME,
             "VORLA_MOUSE(-12, 40);\n"
             "VORLA_KBD(113);\n"
             "VORLA_PERIODIC(2);\n"
             "VORLA_MOUSE(5, -6);\n");
  command(CMD_PLAYBACK_SCRIPT);
  Event e = next_event();
  EXPECT_EQ(e.kind, EVENT_MOUSE);
  EXPECT_EQ(e.x, -12);
  EXPECT_EQ(e.y, 40);
  EXPECT_EQ(e.key, 0);
  e = next_event();
  EXPECT_EQ(e.kind, EVENT_KBD);
  EXPECT_EQ(e.key, 'q');
  EXPECT_EQ(e.x, 0);
  // Script periodic events come at once, without waiting for a tick.
  uint32_t now = headless::now_ms();
  EXPECT_EQ(next_event().kind, EVENT_PERIODIC);
  EXPECT_EQ(next_event().kind, EVENT_PERIODIC);
  EXPECT_EQ(headless::now_ms(), now);
  e = next_event();
  EXPECT_EQ(e.kind, EVENT_MOUSE);
  EXPECT_EQ(e.y, -6);
  EXPECT_TRUE(checked(CMD_PLAYBACK_SCRIPT));
  expect_waits_for_input();
  EXPECT_EQ(new_log_lines(),
            std::vector<std::string>{"EOF encountered in script file VORLA.SCR\n"});
  EXPECT_FALSE(checked(CMD_PLAYBACK_SCRIPT));
}

TEST_F(Script, MissingFileIsReportedAndPlaybackStops) {
  command(CMD_PLAYBACK_SCRIPT);
  expect_waits_for_input();
  EXPECT_EQ(new_log_lines(),
            std::vector<std::string>{"Cannot open script file VORLA.SCR for reading\n"});
  EXPECT_EQ(state.playback_on, 0);
  EXPECT_FALSE(checked(CMD_PLAYBACK_SCRIPT));
}

TEST_F(Script, FileThatCannotBeReadIsOneThatCannotBeOpened) {
  std::filesystem::create_directory(SCRIPT_FILE_NAME);
  command(CMD_PLAYBACK_SCRIPT);
  expect_waits_for_input();
  EXPECT_EQ(new_log_lines(),
            std::vector<std::string>{"Cannot open script file VORLA.SCR for reading\n"});
  EXPECT_FALSE(checked(CMD_PLAYBACK_SCRIPT));
  EXPECT_EQ(state.script_stream, nullptr);
}

TEST_F(Script, WindowsLineEndsPlayAsNewlines) {
  write_file(SCRIPT_FILE_NAME, "VORLA_KBD(65);\r\n\r\nVORLA_MOUSE(1, -2);\r\nVORLA_KBD(13\r);\n");
  std::vector<Event> events = play_all();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].key, 'A');
  EXPECT_EQ(events[1].y, -2);
  EXPECT_EQ(events[2].key, 13);  // a lone carriage return is an ordinary character
}

TEST_F(Script, EmptyFileIsTheEndOfTheScript) {
  write_file(SCRIPT_FILE_NAME, "");
  command(CMD_PLAYBACK_SCRIPT);
  expect_waits_for_input();
  EXPECT_EQ(new_log_lines(),
            std::vector<std::string>{"EOF encountered in script file VORLA.SCR\n"});
  EXPECT_FALSE(checked(CMD_PLAYBACK_SCRIPT));
}

TEST_F(Script, UnknownFormStopsWithoutALogLine) {
  write_file(SCRIPT_FILE_NAME, "VORLA_KBD(65);\nVORLA_XYZ(1);\nVORLA_KBD(66);\n");
  std::vector<Event> events = play_all();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].key, 'A');
  EXPECT_TRUE(new_log_lines().empty());
  EXPECT_EQ(state.playback_on, 0);
  EXPECT_FALSE(checked(CMD_PLAYBACK_SCRIPT));
  // The stream was closed: a new playback starts from the first line.
  events = play_all();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events[0].key, 'A');
}

TEST_F(Script, BlankLinesAreSkippedButALineOfBlanksStops) {
  write_file(SCRIPT_FILE_NAME,
             "\n\nVORLA_MOUSE(1, 2);\n\n\nVORLA_KBD(65);\n        \nVORLA_KBD(66);\n");
  std::vector<Event> events = play_all();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, EVENT_MOUSE);
  EXPECT_EQ(events[1].key, 'A');
  EXPECT_TRUE(new_log_lines().empty());
}

TEST_F(Script, PrefixIsNotCompared) {
  write_file(SCRIPT_FILE_NAME, "abcdefM 5 6\n#####,K=9\n");
  std::vector<Event> events = play_all();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, EVENT_MOUSE);
  EXPECT_EQ(events[0].x, 5);
  EXPECT_EQ(events[0].y, 6);
  EXPECT_EQ(events[1].kind, EVENT_KBD);
  EXPECT_EQ(events[1].key, 9);
}

TEST_F(Script, LastLineWithoutNewlineIsNotPlayed) {
  write_file(SCRIPT_FILE_NAME, "VORLA_KBD(65);\nVORLA_KBD(66);");
  std::vector<Event> events = play_all();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].key, 'A');
  EXPECT_EQ(new_log_lines(),
            std::vector<std::string>{"EOF encountered in script file VORLA.SCR\n"});
}

TEST_F(Script, PeriodicLineTakesOnePlayOnePerRepeat) {
  write_file(SCRIPT_FILE_NAME, "VORLA_PERIODIC(3);\nVORLA_KBD(65);\n");
  for (int i = 0; i < 3; ++i) {
    command(CMD_PLAY_ONE);
    Event e = next_event();
    EXPECT_EQ(e.kind, EVENT_PERIODIC) << i;
    EXPECT_EQ(state.play_one, 0);
  }
  command(CMD_PLAY_ONE);
  EXPECT_EQ(next_event().key, 'A');
  // Without a new request the loop waits for input.
  expect_waits_for_input();
}

TEST_F(Script, PeriodicLinesWithoutARepeatGiveOneEvent) {
  write_file(SCRIPT_FILE_NAME,
             "VORLA_PERIODIC(1);\nVORLA_PERIODIC(0);\nVORLA_PERIODIC();\nVORLA_KBD(65);\n");
  std::vector<Event> events = play_all();
  ASSERT_EQ(events.size(), 4u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(events[i].kind, EVENT_PERIODIC);
  EXPECT_EQ(events[3].key, 'A');
}

TEST_F(Script, SwitchingPlaybackOffDropsTheRepeatsLeftAndStartsAgainAtTheTop) {
  write_file(SCRIPT_FILE_NAME, "VORLA_PERIODIC(5);\nVORLA_KBD(65);\n");
  command(CMD_PLAYBACK_SCRIPT);
  next_event();
  next_event();
  EXPECT_EQ(state.periodic_count, 3);
  command(CMD_PLAYBACK_SCRIPT);
  drain();
  EXPECT_EQ(state.playback_on, 0);
  EXPECT_EQ(state.periodic_count, 0);
  std::vector<Event> events = play_all();
  ASSERT_EQ(events.size(), 6u);
  EXPECT_EQ(events[5].key, 'A');
}

// Each call takes one message before the script's next repeat, so Ctrl+P gets through.
TEST_F(Script, CtrlPStopsAHugePeriodicLine) {
  write_file(SCRIPT_FILE_NAME, "VORLA_PERIODIC(2000000000);\n");
  command(CMD_PLAYBACK_SCRIPT);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(next_event().kind, EVENT_PERIODIC);
  headless::key_down(state.draw_window, VK_CONTROL);
  headless::key_down(state.draw_window, 'P');
  headless::key_up(state.draw_window, VK_CONTROL);
  headless::type_char(state.draw_window, '!');
  int repeats = 0;
  while (next_event().kind == EVENT_PERIODIC) ++repeats;
  EXPECT_LE(repeats, 2);  // one per message ahead of the command
  EXPECT_EQ(state.playback_on, 0);
  EXPECT_EQ(state.periodic_count, 0);
}

TEST_F(Script, RecordingOffClosesAStreamOpenForReading) {
  write_file(SCRIPT_FILE_NAME, "VORLA_KBD(65);\nVORLA_KBD(66);\n");
  command(CMD_PLAY_ONE);
  EXPECT_EQ(next_event().key, 'A');
  command(CMD_RECORD_SCRIPT);
  command(CMD_RECORD_SCRIPT);
  drain();
  EXPECT_EQ(state.script_stream, nullptr);
  command(CMD_PLAY_ONE);
  EXPECT_EQ(next_event().key, 'A');
}

TEST_F(Script, EndOfScriptClosesTheStreamForTheNextPlaybackAndRecording) {
  write_file(SCRIPT_FILE_NAME, "VORLA_KBD(65);\n");
  EXPECT_EQ(play_all().size(), 1u);
  EXPECT_EQ(state.script_stream, nullptr);
  EXPECT_EQ(play_all().size(), 1u);

  command(CMD_RECORD_SCRIPT);
  headless::type_char(state.draw_window, 'z');
  next_event();
  EXPECT_EQ(read_file(SCRIPT_FILE_NAME), "VORLA_KBD(122);\n");
}

TEST_F(Script, PlaybackStartedWhileRecordingEndsAndTheRecordingGoesOn) {
  gfx_set_animation(ANIM_RUN);
  command(CMD_RECORD_SCRIPT);
  next_event();
  next_event();
  headless::type_char(state.draw_window, 'a');
  next_event();
  next_event();
  command(CMD_PLAYBACK_SCRIPT);
  drain();
  gfx_set_animation(ANIM_RUN);
  Event e = next_event();
  EXPECT_EQ(e.kind, EVENT_PERIODIC);
  EXPECT_EQ(state.playback_on, 0);
  EXPECT_FALSE(checked(CMD_PLAYBACK_SCRIPT));
  EXPECT_EQ(new_log_lines(),
            std::vector<std::string>{"EOF encountered in script file VORLA.SCR\n"});
  EXPECT_EQ(state.recording_on, 1);
  headless::type_char(state.draw_window, 'b');
  next_event();
  command(CMD_RECORD_SCRIPT);
  next_event();
  EXPECT_EQ(read_file(SCRIPT_FILE_NAME),
            "VORLA_PERIODIC(2);\nVORLA_KBD(97);\nVORLA_PERIODIC(2);\nVORLA_KBD(98);\n");
}

TEST_F(Script, OverlongLineIsPlayedFromItsStartAndCannotSpillIntoTheNext) {
  std::string junk(700, 'x');
  write_file(SCRIPT_FILE_NAME, "VORLA_MOUSE(3, 4);" + junk + "VORLA_KBD(90);\nVORLA_KBD(66);\n" +
                                   std::string(511, ' ') + "\nVORLA_KBD(67);\n");
  std::vector<Event> events = play_all();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, EVENT_MOUSE);
  EXPECT_EQ(events[0].x, 3);
  EXPECT_EQ(events[0].y, 4);
  EXPECT_EQ(events[1].key, 'B');  // the line of 511 blanks then stops playback
}

TEST_F(Script, MalformedNumbersReadSafely) {
  write_file(SCRIPT_FILE_NAME,
             "VORLA_MOUSE();\n"
             "VORLA_MOUSE(7);\n"
             "VORLA_MOUSE(123456789012345678, -99999999999999);\n"
             "VORLA_MOUSE(12-3, -);\n"
             "VORLA_KBD\n"
             "VORLA_K\n"
             "VORLA_PERIODIC(-2);\n");
  std::vector<Event> events = play_all();
  ASSERT_EQ(events.size(), 8u);
  EXPECT_EQ(events[0].kind, EVENT_MOUSE);
  EXPECT_EQ(events[0].x, 0);
  EXPECT_EQ(events[0].y, 0);
  EXPECT_EQ(events[1].x, 7);
  EXPECT_EQ(events[1].y, 0);
  EXPECT_EQ(events[2].x, 2147483647);  // the first 11 digits, held at int's limit
  EXPECT_EQ(events[2].y, -2147483647 - 1);
  EXPECT_EQ(events[3].x, 12);
  EXPECT_EQ(events[3].y, 0);
  EXPECT_EQ(events[4].kind, EVENT_KBD);
  EXPECT_EQ(events[4].key, 0);
  EXPECT_EQ(events[5].key, 0);
  EXPECT_EQ(events[6].kind, EVENT_PERIODIC);  // the minus is no digit: a run of 2
}

TEST_F(Script, ShortLinesStopPlayback) {
  write_file(SCRIPT_FILE_NAME, "VORLA_\nVORLA_KBD(65);\n");
  EXPECT_TRUE(play_all().empty());
  EXPECT_TRUE(new_log_lines().empty());
}

TEST_F(Script, EveryKeyCodeComesBackAsTheSameCharacter) {
  command(CMD_RECORD_SCRIPT);
  drain();
  for (int code = -128; code <= 127; ++code) record_event(EVENT_KBD, 0, 0, static_cast<char>(code));
  command(CMD_RECORD_SCRIPT);
  drain();
  std::string text = read_file(SCRIPT_FILE_NAME);
  EXPECT_EQ(text.rfind("VORLA_KBD(-128);\nVORLA_KBD(-127);\n", 0), 0u);
  EXPECT_NE(text.find("VORLA_KBD(-1);\nVORLA_KBD(0);\nVORLA_KBD(1);\n"), std::string::npos);

  std::vector<Event> events = play_all();
  ASSERT_EQ(events.size(), 256u);
  for (int code = -128; code <= 127; ++code) {
    EXPECT_EQ(events[code + 128].kind, EVENT_KBD);
    EXPECT_EQ(events[code + 128].key, static_cast<char>(code)) << code;
  }
}

}  // namespace
