// The table behind the live light view: the order of the bars, their text, the CSV line and
// the limit on plain lines.
#include <gtest/gtest.h>

#include <string>

#include "tools/common/LightBoard.h"

namespace {

std::string Bar(const LightEntry& e) {
    char text[96];
    LightBoard::FormatBar(e, text, sizeof text);
    return text;
}

TEST(LightBoard, KeepsOneEntryPerLightInDisplayGpuLightOrder) {
    LightBoard board;
    board.Update(1, 0, 0, 5);
    board.Update(0, 1, 1, 6);
    board.Update(0, 1, 0, 7);
    board.Update(0, 0, 1, 8);
    board.Update(0, 1, 0, 9);  // known light: updated in place
    ASSERT_EQ(board.Count(), 4);
    const unsigned expected[][4] = {{0, 0, 1, 8}, {0, 1, 0, 9}, {0, 1, 1, 6}, {1, 0, 0, 5}};
    for (int i = 0; i < 4; ++i) {
        const LightEntry& e = board.At(i);
        EXPECT_EQ(e.display, expected[i][0]) << i;
        EXPECT_EQ(e.gpu, expected[i][1]) << i;
        EXPECT_EQ(unsigned(e.attribute), expected[i][2]) << i;
        EXPECT_EQ(e.level, expected[i][3]) << i;
    }
}

TEST(LightBoard, AFullTableLeavesNewLightsOut) {
    LightBoard board;
    for (int i = 0; i < LightBoard::kCapacity; ++i) ASSERT_GE(board.Update(0, unsigned(i), 0, 1), 0);
    EXPECT_EQ(board.Update(9, 9, 1, 50), -1);
    EXPECT_EQ(board.Count(), LightBoard::kCapacity);
    EXPECT_GE(board.Update(0, 3, 0, 50), 0);  // known lights still update
}

TEST(LightBoard, BarShowsLevelAndTheFlashBeforeIt) {
    LightBoard board;
    board.Update(0, 0, 0, 70);
    board.Update(0, 0, 0, 17);  // the decayed value right after the level
    EXPECT_EQ(Bar(board.At(0)), "D0 G0 Logo  [###+++++++++++......]  17%");
    board.ResetPeaks();
    EXPECT_EQ(Bar(board.At(0)), "D0 G0 Logo  [###.................]  17%");

    struct Row { unsigned display, gpu; int attribute; unsigned level; const char* text; };
    const Row rows[] = {
        {0, 0, 1, 0, "D0 G0 SLI   [....................]   0%"},
        {2, 7, 1, 100, "D2 G7 SLI   [####################] 100%"},
        {0, 1, 0, 250, "D0 G1 Logo  [####################] 250%"},  // beyond 100: full bar, true number
        {1, 0, 2, 40, "D1 G0 Zones [########............]  40%"},
        {0, 0, 5, 50, "D0 G0 ?     [##########..........]  50%"},
    };
    for (const Row& r : rows) {
        const LightEntry e{r.display, r.gpu, r.attribute, r.level, r.level, 0, 0, false};
        EXPECT_EQ(Bar(e), r.text);
    }
}

TEST(LightBoard, CsvLineHasTheFiveFields) {
    char line[96];
    LightBoard::FormatCsv(123456789012LL, 1, 2, 1, 70, line, sizeof line);
    EXPECT_STREQ(line, "123456789012,1,2,1,70\n");
}

TEST(LightBoard, PlainLinesOnlyForChangesAndNotTooOften) {
    LightBoard board;
    const int i = board.Update(0, 0, 0, 70);
    EXPECT_TRUE(board.TakePlainLine(i, 0));    // first sight
    board.Update(0, 0, 0, 17);
    EXPECT_FALSE(board.TakePlainLine(i, 50));  // changed, but too soon
    EXPECT_TRUE(board.TakePlainLine(i, LightBoard::kPlainIntervalMs));
    EXPECT_FALSE(board.TakePlainLine(i, 10 * LightBoard::kPlainIntervalMs));  // no change since
    // At the end, only a light whose last change was held back is printed again.
    board.Update(0, 0, 0, 40);
    EXPECT_FALSE(board.TakePlainLine(i, LightBoard::kPlainIntervalMs + 1));
    const int other = board.Update(0, 0, 1, 5);
    EXPECT_TRUE(board.TakePlainLine(other, LightBoard::kPlainIntervalMs + 1));
    EXPECT_TRUE(board.TakePendingLine(board.Update(0, 0, 0, 40), 0));
    EXPECT_FALSE(board.TakePendingLine(board.Update(0, 0, 1, 5), 0));
}

}  // namespace
