// Recording of the event stream to "VORLA.SCR" and playing it back (or, in a headless run,
// playing the file that VORLA_PLAY names, by the same reader and rules). One stream serves both
// directions; it is opened on first need and closed by the command that stops it, whenever a
// playback stops (end of the script, a line that cannot be played), and at shut-down, so that
// a new playback starts from the first line and a later recording writes a new file. A running
// recording owns the stream: a playback started meanwhile ends at once, as at the end of a
// script, and leaves the recording's file and its periodic count alone.
//
// A line that cannot be written (a full disk) ends the recording with one log line; the file is
// cut back to its last whole line. A file that cannot be read (a directory of that name) is
// treated as one that cannot be opened.
//
// The reader never trusts the file: a line is read up to its newline whatever its length (the
// first 511 characters are kept, the rest of an over-long line is skipped, so it cannot spill
// into the next one), scans stop at the end of the line, a number is copied into its buffer
// only as far as the buffer goes, and a missing number reads as 0. A "\r\n" line end reads as
// "\n" wherever the program runs, so a script saved on Windows plays the same everywhere.
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <share.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include "runtime_state.h"

namespace vorla {

namespace {

const char* playback_file() {
  return state.other_file ? state.other_file : SCRIPT_FILE_NAME;
}

}  // namespace

void play_file(const char* path) {
  state.other_file = path;
  state.animate_on = 0;
  state.single_step = 0;
  state.playback_on = 1;
  CheckMenuItem(state.run_menu, CMD_PLAYBACK_SCRIPT, MF_CHECKED);
}

namespace {

// Opening a directory for reading succeeds on some systems; its first read fails.
bool readable(FILE* stream) {
  int c = std::fgetc(stream);
  if (c == EOF) return std::ferror(stream) == 0;
  return std::ungetc(c, stream) != EOF;
}

#ifndef _WIN32
// flock, where the system has file locks. WASI has none: a program there (in the playground
// page) has its folder to itself, so no other program can be recording its file.
int lock_file(int fd, int operation) {
#ifdef __wasi__
  (void)fd;
  (void)operation;
  return 0;
#else
  return flock(fd, operation);
#endif
}
#endif

// A recording holds a lock on its file while it writes it, so that two programs in one folder
// never write into one file: the lock is taken before the file is emptied, and the system lets
// it go with the stream, or with the program however it ends. On Windows the file is shared
// for reading only while it is written. `taken` tells that another program is recording it.
FILE* open_for_recording(bool* taken) {
  *taken = false;
#ifdef _WIN32
  return _fsopen(SCRIPT_FILE_NAME, "wt", _SH_DENYWR);
#else
  int fd = open(SCRIPT_FILE_NAME, O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  FILE* stream = nullptr;
  if (lock_file(fd, LOCK_EX | LOCK_NB) != 0) {
    *taken = errno == EWOULDBLOCK;
  } else if (ftruncate(fd, 0) == 0 || errno == EINVAL) {  // a device is written as it is
    stream = fdopen(fd, "w");
  }
  if (!stream) close(fd);
  return stream;
#endif
}

// Whether another program is recording the file open for reading now.
bool being_recorded(FILE* stream) {
#ifdef _WIN32
  (void)stream;
  return false;
#else
  const int fd = fileno(stream);
  if (lock_file(fd, LOCK_SH | LOCK_NB) == 0) {
    lock_file(fd, LOCK_UN);
    return false;
  }
  return errno == EWOULDBLOCK;
#endif
}

bool open_script(ScriptMode mode) {
  const bool reading = mode == SCRIPT_READING;
  state.script_stream =
      reading ? std::fopen(playback_file(), "rt") : open_for_recording(&state.recording_taken);
  state.lines_read = 0;
  if (state.script_stream != nullptr && mode == SCRIPT_READING && !readable(state.script_stream)) {
    std::fclose(state.script_stream);
    state.script_stream = nullptr;
  }
  state.script_mode = state.script_stream != nullptr ? mode : SCRIPT_CLOSED;
  state.written_size = 0;
  return state.script_stream != nullptr;
}

void recording_failed() {
  stop_recording();
  std::error_code ignored;
  std::filesystem::resize_file(SCRIPT_FILE_NAME, static_cast<std::uintmax_t>(state.written_size),
                               ignored);
  gfx_log("Cannot write script file %s\n", SCRIPT_FILE_NAME);
}

}  // namespace

void close_script_file() {
  if (state.script_stream != nullptr) std::fclose(state.script_stream);
  state.script_stream = nullptr;
  state.script_mode = SCRIPT_CLOSED;
}

void stop_recording() {
  state.recording_on = 0;
  state.periodic_count = 0;
  CheckMenuItem(state.run_menu, CMD_RECORD_SCRIPT, MF_UNCHECKED);
  close_script_file();
}

// Each line is flushed as it is written, so that a recording survives the program's end. The
// file is opened by the first line: an event that writes none (quit) leaves it alone.
void record_event(int kind, int x, int y, char key) {
  if (kind != EVENT_MOUSE && kind != EVENT_KBD && kind != EVENT_PERIODIC) return;
  // A stream left open for reading is no place for a recording.
  if (state.script_mode == SCRIPT_READING) close_script_file();
  if (state.script_stream == nullptr && !open_script(SCRIPT_WRITING)) {
    if (state.recording_taken) {
      // Trying again with every event would only say the same again.
      stop_recording();
      gfx_log("Cannot record script file %s: another program is recording it\n", SCRIPT_FILE_NAME);
      return;
    }
    gfx_log("Cannot open script file %s for writing\n", SCRIPT_FILE_NAME);
    return;
  }
  int written = 0;
  if (kind == EVENT_MOUSE)
    written = std::fprintf(state.script_stream, "VORLA_MOUSE(%d, %d);\n", x, y);
  else if (kind == EVENT_KBD)
    written = std::fprintf(state.script_stream, "VORLA_KBD(%d);\n",
                           static_cast<int>(static_cast<signed char>(key)));
  else
    written = std::fprintf(state.script_stream, "VORLA_PERIODIC(%d);\n", state.periodic_count);
  long end = -1;
  if (written >= 0 && std::fflush(state.script_stream) == 0) end = std::ftell(state.script_stream);
  if (end < 0) {
    recording_failed();
    return;
  }
  state.written_size = end;
}

// The pending run of periodic events is written as a line of its own (a later run follows as
// another line, which plays the same), and the stream is flushed.
void keep_recording() {
  if (!state.recording_on) return;
  if (state.periodic_count > 0) {
    record_event(EVENT_PERIODIC, 0, 0, 0);
    state.periodic_count = 0;
  }
  if (state.script_stream != nullptr && state.script_mode == SCRIPT_WRITING)
    std::fflush(state.script_stream);
}

void stop_playback() {
  state.playback_on = 0;
  state.play_one = 0;
  state.other_file = nullptr;
  CheckMenuItem(state.run_menu, CMD_PLAYBACK_SCRIPT, MF_UNCHECKED);
  // A new playback starts again from the first line.
  if (state.script_mode == SCRIPT_READING) close_script_file();
  // Repeats of a periodic line that will never be delivered; a recording's count is its own.
  if (!state.recording_on) state.periodic_count = 0;
}

namespace {

enum LineResult { LINE_READ, LINE_END };

// Reads one line, newline included, keeping at most SCRIPT_LINE_SIZE - 1 characters of it. A
// line that the end of the file cuts short (no newline) is the end of the script.
LineResult read_line(char* line, int* length) {
  int n = 0;
  for (;;) {
    int c = std::fgetc(state.script_stream);
    if (c == EOF) return LINE_END;
    if (c == '\r') {
      int next = std::fgetc(state.script_stream);
      if (next == '\n')
        c = '\n';
      else if (next != EOF)
        std::ungetc(next, state.script_stream);
    }
    if (n < SCRIPT_LINE_SIZE - 1) line[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  ++state.lines_read;
  line[n] = '\0';
  *length = n;
  return LINE_READ;
}

bool is_digit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}
bool is_number_char(char c) {
  return is_digit(c) || c == '-';
}

// Finds the next run of number characters from *pos on within the line, converts it as the C
// library's decimal conversion does (optional sign, digits, stop at anything else) and leaves
// *pos after the run. No run gives 0. Only the first SCRIPT_NUMBER_SIZE - 1 characters of a run
// are converted; a value beyond int is held at int's limit.
int scan_number(const char* line, int length, int* pos, bool allow_minus) {
  auto accepted = [allow_minus](char c) { return allow_minus ? is_number_char(c) : is_digit(c); };
  while (*pos < length && !accepted(line[*pos])) ++*pos;
  char number[SCRIPT_NUMBER_SIZE];
  int n = 0;
  while (*pos < length && accepted(line[*pos])) {
    if (n < SCRIPT_NUMBER_SIZE - 1) number[n++] = line[*pos];
    ++*pos;
  }
  number[n] = '\0';
  long value = std::strtol(number, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

int end_of_script() {
  gfx_log("EOF encountered in script file %s\n", playback_file());
  stop_playback();
  return 0;
}

}  // namespace

int playback_step() {
  // The stream belongs to a running recording: this playback ends as at the end of a script
  // and leaves the recording alone.
  if (state.recording_on || state.script_mode == SCRIPT_WRITING) return end_of_script();
  if (state.script_stream == nullptr) {
    if (!open_script(SCRIPT_READING)) {
      gfx_log("Cannot open script file %s for reading\n", playback_file());
      stop_playback();
      return 0;
    }
    if (being_recorded(state.script_stream)) {
      gfx_log("Script file %s is being recorded by another program: playing what it holds so far\n",
              playback_file());
    }
  }
  if (state.periodic_count > 0) {
    --state.periodic_count;
    state.pending_kind = EVENT_PERIODIC;
    return 1;
  }

  char line[SCRIPT_LINE_SIZE];
  int length = 0;
  do {
    if (read_line(line, &length) == LINE_END) return end_of_script();
  } while (length == 1 && line[0] == '\n');

  // The forms differ in the character after the common six-character prefix.
  char form = length > 6 ? line[6] : '\0';
  int pos = 6;
  switch (form) {
    case 'K':
      state.pending_kind = EVENT_KBD;
      state.pending_key = static_cast<char>(scan_number(line, length, &pos, true) & 0xFF);
      return 1;
    case 'M':
      state.pending_kind = EVENT_MOUSE;
      state.pending_x = scan_number(line, length, &pos, true);
      state.pending_y = scan_number(line, length, &pos, true);
      return 1;
    case 'P':
      state.pending_kind = EVENT_PERIODIC;
      state.periodic_count = scan_number(line, length, &pos, false) - 1;
      return 1;
    default:
      if (state.other_file) {
        std::fprintf(stderr,
                     "VORLA_PLAY: line %d of %s is no mouse, key or periodic line; the run "
                     "plays the lines before it\n",
                     state.lines_read, state.other_file);
      }
      stop_playback();
      return 0;
  }
}

}  // namespace vorla
