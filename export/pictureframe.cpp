#include "export/pictureframe.h"

#include <QPoint>
#include <QRect>

#include <algorithm>
#include <cstdint>

#include "export/fieldexport.h"
#include "view/viewport.h"

PictureFrame::PictureFrame(const CellRect &cells, int zoomStep, int scale)
    : area(cells)
    , step(std::clamp(zoomStep, 0, Viewport::zoomStepCount() - 1))
    , factor(scale)
{
}

PictureFrame PictureFrame::asViewed(const CellRect &cells, int zoomStep, int scale)
{
    return PictureFrame(cells, zoomStep, scale);
}

PictureFrame PictureFrame::atScale(const CellRect &cells, int scale)
{
    return PictureFrame(cells, FieldExport::zoomStepForScale(scale), 1);
}

PictureFrame PictureFrame::fitting(const CellRect &cells, const QSize &pixels)
{
    Viewport viewport;
    viewport.fit(cells, QRect(QPoint(0, 0), pixels));
    return PictureFrame(cells, viewport.zoomStep(), 1);
}

PictureFrame PictureFrame::atScaleOrSmaller(const CellRect &cells, int scale)
{
    const PictureFrame frame = atScale(cells, scale);
    if (frame.size())
        return frame;
    return fitting(cells, QSize(FieldExport::MaxPictureSide, FieldExport::MaxPictureSide));
}

std::optional<QSize> PictureFrame::size() const
{
    Viewport viewport;
    viewport.place(step, CellPoint {}, QPoint());
    const int shift = viewport.shift();
    // Zoomed out, pixels stand for the squares of 2^shift cells that the view lines up on.
    const auto pixels = [&](std::int64_t first, std::int64_t last) {
        if (shift > 0)
            return static_cast<std::uint64_t>((last >> shift) - (first >> shift)) + 1;
        const auto cells = static_cast<std::uint64_t>(last) - static_cast<std::uint64_t>(first) + 1;
        const auto side = static_cast<std::uint64_t>(viewport.cellSize());
        const std::uint64_t outline = viewport.showsOutlines() ? 1 : 0;
        return cells > std::uint64_t(FieldExport::MaxPictureSide) ? cells : cells * side + outline;
    };
    const std::uint64_t width = pixels(area.left, area.right) * static_cast<std::uint64_t>(factor);
    const std::uint64_t height = pixels(area.top, area.bottom) * static_cast<std::uint64_t>(factor);
    const auto most = static_cast<std::uint64_t>(FieldExport::MaxPictureSide);
    if (width > most || height > most)
        return std::nullopt;
    return QSize(static_cast<int>(width), static_cast<int>(height));
}
