#include "model/engine/gridseams.h"

GridSeams::GridSeams(const Topology &topology)
    : shape(topology)
    , way(topology.kind() == Topology::Kind::Plane                                ? Join::Dead
              : topology.kind() == Topology::Kind::Torus && topology.shift() == 0 ? Join::Opposite
                                                                                  : Join::Gathered)
    , height(topology.height())
    , rowWords(PackedRows::wordsPerRow(topology.width()))
    , lastBit(static_cast<int>((topology.width() - 1) % 64))
    , dead(static_cast<std::size_t>(rowWords), 0)
    , above { dead.data(), 0, 0 }
    , below { dead.data(), 0, 0 }
{
    if (way == Join::Gathered) {
        aboveWords.assign(dead.size(), 0);
        belowWords.assign(dead.size(), 0);
    }
}

void GridSeams::prepare(const Word *cells)
{
    if (way != Join::Gathered)
        return;
    above = gather(cells, -1, aboveWords);
    below = gather(cells, height, belowWords);
}

GridSeams::Word GridSeams::cellAt(const Word *cells, std::int64_t x, std::int64_t y) const
{
    const std::optional<CellPoint> inside = shape.wrap(x, y);
    if (!inside)
        return 0;
    return (cells[inside->y * rowWords + inside->x / 64] >> (inside->x % 64)) & 1U;
}

GridSeams::Row GridSeams::gather(const Word *cells, std::int64_t y, std::vector<Word> &words) const
{
    std::fill(words.begin(), words.end(), 0);
    for (std::int64_t x = 0; x < shape.width(); ++x)
        words[static_cast<std::size_t>(x / 64)] |= cellAt(cells, x, y) << (x % 64);
    return Row { words.data(), cellAt(cells, -1, y), cellAt(cells, shape.width(), y) << lastBit };
}
