// Painting read back from the window.
#include "GridFixture.h"

namespace qv {

using namespace qv::test;

TEST_F(GridTest, ExamGridShowsTheQuestionList) {
  Build(40);
  SaveWindowBmp(grid->Handle(), "grid-exam.bmp");
  EXPECT_EQ(grid->VisibleColumns().size(), 3u);
  EXPECT_EQ(grid->Row(), 1);
}

} // namespace qv
