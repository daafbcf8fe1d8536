// The checker's parts that need no sandbox: comparing pictures, the reports' text and their
// reading back, and finding and copying submissions as courses hand them out.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "compare.h"
#include "files.h"
#include "report.h"

namespace {

namespace fs = std::filesystem;
using namespace check;

Picture plain(int width, int height, uint32_t colour) {
  return {width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, colour)};
}

TEST(Compare, CountsDifferingPixelsOutsideMasksAndTheirBounds) {
  Picture model = plain(20, 10, 0xFFFFFF);
  Picture student = model;
  for (int x = 2; x < 6; ++x) student.pixels[3 * 20 + x] = 0xFF0000;  // a name, masked below
  student.pixels[8 * 20 + 15] = 0x000000;
  Comparison all = compare(model, student, {});
  EXPECT_EQ(all.differing, 5);
  EXPECT_EQ(all.bounds.left, 2);
  EXPECT_EQ(all.bounds.top, 3);
  EXPECT_EQ(all.bounds.width, 14);
  EXPECT_EQ(all.bounds.height, 6);
  EXPECT_EQ(compare(model, student, {{0, 0, 10, 5}}).differing, 1);
  // The top byte (alpha, as a PNG reader gives it) is not a colour.
  Picture opaque = model;
  for (uint32_t& p : opaque.pixels) p |= 0xFF000000;
  EXPECT_EQ(compare(model, opaque, {}).differing, 0);
}

TEST(Compare, APictureOfAnotherSizeDiffersByWhatOnlyOneHas) {
  Comparison c = compare(plain(10, 10, 0), plain(12, 10, 0), {});
  EXPECT_FALSE(c.same_size);
  EXPECT_EQ(c.differing, 20);
  Picture diff = difference_picture(plain(10, 10, 0), plain(12, 10, 0), {}, true);
  EXPECT_EQ(diff.width, 3 * 12 + 16);
  EXPECT_EQ(diff.pixels[(5 * diff.width) + 2 * 20 + 11], 0xFF00FFu);  // differing: magenta
  EXPECT_EQ(diff.pixels[(5 * diff.width) + 20 + 0], 0xFF8C00u);       // framed: last shown
}

TEST(Report, TextIsValidUtf8WithoutControlCharacters) {
  EXPECT_EQ(clean_text("caf\xC3\xA9 \xE2\x9C\x93\n\ttab"), "caf\xC3\xA9 \xE2\x9C\x93\n\ttab");
  const std::string bad = "\xEF\xBF\xBD";
  EXPECT_EQ(clean_text("a\x01"
                       "b\x7F"),
            "a" + bad + "b" + bad);
  EXPECT_EQ(clean_text("\xFF\xC0\xAF"), bad + bad + bad);  // invalid, overlong
  EXPECT_EQ(clean_text("\xED\xA0\x80"), bad + bad + bad);  // a UTF-16 surrogate
  EXPECT_EQ(clean_text("\xE2\x9C"), bad + bad);            // cut short
  EXPECT_EQ(clean_text("\xC2\x85"), bad);                  // a C1 control character
}

TEST(Report, JsonReadsBackWhatWasWrittenAndRefusesAnIdOutsideTheReport) {
  Report report;
  report.checker = "vorla-check test";
  report.script = "house \"1\".scr";
  report.expected = "model.png";
  report.ticks = 7;
  report.masks = {{1, 2, 3, 4}};
  report.shard = 2;
  report.shards = 3;
  report.class_size = 9;
  Record r;
  r.name = "Zoë \"z\" O'Neil";
  r.id = "Zo__z__O_Neil";
  r.verdict = Verdict::crashed;
  r.reason = "crashed: SIGSEGV\nline two\\";
  r.pixels = 12;
  r.last_shown = true;
  r.picture = "students/x/picture.png";
  r.signal = "SIGSEGV (segmentation fault)";
  r.files = {{"VORLA.SCR", 40, true}, {"big.bin", 1 << 30, false}};
  r.files_left_out = 3;
  r.sources = {"a.c", "sub/b.c"};
  r.stdout_bytes = 10485760;
  report.students = {r};
  const std::string path = fs::temp_directory_path() / ("report-" + std::to_string(getpid()));
  ASSERT_TRUE(write_json(report, path));
  Report back;
  std::string error;
  ASSERT_TRUE(read_json(path, &back, &error)) << error;
  ASSERT_EQ(back.students.size(), 1u);
  const Record& b = back.students[0];
  EXPECT_EQ(back.script, report.script);
  EXPECT_EQ(back.shard, 2);
  EXPECT_EQ(back.masks[0].height, 4);
  EXPECT_EQ(b.name, r.name);
  EXPECT_EQ(b.reason, r.reason);
  EXPECT_EQ(b.verdict, Verdict::crashed);
  EXPECT_EQ(b.exit_status, -1);
  EXPECT_TRUE(b.last_shown);
  EXPECT_EQ(b.files[1].bytes, 1 << 30);
  EXPECT_FALSE(b.files[1].kept);
  EXPECT_EQ(b.sources[1], "sub/b.c");
  EXPECT_EQ(b.stdout_bytes, 10485760);
  // Written again, the same text: nothing is lost or reordered on the way.
  ASSERT_TRUE(write_json(back, path + ".again"));
  std::ifstream one(path), two(path + ".again");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(one), {}),
            std::string(std::istreambuf_iterator<char>(two), {}));
  report.students[0].id = "../../etc";
  ASSERT_TRUE(write_json(report, path));
  EXPECT_FALSE(read_json(path, &back, &error));
  fs::remove(path);
  fs::remove(path + ".again");
}

