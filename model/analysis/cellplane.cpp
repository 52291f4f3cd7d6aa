#include "model/analysis/cellplane.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "model/engine/lifebits.h"

namespace
{

using Word = std::uint64_t;

Word mix(Word x)
{
    x ^= x >> 33;
    x *= 0xFF51AFD7ED558CCDULL;
    x ^= x >> 33;
    x *= 0xC4CEB9FE1A85EC53ULL;
    x ^= x >> 33;
    return x;
}

// The squares that hold the cells next to the limit; those beyond it may hold none.
constexpr std::int64_t LimitSquare = Universe::CoordinateLimit / 64;

std::size_t findRoot(std::vector<std::size_t> &parents, std::size_t i)
{
    while (parents[i] != i) {
        parents[i] = parents[parents[i]];
        i = parents[i];
    }
    return i;
}

} // namespace

std::size_t CellPlane::KeyHash::operator()(const SquareKey &key) const
{
    return static_cast<std::size_t>(mix(Word(key.column) * 0x9E3779B97F4A7C15ULL ^ Word(key.row)));
}

CellPlane::CellPlane(const std::vector<CellPoint> &cells) { setCells(cells, 0, 0, true); }

CellPlane CellPlane::of(const Universe &universe)
{
    CellPlane plane;
    if (const std::optional<CellRect> box = universe.boundingBox())
        universe.forEachLiveCell(*box, [&plane](std::int64_t x, std::int64_t y) { plane.setCell(x, y, true); });
    return plane;
}

std::int64_t CellPlane::squareOf(std::int64_t coordinate)
{
    return coordinate >= 0 ? coordinate / Side : -((-(coordinate + 1)) / Side) - 1;
}

bool CellPlane::isEmptySquare(const Rows &rows)
{
    return std::all_of(rows.begin(), rows.end(), [](Word row) { return row == 0; });
}

bool CellPlane::cell(std::int64_t x, std::int64_t y) const
{
    const auto found = squares.find({ squareOf(x), squareOf(y) });
    if (found == squares.end())
        return false;
    return (found->second[static_cast<std::size_t>(y - squareOf(y) * Side)] >> (x - squareOf(x) * Side)) & 1U;
}

void CellPlane::setCell(std::int64_t x, std::int64_t y, bool alive)
{
    const SquareKey key { squareOf(x), squareOf(y) };
    const Word bit = Word(1) << (x - key.column * Side);
    const auto row = static_cast<std::size_t>(y - key.row * Side);
    if (alive) {
        squares[key][row] |= bit;
        return;
    }
    const auto found = squares.find(key);
    if (found == squares.end())
        return;
    found->second[row] &= ~bit;
    if (isEmptySquare(found->second))
        squares.erase(found);
}

void CellPlane::setCells(const std::vector<CellPoint> &cells, std::int64_t dx, std::int64_t dy, bool alive)
{
    for (const CellPoint &cell : cells)
        setCell(cell.x + dx, cell.y + dy, alive);
}

std::uint64_t CellPlane::population() const
{
    std::uint64_t count = 0;
    for (const auto &square : squares) {
        for (const Word row : square.second)
            count += static_cast<std::uint64_t>(__builtin_popcountll(row));
    }
    return count;
}

std::optional<CellRect> CellPlane::boundingBox() const
{
    if (squares.empty())
        return std::nullopt;
    CellRect box { Universe::CoordinateLimit, Universe::CoordinateLimit, -Universe::CoordinateLimit,
        -Universe::CoordinateLimit };
    for (const auto &[key, rows] : squares) {
        Word columns = 0;
        int top = -1;
        int bottom = -1;
        for (int r = 0; r < Side; ++r) {
            if (rows[static_cast<std::size_t>(r)] == 0)
                continue;
            columns |= rows[static_cast<std::size_t>(r)];
            top = top < 0 ? r : top;
            bottom = r;
        }
        const std::int64_t left = key.column * Side;
        const std::int64_t upper = key.row * Side;
        box.left = std::min(box.left, left + __builtin_ctzll(columns));
        box.right = std::max(box.right, left + 63 - __builtin_clzll(columns));
        box.top = std::min(box.top, upper + top);
        box.bottom = std::max(box.bottom, upper + bottom);
    }
    return box;
}

