#include "model/analysis/disjointsets.h"

#include <algorithm>
#include <numeric>

DisjointSets::DisjointSets(std::size_t size)
    : parents(size)
{
    std::iota(parents.begin(), parents.end(), std::size_t(0));
}

std::size_t DisjointSets::find(std::size_t item)
{
    while (parents[item] != item) {
        parents[item] = parents[parents[item]];
        item = parents[item];
    }
    return item;
}

bool DisjointSets::join(std::size_t a, std::size_t b)
{
    a = find(a);
    b = find(b);
    if (a == b)
        return false;
    parents[std::max(a, b)] = std::min(a, b);
    return true;
}

std::vector<std::vector<std::size_t>> DisjointSets::groups(std::size_t smallest)
{
    // A group's least item comes first among its items: it opens the group.
    std::vector<std::vector<std::size_t>> all;
    std::vector<std::size_t> groupOf(parents.size(), 0);
    for (std::size_t i = 0; i < parents.size(); ++i) {
        const std::size_t root = find(i);
        if (root == i) {
            groupOf[i] = all.size();
            all.emplace_back();
        }
        all[groupOf[root]].push_back(i);
    }
    all.erase(std::remove_if(all.begin(), all.end(),
                  [smallest](const std::vector<std::size_t> &group) { return group.size() < smallest; }),
        all.end());
    return all;
}
