// Files of submissions and of sandboxes, read without trusting them: no symbolic link is
// followed, only regular files and folders are copied, and every copy has a budget.
#pragma once

#include <string>
#include <vector>

#include "report.h"

namespace check {

// One submission of a class: a C or C++ file, or a folder of a student's files.
struct Submission {
  std::string name;  // the file's or folder's name, as handed in
  std::string id;    // unique, safe as a file name
  std::string path;
  bool folder = false;
};

// The class folder's submissions by name: every .c and .cpp file, every folder; hidden entries,
// other files and the entries in `leave_out` (real paths) are not submissions.
bool find_submissions(const std::string& class_folder, const std::vector<std::string>& leave_out,
                      std::vector<Submission>* found, std::string* error);

// Slice `index` (from 1) of `count`: every count-th submission by name, from the index-th.
std::vector<Submission> slice(const std::vector<Submission>& all, int index, int count);

// Copies a submission's sources (C and C++ files and headers, in their folders) into `folder`
// and lists the C and C++ files to compile, relative to it. Links, hidden entries and the
// folders archivers add (__MACOSX) are left out.
bool copy_sources(const Submission& submission, const std::string& folder,
                  std::vector<std::string>* sources, std::string* error);

struct Budget {
  long files = 200;
  long long bytes = 64LL << 20;
};

// Copies the folder `name` of the folder `dir` (a descriptor) into `to`, as deep as 8 folders:
// lists every entry (paths under `prefix`) while the budget's count lasts, counting the others
// in `left_out`, and copies the regular files while its bytes last.
void copy_tree_at(int dir, const std::string& name, const std::string& to, Budget* budget,
                  const std::string& prefix, std::vector<FileEntry>* listed, long* left_out);

// Copies the regular file `name` of the folder `dir` to `to` when it is at most `limit` bytes
// long; false for anything else (missing, a link, too large).
bool copy_file_at(int dir, const std::string& name, const std::string& to, long long limit);

}  // namespace check
