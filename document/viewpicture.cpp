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
    auto picture = std::unique_ptr<ViewPicture>(new ViewPicture(source));
    picture->shift = shift;
    picture->left = std::max(pixelOf(view.cells.left, shift) - marginColumns, pixelOf(plane.left, shift));
    picture->top = std::max(pixelOf(view.cells.top, shift) - marginRows, pixelOf(plane.top, shift));
    const std::int64_t right = std::min(pixelOf(view.cells.right, shift) + marginColumns, pixelOf(plane.right, shift));
    const std::int64_t bottom = std::min(pixelOf(view.cells.bottom, shift) + marginRows, pixelOf(plane.bottom, shift));
    if (right < picture->left || bottom < picture->top)
        return nullptr;
    picture->columns = right - picture->left + 1;
    picture->rows = bottom - picture->top + 1;
    try {
        picture->live = source.population();
    } catch (const UniverseError &) {
        picture->live.reset();
    }
    picture->box = source.boundingBox();
    picture->background = source.backgroundAlive();
    picture->pixels.resize(static_cast<std::size_t>(picture->columns * picture->rows));
    const CellRect cells { picture->left * (std::int64_t(1) << shift), picture->top * (std::int64_t(1) << shift),
        (right + 1) * (std::int64_t(1) << shift) - 1, (bottom + 1) * (std::int64_t(1) << shift) - 1 };
    source.render(cells, shift, picture->pixels.data(), static_cast<int>(picture->columns),
        static_cast<int>(picture->rows), static_cast<std::ptrdiff_t>(picture->columns));
    return picture;
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

void ViewPicture::render(
    const CellRect &area, int shift, std::uint8_t *out, int outColumns, int outRows, std::ptrdiff_t stride) const
{
    const std::int64_t mask = (std::int64_t(1) << shift) - 1;
    const bool aligned = shift == this->shift && (area.left & mask) == 0 && (area.top & mask) == 0;
    const std::int64_t x0 = pixelOf(area.left, shift);
    const std::int64_t y0 = pixelOf(area.top, shift);
    const std::int64_t x1 = x0 + outColumns - 1;
    const std::int64_t y1 = y0 + outRows - 1;
    // The cells asked for that differ from the background must lie in the
    // picture: the rest of the request is background.
    const auto within = [](std::int64_t low, std::int64_t high, std::int64_t from, std::int64_t to) {
        return high < low || (low >= from && high <= to);
    };
    const bool answered = aligned
        && (!box
            || (pixelOf(box->right, shift) < x0 || pixelOf(box->left, shift) > x1 || pixelOf(box->bottom, shift) < y0
                || pixelOf(box->top, shift) > y1)
            || (within(std::max(x0, pixelOf(box->left, shift)), std::min(x1, pixelOf(box->right, shift)), left,
                    left + columns - 1)
                && within(std::max(y0, pixelOf(box->top, shift)), std::min(y1, pixelOf(box->bottom, shift)), top,
                    top + rows - 1)));
    if (!answered) {
        held().render(area, shift, out, outColumns, outRows, stride);
        return;
    }
    const std::int64_t from = std::max(x0, left);
    const std::int64_t to = std::min(x1, left + columns - 1);
    for (int row = 0; row < outRows; ++row) {
        std::uint8_t *line = out + row * stride;
        std::memset(line, background ? 1 : 0, static_cast<std::size_t>(outColumns));
        const std::int64_t y = y0 + row;
        if (y < top || y >= top + rows || from > to)
            continue;
        std::memcpy(line + (from - x0), pixels.data() + (y - top) * columns + (from - left),
            static_cast<std::size_t>(to - from + 1));
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
