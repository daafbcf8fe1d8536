#include "sandbox.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>

extern char** environ;

namespace check {
namespace {

constexpr int kSocketFd = 3;  // the helper's line to the checker, inside the sandbox
constexpr int kInfoFd = 4;    // where bubblewrap says the pid of the sandbox's first process
constexpr int kFirstMountFd = 5;
constexpr int kWaitPidfd = 3;
constexpr size_t kMaxPlaced = 256;  // descriptors a sandbox is given: the job's files and five  //
                                    // waitid's P_PIDFD, which older C libraries do not name

int pidfd_open(pid_t pid) {
  return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

int pidfd_send_signal(int pidfd, int signal) {
  return static_cast<int>(syscall(SYS_pidfd_send_signal, pidfd, signal, nullptr, 0));
}

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Output of one pipe: the first `limit` bytes kept, the rest counted.
struct Stream {
  int fd = -1;
  std::string* kept = nullptr;
  size_t* total = nullptr;
  size_t limit = 0;

  // False at the end of the stream.
  bool drain() {
    char buffer[65536];
    for (;;) {
      ssize_t n = read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno == EAGAIN) return true;
      if (n <= 0) return false;
      *total += static_cast<size_t>(n);
      if (kept->size() < limit) {
        kept->append(buffer, std::min(static_cast<size_t>(n), limit - kept->size()));
      }
    }
  }
};

void close_fd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

void set_limits(const Limits& limits) {
  auto set = [](int resource, long value) {
    rlimit limit{static_cast<rlim_t>(value), static_cast<rlim_t>(value)};
    if (value > 0) setrlimit(resource, &limit);
  };
  set(RLIMIT_CPU, limits.cpu_seconds);
  set(RLIMIT_AS, limits.memory_bytes);
  set(RLIMIT_NPROC, limits.processes);
  set(RLIMIT_FSIZE, limits.file_bytes);
  set(RLIMIT_NOFILE, limits.open_files);
  rlimit no_core{0, 0};
  setrlimit(RLIMIT_CORE, &no_core);
}

// In a child between fork and exec: gives up root for `uid` (when root), so that the limits
// hold. Async-signal-safe calls only.
bool drop_root(uid_t uid) {
  if (geteuid() != 0) return true;
  return setgroups(0, nullptr) == 0 && setresgid(uid, uid, uid) == 0 &&
         setresuid(uid, uid, uid) == 0;
}

// In a child between fork and exec, as root: in a mount namespace of its own, a folder open to
// all over /mnt (the place for a passing mount, which leaves /tmp and what lies there in sight)
// with each file or folder of the descriptors `from` bound at the path of the same index of `to`.
// Async-signal-safe calls only.
bool stage_files(const std::vector<int>& from, const std::vector<std::string>& to,
                 const std::vector<bool>& folder) {
  // Copies of the files' mounts, taken in the checker's namespace, to be placed in the new one.
  int trees[kMaxPlaced];
  const size_t count = std::min(from.size(), kMaxPlaced);
  for (size_t i = 0; i < count; ++i) {
    trees[i] = open_tree(from[i], "", OPEN_TREE_CLONE | OPEN_TREE_CLOEXEC | AT_EMPTY_PATH);
    if (trees[i] < 0) return false;
  }
  if (unshare(CLONE_NEWNS) != 0 ||
      mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
      mount("tmpfs", "/mnt", "tmpfs", MS_NOSUID | MS_NODEV, "mode=0755") != 0) {
    return false;
  }
  for (size_t i = 0; i < count; ++i) {
    if (folder[i]) {
      if (mkdir(to[i].c_str(), 0755) != 0) return false;
    } else {
      int made = open(to[i].c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
      if (made < 0) return false;
      close(made);
    }
    if (move_mount(trees[i], "", AT_FDCWD, to[i].c_str(), MOVE_MOUNT_F_EMPTY_PATH) != 0) {
      return false;
    }
  }
  return true;
}

// In a child between fork and exec: puts each descriptor of `from` at the number of the same
// index of `to` and closes every other one above 2.
void place_fds(const std::vector<int>& from, const std::vector<int>& to) {
  int top = 2;
  for (int target : to) top = std::max(top, target);
  // Copies first, above every target, so that no dup2 overwrites a descriptor still to be
  // placed (on the stack: another thread may have held the allocator's lock at the fork).
  int copies[kMaxPlaced];
  const size_t count = std::min(from.size(), kMaxPlaced);
  for (size_t i = 0; i < count; ++i) copies[i] = fcntl(from[i], F_DUPFD_CLOEXEC, top + 1);
  for (size_t i = 0; i < count; ++i) dup2(copies[i], to[i]);
  syscall(SYS_close_range, top + 1, ~0U, 0);
}

void write_all(int fd, const char* text) {
  size_t length = std::strlen(text);
  while (length > 0) {
    ssize_t n = write(fd, text, length);
    if (n <= 0) return;
    text += n;
    length -= static_cast<size_t>(n);
  }
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> result;
  for (auto& s : strings) result.push_back(s.data());
  result.push_back(nullptr);
  return result;
}

std::string find_on_path(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string candidate = dirs.substr(start, end - start) + "/" + name;
    if (end > start && access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return "";
}

std::string first_line(const std::string& text) {
  std::string line = text.substr(0, text.find('\n'));
  return line.size() > 300 ? line.substr(0, 300) + "..." : line;
}

// The time left until `when`, as poll's milliseconds (at least 0, at most a second).
int poll_ms(Clock::time_point when) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(when - Clock::now()).count();
  return static_cast<int>(std::clamp<long long>(left + 1, 0, 1000));
}

}  // namespace

Outcome::Outcome(Outcome&& other) noexcept {
  *this = std::move(other);
}

Outcome& Outcome::operator=(Outcome&& other) noexcept {
  if (this == &other) return *this;
  close_fd(tmp);
  end = other.end;
  code = other.code;
  failure = std::move(other.failure);
  out = std::move(other.out);
  err = std::move(other.err);
  out_bytes = other.out_bytes;
  err_bytes = other.err_bytes;
  seconds = other.seconds;
  tmp = other.tmp;
  other.tmp = -1;
  return *this;
}

Outcome::~Outcome() {
  close_fd(tmp);
}

std::string signal_name(int signal) {
  const char* abbreviation = sigabbrev_np(signal);
  std::string name =
      abbreviation ? std::string("SIG") + abbreviation : "signal " + std::to_string(signal);
  const char* description = sigdescr_np(signal);
  if (description == nullptr) return name;
  std::string lower = description;
  if (!lower.empty()) lower[0] = static_cast<char>(std::tolower(lower[0]));
  return name + " (" + lower + ")";
}

Sandbox::Sandbox(std::string helper, uid_t uid, bool unsandboxed, std::string scratch)
    : helper_(std::move(helper)),
      uid_(uid),
      unsandboxed_(unsandboxed),
      scratch_(std::move(scratch)) {
  bwrap_ = find_on_path("bwrap");
  base_args_ = {"--unshare-all", "--die-with-parent", "--new-session", "--hostname",
                "sandbox",       "--ro-bind",         "/usr",          "/usr"};
  // The top folders that a merged /usr makes links (Debian's /bin, /lib...), or binds them.
  for (const char* top : {"/bin", "/sbin", "/lib", "/lib32", "/lib64", "/libx32"}) {
    struct stat info;
    if (lstat(top, &info) != 0) continue;
    if (S_ISLNK(info.st_mode)) {
      char target[4096];
      ssize_t n = readlink(top, target, sizeof target - 1);
      if (n <= 0) continue;
      target[n] = '\0';
      base_args_.insert(base_args_.end(), {"--symlink", target, top});
    } else if (S_ISDIR(info.st_mode)) {
      base_args_.insert(base_args_.end(), {"--ro-bind", top, top});
    }
  }
  // The loader's cache, fontconfig's configuration and cache, and the compiler's alternatives
  // (cc, c++); nothing else of /etc (no passwd, no hosts).
  for (const char* path : {"/etc/ld.so.cache", "/etc/ld.so.conf", "/etc/ld.so.conf.d", "/etc/fonts",
                           "/etc/alternatives", "/var/cache/fontconfig"}) {
    base_args_.insert(base_args_.end(), {"--ro-bind-try", path, path});
  }
  base_args_.insert(base_args_.end(), {"--proc", "/proc", "--dev", "/dev"});
  // Files are staged (run_in_bwrap) only where a child of the checker may make a mount
  // namespace with a folder over /mnt: as root, and not in a container that forbids it.
  if (geteuid() == 0) {
    const pid_t child = fork();
    if (child == 0) {
      _exit(stage_files({}, {}, {}) ? 0 : 1);
    }
    int status = 0;
    stage_ = child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
             WEXITSTATUS(status) == 0;
  }
}

bool Sandbox::usable(std::string* why) {
  if (unsandboxed_) return true;
  if (bwrap_.empty()) {
    *why = "bubblewrap (bwrap) is not installed; as root: apt-get install bubblewrap";
    return false;
  }
  Job probe;
  probe.argv = {"/usr/bin/true"};
  probe.env = {"PATH=/usr/bin:/bin"};
  probe.cwd = "/tmp/work";
  probe.limits.seconds = 20;
  Outcome outcome = run(probe);
  if (outcome.end == Outcome::End::exited && outcome.code == 0) return true;
  std::string said = first_line(outcome.failure.empty() ? outcome.err : outcome.failure);
  *why = "bubblewrap cannot make a sandbox here" + (said.empty() ? "" : ": " + said) +
         " (it needs user namespaces: kernel.unprivileged_userns_clone=1 and "
         "user.max_user_namespaces above 0)";
  return false;
}

Outcome Sandbox::run(const Job& job) {
  if (unsandboxed_) return run_directly(job);
  // A sandbox that did not start (a file bound while it was being replaced) is tried once more
  // before the run counts as the checker's error.
  Outcome outcome = run_in_bwrap(job);
  if (outcome.end == Outcome::End::failed && outcome.tmp < 0) outcome = run_in_bwrap(job);
  return outcome;
}

namespace {

// What the checker's side of one run holds, and the steps of the loop that watches it: each
// turn polls the output and the process (with the caller's own descriptors), reaps the process
// once it has ended, and says when the time is up and, after the grace, each second, when to
// kill.
struct Watch {
  Clock::time_point start = Clock::now();
  Clock::time_point deadline;
  Clock::time_point kill_at = Clock::time_point::max();
  Clock::duration grace{};
  bool timed_out = false;
  pid_t child = -1;
  int child_fd = -1;  // pidfd of the process the checker started
  Stream out, err;
  bool out_open = true, err_open = true;
  bool child_done = false;
  Clock::time_point stop_waiting_for_output = Clock::time_point::max();

