#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "engine/pure/OXI_ItemOrder.h"

namespace {

// The depth of the binary tree that a compound file without rebalancing
// builds from the item names inserted in Order: names ordered by length
// first, then by their characters (decimal digits here).
std::size_t UnbalancedTreeDepth(const std::vector<std::size_t>& order) {
    struct TNode {
        std::string name;
        std::unique_ptr<TNode> left, right;
    };
    const auto less = [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    };
    std::unique_ptr<TNode> root;
    std::size_t deepest = 0;
    for (std::size_t index : order) {
        const std::string name = std::to_string(index);
        std::unique_ptr<TNode>* at = &root;
        std::size_t depth = 1;
        while (*at) {
            at = less(name, (*at)->name) ? &(*at)->left : &(*at)->right;
            ++depth;
        }
        *at = std::make_unique<TNode>();
        (*at)->name = name;
        deepest = std::max(deepest, depth);
    }
    // Torn down iteratively: a chain of thousands would overflow the stack.
    std::vector<std::unique_ptr<TNode>> pending;
    pending.push_back(std::move(root));
    while (!pending.empty()) {
        std::unique_ptr<TNode> node = std::move(pending.back());
        pending.pop_back();
        if (!node) continue;
        pending.push_back(std::move(node->left));
        pending.push_back(std::move(node->right));
    }
    return deepest;
}

TEST(ItemOrder, EveryIndexOnceForCountsAroundEachLengthOfName) {
    for (std::size_t count : {0u, 1u, 2u, 9u, 10u, 11u, 99u, 100u, 101u, 1000u, 9999u, 10000u}) {
        std::vector<std::size_t> order = orvex::ItemCreationOrder(count);
        ASSERT_EQ(order.size(), count);
        std::sort(order.begin(), order.end());
        for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(order[i], i) << "count " << count;
    }
}

TEST(ItemOrder, ShorterNamesComeFirstAndEachLengthStartsInItsMiddle) {
    const std::vector<std::size_t> order = orvex::ItemCreationOrder(250);
    ASSERT_EQ(order.size(), 250u);
    EXPECT_EQ(order[0], 5u);
    EXPECT_EQ(order[10], 55u);
    EXPECT_EQ(order[100], 175u);
    for (std::size_t i = 1; i < order.size(); ++i)
        EXPECT_LE(std::to_string(order[i - 1]).size(), std::to_string(order[i]).size()) << "at " << i;
}

TEST(ItemOrder, KeepsAnUnbalancedTreeShallowWhereIndexOrderMakesAChain) {
    std::vector<std::size_t> indexOrder(2000);
    for (std::size_t i = 0; i < indexOrder.size(); ++i) indexOrder[i] = i;
    EXPECT_GE(UnbalancedTreeDepth(indexOrder), 1000u);
    // 10, 90, 900, 9000 and 1 names of the five lengths: depth 4 + 7 + 10 +
    // 14 + 1 at most along the right edges that join them.
    EXPECT_LE(UnbalancedTreeDepth(orvex::ItemCreationOrder(10000)), 36u);
    EXPECT_LE(UnbalancedTreeDepth(orvex::ItemCreationOrder(2000)), 31u);
}

}  // namespace