std::vector<CellPoint> CellPlane::cells() const
{
    std::vector<std::pair<SquareKey, const Rows *>> sorted;
    sorted.reserve(squares.size());
    for (const auto &square : squares)
        sorted.emplace_back(square.first, &square.second);
    std::sort(sorted.begin(), sorted.end(), [](const auto &a, const auto &b) {
        return a.first.row != b.first.row ? a.first.row < b.first.row : a.first.column < b.first.column;
    });
    std::vector<CellPoint> result;
    for (std::size_t first = 0; first < sorted.size();) {
        std::size_t last = first;
        while (last < sorted.size() && sorted[last].first.row == sorted[first].first.row)
            ++last;
        for (std::size_t r = 0; r < Side; ++r) {
            const std::int64_t y = sorted[first].first.row * Side + static_cast<std::int64_t>(r);
            for (std::size_t k = first; k < last; ++k) {
                for (Word row = (*sorted[k].second)[r]; row != 0; row &= row - 1)
                    result.push_back({ sorted[k].first.column * Side + __builtin_ctzll(row), y });
            }
        }
        first = last;
    }
    return result;
}

std::vector<std::vector<CellPoint>> CellPlane::clusters(int reach) const
{
    const std::vector<CellPoint> all = cells();
    std::vector<std::size_t> parents(all.size());
    std::iota(parents.begin(), parents.end(), std::size_t(0));
    const auto join = [&parents](std::size_t a, std::size_t b) {
        a = findRoot(parents, a);
        b = findRoot(parents, b);
        if (a != b)
            parents[std::max(a, b)] = std::min(a, b);
    };
    // Where each of the rows seen so far starts in `all`, the latest last.
    std::vector<std::size_t> rowStarts;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const CellPoint cell = all[i];
        if (i == 0 || all[i - 1].y != cell.y)
            rowStarts.push_back(i);
        if (i > 0 && all[i - 1].y == cell.y && cell.x - all[i - 1].x <= reach)
            join(i - 1, i);
        // The rows above within reach, each searched from its first cell within reach on the left.
        for (std::size_t k = rowStarts.size() - 1; k-- > 0;) {
            const std::size_t begin = rowStarts[k];
            if (cell.y - all[begin].y > reach)
                break;
            const std::size_t end = rowStarts[k + 1];
            auto from = std::lower_bound(all.begin() + static_cast<std::ptrdiff_t>(begin),
                all.begin() + static_cast<std::ptrdiff_t>(end), cell.x - reach,
                [](const CellPoint &c, std::int64_t x) { return c.x < x; });
            for (; from != all.begin() + static_cast<std::ptrdiff_t>(end) && from->x <= cell.x + reach; ++from)
                join(static_cast<std::size_t>(from - all.begin()), i);
        }
    }
    std::vector<std::vector<CellPoint>> groups;
    std::vector<std::size_t> groupOfRoot(all.size(), 0);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const std::size_t root = findRoot(parents, i);
        if (root == i) {
            groupOfRoot[i] = groups.size();
            groups.emplace_back();
        }
        groups[groupOfRoot[root]].push_back(all[i]);
    }
    return groups;
}

void CellPlane::step(const Rule &rule)
{
    if (rule == Rule())
        stepWith(LifeBits::ConwayDecision());
    else
        stepWith(LifeBits::RuleDecision(rule));
}

