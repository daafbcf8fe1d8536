// vorla-check: checks a class's programs on the VORLA library. Each submission (a C or C++
// file, or a folder of a student's files) is built and run headless with the assignment's
// script, each in a sandbox of its own, and its picture compared with the model picture; the
// verdicts go to a table on the terminal and to reports (HTML, JSON, JUnit XML, CSV) in a folder
// that is replaced as a whole when the check is done. See docs/checking-a-class.md.
#include <fcntl.h>
#include <sched.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "check.h"

namespace fs = std::filesystem;
using namespace check;

namespace {

const char kUsage[] =
    "usage: vorla-check [options] CLASS SCRIPT MODEL.png\n"
    "       vorla-check [options] --model MODEL CLASS SCRIPT\n"
    "       vorla-check --merge [-o REPORT] REPORT...\n"
    "\n"
    "Builds and runs every submission of CLASS (each .c or .cpp file, each folder of a\n"
    "student's files) headless with SCRIPT's input, each in a sandbox of its own, and compares\n"
    "its picture with MODEL.png (or with the picture of the model answer MODEL, a file or a\n"
    "folder, built and run the same way).\n"
    "\n"
    "  -o, --out FOLDER        the report's folder (default: checked), replaced when done\n"
    "  -t, --ticks N           timer ticks after the script (VORLA_TICKS; default 0)\n"
    "      --tolerance N       pixels that may differ for \"same\" (default 0)\n"
    "      --mask L,T,W,H      a rectangle of the picture not compared (repeatable), in pixels\n"
    "                          from its top-left corner, as an image viewer shows them\n"
    "  -j, --jobs N            submissions checked at once (default: the cores)\n"
    "      --shard I/N         check only the I-th of N slices of the class\n"
    "      --merge             merge the reports of the slices into one\n"
    "      --timeout S         seconds a program may run (default 10)\n"
    "      --build-timeout S   seconds a build may take (default 60)\n"
    "      --memory MB         address space of each process (default 1024; 0: no limit)\n"
    "      --processes N       processes and threads of a program (default 32)\n"
    "      --file-size MB      the largest file a program may write (default 16)\n"
    "      --disk MB           room for all it writes (default 64)\n"
    "      --output KB         what is kept of stdout and of stderr (default 64)\n"
    "      --cflags FLAGS      the course's compiler flags, such as \"-Wall -std=c99\"\n"
    "      --uid N             the user the sandboxes run as when run as root (default 65534)\n"
    "      --unsandboxed       run without a sandbox where none can be made (limits and\n"
    "                          time-outs still hold; the programs see what that user may see)\n"
    "  -q, --quiet             no table on the terminal\n"
    "\n"
    "Exit status: 0 when every submission gives the model picture, 1 when one does not, 2\n"
    "when the check could not be made.\n";

[[noreturn]] void fail(const std::string& message) {
  std::fprintf(stderr, "vorla-check: %s\n", message.c_str());
  std::exit(2);
}

long number_of(const char* option, const std::string& text, long low, long high) {
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || value < low || value > high) {
    fail(std::string(option) + " takes a whole number from " + std::to_string(low) + " to " +
         std::to_string(high) + ", not \"" + text + "\"");
  }
  return value;
}

double seconds_of(const char* option, const std::string& text) {
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(value > 0) || value > 86400) {
    fail(std::string(option) + " takes a number of seconds, not \"" + text + "\"");
  }
  return value;
}

int cores() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
  return std::max(1u, std::thread::hardware_concurrency());
}

std::string real(const std::string& path) {
  std::error_code ignored;
  return fs::weakly_canonical(fs::absolute(path, ignored), ignored).string();
}

// The report's folder may be replaced only when it is one (or empty, or not there): a wrong
// -o must never delete a teacher's folder.
void check_report_folder(const std::string& out) {
  std::error_code ignored;
  if (!fs::exists(out, ignored)) return;
  if (!fs::is_directory(out, ignored)) fail(out + " exists and is not a folder");
  if (fs::exists(out + "/report.json", ignored) || fs::is_empty(out, ignored)) return;
  fail(out +
       " is a folder that holds no report of vorla-check; it is left alone. Choose "
       "another folder with -o");
}

// Puts the finished report in place of the old one in one step, then removes the old.
void replace_report(const std::string& staging, const std::string& out) {
  std::error_code ignored;
  if (fs::exists(out, ignored)) {
    if (renameat2(AT_FDCWD, staging.c_str(), AT_FDCWD, out.c_str(), RENAME_EXCHANGE) != 0) {
      fail("cannot put the report in place of " + out + ": " + std::strerror(errno));
    }
    fs::remove_all(staging, ignored);
  } else if (rename(staging.c_str(), out.c_str()) != 0) {
    fail("cannot move the report to " + out + ": " + std::strerror(errno));
  }
}

