// Running a command we did not write: in a sandbox of its own (bubblewrap), as an unprivileged
// user, within limits, with its output kept up to a size and every process of it killed at the
// time-out.
//
// The sandbox sees the system's programs and libraries (/usr) read-only, a few files of /etc
// (the loader's cache, fontconfig's configuration, the compiler's alternatives), a fresh /proc
// and /dev, the files the caller binds read-only, and one writable folder, /tmp, a tmpfs of a
// fixed size that holds the command's working folder /tmp/work and its results /tmp/out. Home
// folders, other submissions and the rest of the machine are not there; there is no network
// (only a loopback that is down), no other process to see, no shared memory with the host.
//
// Inside, the first process is this checker's own binary in its helper role: it sends the
// checker a descriptor of /tmp (so that the files survive the sandbox, however it ends), sets
// the limits, starts the command, reports its wait status, and at the checker's word sends
// SIGTERM to every process of the sandbox. RLIMIT_NPROC is set there, inside the sandbox's user
// namespace, so that it counts only the sandbox's processes: sandboxes running in parallel, as
// the same user, do not share it. When the checker runs as root, the sandbox runs as an
// unprivileged uid (root is not bound by RLIMIT_NPROC).
//
// A process that runs sandboxes makes itself a child subreaper (see subreap()), so that the
// sandboxes' first processes, which bubblewrap leaves behind as orphans for a moment, end as
// its children and are reaped at once rather than by the system's init.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

namespace check {

struct Limits {
  double seconds = 10;             // wall-clock time until SIGTERM
  double grace_seconds = 1;        // then, this much later, SIGKILL to the whole sandbox
  long cpu_seconds = 11;           // RLIMIT_CPU of each process
  long memory_bytes = 1L << 30;    // RLIMIT_AS of each process
  long processes = 32;             // RLIMIT_NPROC: processes and threads of the sandbox
  long file_bytes = 16L << 20;     // RLIMIT_FSIZE: the largest file it may write
  long open_files = 256;           // RLIMIT_NOFILE
  long disk_bytes = 64L << 20;     // size of the sandbox's writable /tmp
  size_t output_bytes = 64 << 10;  // what is kept of stdout and of stderr
};

// A file or folder of the host seen read-only at `inside`; a symbolic link is made again
// inside as a link with the same target.
struct Mount {
  std::string host;
  std::string inside;
};

struct Job {
  std::vector<std::string> argv;  // paths as the sandbox sees them
  std::vector<std::string> env;   // NAME=VALUE, the whole environment
  std::string cwd;                // inside the sandbox
  std::vector<Mount> mounts;
  Limits limits;
  bool merge_output = false;  // stderr into the stdout pipe (compiler messages in their order)
};

struct Outcome {
  enum class End { exited, signalled, timed_out, failed };
  End end = End::failed;
  int code = 0;                         // exit status, or the signal
  std::string failure;                  // why the command could not be run (End::failed)
  std::string out, err;                 // kept output
  size_t out_bytes = 0, err_bytes = 0;  // all it wrote
  double seconds = 0;
  // A descriptor of the sandbox's /tmp (when unsandboxed, of the folder standing for it),
  // open until the Outcome is destroyed; -1 when the sandbox never started.
  int tmp = -1;

  Outcome() = default;
  Outcome(const Outcome&) = delete;
  Outcome& operator=(const Outcome&) = delete;
  Outcome(Outcome&& other) noexcept;
  Outcome& operator=(Outcome&& other) noexcept;
  ~Outcome();
};

class Sandbox {
 public:
  // `helper` is this checker's own executable (a copy of it); `uid` the user to run as when root
  // (another user runs as itself). `bwrap` is found on PATH unless given. With `unsandboxed`,
  // commands run directly, in a folder of `scratch`, with the limits, in a process group of their
  // own.
  Sandbox(std::string helper, uid_t uid, bool unsandboxed, std::string scratch);

  // Whether a sandbox can be made here: false with the reason (bubblewrap missing, no user
  // namespaces) in `why`.
  bool usable(std::string* why);

  Outcome run(const Job& job);

  bool unsandboxed() const { return unsandboxed_; }
  // Whether files are handed to the sandboxes through a mount namespace of the checker's (as
  // root, where a container allows it), so that they may lie where only root may enter.
  bool stages_files() const { return stage_; }

 private:
  Outcome run_in_bwrap(const Job& job);
  Outcome run_directly(const Job& job);

  std::string helper_;
  uid_t uid_;
  bool unsandboxed_;
  std::string scratch_;
  bool stage_ = false;  // as root, with the right to make mount namespaces: see run_in_bwrap
  std::string bwrap_;
  std::vector<std::string> base_args_;
};

// Makes this process the reaper of its descendants' orphans (PR_SET_CHILD_SUBREAPER).
void subreap();

// The helper's role inside the sandbox: argv is the checker's own, from "--sandbox-helper".
// Returns the helper's exit status.
int sandbox_helper(int argc, char** argv);

// The name of a signal as a teacher reads it: "SIGSEGV (segmentation fault)".
std::string signal_name(int signal);

}  // namespace check
