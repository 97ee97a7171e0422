// The order in which the items of a report list are created.
#pragma once

#include <cstddef>
#include <vector>

namespace orvex {

// The indexes 0 .. Count-1, each once, in the order their item storages are
// created. Items are named by their index in decimal, and a compound file
// keeps the elements of a storage in a binary tree ordered by name, shorter
// names first. Windows balances that tree; Wine does not, so items created
// in index order make each length of name a chain that every look-up walks
// (a list of 10,000 items then takes minutes to write and seconds to read).
// Within each length of name this order gives the middle index first, then
// the middle of each half, and so on: the tree stays as deep as the sum of
// the logarithms of the lengths' counts. Windows is indifferent to the order.
std::vector<std::size_t> ItemCreationOrder(std::size_t count);

}  // namespace orvex
