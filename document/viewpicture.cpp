#include "document/viewpicture.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "document/enginegate.h"

namespace
{

[[noreturn]] void readOnly() { throw std::logic_error("a view picture is read only"); }

// The pixel that shows `cell`, at a pixel per 2^shift cells.
std::int64_t pixelOf(std::int64_t cell, int shift) { return cell >> shift; }

} // namespace

ViewPicture::ViewPicture(const Universe &source)
    : source(&source)
    , shape(source.topology())
    , cellsRule(source.rule())
{
}

std::unique_ptr<ViewPicture> ViewPicture::of(const Universe &source, const Area &view)
{
    if (source.topology() != Topology::unbounded() || view.shift < 0 || view.shift > 62
        || view.cells.left > view.cells.right || view.cells.top > view.cells.bottom)
        return nullptr;
    const int shift = view.shift;
    const std::int64_t shownColumns = pixelOf(view.cells.right, shift) - pixelOf(view.cells.left, shift) + 1;
    const std::int64_t shownRows = pixelOf(view.cells.bottom, shift) - pixelOf(view.cells.top, shift) + 1;
    if (shownColumns > PixelLimit || shownRows > PixelLimit || shownColumns * shownRows > PixelLimit)
        return nullptr;
    // Half a view more each way, where it fits, so that a pan or a resize stays within the picture.
    const bool margin = 4 * shownColumns * shownRows <= PixelLimit;
    const std::int64_t marginColumns = margin ? shownColumns / 2 : 0;
    const std::int64_t marginRows = margin ? shownRows / 2 : 0;
    // Past the plane's coordinates every cell is dead: the picture stops there.
    const CellRect plane = Universe::extent(Topology::unbounded());
    const std::int64_t left = std::max(pixelOf(view.cells.left, shift) - marginColumns, pixelOf(plane.left, shift));
    const std::int64_t top = std::max(pixelOf(view.cells.top, shift) - marginRows, pixelOf(plane.top, shift));
    const std::int64_t right = std::min(pixelOf(view.cells.right, shift) + marginColumns, pixelOf(plane.right, shift));
    const std::int64_t bottom = std::min(pixelOf(view.cells.bottom, shift) + marginRows, pixelOf(plane.bottom, shift));
    if (right < left || bottom < top)
        return nullptr;
    auto made = std::unique_ptr<ViewPicture>(new ViewPicture(source));
    try {
        made->live = source.population();
    } catch (const UniverseError &) {
        made->live.reset();
    }
    made->madeFor = view;
    made->box = source.boundingBox();
    made->background = source.backgroundAlive();
    made->picture.make(source, shift, left, top, right, bottom);
    // The summary: the whole box at the finest shift that fits, for a view
    // that leaves the picture; a pixel per few cells costs about as much to
    // render as one per cell.
    if (const std::optional<CellRect> &box = made->box; box
        && !made->within(made->picture, pixelOf(box->left, shift), pixelOf(box->top, shift), pixelOf(box->right, shift),
            pixelOf(box->bottom, shift), shift)) {
        int coarse = shift;
        const auto pixels = [&box](int at) {
            const double columns = static_cast<double>(pixelOf(box->right, at) - pixelOf(box->left, at) + 1);
            return columns * static_cast<double>(pixelOf(box->bottom, at) - pixelOf(box->top, at) + 1);
        };
        while (coarse < 62 && pixels(coarse) > static_cast<double>(SummaryLimit))
            ++coarse;
        made->summary.make(source, coarse, pixelOf(box->left, coarse), pixelOf(box->top, coarse),
            pixelOf(box->right, coarse), pixelOf(box->bottom, coarse));
    }
    return made;
}

void ViewPicture::Level::make(
    const Universe &source, int at, std::int64_t fromX, std::int64_t fromY, std::int64_t toX, std::int64_t toY)
{
    shift = at;
    left = fromX;
    top = fromY;
    columns = toX - fromX + 1;
    rows = toY - fromY + 1;
    pixels.resize(static_cast<std::size_t>(columns * rows));
    const std::int64_t unit = std::int64_t(1) << shift;
    const CellRect cells { left * unit, top * unit, (toX + 1) * unit - 1, (toY + 1) * unit - 1 };
    source.render(cells, shift, pixels.data(), static_cast<int>(columns), static_cast<int>(rows),
        static_cast<std::ptrdiff_t>(columns));
}

bool ViewPicture::Level::holds(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) const
{
    return !pixels.empty() && x0 >= left && x1 < left + columns && y0 >= top && y1 < top + rows;
}

int ViewPicture::Level::sample(std::int64_t x, std::int64_t y, int at, std::uint8_t empty) const
{
    if (at < shift) {
        const std::int64_t mineX = x >> (shift - at);
        const std::int64_t mineY = y >> (shift - at);
        return holds(mineX, mineY, mineX, mineY)
            ? pixels[static_cast<std::size_t>((mineY - top) * columns + (mineX - left))]
            : -1;
    }
    const std::int64_t unit = std::int64_t(1) << (at - shift);
    const std::int64_t x0 = std::max(x * unit, left);
    const std::int64_t x1 = std::min((x + 1) * unit - 1, left + columns - 1);
    const std::int64_t y0 = std::max(y * unit, top);
    const std::int64_t y1 = std::min((y + 1) * unit - 1, top + rows - 1);
    if (pixels.empty() || x0 > x1 || y0 > y1)
        return -1;
    const bool clipped = x0 != x * unit || y0 != y * unit || x1 != (x + 1) * unit - 1 || y1 != (y + 1) * unit - 1;
    int lowest = clipped ? empty : 0;
    for (std::int64_t row = y0; row <= y1; ++row) {
        const std::uint8_t *line = pixels.data() + (row - top) * columns - left;
        for (std::int64_t column = x0; column <= x1; ++column) {
            if (line[column] != 0 && (lowest == 0 || line[column] < lowest))
                lowest = line[column];
        }
    }
    return lowest;
}

