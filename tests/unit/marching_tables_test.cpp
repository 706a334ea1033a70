#include "app/marching_tables.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>
#include <vector>

namespace {

using VARKO::edgeTable;
using VARKO::triTable;
using VARKO::verticesAtEndsOfEdges;

bool Below(int cellIndex, int corner) {
    return (cellIndex >> corner & 1) != 0;
}

bool EdgeIsCut(int cellIndex, int edge) {
    return Below(cellIndex, verticesAtEndsOfEdges[2 * edge]) !=
           Below(cellIndex, verticesAtEndsOfEdges[2 * edge + 1]);
}

int EdgeBetween(int cornerA, int cornerB) {
    for (int edge = 0; edge < 12; ++edge) {
        const int first = verticesAtEndsOfEdges[2 * edge];
        const int second = verticesAtEndsOfEdges[2 * edge + 1];
        if ((first == cornerA && second == cornerB) || (first == cornerB && second == cornerA)) {
            return edge;
        }
    }
    return -1;
}

std::vector<int> Row(int cellIndex) {
    std::vector<int> row;
    for (int i = 0; triTable[cellIndex][i] != -1; ++i) {
        row.push_back(triTable[cellIndex][i]);
    }
    return row;
}

using Segment = std::pair<int, int>;

Segment Undirected(int a, int b) {
    return a < b ? Segment(a, b) : Segment(b, a);
}

// Where the surface of a cell meets each face: one segment per corner cut off, and on a face whose
// diagonal corners lie below the threshold, those corners are cut off separately.
std::set<Segment> ExpectedFaceSegments(int cellIndex) {
    static const int faces[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                    {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    std::set<Segment> segments;
    for (const auto& face : faces) {
        std::vector<int> cut;
        for (int i = 0; i < 4; ++i) {
            if (Below(cellIndex, face[i]) != Below(cellIndex, face[(i + 1) % 4])) {
                cut.push_back(EdgeBetween(face[i], face[(i + 1) % 4]));
            }
        }
        if (cut.size() == 2) {
            segments.insert(Undirected(cut[0], cut[1]));
        }
        for (int i = 0; cut.size() == 4 && i < 4; ++i) {
            if (Below(cellIndex, face[i])) {
                segments.insert(Undirected(EdgeBetween(face[(i + 3) % 4], face[i]),
                                           EdgeBetween(face[i], face[(i + 1) % 4])));
            }
        }
    }
    return segments;
}

TEST(MarchingTables, GivenRowsMatch) {
    const int firstEdges[16] = {0x0,   0x109, 0x203, 0x30A, 0x406, 0x50F, 0x605, 0x70C,
                                0x80C, 0x905, 0xA0F, 0xB06, 0xC0A, 0xD03, 0xE09, 0xF00};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(edgeTable[i], firstEdges[i]) << i;
    }
    EXPECT_EQ(edgeTable[255], 0);
    EXPECT_EQ(edgeTable[0x55], 0xFF);
    EXPECT_EQ(edgeTable[0xAA], 0xFF);

    const std::map<int, std::vector<int>> rows = {
        {0, {}},
        {255, {}},
        {1, {0, 8, 3}},
        {2, {0, 1, 9}},
        {3, {1, 8, 3, 9, 8, 1}},
        {7, {2, 8, 3, 2, 10, 8, 10, 9, 8}},
        {8, {3, 11, 2}},
        {15, {9, 8, 10, 10, 8, 11}},
        {0x55, {1, 2, 5, 5, 2, 6, 3, 0, 4, 3, 4, 7}},
        {0xAA, {3, 6, 2, 3, 7, 6, 1, 5, 0, 5, 4, 0}},
        {128, {7, 6, 11}},
        {240, {9, 10, 8, 10, 11, 8}},
        {254, {0, 3, 8}},
    };
    for (const auto& [cellIndex, row] : rows) {
        EXPECT_EQ(Row(cellIndex), row) << "row " << cellIndex;
    }
}

TEST(MarchingTables, EdgeTableMarksExactlyTheCutEdges) {
    for (int cellIndex = 0; cellIndex < 256; ++cellIndex) {
        for (int edge = 0; edge < 12; ++edge) {
            EXPECT_EQ((edgeTable[cellIndex] >> edge & 1) != 0, EdgeIsCut(cellIndex, edge))
                << "cell " << cellIndex << " edge " << edge;
        }
        EXPECT_EQ(edgeTable[cellIndex] >> 12, 0) << cellIndex;
    }
}

// Each row must be a consistently wound patch whose rim runs exactly along the face crossings;
// with the same choice on every face, neighbouring cells then always close up.
TEST(MarchingTables, EveryRowClosesUpAlongTheCellFaces) {
    int triangles = 0;
    for (int cellIndex = 0; cellIndex < 256; ++cellIndex) {
        const std::vector<int> row = Row(cellIndex);
        ASSERT_EQ(row.size() % 3, 0u) << cellIndex;
        ASSERT_LE(row.size(), 15u) << cellIndex;
        for (std::size_t i = row.size(); i < 16; ++i) {
            EXPECT_EQ(triTable[cellIndex][i], -1) << cellIndex;
        }
        for (int edge : row) {
            EXPECT_TRUE(edgeTable[cellIndex] >> edge & 1)
                << "cell " << cellIndex << " edge " << edge;
        }
        triangles += int(row.size()) / 3;
        std::map<Segment, int> directed;
        for (std::size_t i = 0; i < row.size(); i += 3) {
            for (int side = 0; side < 3; ++side) {
                ++directed[{row[i + side], row[i + (side + 1) % 3]}];
            }
        }
        std::set<Segment> rim;
        for (const auto& [segment, count] : directed) {
            EXPECT_EQ(count, 1) << "cell " << cellIndex << " wound twice the same way";
            if (directed.count({segment.second, segment.first}) == 0) {
                rim.insert(Undirected(segment.first, segment.second));
            }
        }
        EXPECT_EQ(rim, ExpectedFaceSegments(cellIndex)) << "cell " << cellIndex;
    }
    EXPECT_EQ(triangles, 820);
}

} // namespace
