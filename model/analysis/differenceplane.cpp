#include "model/analysis/differenceplane.h"

#include "model/analysis/celllist.h"
#include "model/engine/backgrounduniverse.h"
#include "model/engine/bitmix.h"
#include "model/engine/tilelife.h"
#include "model/engine/unboundeduniverse.h"

namespace
{

// Mixed into the digest of differences from a live background.
constexpr std::uint64_t LiveBackground = 0xB0B0B0B0B0B0B0B0ULL;

} // namespace

DifferencePlane::DifferencePlane(const Rule &rule, bool backgroundAlive)
    : alive(backgroundAlive)
{
    check(rule);
    const bool birthOnZero = (rule.birthCounts() & 1U) != 0;
    if (birthOnZero || backgroundAlive) {
        for (const bool background : { false, true }) {
            stepped[background] = BackgroundUniverse::steppedRule(rule, background);
            next[background] = BackgroundUniverse::nextBackground(rule, background);
        }
    } else {
        // The background stays dead: the cells step under the rule itself.
        stepped[0] = stepped[1] = rule;
        next[0] = next[1] = false;
    }
    // Tiles where they can, as often as the analysis makes planes; both stepped rules are of one family.
    if (stepped[alive].isLifeLike())
        plane = std::make_unique<TileLife>(stepped[alive]);
    else
        plane = std::make_unique<UnboundedUniverse>(stepped[alive]);
}

DifferencePlane::DifferencePlane(const DifferencePlane &other)
    : stepped { other.stepped[0], other.stepped[1] }
    , next { other.next[0], other.next[1] }
    , alive(other.alive)
    , plane(other.plane->clone())
{
}

DifferencePlane &DifferencePlane::operator=(const DifferencePlane &other)
{
    if (this != &other) {
        DifferencePlane copy(other);
        *this = std::move(copy);
    }
    return *this;
}

DifferencePlane::~DifferencePlane() = default;

void DifferencePlane::check(const Rule &rule)
{
    if (rule.stateCount() > 2)
        throw UniverseError("the analysis follows rules of two states only, not the " + rule.family() + " "
            + rule.toString() + ", whose objects differ in more ways than one");
}

void DifferencePlane::setCells(const std::vector<CellPoint> &cells)
{
    if (auto *tiles = dynamic_cast<TileLife *>(plane.get()))
        tiles->setCells(cells);
    else
        static_cast<UnboundedUniverse &>(*plane).setCells(cells);
}

void DifferencePlane::setCell(std::int64_t x, std::int64_t y, bool differs) { plane->setCell(x, y, differs); }

void DifferencePlane::step()
{
    // Setting the same rule again would make the tiles look at every cell anew.
    if (plane->rule() != stepped[alive])
        plane->setRule(stepped[alive]);
    plane->advance(1);
    alive = next[alive];
}

void DifferencePlane::advance(std::uint64_t generations)
{
    for (std::uint64_t i = 0; i < generations; ++i)
        step();
}

std::uint64_t DifferencePlane::hash() const
{
    return alive ? BitMix::finalise(plane->hash() ^ LiveBackground) : plane->hash();
}

bool DifferencePlane::equals(const DifferencePlane &other) const
{
    return alive == other.alive && plane->equals(*other.plane);
}

std::vector<CellPoint> DifferencePlane::cells() const { return CellList::of(*plane); }