  explicit Watch(const Limits& limits)
      : deadline(start + seconds(limits.seconds)), grace(seconds(limits.grace_seconds)) {}

  static Clock::duration seconds(double value) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(value));
  }

  // True once the process has ended and its output is in, or two seconds more have passed.
  bool finished() const {
    return child_done && ((!out_open && !err_open) || Clock::now() >= stop_waiting_for_output);
  }

  // Waits for output, the process's end, the caller's `more` or the next time something is due,
  // and takes in what output came.
  void poll_once(std::vector<pollfd> more) {
    Clock::time_point next = child_done ? stop_waiting_for_output : timed_out ? kill_at : deadline;
    if (out_open) more.push_back({out.fd, POLLIN, 0});
    if (err_open) more.push_back({err.fd, POLLIN, 0});
    if (!child_done) more.push_back({child_fd, POLLIN, 0});
    poll(more.data(), more.size(), poll_ms(next));
    if (out_open) out_open = out.drain();
    if (err_open) err_open = err.drain();
  }

  // True when the process has just ended, with its wait status; what is left in the pipes
  // comes at once after that.
  bool reaped(int* status) {
    if (child_done || waitpid(child, status, WNOHANG) != child) return false;
    child_done = true;
    stop_waiting_for_output = Clock::now() + std::chrono::seconds(2);
    return true;
  }

