#include "tests/enginecomparison.h"

#include <algorithm>

#include "model/engine/cellcopy.h"
#include "model/engine/hashlife.h"
#include "model/engine/statehashlife.h"
#include "model/engine/tilelife.h"
#include "model/engine/unboundeduniverse.h"

namespace
{

bool rowOrder(const CellPoint &a, const CellPoint &b) { return a.y != b.y ? a.y < b.y : a.x < b.x; }

bool beyondLimit(const std::vector<CellPoint> &cells)
{
    return std::any_of(cells.begin(), cells.end(), [](const CellPoint &cell) {
        return cell.x < -Universe::CoordinateLimit || cell.x > Universe::CoordinateLimit
            || cell.y < -Universe::CoordinateLimit || cell.y > Universe::CoordinateLimit;
    });
}

std::string pointText(std::int64_t x, std::int64_t y) { return std::to_string(x) + ", " + std::to_string(y); }

// The cells of the tiles in a new HashLife, or HashLife's in new tiles, moved as a race moves them.
std::unique_ptr<Universe> inOtherEngine(const Universe &cells, const Rule &rule)
{
    if (dynamic_cast<const TileLife *>(&cells)) {
        auto plane = std::make_unique<HashLife>(rule);
        CellCopy::into(cells, *plane);
        return plane;
    }
    auto tiles = std::make_unique<TileLife>(rule);
    CellCopy::into(cells, *tiles);
    return tiles;
}

} // namespace

struct EngineComparison::Engine {
    std::string name;
    std::unique_ptr<Universe> universe;
    bool stepping = false; // advanced one generation at a time
    bool handedOver = false; // moved between the tiles and HashLife before each jump
    bool bounded = false; // holds the cells moved by dx, dy, and only inside `extent`
    std::int64_t dx = 0;
    std::int64_t dy = 0;
    CellRect extent; // the cells a bounded engine holds, at its own coordinates
    bool active = true;
};

EngineComparison::EngineComparison(const std::vector<CellPoint> &start, const Rule &rule, std::uint64_t reach,
    std::uint64_t planeCells, bool withStates)
    : rule(rule)
    , cells(sorted(start))
{
    const auto add = [this](std::string name, std::unique_ptr<Universe> universe, bool stepping) {
        auto engine = std::make_unique<Engine>();
        engine->name = std::move(name);
        engine->universe = std::move(universe);
        engine->stepping = stepping;
        engines.push_back(std::move(engine));
    };
    add("the tiles and HashLife by turns", std::make_unique<TileLife>(rule), false);
    engines.back()->handedOver = true;
    add("the tiles stepped", std::make_unique<TileLife>(rule), true);
    add("the tiles jumped", std::make_unique<TileLife>(rule), false);
    add("HashLife", std::make_unique<HashLife>(rule), false);
    if (withStates)
        add("HashLife of states", std::make_unique<StateHashLife>(rule), false);
    add("the unbounded plane", std::make_unique<UnboundedUniverse>(rule), false);

    if (!cells.empty()) {
        std::int64_t left = cells.front().x;
        std::int64_t right = left;
        for (const CellPoint &cell : cells) {
            left = std::min(left, cell.x);
            right = std::max(right, cell.x);
        }
        const std::int64_t top = cells.front().y;
        const std::int64_t bottom = cells.back().y;
        const std::uint64_t margin = std::min<std::uint64_t>(reach, planeCells) + 2;
        const std::uint64_t width = static_cast<std::uint64_t>(right - left) + 1 + 2 * margin;
        const std::uint64_t height = static_cast<std::uint64_t>(bottom - top) + 1 + 2 * margin;
        const auto addBounded = [&](std::string name, const Topology &topology, std::int64_t dx, std::int64_t dy) {
            add(std::move(name), Universe::create(topology, rule), false);
            engines.back()->bounded = true;
            engines.back()->dx = dx;
            engines.back()->dy = dy;
            engines.back()->extent = Universe::extent(topology);
        };
        if (width <= planeCells / height) {
            addBounded("a bounded plane",
                Topology::plane(static_cast<std::int64_t>(width), static_cast<std::int64_t>(height)),
                static_cast<std::int64_t>(margin) - left, static_cast<std::int64_t>(margin) - top);
        }
        constexpr std::int64_t Size = Topology::ClassicSize;
        if (right - left < Size - 2 && bottom - top < Size - 2)
            addBounded(
                "the classic field", Topology::classic(), (Size - 1 - right - left) / 2, (Size - 1 - bottom - top) / 2);
    }
    for (const std::unique_ptr<Engine> &engine : engines) {
        if (engine->bounded && !insideOf(*engine, cells)) {
            engine->active = false;
            continue;
        }
        for (const CellPoint &cell : cells)
            engine->universe->setCell(cell.x + engine->dx, cell.y + engine->dy, true);
        compare(*engine);
    }
}

EngineComparison::~EngineComparison() = default;

std::vector<CellPoint> EngineComparison::sorted(std::vector<CellPoint> cells)
{
    std::sort(cells.begin(), cells.end(), rowOrder);
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    return cells;
}

