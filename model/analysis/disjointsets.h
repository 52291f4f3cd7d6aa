#ifndef DISJOINTSETS_H
#define DISJOINTSETS_H

#include <cstddef>
#include <vector>

// Items 0..size-1 joined pair by pair into groups: the analysis groups cells
// into clusters and objects into what changes each other this way, and needs
// the groups in a fixed order, that of their least item.
class DisjointSets
{
public:
    explicit DisjointSets(std::size_t size);

    // The least item of the group `item` belongs to. Precondition: item < size.
    std::size_t find(std::size_t item);
    // Puts the groups of a and b together; false if they were together already.
    bool join(std::size_t a, std::size_t b);
    // Every group of at least `smallest` items, each in increasing order, the
    // groups in the order of their least item.
    std::vector<std::vector<std::size_t>> groups(std::size_t smallest = 1);

private:
    std::vector<std::size_t> parents; // of each item; a group's least item is its own parent
};

#endif // DISJOINTSETS_H
