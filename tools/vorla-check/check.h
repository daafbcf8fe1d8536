// A class's check: the settings a teacher gives, and the check of one submission (built in a
// sandbox, run in another with the assignment's script, its picture compared with the model's).
#pragma once

#include <string>
#include <vector>

#include "files.h"
#include "report.h"
#include "sandbox.h"

namespace check {

// How programs are built against the library: the compiler, the flags, and the library's
// files that the build's and the run's sandboxes must see.
struct Toolchain {
  std::string compiler;                    // a path under /usr, as the sandbox sees it
  std::vector<std::string> compile_flags;  // the course's and the library's -I
  std::vector<std::string> link_flags;     // the library, with the loader's path to it
  std::vector<Mount> build_mounts;
  std::vector<Mount> run_mounts;
  // Built with AddressSanitizer (a developer's build): its programs reserve terabytes of
  // address space, so no memory limit can hold them.
  bool sanitized = false;
};

// Finds the library this checker belongs to: the build folder it was built in, or the prefix
// it is installed in. False with `error` when the library is not there.
bool find_toolchain(const std::string& course_flags, Toolchain* toolchain, std::string* error);

struct Settings {
  std::string script;  // a host path, staged readable for the sandbox
  long ticks = 0;
  long tolerance = 0;
  std::vector<Rect> masks;
  Limits build_limits;
  Limits run_limits;
  std::vector<std::string> forwarded_env;  // sanitizer options for a sanitized library
};

// Checks one submission into `folder` (students/<id> of the report being made), against the
// model picture (none while the model answer itself is checked).
Record check_submission(const Submission& submission, const std::string& report_folder,
                        const Settings& settings, const Toolchain& toolchain, Sandbox& sandbox,
                        const Picture* model);

}  // namespace check
