// The sandbox against what a student's program may try: each case runs a shell command in a
// real sandbox (bubblewrap, as an unprivileged user when the tests run as root) and checks
// what it could and could not do. No case waits but those whose point is a time-out.
#include <arpa/inet.h>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "sandbox.h"

namespace {

namespace fs = std::filesystem;
using check::Job;
using check::Outcome;

// A user of its own for this test process, so that what it leaves running can be counted.
uid_t test_uid() {
  return 3400000 + static_cast<uid_t>(getpid() % 10000);
}

// The processes running as `uid` on the machine.
int processes_of(uid_t uid) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream status(entry.path() / "status");
    for (std::string line; std::getline(status, line);) {
      if (line.rfind("Uid:", 0) == 0) {
        count += std::stoul(line.substr(4)) == uid;
        break;
      }
    }
  }
  return count;
}

class SandboxTest : public testing::Test {
 protected:
  void SetUp() override {
    check::subreap();  // as the checker does: the sandboxes' last processes are its to reap
    scratch_ = fs::temp_directory_path() / ("sandbox-test-" + std::to_string(getpid()));
    fs::create_directories(scratch_);
    sandbox_ =
        std::make_unique<check::Sandbox>(VORLA_CHECK_BINARY, test_uid(), false, scratch_.string());
    std::string why;
    ASSERT_TRUE(sandbox_->usable(&why)) << why;
  }
  void TearDown() override { fs::remove_all(scratch_); }

  Outcome sh(const std::string& script, check::Limits limits = {}) {
    Job job;
    job.argv = {"/bin/sh", "-c", script};
    job.env = {"PATH=/usr/bin:/bin", "HOME=/tmp/work"};
    job.cwd = "/tmp/work";
    job.limits = limits;
    return sandbox_->run(job);
  }

  fs::path scratch_;
  std::unique_ptr<check::Sandbox> sandbox_;
};

TEST_F(SandboxTest, GetsFilesFromFoldersOnlyTheCheckerMayEnter) {
  // A teacher working as root in /root: the sandbox's user may not walk to the files it is given.
  if (geteuid() == 0 && !sandbox_->stages_files()) {
    GTEST_SKIP() << "root without the right to make mount namespaces (a container's)";
  }
  const fs::path closed = scratch_ / "closed";
  fs::create_directories(closed);
  std::ofstream(closed / "given.txt") << "given\n";
  fs::permissions(closed, fs::perms::owner_all);
  Job job;
  job.argv = {"/bin/cat", "/student/given.txt"};
  job.env = {"PATH=/usr/bin:/bin"};
  job.cwd = "/tmp/work";
  job.mounts = {{(closed / "given.txt").string(), "/student/given.txt"}};
  Outcome outcome = sandbox_->run(job);
  EXPECT_EQ(outcome.end, Outcome::End::exited) << outcome.failure << outcome.err;
  EXPECT_EQ(outcome.out, "given\n") << outcome.err;
}

TEST_F(SandboxTest, SeesNeitherHomesNorOtherFoldersNorPasswdAndWritesOnlyItsTmp) {
  // A folder of the host (as another student's submission would be) and the user's home.
  const fs::path other = scratch_ / "bob";
  fs::create_directories(other);
  std::ofstream(other / "bob.c") << "int main(void) { return 0; }\n";
  const char* home = std::getenv("HOME");
  Outcome outcome = sh(
      "for p in /root /home '" + other.string() + "/bob.c' '" + std::string(home ? home : "/root") +
      "' /etc/passwd /etc/shadow; do test -e \"$p\" && echo \"sees $p\"; done; "
      "for p in /x /usr/x /etc/x /dev/x; do touch $p 2>/dev/null && echo \"writes $p\"; done; "
      "echo kept > /tmp/work/note.txt; id -u");
  ASSERT_EQ(outcome.end, Outcome::End::exited) << outcome.failure << outcome.err;
  EXPECT_EQ(outcome.out, std::to_string(geteuid() == 0 ? test_uid() : geteuid()) + "\n");
  // Its files outlive the sandbox, reached through the descriptor of its /tmp.
  ASSERT_GE(outcome.tmp, 0);
  int note = openat(outcome.tmp, "work/note.txt", O_RDONLY);
  ASSERT_GE(note, 0);
  char text[8] = {};
  EXPECT_EQ(read(note, text, sizeof text), 5);
  EXPECT_STREQ(text, "kept\n");
  close(note);
}

