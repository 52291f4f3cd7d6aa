#include "model/engine/topology.h"

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
