#include "app/surface/lattice.h"

namespace VARKO::Surface {

void Lattice::Build(int cellsPerSide) {
    float coordinate[maxSide];
    for (int m = 0; m <= cellsPerSide; ++m) {
        coordinate[m] = Coordinate(m, cellsPerSide);
    }
    field.Build(coordinate, cellsPerSide);
    extraction.Build(cellsPerSide);
}

} // namespace VARKO::Surface
