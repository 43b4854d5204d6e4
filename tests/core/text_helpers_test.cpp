#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/grid_indices.h"
#include "core/text_helpers.h"

namespace {

TEST(GetLowerExtension, Cases) {
  const std::pair<zkw_string, zkw_string> cases[] = {
      {u"C:\\Pictures\\Sky.PNG", u".png"},
      {u"C:\\my.folder\\readme", u".folder\\readme"},  // the search passes separators
      {u"noextension", u""},
      {u"name.", u"."},
      {u".vqe", u".vqe"},
      {u"Project.VqE", u".vqe"},
      {u"", u""},
      {u"\u00C4.\u00C4B", u".\u00C4b"},  // only A to Z are lowered
  };
  for (const auto& [path, expected] : cases) {
    EXPECT_EQ(GetLowerExtension(path), expected) << ToUtf8(path);
  }
}

TEST(FormatWString, FormatsAnyLengthAndFailsQuietly) {
  zkw_string out = u"old";
  FormatWString(out, nullptr);
  EXPECT_EQ(out, u"");
  FormatWString(out, L"%d-%ls %.1f", 42, L"Zwölf", 1.25);
  EXPECT_EQ(out, u"42-Zw\u00F6lf 1.2");
  const std::wstring longText(5000, L'x');
  FormatWString(out, L"[%ls]", longText.c_str());
  EXPECT_EQ(out.size(), 5002u);
  FormatWString(out, L"%ls", L"\U0001F600");
  EXPECT_EQ(out, u"\U0001F600") << "characters beyond the basic plane become surrogate pairs";
  FormatWString(out, L"");
  EXPECT_EQ(out, u"");
}

TEST(Utf8ToWString, ConvertsAndRejectsInvalidText) {
  EXPECT_EQ(Utf8ToWString("ZKW_VGeom2D_Rect"), u"ZKW_VGeom2D_Rect");
  EXPECT_EQ(Utf8ToWString("\xF0\x9F\x98\x80"), u"\U0001F600");
  EXPECT_EQ(Utf8ToWString(nullptr), u"");
  EXPECT_THROW(Utf8ToWString("a\xFF"), std::range_error);
  EXPECT_THROW(Utf8ToWString("\xC0\x80"), std::range_error);
}

std::vector<uint16_t> Grid(uint32_t columns, uint32_t rows) {
  std::vector<uint16_t> out(GridIndexCount(columns, rows));
  EXPECT_TRUE(WriteGridIndices(columns, rows, out));
  return out;
}

TEST(GridIndices, TwoTrianglesPerCellRowByRow) {
  EXPECT_EQ(Grid(2, 2), (std::vector<uint16_t>{0, 1, 2, 2, 1, 3}));
  EXPECT_EQ(GridTriangleCount(2, 2), 2u);
  EXPECT_EQ(Grid(3, 2), (std::vector<uint16_t>{0, 1, 3, 3, 1, 4, 1, 2, 4, 4, 2, 5}));
  EXPECT_EQ(GridTriangleCount(3, 2), 4u);
  auto big = Grid(256, 256);
  EXPECT_EQ(big.size(), 6u * 255 * 255);
  EXPECT_EQ(big.back(), 65535);
}

TEST(GridIndices, GridsWithoutCellsOrBeyondSixteenBitsGiveNothing) {
  for (auto [columns, rows] :
       {std::pair{0u, 5u}, {1u, 5u}, {5u, 1u}, {257u, 256u}, {70000u, 70000u}}) {
    EXPECT_EQ(GridIndexCount(columns, rows), 0u) << columns << " x " << rows;
  }
  std::vector<uint16_t> small(5, 7);
  EXPECT_FALSE(WriteGridIndices(2, 2, small));
  EXPECT_EQ(small, std::vector<uint16_t>(5, 7));
}

}  // namespace
