// The kernels' bodies, written once over a vector type. Included by each path's source file inside
// an unnamed namespace, after that file has defined its `Lanes` type:
//   V (the vector, or float), width, Load(p), Splat(f), StoreVector(p, v),
//   Store(base, offsets, value, nx, ny, nz): value and normal of `width` points, each at
//       base + offsets[lane];
//   Below(p, threshold): bit l set when the value of point l is below threshold, for `width`
//       whole points from p on (seven floats each: position, value, normal);
// Everything here has internal linkage and calls nothing with external linkage, so no function
// compiled for a wider instruction set can be picked up by the linker for another path.

constexpr int maxLanes = 16;

template <class L>
void StoreSome(float* base, const int* offsets, int lanes, typename L::V value, typename L::V nx,
               typename L::V ny, typename L::V nz) {
    alignas(64) float columns[4][maxLanes];
    L::StoreVector(columns[0], value);
    L::StoreVector(columns[1], nx);
    L::StoreVector(columns[2], ny);
    L::StoreVector(columns[3], nz);
    for (int lane = 0; lane < lanes; ++lane) {
        float* point = base + offsets[lane];
        for (int column = 0; column < 4; ++column) {
            point[column] = columns[column][lane];
        }
    }
}

// Asks for the cache lines a fixed distance ahead of the ones being written, so that fetching them
// overlaps the divisions. Within a plane the rows are written first to last, each point together
// with its mirror image in the same row; after a plane's last row come the first rows of the plane
// before it, which is written next.
struct WriteAhead {
    const char* next; // the first line of this plane not yet asked for
    const char* planeEnd;
    const char* following; // the same in the plane written next (null after the last)
    const char* followingStart;
    std::ptrdiff_t distance;

    void Step(const float* writing) {
        const char* want = reinterpret_cast<const char*>(writing) + distance;
        for (; next < want && next < planeEnd; next += 64) {
            __builtin_prefetch(next, 1);
        }
        if (want > planeEnd && following != nullptr) {
            const char* followingWant = followingStart + (want - planeEnd);
            for (; following < followingWant; following += 64) {
                __builtin_prefetch(following, 1);
            }
        }
    }
};

constexpr int pointFloats = int(sizeof(CUBE_GRID_VERTEX) / sizeof(float));

template <class L>
void MarkNotBelow(const CUBE_GRID_VERTEX* points, int pointCount, float threshold,
                  std::uint64_t* notBelow) {
    const int words = (pointCount + 63) / 64;
    for (int word = 0; word < words; ++word) {
        const int start = word * 64;
        const int inWord = pointCount - start < 64 ? pointCount - start : 64;
        std::uint64_t below = 0;
        int lane = 0;
        for (; lane + L::width <= inWord; lane += L::width) {
            below |= std::uint64_t(L::Below(&points[start + lane].position.x, threshold)) << lane;
        }
        for (; lane < inWord; ++lane) {
            below |= std::uint64_t(points[start + lane].value < threshold) << lane;
        }
        notBelow[word] =
            ~below & (inWord == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << inWord) - 1);
    }
}

// Classifies a plane's points in whole 64-point words as soon as their values are final, while they
// are still in the cache. A word that begins in the plane below waits for that plane. Without
// bits to write, every point counts as classified already.
template <class L> struct PlaneClassifier {
    const Surface::FieldTarget& target;
    int side;
    int planeFirst; // the plane's first point
    int next;       // the first point not yet classified

    // Rows before `row` are final.
    void RowsDone(int row) {
        const int end = (planeFirst + row * side) / 64 * 64;
        // A few words at a time: each call costs a little on its own.
        if (end - next >= 256) {
            UpTo(end);
        }
    }

    void UpTo(int end) {
        if (end > next) {
            MarkNotBelow<L>(target.points + next, end - next, target.threshold,
                            target.notBelow + next / 64);
            next = end;
        }
    }
};