class Class : public testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("class-test-" + std::to_string(getpid()));
    fs::create_directories(root_ / "class");
  }
  void TearDown() override { fs::remove_all(root_); }
  void file(const fs::path& path, const std::string& text = "int main(void) { return 0; }\n") {
    fs::create_directories((root_ / path).parent_path());
    std::ofstream(root_ / path) << text;
  }
  fs::path root_;
};

TEST_F(Class, SubmissionsAreFilesAndFoldersAndNothingElse) {
  std::vector<Submission> found;
  std::string error;
  EXPECT_FALSE(find_submissions((root_ / "class").string(), {}, &found, &error));
  EXPECT_NE(error.find("holds no submission"), std::string::npos);
  file("class/alice.c");
  file("class/alice/house.c");  // the same name as a file and as a folder
  file("class/bob.cpp");
  file("class/notes.txt");
  file("class/.hidden.c");
  file("class/checked/report.json");
  file("class/carol/readme.txt");  // a folder without a program is still a submission
  ASSERT_TRUE(find_submissions((root_ / "class").string(),
                               {fs::weakly_canonical(root_ / "class/checked").string()}, &found,
                               &error));
  std::vector<std::string> ids;
  for (const Submission& s : found) ids.push_back(s.id + (s.folder ? "/" : ""));
  EXPECT_EQ(ids, (std::vector<std::string>{"alice/", "alice-2", "bob", "carol/"}));
  // Slices: every submission in exactly one, whatever the count.
  for (int count = 1; count <= 5; ++count) {
    size_t total = 0;
    for (int index = 1; index <= count; ++index) total += slice(found, index, count).size();
    EXPECT_EQ(total, found.size());
  }
  EXPECT_EQ(slice(found, 2, 3)[0].id, "alice-2");
}

TEST_F(Class, CopiedSourcesKeepTheirFoldersButNoLinksOrArchiversLeftovers) {
  file("secret.c", "the teacher's");
  file("class/dan/main.c");
  file("class/dan/shapes/shapes.h", "void f(void);\n");
  file("class/dan/shapes/shapes.c", "void f(void) {}\n");
  file("class/dan/__MACOSX/._main.c", "\x00\x05\x16\x07");
  file("class/dan/notes.txt");
  fs::create_symlink(root_ / "secret.c", root_ / "class/dan/stolen.c");
  std::vector<Submission> found;
  std::string error;
  ASSERT_TRUE(find_submissions((root_ / "class").string(), {}, &found, &error));
  std::vector<std::string> sources;
  ASSERT_TRUE(copy_sources(found[0], (root_ / "copy").string(), &sources, &error)) << error;
  EXPECT_EQ(sources, (std::vector<std::string>{"main.c", "shapes/shapes.c"}));
  EXPECT_TRUE(fs::exists(root_ / "copy/shapes/shapes.h"));
  EXPECT_FALSE(fs::exists(root_ / "copy/stolen.c"));
  EXPECT_FALSE(fs::exists(root_ / "copy/__MACOSX"));
  EXPECT_FALSE(fs::exists(root_ / "copy/notes.txt"));
}

TEST_F(Class, ALastPictureFileReadsOnlyWhenWhole) {
  file("last.ppm", std::string("P6\n2 1\n255\n") + std::string("\xFF\0\0\0\0\xFF", 6));
  Picture picture;
  std::string error;
  ASSERT_TRUE(picture::read_ppm((root_ / "last.ppm").string(), &picture, &error)) << error;
  EXPECT_EQ(picture.pixels, (std::vector<uint32_t>{0xFF0000, 0x0000FF}));
  file("cut.ppm", std::string("P6\n2 1\n255\n") + std::string("\xFF\0\0", 3));
  EXPECT_FALSE(picture::read_ppm((root_ / "cut.ppm").string(), &picture, &error));
}

}  // namespace