template <typename Decision> void CellPlane::stepWith(const Decision &decide)
{
    // Every live square, and each neighbour that its edge cells reach.
    std::vector<SquareKey> targets;
    targets.reserve(squares.size() * 3);
    for (const auto &[key, rows] : squares) {
        Word columns = 0;
        for (const Word row : rows)
            columns |= row;
        const bool west = (columns & 1U) != 0;
        const bool east = (columns >> 63) != 0;
        const bool north = rows[0] != 0;
        const bool south = rows[Side - 1] != 0;
        targets.push_back(key);
        if (west)
            targets.push_back({ key.column - 1, key.row });
        if (east)
            targets.push_back({ key.column + 1, key.row });
        if (north)
            targets.push_back({ key.column, key.row - 1 });
        if (south)
            targets.push_back({ key.column, key.row + 1 });
        if ((rows[0] & 1U) != 0)
            targets.push_back({ key.column - 1, key.row - 1 });
        if ((rows[0] >> 63) != 0)
            targets.push_back({ key.column + 1, key.row - 1 });
        if ((rows[Side - 1] & 1U) != 0)
            targets.push_back({ key.column - 1, key.row + 1 });
        if ((rows[Side - 1] >> 63) != 0)
            targets.push_back({ key.column + 1, key.row + 1 });
    }
    std::sort(targets.begin(), targets.end(),
        [](const SquareKey &a, const SquareKey &b) { return a.row != b.row ? a.row < b.row : a.column < b.column; });
    targets.erase(std::unique(targets.begin(), targets.end()), targets.end());

    static const Rows none {};
    const auto rowsAt = [this](std::int64_t column, std::int64_t row) -> const Rows & {
        const auto found = squares.find({ column, row });
        return found == squares.end() ? none : found->second;
    };
    Squares next;
    next.reserve(targets.size());
    bool nearLimit = false;
    for (const SquareKey &key : targets) {
        const Rows *around[3][3];
        for (int dy = 0; dy < 3; ++dy) {
            for (int dx = 0; dx < 3; ++dx)
                around[dy][dx] = &rowsAt(key.column + dx - 1, key.row + dy - 1);
        }
        // Row r of the square and its neighbours, -1..64.
        const auto sumsOf = [&around](int r) {
            const int band = r < 0 ? 0 : r >= Side ? 2 : 1;
            const auto index = static_cast<std::size_t>(r < 0 ? Side - 1 : r >= Side ? 0 : r);
            const Word self = (*around[band][1])[index];
            const Word west = (self << 1) | ((*around[band][0])[index] >> 63);
            const Word east = (self >> 1) | ((*around[band][2])[index] << 63);
            return LifeBits::rowSums(west, self, east);
        };
        // Only the rows next to live cells can hold live cells next.
        const Rows &self = *around[1][1];
        const Rows &westRows = *around[1][0];
        const Rows &eastRows = *around[1][2];
        int first = (*around[0][0])[Side - 1] >> 63 | (*around[0][1])[Side - 1] | ((*around[0][2])[Side - 1] & 1U)
            ? -1
            : Side;
        int last = (*around[2][0])[0] >> 63 | (*around[2][1])[0] | ((*around[2][2])[0] & 1U) ? Side : -1;
        for (int r = 0; r < Side; ++r) {
            const auto i = static_cast<std::size_t>(r);
            if ((self[i] | westRows[i] >> 63 | (eastRows[i] & 1U)) != 0) {
                first = std::min(first, r);
                last = std::max(last, r);
            }
        }
        const int from = std::max(first - 1, 0);
        const int to = std::min(last + 1, Side - 1);
        Rows result {};
        Word any = 0;
        if (from <= to) {
            LifeBits::RowSums above = sumsOf(from - 1);
            LifeBits::RowSums middle = sumsOf(from);
            for (int r = from; r <= to; ++r) {
                const LifeBits::RowSums below = sumsOf(r + 1);
                const Word row = decide(LifeBits::addRows(above, middle, below), self[static_cast<std::size_t>(r)]);
                result[static_cast<std::size_t>(r)] = row;
                any |= row;
                above = middle;
                middle = below;
            }
        }
        if (any == 0)
            continue;
        nearLimit = nearLimit || key.column < -LimitSquare || key.column >= LimitSquare || key.row < -LimitSquare
            || key.row >= LimitSquare;
        next.emplace(key, result);
    }
    if (nearLimit) {
        CellPlane grown;
        grown.squares = next;
        const std::optional<CellRect> box = grown.boundingBox();
        if (box->left < -Universe::CoordinateLimit || box->top < -Universe::CoordinateLimit
            || box->right > Universe::CoordinateLimit || box->bottom > Universe::CoordinateLimit)
            throw UniverseError("the pattern would grow past " + std::to_string(Universe::CoordinateLimit)
                + " cells from the origin, the edge of the unbounded plane");
    }
    squares.swap(next);
}

std::uint64_t CellPlane::hash() const
{
    // A sum over the squares, so that the order of the map does not matter.
    Word sum = 0;
    for (const auto &[key, rows] : squares) {
        Word digest = KeyHash()(key);
        for (const Word row : rows)
            digest = (digest ^ row) * 0x9E3779B97F4A7C15ULL;
        sum += mix(digest);
    }
    return sum;
}

bool CellPlane::operator==(const CellPlane &other) const
{
    if (squares.size() != other.squares.size())
        return false;
    for (const auto &[key, rows] : squares) {
        const auto found = other.squares.find(key);
        if (found == other.squares.end() || found->second != rows)
            return false;
    }
    return true;
}
