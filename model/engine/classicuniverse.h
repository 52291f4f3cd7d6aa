#ifndef CLASSICUNIVERSE_H
#define CLASSICUNIVERSE_H

#include <cstdint>
#include <memory>
#include <optional>

#include "model/engine/gamefield.h"
#include "model/engine/packedfield.h"
#include "model/engine/packedrows.h"
#include "model/engine/universe.h"

// The classic 120 x 120 field with its dead edge, as a universe; cell (x, y)
// is row y + 1, column x + 1 of a GameField. It comes in two kinds:
//
// - Live: the one world a run works on. Its cells are in a GameField of its
//   own, which the field editor and the view use directly, and every
//   generation is GameField::nextGeneration(), as it always was. It is made
//   once per run, and making its GameField seeds rand() then.
// - Packed: what clone() makes, for the undo steps and the run history. Its
//   cells are in a PackedField of 1,920 bytes beside its rule, with no
//   GameField: a thousand undo steps take 2 MiB and no clone reseeds rand().
//   It steps with PackedField::next(), GameField's generation bit for bit.
//
// Both read their cells in whole words through PackedRows; a live one packs
// its field for that first, as the editor may have changed it since.
class ClassicUniverse : public Universe
{
public:
    // A live universe, all dead, under Conway's Life. Makes its GameField,
    // which seeds rand(); throws std::bad_alloc when memory runs out.
    ClassicUniverse();
    // A packed universe holding `cells` under `rule`; throws UniverseError as setRule().
    explicit ClassicUniverse(const PackedField &cells, const Rule &rule = Rule());

    bool isLive() const { return live != nullptr; }
    // The field of a live universe, valid as long as the universe. Throws
    // std::logic_error for a packed one.
    GameField &field();
    // The cells, packed.
    PackedField cells() const;
    // Takes the cells and the rule of `other`; a live universe stays live
    // (its field's saved state stays too), a packed one stays packed.
    void assign(const ClassicUniverse &other);
    // Fills the field anew from rand(), as GameField::randomize() does.
    // Throws std::logic_error for a packed universe.
    void randomize();

    // A packed copy.
    std::unique_ptr<Universe> clone() const override;

    Topology topology() const override { return Topology::classic(); }
    const Rule &rule() const override { return live ? live->rule() : packedRule; }
    // Every Life-like rule runs: never throws.
    // Throws UniverseError for a rule that is not Life-like: the field has two states.
    void setRule(const Rule &rule) override;

    bool cell(std::int64_t x, std::int64_t y) const override;
    // Throws std::out_of_range for a cell outside 0..119.
    void setCell(std::int64_t x, std::int64_t y, bool alive) override;
    void clear() override;

    void forEachLiveCell(
        const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const override;
    std::uint64_t population() const override;
    std::optional<CellRect> boundingBox() const override;
    void render(const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows,
        std::ptrdiff_t stride) const override;

    // Stops early once a generation equals the one before: a packed universe
    // looks after every generation, a live one after every 64th.
    void advance(std::uint64_t generations) override;

    std::uint64_t hash() const override;
    bool equals(const Universe &other) const override;

private:
    // The cells as rows of words: a packed universe's own, or a live one's
    // packed into `scratch`, which must outlive the view.
    PackedRows words(std::optional<PackedField> &scratch) const;

    std::unique_ptr<GameField> live; // the cells of a live universe; null in a packed one
    PackedField packed; // the cells of a packed universe
    Rule packedRule; // the rule of a packed universe
};

#endif // CLASSICUNIVERSE_H
