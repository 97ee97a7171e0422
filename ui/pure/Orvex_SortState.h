// The one sort state that every sortable list of the program shares: the
// column last chosen and the direction. Choosing a column in one list changes
// how every other sortable list sorts and tints from then on.
#pragma once

namespace orvex {

// Index of the column last chosen for sorting: 0 the item caption, k >= 1
// sub-item k, -1 none yet.
extern int SortColumn;
// When true every comparison result is negated.
extern bool SortDescending;

// A click on the header of Column: the same column again reverses the
// direction, another column becomes the sort column, ascending.
void ChooseSortColumn(int column) noexcept;

// A comparison result in the current direction.
int ApplySortDirection(int result) noexcept;

// Back to the start-up state (-1, ascending); for tests only, the program
// never resets the state.
void ResetSortState() noexcept;

}  // namespace orvex