  enum class Due { nothing, stop, kill };

  // What is due now: `stop` once at the deadline, `kill` when the grace has passed and each
  // second after.
  Due due() {
    Clock::time_point now = Clock::now();
    if (!timed_out && now >= deadline) {
      timed_out = true;
      kill_at = now + grace;
      return Due::stop;
    }
    if (timed_out && now >= kill_at) {
      kill_at = now + std::chrono::seconds(1);
      return Due::kill;
    }
    return Due::nothing;
  }

  void close_all() {
    close_fd(child_fd);
    close_fd(out.fd);
    close_fd(err.fd);
  }
};

// Reads what bubblewrap says of the sandbox (--info-fd) and, once it names the sandbox's first
// process, opens it as a pidfd into `init_fd`. Closes the descriptor at its end.
void read_info(int* info_fd, std::string* info, int* init_fd) {
  char buffer[512];
  ssize_t n;
  while ((n = read(*info_fd, buffer, sizeof buffer)) > 0) info->append(buffer, n);
  if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) close_fd(*info_fd);
  size_t at = info->find("\"child-pid\"");
  if (*init_fd < 0 && at != std::string::npos) {
    at = info->find_first_of("0123456789", at);
    if (at != std::string::npos) *init_fd = pidfd_open(std::atoi(info->c_str() + at));
  }
}

