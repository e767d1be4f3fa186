#pragma once
// The grid's questions and import errors in Simplified Chinese, as the editor shows them: its
// records are questions of the bank.
namespace qv::bankedit {

// Replaces the grid's texts (GridTexts()); run once at start, before the first grid.
void UseChineseGridTexts();

} // namespace qv::bankedit
