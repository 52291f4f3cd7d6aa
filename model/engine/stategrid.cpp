#include "model/engine/stategrid.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "model/engine/cellstep.h"
#include "model/engine/randombits.h"

StateGrid::StateGrid(const Topology &shape)
    : shape(shape)
    , width(shape.width())
    , height(shape.height())
    , cells(std::make_shared<StateCells>(width, height, StateBytes(static_cast<std::size_t>(width * height), 0)))
{
}

StateGrid::StateGrid(const Topology &shape, StateBytes bytes)
    : shape(shape)
    , width(shape.width())
    , height(shape.height())
    , cells(std::make_shared<StateCells>(width, height, std::move(bytes)))
{
}

void StateGrid::remap(const std::uint8_t (&to)[256])
{
    int lowestChanged = 0;
    while (lowestChanged < 256 && to[lowestChanged] == lowestChanged)
        ++lowestChanged;
    const StateBytes &bytes = cells->bytes();
    if (lowestChanged == 256 || highest() < lowestChanged
        || std::all_of(bytes.begin(), bytes.end(), [&to](std::uint8_t state) { return to[state] == state; }))
        return;
    for (std::uint8_t &state : change())
        state = to[state];
}

int StateGrid::highest() const
{
    const StateBytes &bytes = cells->bytes();
    std::size_t at = 0;
    std::uint8_t found = 0;
#if defined(__SSE2__)
    // Sixteen cells an instruction, where a grid of a billion cells would
    // otherwise keep the window waiting for a change of rule.
    __m128i highs = _mm_setzero_si128();
    for (; at + 16 <= bytes.size(); at += 16)
        highs = _mm_max_epu8(highs, _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes.data() + at)));
    alignas(16) std::uint8_t lanes[16];
    _mm_store_si128(reinterpret_cast<__m128i *>(lanes), highs);
    found = *std::max_element(lanes, lanes + 16);
#endif
    for (; at < bytes.size(); ++at)
        found = std::max(found, bytes[at]);
    return found;
}

StateBytes &StateGrid::change()
{
    // Alone in holding them, no other thread can come to read them meanwhile.
    if (cells.use_count() > 1)
        cells = std::make_shared<StateCells>(width, height, cells->bytes());
    return cells->change();
}

std::optional<CellRect> StateGrid::inside(const CellRect &area) const
{
    return area.intersected(CellRect { 0, 0, width - 1, height - 1 });
}

void StateGrid::fill(const CellRect &area, std::uint8_t state)
{
    if (const std::optional<CellRect> cut = inside(area)) {
        StateBytes &bytes = change();
        for (std::int64_t y = cut->top; y <= cut->bottom; ++y)
            std::fill(bytes.begin() + index(cut->left, y), bytes.begin() + index(cut->right, y) + 1, state);
    }
}

void StateGrid::clearOutside(const CellRect &area)
{
    const std::optional<CellRect> cut = inside(area);
    StateBytes &bytes = change();
    if (!cut) {
        std::fill(bytes.begin(), bytes.end(), 0);
        return;
    }
    std::fill(bytes.begin(), bytes.begin() + index(0, cut->top), 0);
    std::fill(bytes.begin() + index(0, cut->bottom) + width, bytes.end(), 0);
    for (std::int64_t y = cut->top; y <= cut->bottom; ++y) {
        std::fill(bytes.begin() + index(0, y), bytes.begin() + index(cut->left, y), 0);
        std::fill(bytes.begin() + index(cut->right, y) + 1, bytes.begin() + index(0, y) + width, 0);
    }
}

void StateGrid::fillRandom(const CellRect &area, double density, std::uint64_t seed)
{
    const std::optional<CellRect> cut = inside(area);
    if (!cut)
        return;
    RandomBits bits(density, seed);
    StateBytes &bytes = change();
    for (std::int64_t y = cut->top; y <= cut->bottom; ++y) {
        for (std::int64_t x = cut->left; x <= cut->right; x += 64) {
            const std::uint64_t word = bits.next();
            for (std::int64_t i = 0; i < 64 && x + i <= cut->right; ++i)
                bytes[index(x + i, y)] = static_cast<std::uint8_t>((word >> i) & 1U);
        }
    }
}

void StateGrid::forEachCell(
    const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y, std::uint8_t state)> &visit) const
{
    const std::optional<CellRect> cut = inside(area);
    if (!cut)
        return;
    const StateBytes &bytes = cells->bytes();
    for (std::int64_t y = cut->top; y <= cut->bottom; ++y) {
        for (std::int64_t x = cut->left; x <= cut->right; ++x) {
            if (const std::uint8_t state = bytes[index(x, y)])
                visit(x, y, state);
        }
    }
}

void StateGrid::pack(bool odd, std::uint64_t *words, std::int64_t rowWords) const
{
    // Cell by cell, the cells from `left` up to `right`, right - left <= 64.
    const auto bitsOf = [odd](const std::uint8_t *row, std::int64_t left, std::int64_t right) {
        std::uint64_t bits = 0;
        for (std::int64_t x = left; x < right; ++x) {
            if (odd ? row[x] % 2 == 1 : row[x] == 1)
                bits |= std::uint64_t(1) << (x - left);
        }
        return bits;
    };
    const std::uint8_t *row = cells->bytes().data();
    for (std::int64_t y = 0; y < height; ++y, row += width, words += rowWords) {
        for (std::int64_t word = 0; word < rowWords; ++word) {
            const std::int64_t left = word * 64;
            if (left + 64 > width) {
                words[word] = bitsOf(row, left, width);
                continue;
            }
#if defined(__SSE2__)
            // Sixteen cells an instruction: a grid of a billion cells
            // converts in a fraction of a second, where the window may wait.
            std::uint64_t bits = 0;
            for (int part = 0; part < 4; ++part) {
                const __m128i states = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + left + 16 * part));
                // The high bit of each byte: set where it is 1, or odd.
                const __m128i high = odd ? _mm_slli_epi16(states, 7) : _mm_cmpeq_epi8(states, _mm_set1_epi8(1));
                bits |= std::uint64_t(static_cast<std::uint16_t>(_mm_movemask_epi8(high))) << (16 * part);
            }
            words[word] = bits;
#else
            words[word] = bitsOf(row, left, left + 64);
#endif
        }
    }
}

void StateGrid::fillBorder(StateBytes &live) const
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
    const StateBytes &bytes = cells->bytes();
    const std::int64_t paddedWidth = width + 2;
    StateBytes live(static_cast<std::size_t>(paddedWidth * (height + 2)));
    StateBytes next(bytes.size());
    for (std::int64_t y = 0; y < height; ++y) {
        for (std::int64_t x = 0; x < width; ++x)
            live[static_cast<std::size_t>((y + 1) * paddedWidth + x + 1)] = cell.live(bytes[index(x, y)]);
    }
    fillBorder(live);

    bool changed = false;
    for (std::int64_t y = 0; y < height; ++y) {
        const std::uint8_t *above = live.data() + y * paddedWidth;
        const std::uint8_t *middle = above + paddedWidth;
        const std::uint8_t *below = middle + paddedWidth;
        for (std::int64_t x = 0; x < width; ++x) {
            const std::uint8_t now = bytes[index(x, y)];
            const std::uint8_t then = cell.next(now, CellStep::neighbours(above + x, middle + x, below + x));
            next[index(x, y)] = then;
            changed |= then != now;
        }
    }
    cells = std::make_shared<StateCells>(width, height, std::move(next));
    return changed;
}
