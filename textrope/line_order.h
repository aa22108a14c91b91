#pragma once
// The orders Textrope::Sort puts its lines in. Each answers -1, 0 or 1; of two lines of
// different length the shorter compares as if filled with blanks, so "ab" equals "ab ".
#include "textrope/textrope.h"

namespace textrope {

// Sort type 1: both lines upper-cased.
int SortCaseInsensitive(const LinesGroupType& a, const LinesGroupType& b);
// Sort type 2: the bytes as they are.
int SortCaseSensitive(const LinesGroupType& a, const LinesGroupType& b);
// Sort type 4: the lengths without trailing blanks.
int SortLength(const LinesGroupType& a, const LinesGroupType& b);

}  // namespace textrope