std::vector<CellPoint> EngineComparison::countedNext(const std::vector<CellPoint> &cells, const Rule &rule)
{
    // Each live cell marks itself with 16 and its eight neighbours with 1;
    // the marks at a place, summed, tell its state and its live neighbours.
    struct Mark {
        CellPoint at;
        int weight;
    };
    std::vector<Mark> marks;
    marks.reserve(cells.size() * 9);
    for (const CellPoint &cell : cells) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx)
                marks.push_back({ { cell.x + dx, cell.y + dy }, dx == 0 && dy == 0 ? 16 : 1 });
        }
    }
    std::sort(marks.begin(), marks.end(), [](const Mark &a, const Mark &b) { return rowOrder(a.at, b.at); });
    std::vector<CellPoint> next;
    for (std::size_t first = 0; first < marks.size();) {
        int sum = 0;
        std::size_t last = first;
        for (; last < marks.size() && marks[last].at == marks[first].at; ++last)
            sum += marks[last].weight;
        if (rule.nextState(sum >= 16, sum % 16))
            next.push_back(marks[first].at);
        first = last;
    }
    return next;
}

bool EngineComparison::insideOf(const Engine &engine, const std::vector<CellPoint> &counted) const
{
    // One cell in from the edge: a cell on it could have neighbours beyond.
    const CellRect &extent = engine.extent;
    return std::all_of(counted.begin(), counted.end(), [&](const CellPoint &cell) {
        return cell.x + engine.dx > extent.left && cell.x + engine.dx < extent.right && cell.y + engine.dy > extent.top
            && cell.y + engine.dy < extent.bottom;
    });
}

void EngineComparison::compare(Engine &engine)
{
    ++compared;
    if (!fault.empty())
        return;
    const Universe &universe = *engine.universe;
    const auto fail = [&](const std::string &what) {
        fault = engine.name + " at generation " + std::to_string(counted) + ": " + what;
    };
    const std::uint64_t population = universe.population();
    if (population != cells.size())
        fail(std::to_string(population) + " live cells, counted " + std::to_string(cells.size()));
    for (const CellPoint &cell : cells) {
        if (fault.empty() && !universe.cell(cell.x + engine.dx, cell.y + engine.dy))
            fail("the cell " + pointText(cell.x, cell.y) + " is dead, counted alive");
    }
    if (fault.empty() && !cells.empty()) {
        CellRect expected { cells.front().x, cells.front().y, cells.front().x, cells.back().y };
        for (const CellPoint &cell : cells) {
            expected.left = std::min(expected.left, cell.x);
            expected.right = std::max(expected.right, cell.x);
        }
        const std::optional<CellRect> box = universe.boundingBox();
        if (!box
            || *box
                != CellRect { expected.left + engine.dx, expected.top + engine.dy, expected.right + engine.dx,
                    expected.bottom + engine.dy })
            fail("its live cells' box is not the counted one");
    }
}

void EngineComparison::edit(std::int64_t x, std::int64_t y, bool alive)
{
    if (finished)
        return;
    const auto at = std::lower_bound(cells.begin(), cells.end(), CellPoint { x, y }, rowOrder);
    const bool was = at != cells.end() && *at == CellPoint { x, y };
    if (alive && !was)
        cells.insert(at, { x, y });
    else if (!alive && was)
        cells.erase(at);
    for (const std::unique_ptr<Engine> &engine : engines) {
        if (!engine->active)
            continue;
        if (engine->bounded && !insideOf(*engine, cells)) {
            engine->active = false;
            continue;
        }
        engine->universe->setCell(x + engine->dx, y + engine->dy, alive);
    }
}

void EngineComparison::advance(std::uint64_t generations)
{
    if (finished || generations == 0)
        return;
    const std::vector<CellPoint> before = cells;
    const std::uint64_t started = counted;
    bool crossed = false;
    for (std::uint64_t i = 0; i < generations && !crossed; ++i) {
        std::vector<CellPoint> next = countedNext(cells, rule);
        crossed = beyondLimit(next);
        if (!crossed) {
            cells = std::move(next);
            ++counted;
        }
        for (const std::unique_ptr<Engine> &engine : engines) {
            if (!engine->active)
                continue;
            if (engine->bounded && (crossed || !insideOf(*engine, cells))) {
                engine->active = false;
            } else if (engine->stepping) {
                try {
                    engine->universe->advance(1);
                    if (crossed && fault.empty())
                        fault = engine->name + " at generation " + std::to_string(counted)
                            + ": stepped past the edge of the plane";
                } catch (const UniverseError &error) {
                    if (!crossed && fault.empty())
                        fault = engine->name + " at generation " + std::to_string(counted) + ": " + error.what();
                }
                compare(*engine);
            }
        }
    }
    if (crossed) {
        cells = before;
        counted = started;
    }
    for (const std::unique_ptr<Engine> &engine : engines) {
        if (!engine->active || engine->stepping)
            continue;
        try {
            if (engine->handedOver)
                engine->universe = inOtherEngine(*engine->universe, rule);
            engine->universe->advance(generations);
            if (crossed && fault.empty())
                fault = engine->name + " jumped past the edge of the plane from generation " + std::to_string(started);
        } catch (const UniverseError &error) {
            if (!crossed && fault.empty())
                fault = engine->name + " at generation " + std::to_string(counted) + ": " + error.what();
        }
        compare(*engine);
    }
    finished = crossed;
}
