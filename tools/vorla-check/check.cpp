#include "check.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#ifndef VORLA_CHECK_BUILD_DIR
#error "VORLA_CHECK_BUILD_DIR, VORLA_CHECK_SOURCE_DIR, ... come from CMakeLists.txt"
#endif

namespace check {
namespace {

namespace fs = std::filesystem;

bool ends_with(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool under_usr(const std::string& path) {
  return path.rfind("/usr/", 0) == 0;
}

std::string directory_of(const std::string& path) {
  return path.substr(0, path.rfind('/'));
}

std::string find_compiler(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string dirs = std::string(path ? path : "") + ":/usr/bin";
  size_t start = 0;
  while (start < dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string candidate = dirs.substr(start, end - start) + "/" + name;
    if (end > start && access(candidate.c_str(), X_OK) == 0) {
      std::error_code ignored;
      return fs::canonical(candidate, ignored).string();
    }
    start = end + 1;
  }
  return "";
}

std::vector<std::string> split_words(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text) {
    if (c == ' ' || c == '\t') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

std::string first_line_with(const std::string& text, const std::string& word) {
  size_t at = text.find(word);
  if (at == std::string::npos) at = 0;
  size_t start = text.rfind('\n', at);
  start = start == std::string::npos ? 0 : start + 1;
  std::string line = text.substr(start, text.find('\n', start) - start);
  return line.size() > 240 ? line.substr(0, 240) + "..." : line;
}

void write_text(const std::string& path, const std::string& text, size_t all_bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  if (all_bytes > text.size()) {
    file << "\n[... " << all_bytes - text.size() << " more bytes, not kept]\n";
  }
}

std::string megabytes(long bytes) {
  return std::to_string(bytes >> 20) + " MB";
}

std::string seconds_text(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%g s", seconds);
  return text;
}

// Whether the PNG's header names a picture of a sensible size, before it is unpacked.
bool png_size_sensible(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  unsigned char header[24] = {};
  file.read(reinterpret_cast<char*>(header), sizeof header);
  auto number = [&](int at) {
    return static_cast<uint32_t>(header[at]) << 24 | header[at + 1] << 16 | header[at + 2] << 8 |
           header[at + 3];
  };
  return file.gcount() == 24 && number(16) <= 4096 && number(20) <= 4096;
}

}  // namespace

bool find_toolchain(const std::string& course_flags, Toolchain* toolchain, std::string* error) {
  std::error_code ignored;
  const std::string self = fs::canonical("/proc/self/exe", ignored).string();
  const std::string here = directory_of(self);
  std::vector<std::string> includes;
  std::string libdir;
  if (here == fs::weakly_canonical(VORLA_CHECK_BUILD_DIR, ignored).string()) {
    includes = {VORLA_CHECK_SOURCE_DIR "/runtime", VORLA_CHECK_SOURCE_DIR "/platform"};
    libdir = here;
  } else {
    const std::string prefix = directory_of(here);
    includes = {prefix + "/" VORLA_CHECK_INCLUDEDIR "/vorla"};
    libdir = prefix + "/" VORLA_CHECK_LIBDIR;
  }
  if (access((libdir + "/libvorla.so").c_str(), R_OK) != 0 ||
      access((includes[0] + "/vorla.h").c_str(), R_OK) != 0) {
    *error = "the library is not where this checker expects it (" + libdir + "/libvorla.so, " +
             includes[0] + "/vorla.h): install it with the checker (cmake --install)";
    return false;
  }
  toolchain->compiler = find_compiler("cc");
  if (toolchain->compiler.empty() || !under_usr(toolchain->compiler)) {
    *error = "no C compiler (cc) under /usr; as root: apt-get install gcc g++";
    return false;
  }
  toolchain->compile_flags = split_words(course_flags);
  for (const std::string& dir : includes) {
    toolchain->compile_flags.push_back("-I" + dir);
    if (!under_usr(dir)) toolchain->build_mounts.push_back({dir, dir});
  }
  toolchain->link_flags = {"-L" + libdir, "-Wl,-rpath," + libdir, "-lvorla_main", "-lvorla"};
  toolchain->sanitized = !std::string(VORLA_CHECK_SANITIZE).empty();
  for (const std::string& flag : split_words(VORLA_CHECK_SANITIZE)) {
    toolchain->compile_flags.push_back(flag);
    toolchain->link_flags.push_back(flag);
  }
  toolchain->link_flags.push_back("-lm");
  // Only the library's own files of its folder: a build folder holds much else.
  if (!under_usr(libdir)) {
    for (const auto& entry : fs::directory_iterator(libdir, ignored)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("libvorla", 0) != 0) continue;
      toolchain->build_mounts.push_back({entry.path().string(), entry.path().string()});
      if (name.find(".so") != std::string::npos) {
        toolchain->run_mounts.push_back({entry.path().string(), entry.path().string()});
      }
    }
  }
  return true;
}

Record check_submission(const Submission& submission, const std::string& report_folder,
                        const Settings& settings, const Toolchain& toolchain, Sandbox& sandbox,
                        const Picture* model) {
  Record record;
  record.name = submission.name;
  record.id = submission.id;
  const std::string relative = "students/" + submission.id;
  const std::string folder = report_folder + "/" + relative;
  fs::create_directories(folder);

  // The sources, copied where the sandbox's user may read them.
  std::string error;
  if (!copy_sources(submission, folder + "/source", &record.sources, &error)) {
    record.verdict = Verdict::no_program;
    record.reason = error;
    return record;
  }
  if (record.sources.empty()) {
    record.verdict = Verdict::no_program;
    record.reason = "the folder holds no .c or .cpp file";
    return record;
  }

  // The build: the compiler in a sandbox of its own, the program left in its /tmp/out.
  Job build;
  build.argv = {toolchain.compiler};
  build.argv.insert(build.argv.end(), toolchain.compile_flags.begin(),
                    toolchain.compile_flags.end());
  bool cplusplus = false;
  for (const std::string& source : record.sources) {
    build.argv.push_back(source);
    cplusplus = cplusplus || !ends_with(source, ".c");
  }
  build.argv.insert(build.argv.end(), {"-o", "/tmp/out/program"});
  build.argv.insert(build.argv.end(), toolchain.link_flags.begin(), toolchain.link_flags.end());
  if (cplusplus) build.argv.push_back("-lstdc++");
  build.env = {"PATH=/usr/bin:/bin", "HOME=/tmp/work", "TMPDIR=/tmp", "LC_ALL=C.UTF-8"};
  build.cwd = "/student/source";
  build.mounts = toolchain.build_mounts;
  build.mounts.push_back({folder + "/source", "/student/source"});
  build.limits = settings.build_limits;
  build.merge_output = true;
  Outcome built = sandbox.run(build);
  record.build_seconds = built.seconds;
  const bool compiled = built.end == Outcome::End::exited && built.code == 0 && built.tmp >= 0;
  if (!built.out.empty() || !compiled) {
    record.build_messages = relative + "/build.txt";
    write_text(report_folder + "/" + record.build_messages, built.out, built.out_bytes);
  }
  int built_out = built.tmp >= 0
                      ? openat(built.tmp, "out", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)
                      : -1;
  const std::string program = folder + "/program";
  const bool have_program =
      compiled && built_out >= 0 && copy_file_at(built_out, "program", program, 256LL << 20);
  if (built_out >= 0) close(built_out);
  if (!have_program) {
    record.verdict = built.end == Outcome::End::failed ? Verdict::error : Verdict::no_build;
    if (built.end == Outcome::End::failed) {
      record.reason = built.failure;
    } else if (built.end == Outcome::End::timed_out) {
      record.reason = "the build did not end within " + seconds_text(build.limits.seconds);
    } else if (built.end == Outcome::End::signalled) {
      record.reason = "the compiler was stopped by " + signal_name(built.code);
    } else {
      record.reason = first_line_with(built.out, "error");
    }
    return record;
  }
  chmod(program.c_str(), 0755);

  // The run: the program headless in a fresh sandbox, with the script's input.
  const std::string name = submission.id;
  Job run;
  run.argv = {"/student/" + name};
  run.env = {"PATH=/usr/bin:/bin",
             "HOME=/tmp/work",
             "TMPDIR=/tmp",
             "XDG_CACHE_HOME=/tmp/cache",
             "LC_ALL=C.UTF-8",
             "VORLA_DISPLAY=headless",
             "VORLA_PLAY=/student/script.scr",
             "VORLA_TICKS=" + std::to_string(settings.ticks),
             "VORLA_SNAPSHOT=/tmp/out/picture.png",
             "VORLA_LOG=/tmp/out/log.txt",
             "VORLA_LAST_PICTURE=/tmp/out/last.ppm"};
  run.env.insert(run.env.end(), settings.forwarded_env.begin(), settings.forwarded_env.end());
  run.cwd = "/tmp/work";
  run.mounts = toolchain.run_mounts;
  run.mounts.push_back({program, "/student/" + name});
  run.mounts.push_back({settings.script, "/student/script.scr"});
  run.limits = settings.run_limits;
  Outcome ran = sandbox.run(run);
  record.run_seconds = ran.seconds;

  const size_t limit = run.limits.output_bytes;
  record.stdout_bytes = static_cast<long long>(ran.out_bytes);
  record.stderr_bytes = static_cast<long long>(ran.err_bytes);
  if (ran.out_bytes > 0) {
    record.stdout_file = relative + "/stdout.txt";
    write_text(report_folder + "/" + record.stdout_file, ran.out, ran.out_bytes);
  }
  if (ran.err_bytes > 0) {
    record.stderr_file = relative + "/stderr.txt";
    write_text(report_folder + "/" + record.stderr_file, ran.err, ran.err_bytes);
  }

  // What it left: its working folder's files, its log, its picture.
  bool snapshot = false, last_shown = false;
  if (ran.tmp >= 0) {
    // Listed: up to 200 files; kept: as much as the largest file it may write.
    Budget budget{200, run.limits.file_bytes};
    copy_tree_at(ran.tmp, "work", folder + "/files", &budget, "", &record.files,
                 &record.files_left_out);
    std::error_code ignored;
    if (fs::is_empty(folder + "/files", ignored)) fs::remove(folder + "/files", ignored);
    int out = openat(ran.tmp, "out", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (out >= 0) {
      if (copy_file_at(out, "log.txt", folder + "/log.txt", static_cast<long long>(limit))) {
        record.log_file = relative + "/log.txt";
      }
      snapshot = ran.end == Outcome::End::exited &&
                 copy_file_at(out, "picture.png", folder + "/picture.png", 64LL << 20);
      if (!snapshot) {
        last_shown = copy_file_at(out, "last.ppm", folder + "/last.ppm", 64LL << 20);
      }
      close(out);
    }
  }
  Picture picture;
  bool have_picture = false;
  if (snapshot) {
    have_picture = png_size_sensible(folder + "/picture.png") &&
                   picture::read_png(folder + "/picture.png", &picture, &error);
    if (!have_picture) fs::remove(folder + "/picture.png");
  } else if (last_shown) {
    have_picture = picture::read_ppm(folder + "/last.ppm", &picture, &error) &&
                   picture::write_png(folder + "/picture.png", picture);
    fs::remove(folder + "/last.ppm");
  }
  if (have_picture) {
    record.picture = relative + "/picture.png";
    record.last_shown = last_shown;
  }

  Comparison comparison;
  if (have_picture && model != nullptr) {
    comparison = compare(*model, picture, settings.masks);
    record.pixels = comparison.differing;
    record.diff = relative + "/diff.png";
    picture::write_png(report_folder + "/" + record.diff,
                       difference_picture(*model, picture, settings.masks, last_shown));
  }

  switch (ran.end) {
    case Outcome::End::failed:
      record.verdict = Verdict::error;
      record.reason = ran.failure;
      break;
    case Outcome::End::timed_out:
      record.verdict = Verdict::timeout;
      record.reason = "did not end within " + seconds_text(run.limits.seconds) +
                      "; every process of it was killed";
      break;
    case Outcome::End::signalled:
      record.verdict = Verdict::crashed;
      record.signal = signal_name(ran.code);
      record.reason = "crashed: " + record.signal;
      if (ran.code == SIGXFSZ) {
        record.reason += ": a file grew past the limit of " + megabytes(run.limits.file_bytes);
      } else if (ran.code == SIGXCPU) {
        record.reason += ": it used " + std::to_string(run.limits.cpu_seconds) + " s of CPU";
      }
      break;
    case Outcome::End::exited:
      record.exit_status = ran.code;
      if (ran.code != 0) {
        record.verdict = Verdict::exit_status;
        record.reason = "exit status " + std::to_string(ran.code);
        const std::string said = first_line_with(ran.err, ran.code == 127 ? "error" : "");
        if (!said.empty()) record.reason += ": " + said;
      } else if (!have_picture) {
        record.verdict = Verdict::no_picture;
        record.reason = "no picture at the end of the run (the program made no window)";
      } else if (!comparison.same_size) {
        record.verdict = Verdict::different;
        record.reason = "the picture is " + std::to_string(picture.width) + " x " +
                        std::to_string(picture.height) + " pixels, the model's " +
                        std::to_string(model->width) + " x " + std::to_string(model->height);
      } else if (comparison.differing > settings.tolerance) {
        const Rect& b = comparison.bounds;
        record.verdict = Verdict::different;
        record.reason = std::to_string(comparison.differing) + " pixels differ, in x " +
                        std::to_string(b.left) + ".." + std::to_string(b.left + b.width - 1) +
                        ", y " + std::to_string(b.top) + ".." +
                        std::to_string(b.top + b.height - 1);
        if (settings.tolerance > 0) {
          record.reason += " (" + std::to_string(settings.tolerance) + " allowed)";
        }
      } else {
        record.verdict = Verdict::same;
        if (comparison.differing > 0) {
          record.reason = std::to_string(comparison.differing) + " pixels differ, within the " +
                          std::to_string(settings.tolerance) + " allowed";
        }
      }
      break;
  }
  if (record.verdict != Verdict::same && record.last_shown) {
    record.reason += " (the picture is the last one it showed)";
  }
  return record;
}

}  // namespace check