// Reads the messages of the helper inside the sandbox: 'F' with the descriptor of its /tmp
// (what the program left), 'S' with the program's wait status. False once the helper has gone.
bool read_helper(int socket_fd, Outcome* outcome, std::optional<int>* status) {
  for (;;) {
    char message[16];
    char control[CMSG_SPACE(sizeof(int))];
    iovec part{message, sizeof message};
    msghdr header{};
    header.msg_iov = &part;
    header.msg_iovlen = 1;
    header.msg_control = control;
    header.msg_controllen = sizeof control;
    ssize_t n = recvmsg(socket_fd, &header, MSG_CMSG_CLOEXEC);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return true;
    if (n <= 0) return false;
    for (cmsghdr* c = CMSG_FIRSTHDR(&header); c != nullptr; c = CMSG_NXTHDR(&header, c)) {
      if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_RIGHTS) {
        int fd;
        std::memcpy(&fd, CMSG_DATA(c), sizeof fd);
        if (message[0] == 'F' && outcome->tmp < 0) {
          outcome->tmp = fd;
        } else {
          close(fd);
        }
      }
    }
    if (message[0] == 'S' && n >= 1 + static_cast<ssize_t>(sizeof(int))) {
      int value;
      std::memcpy(&value, message + 1, sizeof value);
      *status = value;
    }
  }
}

}  // namespace

