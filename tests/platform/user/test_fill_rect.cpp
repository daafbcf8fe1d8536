// The system colours, their brushes, and FillRect, which paints with any brush without leaving
// it in the DC.
#include "base/handles.h"
#include "platform/gdi/test_canvas.h"

using namespace gdi_test;

TEST(UserFillRect, FillsWithTheBrushGivenAndKeepsTheSelectedOne) {
  Canvas canvas(6, 4);
  Tools tools(canvas.dc, 1, kRed, kGreen);
  HBRUSH blue = CreateSolidBrush(kBlue);
  RECT box{1, 1, 3, 4};
  EXPECT_NE(FillRect(canvas.dc, &box, blue), 0);
  // A system colour index plus one names that colour's brush.
  RECT corner{5, 0, 6, 1};
  EXPECT_NE(FillRect(canvas.dc, &corner, reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1)), 0);
  EXPECT_EQ(canvas.picture(), rows({".....?", ".BB...", ".BB...", ".BB..."}));
  EXPECT_EQ(canvas.at(5, 0), RGB(0, 0, 128));
  EXPECT_EQ(SelectObject(canvas.dc, tools.brush), tools.brush) << "still selected";
  DeleteObject(blue);
  EXPECT_EQ(FillRect(canvas.dc, &box, blue), 0) << "a deleted brush";
  EXPECT_EQ(FillRect(canvas.dc, nullptr, GetSysColorBrush(COLOR_MENU)), 0);
}

TEST(UserFillRect, SystemColourBrushesAreKeptAndOutlastDeleteObject) {
  const int brushes = platform::handle_live_count(platform::HandleKind::brush);
  EXPECT_EQ(GetSysColor(COLOR_MENU), RGB(192, 192, 192));
  EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), RGB(223, 223, 223));
  HBRUSH face = GetSysColorBrush(COLOR_3DFACE);
  ASSERT_NE(face, nullptr);
  EXPECT_TRUE(DeleteObject(face));
  EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), face);
  EXPECT_EQ(platform::handle_live_count(platform::HandleKind::brush), brushes)
      << "the system's brushes are not the program's to count";
  Canvas canvas(2, 2);
  RECT all{0, 0, 2, 2};
  EXPECT_NE(FillRect(canvas.dc, &all, face), 0);
  EXPECT_EQ(canvas.count(GetSysColor(COLOR_3DFACE)), 4);
  EXPECT_EQ(GetSysColorBrush(-1), nullptr);
  EXPECT_EQ(GetSysColor(200), 0u);
}
