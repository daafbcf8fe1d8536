#include "files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>

namespace check {
namespace {

bool ends_with(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool is_program_source(const std::string& name) {
  for (const char* end : {".c", ".cpp", ".cc", ".cxx"}) {
    if (ends_with(name, end)) return true;
  }
  return false;
}

bool is_source(const std::string& name) {
  if (is_program_source(name)) return true;
  for (const char* end : {".h", ".hpp", ".hh", ".hxx", ".inc"}) {
    if (ends_with(name, end)) return true;
  }
  return false;
}

// The entries of a folder (by descriptor), by name, without "." and "..".
std::vector<std::string> entries_of(int dir) {
  std::vector<std::string> names;
  int copy = dup(dir);
  DIR* listing = copy >= 0 ? fdopendir(copy) : nullptr;
  if (listing == nullptr) {
    if (copy >= 0) close(copy);
    return names;
  }
  while (dirent* entry = readdir(listing)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(listing);
  std::sort(names.begin(), names.end());
  return names;
}

bool copy_fd(int from, const std::string& to, long long limit, mode_t mode) {
  int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, mode);
  if (out < 0) return false;
  char buffer[65536];
  long long total = 0;
  bool good = true;
  for (;;) {
    ssize_t n = read(from, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      good = n == 0;
      break;
    }
    total += n;
    if (total > limit || write(out, buffer, static_cast<size_t>(n)) != n) {
      good = false;
      break;
    }
  }
  fchmod(out, mode);
  return close(out) == 0 && good;
}

// Opens `name` in `dir` as a regular file (not through a link, never blocking on a FIFO).
int open_regular(int dir, const std::string& name, struct stat* info) {
  int fd = openat(dir, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  if (fstat(fd, info) != 0 || !S_ISREG(info->st_mode)) {
    close(fd);
    return -1;
  }
  return fd;
}

std::string safe_id(const std::string& name) {
  std::string id;
  for (char c : name) {
    id += std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.' ? c : '_';
  }
  if (id.empty() || id[0] == '.' || id[0] == '-') id = "_" + id;
  return id.substr(0, 80);
}

void copy_sources_at(int dir, const std::string& to, const std::string& prefix, int depth,
                     Budget* budget, std::vector<std::string>* sources) {
  for (const std::string& name : entries_of(dir)) {
    if (name[0] == '.' || name == "__MACOSX" || budget->files <= 0) continue;
    struct stat info;
    if (fstatat(dir, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISDIR(info.st_mode) && depth < 8) {
      int sub = openat(dir, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (sub < 0) continue;
      std::filesystem::create_directories(to + "/" + name);
      copy_sources_at(sub, to + "/" + name, prefix + name + "/", depth + 1, budget, sources);
      close(sub);
    } else if (S_ISREG(info.st_mode) && is_source(name) && info.st_size <= budget->bytes) {
      int fd = open_regular(dir, name, &info);
      if (fd < 0) continue;
      if (copy_fd(fd, to + "/" + name, budget->bytes, 0644)) {
        --budget->files;
        budget->bytes -= info.st_size;
        if (is_program_source(name)) sources->push_back(prefix + name);
      }
      close(fd);
    }
  }
}

}  // namespace

bool find_submissions(const std::string& class_folder, const std::vector<std::string>& leave_out,
                      std::vector<Submission>* found, std::string* error) {
  int dir = open(class_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) {
    *error = class_folder + ": " + std::strerror(errno);
    return false;
  }
  std::set<std::string> ids;
  for (const std::string& name : entries_of(dir)) {
    if (name[0] == '.' || name == "__MACOSX") continue;
    const std::string path = class_folder + "/" + name;
    std::error_code ignored;
    const std::string real = std::filesystem::weakly_canonical(path, ignored).string();
    if (std::find(leave_out.begin(), leave_out.end(), real) != leave_out.end()) continue;
    struct stat info;
    if (fstatat(dir, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    Submission s{name, "", path, S_ISDIR(info.st_mode)};
    if (S_ISREG(info.st_mode) && is_program_source(name)) {
      s.name = name.substr(0, name.rfind('.'));
      s.id = safe_id(s.name);
    } else if (s.folder) {
      s.id = safe_id(name);
    } else {
      continue;
    }
    // Two submissions whose names make the same id (alice.c and alice/): the later one is
    // told apart by a number.
    std::string id = s.id;
    for (int n = 2; ids.count(id) > 0; ++n) id = s.id + "-" + std::to_string(n);
    s.id = id;
    ids.insert(id);
    found->push_back(s);
  }
  close(dir);
  if (found->empty()) {
    *error = class_folder + " holds no submission: no .c or .cpp file, no folder";
    return false;
  }
  return true;
}

std::vector<Submission> slice(const std::vector<Submission>& all, int index, int count) {
  std::vector<Submission> part;
  for (size_t i = static_cast<size_t>(index - 1); i < all.size(); i += count) {
    part.push_back(all[i]);
  }
  return part;
}

bool copy_sources(const Submission& submission, const std::string& folder,
                  std::vector<std::string>* sources, std::string* error) {
  std::filesystem::create_directories(folder);
  Budget budget{500, 20LL << 20};
  if (!submission.folder) {
    const std::filesystem::path path(submission.path);
    const std::string file = path.filename().string();
    int dir = open(path.parent_path().empty() ? "." : path.parent_path().c_str(),
                   O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat info;
    int fd = dir >= 0 ? open_regular(dir, file, &info) : -1;
    bool copied = fd >= 0 && copy_fd(fd, folder + "/" + file, budget.bytes, 0644);
    if (fd >= 0) close(fd);
    if (dir >= 0) close(dir);
    if (!copied) {
      *error = submission.path + ": cannot be read as a file of at most 20 MB";
      return false;
    }
    sources->push_back(file);
    return true;
  }
  int dir = open(submission.path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dir < 0) {
    *error = submission.path + ": " + std::strerror(errno);
    return false;
  }
  copy_sources_at(dir, folder, "", 0, &budget, sources);
  close(dir);
  return true;
}

void copy_tree_at(int dir, const std::string& name, const std::string& to, Budget* budget,
                  const std::string& prefix, std::vector<FileEntry>* listed, long* left_out) {
  int sub = openat(dir, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (sub < 0) return;
  std::filesystem::create_directories(to);
  const int depth = static_cast<int>(std::count(prefix.begin(), prefix.end(), '/'));
  for (const std::string& entry : entries_of(sub)) {
    struct stat info;
    if (fstatat(sub, entry.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISDIR(info.st_mode) && depth < 8) {
      copy_tree_at(sub, entry, to + "/" + entry, budget, prefix + entry + "/", listed, left_out);
      continue;
    }
    if (budget->files <= 0) {
      ++*left_out;
      continue;
    }
    --budget->files;
    FileEntry file{prefix + entry, static_cast<long long>(info.st_size), false};
    int fd = -1;
    if (S_ISREG(info.st_mode) && info.st_size <= budget->bytes)
      fd = open_regular(sub, entry, &info);
    if (fd >= 0 && copy_fd(fd, to + "/" + entry, budget->bytes, 0644)) {
      budget->bytes -= info.st_size;
      file.kept = true;
    }
    if (fd >= 0) close(fd);
    listed->push_back(file);
  }
  close(sub);
}

bool copy_file_at(int dir, const std::string& name, const std::string& to, long long limit) {
  struct stat info;
  int fd = open_regular(dir, name, &info);
  if (fd < 0) return false;
  bool copied = info.st_size <= limit && copy_fd(fd, to, limit, 0644);
  close(fd);
  if (!copied) unlink(to.c_str());
  return copied;
}

}  // namespace check