Outcome Sandbox::run_in_bwrap(const Job& job) {
  Outcome outcome;
  int sockets[2], out_pipe[2], err_pipe[2], info_pipe[2];
  if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, sockets) != 0) {
    outcome.failure = std::string("socketpair: ") + std::strerror(errno);
    return outcome;
  }
  if (pipe2(out_pipe, O_CLOEXEC) != 0 || pipe2(err_pipe, O_CLOEXEC) != 0 ||
      pipe2(info_pipe, O_CLOEXEC) != 0) {
    outcome.failure = std::string("pipe: ") + std::strerror(errno);
    close(sockets[0]);
    close(sockets[1]);
    return outcome;
  }
  int null_fd = open("/dev/null", O_RDONLY | O_CLOEXEC);

  // Arguments: the base, the job's files (by descriptors opened here, so that the sandbox's
  // user needs no right to the folders above them), then the helper and the command.
  std::vector<std::string> args = {bwrap_};
  args.insert(args.end(), base_args_.begin(), base_args_.end());
  args.insert(args.end(), {"--size", std::to_string(job.limits.disk_bytes), "--tmpfs", "/tmp",
                           "--dir", "/tmp/work", "--dir", "/tmp/out"});
  std::vector<int> from = {null_fd, out_pipe[1], job.merge_output ? out_pipe[1] : err_pipe[1],
                           sockets[1], info_pipe[1]};
  std::vector<int> to = {0, 1, 2, kSocketFd, kInfoFd};
  std::vector<int> opened;
  // Run as root, the checker hands bubblewrap (which runs as the sandbox's user) each file by a
  // path that user may walk: bubblewrap finds a bound file's path again, and the checker's own
  // files may lie where only root may enter (/root, say). Each is bound, in a mount namespace of
  // the checker's child alone, into a folder over /mnt (staged_from onto staged).
  const bool stage = stage_;
  std::vector<int> staged_from;
  std::vector<std::string> staged;
  std::vector<bool> staged_folder;
  std::vector<Mount> mounts = job.mounts;
  mounts.push_back({helper_, "/run/vorla-check/helper"});
  for (const Mount& mount : mounts) {
    struct stat info;
    if (lstat(mount.host.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
      char target[4096];
      ssize_t n = readlink(mount.host.c_str(), target, sizeof target - 1);
      if (n > 0) {
        target[n] = '\0';
        args.insert(args.end(), {"--symlink", target, mount.inside});
      }
      continue;
    }
    int fd = opened.size() + to.size() < kMaxPlaced ? open(mount.host.c_str(), O_PATH | O_CLOEXEC)
                                                    : (errno = EMFILE, -1);
    if (fd < 0) {
      outcome.failure = "cannot open " + mount.host + ": " + std::strerror(errno);
      for (int o : opened) close(o);
      for (int fd_ : {sockets[0], sockets[1], out_pipe[0], out_pipe[1], err_pipe[0], err_pipe[1],
                      info_pipe[0], info_pipe[1], null_fd})
        close(fd_);
      return outcome;
    }
    opened.push_back(fd);
    if (stage) {
      struct stat kind;
      staged_from.push_back(fd);
      staged.push_back("/mnt/vorla-check-" + std::to_string(staged.size()));
      staged_folder.push_back(fstat(fd, &kind) == 0 && S_ISDIR(kind.st_mode));
      args.insert(args.end(), {"--ro-bind", staged.back(), mount.inside});
      continue;
    }
    int number = kFirstMountFd + static_cast<int>(opened.size()) - 1;
    from.push_back(fd);
    to.push_back(number);
    args.insert(args.end(), {"--ro-bind-fd", std::to_string(number), mount.inside});
  }
  // Only /tmp is writable: the root bwrap builds and /dev are made read-only.
  args.insert(args.end(),
              {"--remount-ro", "/", "--remount-ro", "/dev", "--info-fd", std::to_string(kInfoFd),
               "--chdir", job.cwd, "--", "/run/vorla-check/helper", "--sandbox-helper"});
  for (long value : {job.limits.cpu_seconds, job.limits.memory_bytes, job.limits.processes,
                     job.limits.file_bytes, job.limits.open_files}) {
    args.push_back(std::to_string(value));
  }
  args.push_back("--");
  args.insert(args.end(), job.argv.begin(), job.argv.end());
  std::vector<std::string> env = job.env;
  std::vector<char*> argv = pointers(args), envp = pointers(env);

  Watch watch(job.limits);
  const pid_t parent = getpid();
  const uid_t uid = uid_;
  watch.child = fork();
  if (watch.child == 0) {
    setpgid(0, 0);
    if (stage && !stage_files(staged_from, staged, staged_folder)) {
      write_all(2, "vorla-check: cannot hand the sandbox its files\n");
      _exit(126);
    }
    if (!drop_root(uid)) {
      write_all(2, "vorla-check: cannot take the sandbox's user id\n");
      _exit(126);
    }
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(126);
    place_fds(from, to);
    execve(argv[0], argv.data(), envp.data());
    write_all(2, "vorla-check: cannot run bwrap\n");
    _exit(127);
  }
  for (int fd : opened) close(fd);
  close(null_fd);
  close(out_pipe[1]);
  close(err_pipe[1]);
  close(sockets[1]);
  close(info_pipe[1]);
  int socket_fd = sockets[0];
  int info_fd = info_pipe[0];
  if (watch.child < 0) {
    outcome.failure = std::string("fork: ") + std::strerror(errno);
    for (int fd : {socket_fd, info_fd, out_pipe[0], err_pipe[0]}) close(fd);
    return outcome;
  }
  watch.child_fd = pidfd_open(watch.child);
  watch.out = {out_pipe[0], &outcome.out, &outcome.out_bytes, job.limits.output_bytes};
  watch.err = {err_pipe[0], &outcome.err, &outcome.err_bytes, job.limits.output_bytes};
  for (int fd : {out_pipe[0], err_pipe[0], info_fd, socket_fd}) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  }

  std::string info;
  int init_fd = -1;  // pidfd of the sandbox's first process: killing it ends the sandbox
  bool init_killed = false;
  std::optional<int> status;
  bool socket_open = true;
  while (!watch.finished()) {
    std::vector<pollfd> more;
    if (socket_open) more.push_back({socket_fd, POLLIN, 0});
    if (info_fd >= 0) more.push_back({info_fd, POLLIN, 0});
    watch.poll_once(std::move(more));
    if (info_fd >= 0) read_info(&info_fd, &info, &init_fd);
    if (socket_open) socket_open = read_helper(socket_fd, &outcome, &status);
    // Every process of the sandbox has ended with its first one: its status comes through the
    // socket.
    int wait_status;
    if (watch.reaped(&wait_status)) continue;
    switch (watch.due()) {
      case Watch::Due::stop:
        if (socket_open) send(socket_fd, "T", 1, MSG_NOSIGNAL);
        break;
      case Watch::Due::kill:
        // The sandbox's first process takes every other with it; bubblewrap's outer process
        // then ends by itself, having reaped it. Should that not come within a second (or the
        // sandbox never started), the outer process is killed too.
        if (init_fd >= 0 && !init_killed) {
          pidfd_send_signal(init_fd, SIGKILL);
          init_killed = true;
        } else if (watch.child_fd >= 0) {
          pidfd_send_signal(watch.child_fd, SIGKILL);
        }
        break;
      case Watch::Due::nothing:
        break;
    }
  }
  outcome.seconds = seconds_since(watch.start);
  if (init_fd >= 0) {
    // bubblewrap's outer process ends as soon as it has the command's status, before the
    // sandbox's first process has ended: that one then ends the sandbox's other processes
    // and waits for them, an orphan, which this checker (a subreaper) takes in and reaps.
    pollfd gone{init_fd, POLLIN, 0};
    if (poll(&gone, 1, 2000) == 0) {
      pidfd_send_signal(init_fd, SIGKILL);
      poll(&gone, 1, 5000);
    }
    siginfo_t ended;
    waitid(static_cast<idtype_t>(kWaitPidfd), static_cast<id_t>(init_fd), &ended,
           WEXITED | WNOHANG);
    close(init_fd);
  }
  close_fd(info_fd);
  close(socket_fd);
  watch.close_all();

  if (watch.timed_out) {
    outcome.end = Outcome::End::timed_out;
  } else if (status && WIFEXITED(*status)) {
    outcome.end = Outcome::End::exited;
    outcome.code = WEXITSTATUS(*status);
  } else if (status && WIFSIGNALED(*status)) {
    outcome.end = Outcome::End::signalled;
    outcome.code = WTERMSIG(*status);
  } else if (outcome.tmp < 0) {
    outcome.failure = "the sandbox did not start: " + first_line(outcome.err);
  } else {
    outcome.failure =
        "the sandbox ended without the program's exit status (its helper was killed from "
        "inside, as kill(-1, SIGKILL) does)";
  }
  return outcome;
}

