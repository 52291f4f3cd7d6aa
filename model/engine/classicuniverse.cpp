#include "model/engine/classicuniverse.h"

#include <optional>
#include <stdexcept>
#include <string>

namespace
{

constexpr int N = GameField::FieldSize;
// Generations a live universe runs between two looks at whether its field is still.
constexpr std::uint64_t StillCheckInterval = 64;
// Tells the classic field's digests from those of a 120 x 120 plane.
constexpr std::uint64_t HashSeed = 0xC1A551C;

} // namespace

ClassicUniverse::ClassicUniverse()
    : live(std::make_unique<GameField>())
{
}

ClassicUniverse::ClassicUniverse(const PackedField &cells, const Rule &rule)
    : packed(cells)
{
    setRule(rule);
}

GameField &ClassicUniverse::field()
{
    if (!live)
        throw std::logic_error("a packed classic universe has no GameField");
    return *live;
}

PackedField ClassicUniverse::cells() const
{
    if (!live)
        return packed;
    PackedField cells;
    for (int r = 1; r <= N; ++r) {
        for (int c = 1; c <= N; ++c) {
            if (live->cell(r, c) == 1)
                cells.setAlive(r, c, true);
        }
    }
    return cells;
}

void ClassicUniverse::assign(const ClassicUniverse &other)
{
    const PackedField otherCells = other.cells();
    const Rule otherRule = other.rule();
    if (!live) {
        packed = otherCells;
        packedRule = otherRule;
        return;
    }
    for (int r = 1; r <= N; ++r) {
        for (int c = 1; c <= N; ++c)
            live->setCell(r, c, otherCells.isAlive(r, c) ? 1 : 0);
    }
    live->setRule(otherRule);
}

PackedRows ClassicUniverse::words(std::optional<PackedField> &scratch) const
{
    if (!live)
        return PackedRows(packed.data(), N, N);
    scratch = cells();
    return PackedRows(scratch->data(), N, N);
}

void ClassicUniverse::randomize() { field().randomize(); }

std::unique_ptr<Universe> ClassicUniverse::clone() const { return std::make_unique<ClassicUniverse>(cells(), rule()); }

void ClassicUniverse::setRule(const Rule &rule)
{
    if (!rule.isLifeLike())
        throw UniverseError("the classic field runs only Life-like rules (two states, the eight neighbours, counts "
                            "alone), not the "
            + rule.family() + " " + rule.toString() + "; run it in a bounded plane or a torus");
    if (live)
        live->setRule(rule);
    else
        packedRule = rule;
}

bool ClassicUniverse::cell(std::int64_t x, std::int64_t y) const
{
    if (x < 0 || y < 0 || x >= N || y >= N)
        return false;
    const int row = static_cast<int>(y) + 1;
    const int column = static_cast<int>(x) + 1;
    return live ? live->cell(row, column) == 1 : packed.isAlive(row, column);
}

void ClassicUniverse::setCell(std::int64_t x, std::int64_t y, bool alive)
{
    if (x < 0 || y < 0 || x >= N || y >= N)
        throw std::out_of_range(
            "cell " + std::to_string(x) + " " + std::to_string(y) + " lies outside the classic field");
    const int row = static_cast<int>(y) + 1;
    const int column = static_cast<int>(x) + 1;
    if (live)
        live->setCell(row, column, alive ? 1 : 0);
    else
        packed.setAlive(row, column, alive);
}

void ClassicUniverse::clear()
{
    if (live)
        live->clear();
    else
        packed = PackedField();
}

void ClassicUniverse::forEachLiveCell(
    const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const
{
    std::optional<PackedField> scratch;
    words(scratch).forEachLiveCell(area, visit);
}

std::uint64_t ClassicUniverse::population() const
{
    return static_cast<std::uint64_t>(live ? live->liveCellCount() : packed.population());
}

std::optional<CellRect> ClassicUniverse::boundingBox() const
{
    std::optional<PackedField> scratch;
    return words(scratch).boundingBox();
}

void ClassicUniverse::render(
    const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows, std::ptrdiff_t stride) const
{
    std::optional<PackedField> scratch;
    words(scratch).render(area, shift, pixels, columns, rows, stride);
}

void ClassicUniverse::advance(std::uint64_t generations)
{
    if (!live) {
        for (std::uint64_t i = 0; i < generations; ++i) {
            const PackedField next = packed.next(packedRule);
            if (next == packed)
                return;
            packed = next;
        }
        return;
    }
    for (std::uint64_t i = 1; i <= generations; ++i) {
        live->nextGeneration();
        if (i % StillCheckInterval == 0 && i < generations) {
            const PackedField now = cells();
            if (now.next(live->rule()) == now)
                return;
        }
    }
}

std::uint64_t ClassicUniverse::hash() const
{
    std::optional<PackedField> scratch;
    return words(scratch).hash(HashSeed);
}

bool ClassicUniverse::equals(const Universe &other) const
{
    if (other.topology() != Topology::classic())
        return false;
    if (const auto *classic = dynamic_cast<const ClassicUniverse *>(&other))
        return cells() == classic->cells();
    return equalsShifted(other, 0, 0);
}