// Each lane adds the balls one by one, in order, with the same single-precision steps as a plain
// loop over the points: the sums come out bit for bit the same.
template <class L, bool mirror>
void FieldElements(const Surface::FieldLattice& lattice, const Surface::FieldBalls& balls,
                   float* base, float x, int begin, int end, WriteAhead& ahead,
                   PlaneClassifier<L>& classifier) {
    using V = typename L::V;
    const V zero = L::Splat(0.0f);
    const V nearZero = L::Splat(0.0001f);
    for (int e = begin; e < end; e += L::width) {
        ahead.Step(base + lattice.offset[e]);
        if (mirror) {
            // The elements come row by row, each with its mirror image in the same row.
            classifier.RowsDone(lattice.offset[e] / (lattice.side * pointFloats));
        }
        const V y = L::Load(lattice.elementY + e);
        const V z = L::Load(lattice.elementZ + e);
        V value = zero, nx = zero, ny = zero, nz = zero;
        for (int b = 0; b < balls.ballCount; ++b) {
            const METABALL& ball = balls.balls[b];
            const float dx = x - ball.position.x;
            const V ddx = L::Splat(dx);
            const V ddy = y - L::Splat(ball.position.y);
            const V ddz = z - L::Splat(ball.position.z);
            V s = ddz * ddz + ddy * ddy + L::Splat(dx * dx);
            // A point on a centre takes a large but finite value and no normal from that ball.
            s = s == zero ? nearZero : s;
            const V r2 = L::Splat(ball.squaredRadius);
            value += r2 / s;
            const V k = r2 / (s * s);
            nx += k * ddx;
            ny += k * ddy;
            nz += k * ddz;
        }
        // The mirror image first: a point without one names itself, and its own values come last.
        const int lanes = end - e < L::width ? end - e : L::width;
        if (mirror) {
            const V mirrorZ = zero - nz;
            if (lanes == L::width) {
                L::Store(base, lattice.mirrorOffset + e, value, nx, ny, mirrorZ);
            } else {
                StoreSome<L>(base, lattice.mirrorOffset + e, lanes, value, nx, ny, mirrorZ);
            }
        }
        if (lanes == L::width) {
            L::Store(base, lattice.offset + e, value, nx, ny, nz);
        } else {
            StoreSome<L>(base, lattice.offset + e, lanes, value, nx, ny, nz);
        }
    }
}

template <class L>
void Field(const Surface::FieldLattice& lattice, const Surface::FieldBalls& balls,
           const Surface::FieldTarget& target) {
    // Last plane first: the extraction that follows starts at the first, which is then the most
    // recently written and the likeliest still to be in the cache.
    const int planePoints = lattice.side * lattice.side;
    const std::ptrdiff_t planeFloats = std::ptrdiff_t(planePoints) * pointFloats;
    const std::ptrdiff_t planeBytes = planeFloats * std::ptrdiff_t(sizeof(float));
    // Far enough for a row's mirror images at its other end, and for the memory's latency.
    const std::ptrdiff_t distance = planeBytes / lattice.side + 8192;
    // Elements [0, paired) come with their images, [paired, computed) on their own.
    const int paired = balls.allAtZeroZ ? lattice.pairedElements : 0;
    const int computed = balls.allAtZeroZ ? lattice.pairedElements : lattice.elements;
    const char* carried = nullptr;
    const int points = lattice.side * planePoints;
    int classified = points; // points from here on have their bits
    for (int plane = lattice.side - 1; plane >= 0; --plane) {
        float* base = &target.points[0].value + plane * planeFloats;
        const char* start = reinterpret_cast<const char*>(base);
        const char* following = plane > 0 ? start - planeBytes : nullptr;
        WriteAhead ahead{carried != nullptr ? carried : start, start + planeBytes, following,
                         following, distance};
        const int planeFirst = plane * planePoints;
        const int wordAfter = (planeFirst + 63) / 64 * 64;
        const int firstWhole = plane == 0 ? 0 : wordAfter < points ? wordAfter : points;
        PlaneClassifier<L> classifier{target, lattice.side, planeFirst,
                                      target.notBelow != nullptr ? firstWhole : points};
        const float x = lattice.planeX[plane];
        FieldElements<L, true>(lattice, balls, base, x, 0, paired, ahead, classifier);
        FieldElements<L, false>(lattice, balls, base, x, paired, computed, ahead, classifier);
        carried = ahead.following;
        // The rest of the plane, and the word it shares with the plane above.
        classifier.UpTo(classified);
        classified = firstWhole;
    }
}
