#include "model/engine/topology.h"

#include "model/engine/universe.h"

bool Topology::isValid() const
{
    switch (shape) {
    case Kind::Classic:
        return columns == ClassicSize && rows == ClassicSize;
    case Kind::Unbounded:
        return columns == 0 && rows == 0;
    case Kind::Plane:
    case Kind::Torus:
        // Divided rather than multiplied, so that no size can overflow.
        return columns >= 1 && rows >= 1 && columns <= MaxBoundedCells && rows <= MaxBoundedCells / columns;
    }
    return false;
}

CellPoint Topology::centre() const
{
    if (shape == Kind::Unbounded)
        return CellPoint {};
    return CellPoint { columns / 2, rows / 2 };
}

std::string Topology::extentText() const
{
    const std::string size = std::to_string(columns) + " x " + std::to_string(rows) + " cells";
    switch (shape) {
    case Kind::Classic:
        return "the field's " + size;
    case Kind::Plane:
        return "the plane's " + size;
    case Kind::Torus:
        return "the torus's " + size;
    case Kind::Unbounded:
        break;
    }
    return "the unbounded plane, " + std::to_string(Universe::CoordinateLimit) + " cells from the origin each way";
}
