#include "ui/pure/Orvex_SortState.h"

namespace orvex {

int SortColumn = -1;
bool SortDescending = false;

void ChooseSortColumn(int column) noexcept {
    if (column == SortColumn) {
        SortDescending = !SortDescending;
    } else {
        SortColumn = column;
        SortDescending = false;
    }
}

int ApplySortDirection(int result) noexcept { return SortDescending ? -result : result; }

void ResetSortState() noexcept {
    SortColumn = -1;
    SortDescending = false;
}

}  // namespace orvex
