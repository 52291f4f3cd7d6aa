#ifndef GRIDUNIVERSE_H
#define GRIDUNIVERSE_H

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "model/engine/gridcells.h"
#include "model/engine/gridseams.h"
#include "model/engine/packedrows.h"
#include "model/engine/stategrid.h"
#include "model/engine/universe.h"

// A bounded surface (plane, torus, Klein bottle, cross-surface or sphere) of
// any size up to Topology::MaxBoundedCells cells, one bit a cell in the rows
// PackedRows reads, stepped 64 cells a word by bit-sliced neighbour sums: a
// million cells take a small fraction of a millisecond a generation. In a
// plane everything beyond the edge is dead under every rule, birth on 0
// neighbours included; elsewhere the edges join as Topology describes, so
// that in a universe a cell or two wide the same neighbour is counted more
// than once, as its eight directions reach it.
// Rules other than Life-like ones run on a StateGrid of a byte a cell instead.
// Cells of two states given such a rule keep their bits, read as states 0
// and 1 alike, until a step or a state past 1 needs their bytes: a change of
// rule, and Stop bringing back a grid saved under Life, cost no pass over
// the cells, the first step pays for it, on whichever thread steps.
// Clones share the bits (GridCells), or the bytes (StateCells), until one of
// them changes: the one that changes copies them first, but for a step,
// which writes its generation into a buffer of its own anyway.
class GridUniverse : public Universe
{
public:
    // All cells dead. Throws std::invalid_argument unless `topology` is a
    // valid bounded surface other than the classic field, and std::bad_alloc when its cells (width *
    // height / 8 bytes) do not fit in memory.
    explicit GridUniverse(const Topology &topology, const Rule &rule = Rule());
    GridUniverse &operator=(const GridUniverse &) = delete;

    // Shares the cells, a Life-like rule's bits or the other rules' byte a cell.
    std::unique_ptr<Universe> clone() const override;
    // Works out what counting and drawing read of the cells as they are, for
    // this universe and every clone sharing them: population(), hash() and
    // boundingBox() and the overview render() draws from zoomed out. A pass over the cells
    // each: for a thread whose time costs the window nothing. Safe while
    // another thread reads a clone.
    void summarise() const;

    Topology topology() const override { return shape; }
    const Rule &rule() const override { return currentRule; }
    // Every rule runs: throws only UniverseError when there is no memory for
    // the cells kept another way (a byte a cell beyond Life-like rules,
    // made here only for states past 1). A cell keeps its state where the
    // new rule has it; otherwise it stays alive if it counted as alive, else dies.
    void setRule(const Rule &rule) override;

    bool cell(std::int64_t x, std::int64_t y) const override
    {
        return multi ? multi->state(x, y) != 0 : cells().cell(x, y);
    }
    // Throws std::out_of_range for a cell outside the universe.
    void setCell(std::int64_t x, std::int64_t y, bool alive) override;
    std::uint8_t state(std::int64_t x, std::int64_t y) const override
    {
        return multi ? multi->state(x, y) : cells().cell(x, y) ? 1 : 0;
    }
    // Throws std::out_of_range for a cell outside the universe, and
    // UniverseError without the memory for the bytes a state past 1 needs.
    void setState(std::int64_t x, std::int64_t y, std::uint8_t state) override;
    void clear() override;
    // A word of 64 cells at a time.
    void clearInside(const CellRect &area) override;
    void clearOutside(const CellRect &area) override;
    void fillRandom(const CellRect &area, double density, std::uint64_t seed) override;

    void forEachLiveCell(
        const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const override;
    void forEachCell(const CellRect &area,
        const std::function<void(std::int64_t x, std::int64_t y, std::uint8_t state)> &visit) const override;
    std::uint64_t population() const override { return multi ? multi->population() : packed->population(); }
    std::optional<CellRect> boundingBox() const override
    {
        return multi ? multi->boundingBox() : packed->boundingBox();
    }
    void render(const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows,
        std::ptrdiff_t stride) const override;

    // One generation at a time, but none for an all-dead universe under a
    // rule without birth on 0, and none once a generation equals the one
    // before. Throws UniverseError, changing nothing, when there is no memory
    // for the generation being computed (as much again as the cells).
    void advance(std::uint64_t generations) override;
    // advance() unless `interrupt` is raised first: then false, the universe
    // as it was. A Life-like rule's step looks at it every few hundred rows,
    // any other rule's only before the first generation.
    bool advanceUnless(std::uint64_t generations, const std::atomic<bool> &interrupt);

    std::uint64_t hash() const override;
    bool equals(const Universe &other) const override;

private:
    using Word = PackedRows::Word;

    // For clone(): the cells and rule only.
    GridUniverse(const GridUniverse &other);

    PackedRows cells() const { return packed->rows(); }
    // Gives bits kept under a rule that is not Life-like their byte a cell,
    // as `multi`. Throws UniverseError without the memory.
    void unpack();
    // Whether the cells are kept as bytes, `multi`, once bits under a rule
    // that is not Life-like were unpacked where `needed`. Throws as unpack().
    bool inBytes(bool needed);
    // The bits to change, copied first if a clone shares them.
    Word *changeCells();
    std::uint64_t hashSeed() const;
    // `area` cut to the universe; none when they share no cell.
    std::optional<CellRect> inside(const CellRect &area) const;
    // Sets each word holding cells of `area` to change(word, mask), mask
    // holding the word's cells inside `area`. Precondition: `area` lies inside.
    template <typename Change> void changeWords(const CellRect &area, Change change);
    bool advanceUnless(std::uint64_t generations, const std::atomic<bool> *interrupt);
    // Computes the next generation into `next` and puts it in, `next` then
    // the buffer of the generation before if no clone shares it, else empty;
    // sets whether any cell changed. False, nothing changed, once `interrupt`
    // (if given) is raised. Precondition: `next` and `sums` are sized.
    bool step(const std::atomic<bool> *interrupt, bool &changed);

    // Throws std::out_of_range unless (x, y) lies inside.
    void checkInside(std::int64_t x, std::int64_t y) const;

    Topology shape;
    Rule currentRule;
    GridSeams seams; // the cells past the edges, gathered anew for each step
    std::optional<StateGrid> multi; // the cells a byte each, under a rule not Life-like only; `packed` is then null
    std::shared_ptr<GridCells> packed; // the cells, as PackedRows reads them, shared with clones
    GridCells::Words next; // the generation being computed: empty until a step needs it, never copied
    std::vector<Word> sums; // sums of three rows, for step(); as `next`
};

#endif // GRIDUNIVERSE_H
