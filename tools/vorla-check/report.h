// What a check found, one record per student, and the reports made of it: a table on the
// terminal, an HTML page to hand back, JSON for programs (which a later run reads back to merge
// the slices of a class), JUnit XML for CI systems and course platforms, and CSV for a sheet.
// Every report lists the students by name and holds nothing that changes from run to run but
// the times, so two runs over the same class give the same files apart from those.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "compare.h"

namespace check {

enum class Verdict {
  same,
  different,
  no_picture,
  exit_status,
  crashed,
  timeout,
  no_build,
  no_program,
  error
};

// "same", "different", "no-picture", ... as JSON, CSV and JUnit name it.
const char* verdict_key(Verdict verdict);
bool verdict_from_key(const std::string& key, Verdict* verdict);

struct FileEntry {
  std::string name;  // relative to the program's working folder
  long long bytes = 0;
  bool kept = false;  // copied into the report
};

struct Record {
  std::string name;  // as handed in: the file's or the folder's name
  std::string id;    // the student's folder in the report, students/<id>
  Verdict verdict = Verdict::error;
  std::string reason;
  long pixels = -1;         // differing pixels; -1 when there is no picture
  std::string picture;      // paths relative to the report's folder; empty when none
  bool last_shown = false;  // the picture is the last one shown, not the run's end
  std::string diff;
  int exit_status = -1;  // -1 unless the program exited
  std::string signal;    // the signal that ended it, by name
  double build_seconds = 0, run_seconds = 0;
  std::vector<std::string> sources;
  std::vector<FileEntry> files;  // what the program left in its working folder
  long files_left_out = 0;       // not even listed, beyond the count kept
  std::string build_messages, stdout_file, stderr_file, log_file;
  long long stdout_bytes = 0, stderr_bytes = 0;
};

struct Report {
  std::string checker;   // "vorla-check 1.0.0"
  std::string script;    // its file name
  std::string expected;  // the model picture's file name, or the model answer's
  long ticks = 0;
  long tolerance = 0;
  std::vector<Rect> masks;
  int shard = 1, shards = 1;
  int class_size = 0;  // submissions in the whole class, all slices
  std::string sandbox;
  std::vector<Record> students;  // by name
};

bool passed(const Record& record);

// The report files in `folder`, and the table on `terminal`.
bool write_json(const Report& report, const std::string& path);
bool write_html(const Report& report, const std::string& folder, const std::string& path);
bool write_junit(const Report& report, const std::string& folder, const std::string& path);
bool write_csv(const Report& report, const std::string& path);
void print_table(const Report& report, std::FILE* terminal);
// One line: how many of each verdict.
std::string summary(const Report& report);

// Reads what write_json wrote; false with `error` for anything else.
bool read_json(const std::string& path, Report* report, std::string* error);

// Text as the reports may hold it: valid UTF-8 (a byte that is not becomes U+FFFD), with no
// control characters but newlines and tabs.
std::string clean_text(const std::string& bytes);

}  // namespace check