bool ViewPicture::touchesBox(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, int at) const
{
    return box && pixelOf(box->right, at) >= x0 && pixelOf(box->left, at) <= x1 && pixelOf(box->bottom, at) >= y0
        && pixelOf(box->top, at) <= y1;
}

const Universe &ViewPicture::held() const
{
    EngineGate::hold();
    return *source;
}

std::unique_ptr<Universe> ViewPicture::clone() const { return held().clone(); }

void ViewPicture::setRule(const Rule &) { readOnly(); }

bool ViewPicture::cell(std::int64_t x, std::int64_t y) const { return held().cell(x, y); }

void ViewPicture::setCell(std::int64_t, std::int64_t, bool) { readOnly(); }

std::uint8_t ViewPicture::state(std::int64_t x, std::int64_t y) const { return held().state(x, y); }

void ViewPicture::clear() { readOnly(); }

void ViewPicture::forEachLiveCell(
    const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y)> &visit) const
{
    held().forEachLiveCell(area, visit);
}

void ViewPicture::forEachCell(
    const CellRect &area, const std::function<void(std::int64_t x, std::int64_t y, std::uint8_t state)> &visit) const
{
    held().forEachCell(area, visit);
}

std::uint64_t ViewPicture::population() const
{
    if (!live)
        throw UniverseError("The population does not fit in 64 bits.");
    return *live;
}

bool ViewPicture::answers(const CellRect &area, int at) const
{
    const std::int64_t mask = (std::int64_t(1) << at) - 1;
    return (area.left & mask) == 0 && (area.top & mask) == 0
        && exactly(
            pixelOf(area.left, at), pixelOf(area.top, at), pixelOf(area.right, at), pixelOf(area.bottom, at), at);
}

bool ViewPicture::exactly(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, int at) const
{
    return !touchesBox(x0, y0, x1, y1, at) || within(picture, x0, y0, x1, y1, at)
        || within(summary, x0, y0, x1, y1, at);
}

bool ViewPicture::within(
    const Level &level, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, int at) const
{
    if (at < level.shift)
        return false;
    // The pixels of the level that the pixels asked for cover, cut to the box.
    const std::int64_t unit = std::int64_t(1) << (at - level.shift);
    return level.holds(std::max(x0 * unit, pixelOf(box->left, level.shift)),
        std::max(y0 * unit, pixelOf(box->top, level.shift)),
        std::min((x1 + 1) * unit - 1, pixelOf(box->right, level.shift)),
        std::min((y1 + 1) * unit - 1, pixelOf(box->bottom, level.shift)));
}

void ViewPicture::render(
    const CellRect &area, int at, std::uint8_t *out, int outColumns, int outRows, std::ptrdiff_t stride) const
{
    const std::int64_t x0 = pixelOf(area.left, at);
    const std::int64_t y0 = pixelOf(area.top, at);
    const std::int64_t x1 = x0 + outColumns - 1;
    const std::int64_t y1 = y0 + outRows - 1;
    const std::uint8_t empty = background ? 1 : 0;
    const std::int64_t mask = (std::int64_t(1) << at) - 1;
    if (at == picture.shift && (area.left & mask) == 0 && (area.top & mask) == 0
        && (!touchesBox(x0, y0, x1, y1, at) || within(picture, x0, y0, x1, y1, at))) {
        const std::int64_t from = std::max(x0, picture.left);
        const std::int64_t to = std::min(x1, picture.left + picture.columns - 1);
        for (int row = 0; row < outRows; ++row) {
            std::uint8_t *line = out + row * stride;
            std::memset(line, empty, static_cast<std::size_t>(outColumns));
            const std::int64_t y = y0 + row;
            if (y < picture.top || y >= picture.top + picture.rows || from > to)
                continue;
            std::memcpy(line + (from - x0),
                picture.pixels.data() + (y - picture.top) * picture.columns + (from - picture.left),
                static_cast<std::size_t>(to - from + 1));
        }
        return;
    }
    for (int row = 0; row < outRows; ++row) {
        std::uint8_t *line = out + row * stride;
        for (int column = 0; column < outColumns; ++column) {
            const std::int64_t x = x0 + column;
            const std::int64_t y = y0 + row;
            int value = empty;
            // Exactly where a level holds the pixel's cells, else the nearest
            // it has: the picture zoomed in or in part, the summary.
            if (!touchesBox(x, y, x, y, at))
                value = empty;
            else if (within(picture, x, y, x, y, at) || !within(summary, x, y, x, y, at))
                value = picture.sample(x, y, at, empty);
            else
                value = -1;
            if (value < 0)
                value = summary.sample(x, y, at, empty);
            line[column] = static_cast<std::uint8_t>(value < 0 ? empty : value);
        }
    }
}

void ViewPicture::advance(std::uint64_t) { readOnly(); }

std::uint64_t ViewPicture::hash() const { return held().hash(); }

bool ViewPicture::equals(const Universe &other) const { return held().equals(other); }

std::uint64_t ViewPicture::shapeHash() const { return held().shapeHash(); }

bool ViewPicture::equalsShifted(const Universe &other, std::int64_t dx, std::int64_t dy) const
{
    return held().equalsShifted(other, dx, dy);
}