Outcome Sandbox::run_directly(const Job& job) {
  Outcome outcome;
  static std::atomic<int> serial{0};
  const std::string root = scratch_ + "/run-" + std::to_string(serial++);
  const std::string tmp = root + "/tmp";
  for (const std::string& dir : {root, tmp, tmp + "/work", tmp + "/out"}) {
    if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
      outcome.failure = "cannot make " + dir + ": " + std::strerror(errno);
      return outcome;
    }
    if (geteuid() == 0 && chown(dir.c_str(), uid_, uid_) != 0) {
      outcome.failure = "cannot give " + dir + " to the user it runs as";
      return outcome;
    }
  }
  // The paths the job names inside a sandbox, as they lie on the host.
  auto host_path = [&](const std::string& inside) {
    for (const Mount& mount : job.mounts) {
      if (inside == mount.inside) return mount.host;
      if (inside.rfind(mount.inside + "/", 0) == 0)
        return mount.host + inside.substr(mount.inside.size());
    }
    if (inside == "/tmp" || inside.rfind("/tmp/", 0) == 0) return root + inside;
    return inside;
  };
  std::vector<std::string> args, env;
  for (const std::string& arg : job.argv) args.push_back(host_path(arg));
  for (const std::string& entry : job.env) {
    size_t equals = entry.find('=');
    env.push_back(entry.substr(0, equals + 1) + host_path(entry.substr(equals + 1)));
  }
  const std::string cwd = host_path(job.cwd);
  std::vector<char*> argv = pointers(args), envp = pointers(env);

  int out_pipe[2], err_pipe[2];
  if (pipe2(out_pipe, O_CLOEXEC) != 0 || pipe2(err_pipe, O_CLOEXEC) != 0) {
    outcome.failure = std::string("pipe: ") + std::strerror(errno);
    return outcome;
  }
  int null_fd = open("/dev/null", O_RDONLY | O_CLOEXEC);
  std::vector<int> from = {null_fd, out_pipe[1], job.merge_output ? out_pipe[1] : err_pipe[1]};
  std::vector<int> to = {0, 1, 2};
  Watch watch(job.limits);
  const pid_t parent = getpid();
  const uid_t uid = uid_;
  const Limits limits = job.limits;
  watch.child = fork();
  if (watch.child == 0) {
    setsid();
    if (!drop_root(uid)) _exit(126);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(126);
    place_fds(from, to);
    set_limits(limits);
    if (chdir(cwd.c_str()) != 0) _exit(126);
    execve(argv[0], argv.data(), envp.data());
    write_all(2, "vorla-check: cannot run the program\n");
    _exit(127);
  }
  close(null_fd);
  close(out_pipe[1]);
  close(err_pipe[1]);
  if (watch.child < 0) {
    outcome.failure = std::string("fork: ") + std::strerror(errno);
    close(out_pipe[0]);
    close(err_pipe[0]);
    return outcome;
  }
  watch.child_fd = pidfd_open(watch.child);
  watch.out = {out_pipe[0], &outcome.out, &outcome.out_bytes, job.limits.output_bytes};
  watch.err = {err_pipe[0], &outcome.err, &outcome.err_bytes, job.limits.output_bytes};
  for (int fd : {out_pipe[0], err_pipe[0]}) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  int status = 0;
  while (!watch.finished()) {
    watch.poll_once({});
    if (watch.reaped(&status)) {
      kill(-watch.child, SIGKILL);  // what it left running in its process group
      continue;
    }
    switch (watch.due()) {
      case Watch::Due::stop:
        kill(-watch.child, SIGTERM);
        break;
      case Watch::Due::kill:
        kill(-watch.child, SIGKILL);
        break;
      case Watch::Due::nothing:
        break;
    }
  }
  outcome.seconds = seconds_since(watch.start);
  watch.close_all();
  outcome.tmp = open(tmp.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (watch.timed_out) {
    outcome.end = Outcome::End::timed_out;
  } else if (WIFEXITED(status)) {
    outcome.end = Outcome::End::exited;
    outcome.code = WEXITSTATUS(status);
  } else {
    outcome.end = Outcome::End::signalled;
    outcome.code = WTERMSIG(status);
  }
  return outcome;
}

