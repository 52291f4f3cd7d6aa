#include "model/engine/stategrid.h"

#include <algorithm>

#include "model/engine/bitmix.h"
#include "model/engine/cellstep.h"
#include "model/engine/randombits.h"

StateGrid::StateGrid(const Topology &shape)
    : shape(shape)
    , width(shape.width())
    , height(shape.height())
    , cells(static_cast<std::size_t>(width * height), 0)
{
}

std::optional<CellRect> StateGrid::inside(const CellRect &area) const
{
    return area.intersected(CellRect { 0, 0, width - 1, height - 1 });
}

void StateGrid::fill(const CellRect &area, std::uint8_t state)
{
    if (const std::optional<CellRect> cut = inside(area)) {
        for (std::int64_t y = cut->top; y <= cut->bottom; ++y)
            std::fill(cells.begin() + index(cut->left, y), cells.begin() + index(cut->right, y) + 1, state);
    }
}

void StateGrid::clearOutside(const CellRect &area)
{
    const std::optional<CellRect> cut = inside(area);
    if (!cut) {
        std::fill(cells.begin(), cells.end(), 0);
        return;
    }
    std::fill(cells.begin(), cells.begin() + index(0, cut->top), 0);
    std::fill(cells.begin() + index(0, cut->bottom) + width, cells.end(), 0);
    for (std::int64_t y = cut->top; y <= cut->bottom; ++y) {
        std::fill(cells.begin() + index(0, y), cells.begin() + index(cut->left, y), 0);
        std::fill(cells.begin() + index(cut->right, y) + 1, cells.begin() + index(0, y) + width, 0);
    }
}

void StateGrid::fillRandom(const CellRect &area, double density, std::uint64_t seed)
{
    const std::optional<CellRect> cut = inside(area);
    if (!cut)
        return;
    RandomBits bits(density, seed);
    for (std::int64_t y = cut->top; y <= cut->bottom; ++y) {
        for (std::int64_t x = cut->left; x <= cut->right; x += 64) {
            const std::uint64_t word = bits.next();
            for (std::int64_t i = 0; i < 64 && x + i <= cut->right; ++i)
                cells[index(x + i, y)] = static_cast<std::uint8_t>((word >> i) & 1U);
        }
    }
}

void StateGrid::forEachCell(
    const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y, std::uint8_t state)> &visit) const
{
    const std::optional<CellRect> cut = inside(area);
    if (!cut)
        return;
    for (std::int64_t y = cut->top; y <= cut->bottom; ++y) {
        for (std::int64_t x = cut->left; x <= cut->right; ++x) {
            if (const std::uint8_t state = cells[index(x, y)])
                visit(x, y, state);
        }
    }
}

std::uint64_t StateGrid::population() const
{
    return static_cast<std::uint64_t>(
        cells.size() - static_cast<std::size_t>(std::count(cells.begin(), cells.end(), 0)));
}

std::optional<CellRect> StateGrid::boundingBox() const
{
    std::optional<CellRect> box;
    for (std::int64_t y = 0; y < height; ++y) {
        const auto row = cells.begin() + index(0, y);
        const auto first = std::find_if(row, row + width, [](std::uint8_t state) { return state != 0; });
        if (first == row + width)
            continue;
        const auto last = std::find_if(std::make_reverse_iterator(row + width), std::make_reverse_iterator(row),
            [](std::uint8_t state) { return state != 0; });
        const std::int64_t left = first - row;
        const std::int64_t right = last.base() - row - 1;
        if (!box)
            box = CellRect { left, y, right, y };
        box->left = std::min(box->left, left);
        box->right = std::max(box->right, right);
        box->bottom = y;
    }
    return box;
}

void StateGrid::render(
    const CellRect &area, int shift, std::uint8_t *pixels, int columns, int rows, std::ptrdiff_t stride) const
{
    for (int row = 0; row < rows; ++row)
        std::fill(pixels + row * stride, pixels + row * stride + columns, 0);
    if (columns <= 0 || rows <= 0)
        return;
    // The cells the pixels cover, at most 2^62 past area's top-left corner.
    const auto reach = [shift](std::int64_t from, int count) {
        const std::uint64_t pixels = static_cast<std::uint64_t>(count);
        const std::uint64_t span
            = pixels == 0 || 64 - __builtin_clzll(pixels) + shift <= 63 ? (pixels << shift) - 1 : UINT64_MAX;
        // Unsigned, so that a `from` below 0 cannot overflow.
        const std::uint64_t room = static_cast<std::uint64_t>(INT64_MAX) - static_cast<std::uint64_t>(from);
        return span > room ? INT64_MAX : static_cast<std::int64_t>(static_cast<std::uint64_t>(from) + span);
    };
    const CellRect covered { area.left, area.top, reach(area.left, columns), reach(area.top, rows) };
    forEachCell(covered, [&](std::int64_t x, std::int64_t y, std::uint8_t state) {
        std::uint8_t &pixel = pixels[((y - area.top) >> shift) * stride + ((x - area.left) >> shift)];
        pixel = pixel == 0 ? state : std::min(pixel, state);
    });
}

void StateGrid::fillBorder(std::vector<std::uint8_t> &live) const
{
    const std::int64_t paddedWidth = width + 2;
    const auto at = [&](std::int64_t x, std::int64_t y) -> std::uint8_t & {
        return live[static_cast<std::size_t>((y + 1) * paddedWidth + x + 1)];
    };
    const auto past = [&](std::int64_t x, std::int64_t y) -> std::uint8_t {
        const std::optional<CellPoint> cell = shape.wrap(x, y);
        return cell ? at(cell->x, cell->y) : 0;
    };
    for (std::int64_t x = -1; x <= width; ++x) {
        at(x, -1) = past(x, -1);
        at(x, height) = past(x, height);
    }
    for (std::int64_t y = 0; y < height; ++y) {
        at(-1, y) = past(-1, y);
        at(width, y) = past(width, y);
    }
}

bool StateGrid::step(const Rule &rule)
{
    const CellStep cell(rule);
    const std::int64_t paddedWidth = width + 2;
    std::vector<std::uint8_t> live(static_cast<std::size_t>(paddedWidth * (height + 2)));
    std::vector<std::uint8_t> next(cells.size());
    for (std::int64_t y = 0; y < height; ++y) {
        for (std::int64_t x = 0; x < width; ++x)
            live[static_cast<std::size_t>((y + 1) * paddedWidth + x + 1)] = cell.live(cells[index(x, y)]);
    }
    fillBorder(live);

    bool changed = false;
    for (std::int64_t y = 0; y < height; ++y) {
        const std::uint8_t *above = live.data() + y * paddedWidth;
        const std::uint8_t *middle = above + paddedWidth;
        const std::uint8_t *below = middle + paddedWidth;
        for (std::int64_t x = 0; x < width; ++x) {
            const std::uint8_t now = cells[index(x, y)];
            const std::uint8_t then = cell.next(now, CellStep::neighbours(above + x, middle + x, below + x));
            next[index(x, y)] = then;
            changed |= then != now;
        }
    }
    cells.swap(next);
    return changed;
}

std::uint64_t StateGrid::hash(std::uint64_t seed) const
{
    constexpr std::uint64_t Multiplier = 0x9E3779B97F4A7C15ULL;
    std::uint64_t digest = BitMix::finalise(seed);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cells[i] != 0) {
            const std::uint64_t mixed = (digest ^ ((static_cast<std::uint64_t>(i) << 8) | cells[i])) * Multiplier;
            digest = mixed ^ (mixed >> 32);
        }
    }
    return BitMix::finalise(digest);
}