TEST_F(SandboxTest, HasNoNetwork) {
  // A listener of the host on its loopback: a connection from the sandbox must not reach it.
  int listener = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listener, 4), 0);
  socklen_t length = sizeof address;
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  const std::string port = std::to_string(ntohs(address.sin_port));
  Job job;
  job.argv = {"/bin/bash", "-c",
              "grep -v -e '|' -e 'lo:' /proc/net/dev; "
              "true 3<>/dev/tcp/127.0.0.1/" +
                  port + " && echo reached the loopback of the host; " +
                  "true 4<>/dev/tcp/192.0.2.1/80 && echo reached another machine"};
  job.cwd = "/tmp/work";
  Outcome outcome = sandbox_->run(job);
  EXPECT_EQ(outcome.out, "");  // no interface but its own loopback, nothing reached
  EXPECT_NE(outcome.err.find("Network is unreachable"), std::string::npos) << outcome.err;
  EXPECT_LT(accept(listener, nullptr, nullptr), 0);
  close(listener);
}

TEST_F(SandboxTest, LimitsStopForkBombsAllocationsLargeFilesAndFloodsOfOutput) {
  check::Limits limits;
  limits.processes = 12;
  limits.memory_bytes = 256L << 20;
  limits.file_bytes = 4L << 20;
  limits.output_bytes = 1000;
  // An inner shell starts sleepers until it cannot fork (and gives up); the outer one then
  // counts the sandbox's processes with builtins alone.
  Outcome bomb =
      sh("sh -c 'while :; do sleep 60 & done' 2>/dev/null; set -- /proc/[0-9]*; echo $#", limits);
  ASSERT_EQ(bomb.end, Outcome::End::exited) << bomb.err;
  EXPECT_LE(std::stoi(bomb.out), 12);
  EXPECT_GE(std::stoi(bomb.out), 5);

  Outcome allocation = sh("dd if=/dev/zero of=/dev/null bs=1G count=1", limits);
  EXPECT_EQ(allocation.end, Outcome::End::exited);
  EXPECT_NE(allocation.code, 0);
  EXPECT_NE(allocation.err.find("memory"), std::string::npos) << allocation.err;

  Outcome large = sh("exec dd if=/dev/zero of=/tmp/work/big bs=1M count=64", limits);
  EXPECT_EQ(large.end, Outcome::End::signalled);
  EXPECT_EQ(large.code, SIGXFSZ);
  EXPECT_EQ(check::signal_name(large.code), "SIGXFSZ (file size limit exceeded)");

  Outcome flood = sh("head -c 3000000 /dev/zero | tr '\\0' x; echo said >&2", limits);
  EXPECT_EQ(flood.end, Outcome::End::exited);
  EXPECT_EQ(flood.out, std::string(1000, 'x'));
  EXPECT_EQ(flood.out_bytes, 3000000u);
  EXPECT_EQ(flood.err, "said\n");
}

TEST_F(SandboxTest, ATimeOutKillsEveryProcessEvenThoseIgnoringSigterm) {
  check::Limits limits;
  limits.seconds = 0.5;
  limits.grace_seconds = 0.5;
  const auto start = std::chrono::steady_clock::now();
  // A child that ignores SIGTERM, and a grandchild in a session of its own.
  Outcome outcome = sh("trap '' TERM; setsid sleep 60 & sleep 60 & while :; do :; done", limits);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(outcome.end, Outcome::End::timed_out);
  EXPECT_GE(seconds, 1.0);
  EXPECT_LT(seconds, 4.0);
  if (geteuid() == 0) {
    EXPECT_EQ(processes_of(test_uid()), 0);
  }
}

TEST_F(SandboxTest, ACrashIsTheSignalAndAMissingProgramIsAnExitStatus) {
  Outcome crash = sh("kill -SEGV $$");
  EXPECT_EQ(crash.end, Outcome::End::signalled);
  EXPECT_EQ(check::signal_name(crash.code), "SIGSEGV (segmentation fault)");
  Outcome exited = sh("exit 139");  // a status that a shell would confuse with a crash
  EXPECT_EQ(exited.end, Outcome::End::exited);
  EXPECT_EQ(exited.code, 139);
  Job missing;
  missing.argv = {"/student/nothing"};
  missing.cwd = "/tmp/work";
  Outcome none = sandbox_->run(missing);
  EXPECT_EQ(none.end, Outcome::End::exited);
  EXPECT_EQ(none.code, 127);
  EXPECT_NE(none.err.find("/student/nothing"), std::string::npos);
}

}  // namespace