void subreap() {
  prctl(PR_SET_CHILD_SUBREAPER, 1);
}

int sandbox_helper(int argc, char** argv) {
  // Nothing of the checker's but the line to it reaches the command; the line is closed on
  // exec, and no process of the sandbox may read this one's memory or descriptors.
  syscall(SYS_close_range, kSocketFd + 1, ~0U, 0);
  fcntl(kSocketFd, F_SETFD, FD_CLOEXEC);
  prctl(PR_SET_DUMPABLE, 0);
  if (argc < 9 || std::strcmp(argv[7], "--") != 0) {
    write_all(2, "vorla-check: the sandbox's helper was started wrongly\n");
    return 125;
  }
  Limits limits;
  limits.cpu_seconds = std::atol(argv[2]);
  limits.memory_bytes = std::atol(argv[3]);
  limits.processes = std::atol(argv[4]);
  limits.file_bytes = std::atol(argv[5]);
  limits.open_files = std::atol(argv[6]);

  int tmp = open("/tmp", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  char control[CMSG_SPACE(sizeof(int))] = {};
  char tag = 'F';
  iovec part{&tag, 1};
  msghdr header{};
  header.msg_iov = &part;
  header.msg_iovlen = 1;
  header.msg_control = control;
  header.msg_controllen = sizeof control;
  cmsghdr* c = CMSG_FIRSTHDR(&header);
  c->cmsg_level = SOL_SOCKET;
  c->cmsg_type = SCM_RIGHTS;
  c->cmsg_len = CMSG_LEN(sizeof(int));
  std::memcpy(CMSG_DATA(c), &tmp, sizeof tmp);
  if (tmp < 0 || sendmsg(kSocketFd, &header, MSG_NOSIGNAL) != 1) return 125;
  close(tmp);

  // The sandbox's own signals (kill(-1, ...) from inside) do not end the helper.
  for (int s : {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGPIPE, SIGALRM}) {
    signal(s, SIG_IGN);
  }
  pid_t child = fork();
  if (child == 0) {
    for (int s : {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGPIPE, SIGALRM}) {
      signal(s, SIG_DFL);
    }
    set_limits(limits);
    execve(argv[8], argv + 8, environ);
    // Nothing allocated: the limits on memory already hold.
    const char* why = std::strerror(errno);
    for (const char* part : {static_cast<const char*>(argv[8]), ": ", why, "\n"}) {
      write_all(2, part);
    }
    _exit(127);
  }
  if (child < 0) return 125;
  int child_fd = pidfd_open(child);
  for (;;) {
    pollfd fds[2] = {{kSocketFd, POLLIN, 0}, {child_fd, POLLIN, 0}};
    poll(fds, 2, -1);
    int status;
    if (waitpid(child, &status, WNOHANG) == child) {
      char message[1 + sizeof status] = {'S'};
      std::memcpy(message + 1, &status, sizeof status);
      send(kSocketFd, message, sizeof message, MSG_NOSIGNAL);
      _exit(0);  // nothing of the checker's own exit (a sanitizer's report) may reach stderr
    }
    if (fds[0].revents & (POLLIN | POLLHUP)) {
      char word = 0;
      ssize_t n = recv(kSocketFd, &word, 1, MSG_DONTWAIT);
      if (n == 1 && word == 'T') kill(-1, SIGTERM);
      if (n == 0) {
        kill(-1, SIGKILL);  // the checker is gone
        _exit(125);
      }
    }
  }
}

}  // namespace check
