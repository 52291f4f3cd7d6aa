#ifndef QUADTREE_H
#define QUADTREE_H

#include <cstddef>
#include <type_traits>

// What the universes over a node store (NodeStore for Life's rules,
// StateNodeStore for the others) do alike with its squares, whatever their
// cells: the store is a template parameter, so that each universe calls its
// own store's inline members directly.
namespace Quadtree
{

// Keeps the nodes an operation protects until it ends, however it ends: a
// collection during the operation spares them.
template <typename Store> class Protection
{
public:
    using Id = std::remove_const_t<decltype(Store::None)>;

    Protection()
        : mark(Store::instance().protectionMark())
    {
    }
    ~Protection() { Store::instance().release(mark); }
    Protection(const Protection &) = delete;
    Protection &operator=(const Protection &) = delete;

    static Id keep(Id id)
    {
        Store::instance().protect(id);
        return id;
    }

private:
    std::size_t mark;
};

// Whether every live cell of a square above the leaves' level lies in its
// middle square of half the side.
template <typename Store, typename Id> bool fitsCentre(const Store &nodes, Id square)
{
    static constexpr int outer[4][3] = { { 0, 1, 2 }, { 0, 1, 3 }, { 0, 2, 3 }, { 1, 2, 3 } };
    for (int q = 0; q < 4; ++q) {
        const Id child = nodes.quarter(square, q);
        for (const int grand : outer[q]) {
            if (!nodes.isEmpty(nodes.quarter(child, grand)))
                return false;
        }
    }
    return true;
}

} // namespace Quadtree

#endif // QUADTREE_H