void write_reports(const Report& report, const std::string& folder) {
  if (!write_json(report, folder + "/report.json") ||
      !write_html(report, folder, folder + "/report.html") ||
      !write_junit(report, folder, folder + "/junit.xml") ||
      !write_csv(report, folder + "/report.csv")) {
    fail("cannot write the reports in " + folder);
  }
}

int finish(const Report& report, const std::string& staging, const std::string& out, bool quiet) {
  write_reports(report, staging);
  replace_report(staging, out);
  if (!quiet) print_table(report, stdout);
  std::printf("Reports: %s/report.html, report.json, junit.xml, report.csv\n", out.c_str());
  bool all = std::all_of(report.students.begin(), report.students.end(), passed);
  return all ? 0 : 1;
}

int merge(const std::vector<std::string>& inputs, const std::string& out, bool quiet) {
  if (inputs.empty()) fail("--merge needs the reports' folders");
  check_report_folder(out);
  const std::string staging = fs::absolute(out).string() + ".partial";
  std::error_code ignored;
  fs::remove_all(staging, ignored);
  fs::create_directories(staging + "/students");
  Report merged;
  std::set<int> slices;
  std::set<std::string> ids;
  for (const std::string& input : inputs) {
    Report part;
    std::string error;
    if (!read_json(input + "/report.json", &part, &error)) fail(error);
    if (merged.checker.empty()) {
      merged = part;
      merged.students.clear();
      merged.shard = 1;
    } else if (part.script != merged.script || part.expected != merged.expected ||
               part.ticks != merged.ticks || part.tolerance != merged.tolerance ||
               part.shards != merged.shards || part.class_size != merged.class_size ||
               part.masks.size() != merged.masks.size()) {
      fail(input + " is a check with other settings than " + inputs[0]);
    }
    if (!slices.insert(part.shard).second)
      fail(input + " is slice " + std::to_string(part.shard) + " again");
    for (Record& record : part.students) {
      if (!ids.insert(record.id).second) fail(input + ": " + record.name + " is there twice");
      fs::copy(input + "/students/" + record.id, staging + "/students/" + record.id,
               fs::copy_options::recursive, ignored);
      if (ignored) fail("cannot copy " + input + "/students/" + record.id);
      merged.students.push_back(std::move(record));
    }
  }
  if (static_cast<int>(slices.size()) != merged.shards ||
      static_cast<int>(merged.students.size()) != merged.class_size) {
    fail("the reports hold " + std::to_string(slices.size()) + " of " +
         std::to_string(merged.shards) + " slices, " + std::to_string(merged.students.size()) +
         " of the class's " + std::to_string(merged.class_size) + " submissions");
  }
  fs::copy_file(inputs[0] + "/model.png", staging + "/model.png", ignored);
  std::sort(merged.students.begin(), merged.students.end(),
            [](const Record& a, const Record& b) { return a.name < b.name; });
  merged.shards = 1;
  return finish(merged, staging, out, quiet);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--sandbox-helper") == 0) {
    return sandbox_helper(argc, argv);
  }
  std::string out = "checked", model_answer, course_flags;
  Settings settings;
  settings.build_limits.seconds = 60;
  settings.build_limits.cpu_seconds = 61;
  settings.build_limits.memory_bytes = 2048L << 20;
  settings.build_limits.processes = 16;
  settings.build_limits.file_bytes = 256L << 20;
  settings.build_limits.disk_bytes = 512L << 20;
  int jobs = cores(), shard = 1, shards = 1;
  long uid = 65534;
  bool unsandboxed = false, quiet = false, merging = false, memory_given = false;
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    // A value may also be attached: --jobs=2, -j2, -oreport.
    std::optional<std::string> attached;
    if (arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
      attached = arg.substr(arg.find('=') + 1);
      arg = arg.substr(0, arg.find('='));
    } else if (arg.size() > 2 && arg[0] == '-' && arg[1] != '-' &&
               std::strchr("jot", arg[1]) != nullptr) {
      attached = arg.substr(2);
      arg = arg.substr(0, 2);
    }
    auto value = [&]() -> std::string {
      if (attached) {
        std::string given = *attached;
        attached.reset();
        return given;
      }
      if (i + 1 >= argc) fail(arg + " needs a value");
      return argv[++i];
    };
    Limits& run = settings.run_limits;
    const bool takes_value = arg != "-h" && arg != "--help" && arg != "--version" &&
                             arg != "--merge" && arg != "--unsandboxed" && arg != "-q" &&
                             arg != "--quiet";
    if (attached && !takes_value) fail(arg + " takes no value");
    if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--version") {
      std::printf("vorla-check %s\n", VORLA_CHECK_VERSION);
      return 0;
    } else if (arg == "-o" || arg == "--out") {
      out = value();
    } else if (arg == "--model") {
      model_answer = value();
    } else if (arg == "-t" || arg == "--ticks") {
      settings.ticks = number_of("--ticks", value(), 0, 1000000);
    } else if (arg == "--tolerance") {
      settings.tolerance = number_of("--tolerance", value(), 0, 100000000);
    } else if (arg == "--mask") {
      const std::string text = value();
      Rect r;
      char end = 0;
      if (std::sscanf(text.c_str(), "%d,%d,%d,%d%c", &r.left, &r.top, &r.width, &r.height, &end) !=
              4 ||
          r.left < 0 || r.top < 0 || r.width <= 0 || r.height <= 0) {
        fail("--mask takes LEFT,TOP,WIDTH,HEIGHT in pixels, not \"" + text + "\"");
      }
      settings.masks.push_back(r);
    } else if (arg == "-j" || arg == "--jobs") {
      jobs = static_cast<int>(number_of("--jobs", value(), 1, 256));
    } else if (arg == "--shard") {
      const std::string text = value();
      char end = 0;
      if (std::sscanf(text.c_str(), "%d/%d%c", &shard, &shards, &end) != 2 || shards < 1 ||
          shard < 1 || shard > shards) {
        fail("--shard takes I/N with 1 <= I <= N, not \"" + text + "\"");
      }
    } else if (arg == "--merge") {
      merging = true;
    } else if (arg == "--timeout") {
      run.seconds = seconds_of("--timeout", value());
      run.cpu_seconds = static_cast<long>(run.seconds) + 1;
    } else if (arg == "--build-timeout") {
      settings.build_limits.seconds = seconds_of("--build-timeout", value());
      settings.build_limits.cpu_seconds = static_cast<long>(settings.build_limits.seconds) + 1;
    } else if (arg == "--memory") {
      run.memory_bytes = number_of("--memory", value(), 0, 1 << 20) << 20;
      memory_given = true;
    } else if (arg == "--processes") {
      run.processes = number_of("--processes", value(), 1, 10000);
    } else if (arg == "--file-size") {
      run.file_bytes = number_of("--file-size", value(), 1, 1 << 20) << 20;
    } else if (arg == "--disk") {
      run.disk_bytes = number_of("--disk", value(), 1, 1 << 20) << 20;
    } else if (arg == "--output") {
      run.output_bytes = static_cast<size_t>(number_of("--output", value(), 1, 1 << 20)) << 10;
    } else if (arg == "--cflags") {
      course_flags = value();
    } else if (arg == "--uid") {
      uid = number_of("--uid", value(), 1, 2000000000);
    } else if (arg == "--unsandboxed") {
      unsandboxed = true;
    } else if (arg == "-q" || arg == "--quiet") {
      quiet = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      fail("unknown option " + arg + " (vorla-check --help lists them)");
    } else {
      positional.push_back(arg);
    }
  }
  // What the sandboxes' user reads (the sources, the script, the program) must be readable by
  // it, whatever the teacher's umask.
  umask(022);
  if (merging) return merge(positional, out, quiet);
  subreap();
  if (positional.size() != (model_answer.empty() ? 3u : 2u)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string class_folder = positional[0];
  const std::string script = positional[1];
  if (access(script.c_str(), R_OK) != 0) fail(script + ": " + std::strerror(errno));
  check_report_folder(out);

  Toolchain toolchain;
  std::string error;
  if (!find_toolchain(course_flags, &toolchain, &error)) fail(error);
  if (toolchain.sanitized && !memory_given) {
    settings.run_limits.memory_bytes = 0;
    settings.build_limits.memory_bytes = 0;
    std::fprintf(stderr,
                 "vorla-check: the library is built with AddressSanitizer; programs run "
                 "without a memory limit\n");
  }
  for (const char* prefix : {"ASAN_OPTIONS=", "UBSAN_OPTIONS=", "LSAN_OPTIONS="}) {
    for (char** e = environ; *e != nullptr; ++e) {
      if (std::strncmp(*e, prefix, std::strlen(prefix)) == 0) {
        settings.forwarded_env.push_back(*e);
      }
    }
  }
  // Leaks (the system's libraries have some) are not what a check is about.
  if (toolchain.sanitized && std::getenv("ASAN_OPTIONS") == nullptr) {
    settings.forwarded_env.push_back("ASAN_OPTIONS=detect_leaks=0");
  }

  std::vector<Submission> all;
  const std::string staging = fs::absolute(out).string() + ".partial";
  if (!find_submissions(class_folder, {real(out), real(staging)}, &all, &error)) fail(error);
  std::vector<Submission> mine = slice(all, shard, shards);

  std::error_code ignored;
  fs::remove_all(staging, ignored);
  fs::create_directories(staging + "/students");
  fs::permissions(staging, fs::perms(0755), ignored);
  // The script, where the sandbox's user may read it.
  settings.script = staging + "/script.scr";
  if (!fs::copy_file(script, settings.script, ignored)) fail("cannot copy " + script);
  fs::permissions(settings.script, fs::perms(0644), ignored);

  const uid_t sandbox_uid = geteuid() == 0 ? static_cast<uid_t>(uid) : geteuid();
  fs::create_directories(staging + "/.scratch");
  fs::permissions(staging + "/.scratch", fs::perms(0755), ignored);
  // The helper is a copy of this very binary: a new build or install that replaces the file
  // while the check runs must not change what the sandboxes start with.
  const std::string helper = staging + "/.scratch/helper";
  if (!fs::copy_file("/proc/self/exe", helper, ignored)) fail("cannot copy the checker itself");
  fs::permissions(helper, fs::perms(0755), ignored);
  Sandbox sandbox(helper, sandbox_uid, unsandboxed, staging + "/.scratch");
  if (!sandbox.usable(&error)) {
    fs::remove_all(staging, ignored);
    fail(error +
         ".\nRefusing to run students' programs without a sandbox; --unsandboxed runs "
         "them anyway, with the limits but seeing what user " +
         std::to_string(sandbox_uid) + " may see.");
  }
  if (unsandboxed) {
    std::fprintf(stderr, "vorla-check: running without a sandbox (--unsandboxed)\n");
  }

  Report report;
  report.checker = std::string("vorla-check ") + VORLA_CHECK_VERSION;
  report.script = fs::path(script).filename().string();
  report.ticks = settings.ticks;
  report.tolerance = settings.tolerance;
  report.masks = settings.masks;
  report.shard = shard;
  report.shards = shards;
  report.class_size = static_cast<int>(all.size());
  report.sandbox = unsandboxed ? "none (--unsandboxed)" : "bubblewrap";

  Picture model;
  if (!model_answer.empty()) {
    report.expected = "the model answer " + fs::path(model_answer).filename().string();
    Submission answer{fs::path(model_answer).filename().string(), "model", model_answer,
                      fs::is_directory(model_answer, ignored)};
    Record record = check_submission(answer, staging, settings, toolchain, sandbox, nullptr);
    if (record.verdict != Verdict::same ||
        !picture::read_png(staging + "/" + record.picture, &model, &error)) {
      fs::remove_all(staging, ignored);
      fail("the model answer gives no picture: " + record.reason);
    }
    fs::rename(staging + "/students/model", staging + "/model", ignored);
    fs::copy_file(staging + "/model/picture.png", staging + "/model.png", ignored);
  } else {
    report.expected = fs::path(positional[2]).filename().string();
    if (!picture::read_png(positional[2], &model, &error)) fail(error);
    fs::copy_file(positional[2], staging + "/model.png", ignored);
  }

  report.students.resize(mine.size());
  std::atomic<size_t> next{0};
  std::atomic<size_t> done{0};
  std::mutex progress;
  const bool show_progress = isatty(2) && !quiet;
  auto worker = [&]() {
    for (size_t i; (i = next++) < mine.size();) {
      report.students[i] = check_submission(mine[i], staging, settings, toolchain, sandbox, &model);
      if (show_progress) {
        std::lock_guard<std::mutex> hold(progress);
        std::fprintf(stderr, "\r[%zu/%zu] %-40.40s", ++done, mine.size(), mine[i].name.c_str());
      }
    }
  };
  std::vector<std::thread> workers;
  for (int k = 0; k < std::min<int>(jobs, static_cast<int>(mine.size())); ++k) {
    workers.emplace_back(worker);
  }
  for (std::thread& t : workers) t.join();
  if (show_progress) std::fprintf(stderr, "\r%60s\r", "");
  fs::remove_all(staging + "/.scratch", ignored);
  std::sort(report.students.begin(), report.students.end(),
            [](const Record& a, const Record& b) { return a.name < b.name; });
  return finish(report, staging, out, quiet);
}
