// How the table is made. Every row is a height field over the cell on a 4 x 4 grid of points at 0,
// 305, 719 and 1024 units in x and y: a point lies at the full roof height (396) unless it lies on an
// open side (the roof's eave, height 0) or is the cell corner towards a missing diagonal neighbour
// (the foot of a valley, height 0). Each of the nine grid squares is one plane or is cut along the
// diagonal through its odd corner into two triangles (a hip over an outer corner, a valley into an
// inner one). Pieces that lie in one plane are merged into their convex outline when the outline
// covers exactly the pieces, so a straight slope is one face and a hip is four trapezoids. Every face
// runs in the ground's corner order, so it faces up and outward and is drawn only from outside; the
// height reaches 0 on every open side, so neighbouring roofs meet without gaps and a roof closes onto
// the block below it. Texture coordinates: u runs 4 per unit along the eave, left to right as seen
// from outside; v runs from 1999 at the eave to 0 at the ridge (the slope's 500-unit length); flat
// tops take 4 per unit in x and y.
//
// Rows 1..15: the open sides are the row's bits (1 north, 2 west, 4 south, 8 east); 17..31: no open
// side, the valleys are bits of row - 16 (1 north-west, 2 south-west, 4 south-east, 8 north-east);
// 32..47: one or two open sides with valleys in the corners away from them (the joint codes of the
// view caches); 48..59: the shapes of kind-1 blocks, designed as single slopes (48..51, open north,
// west, south, east), corner hips (52..55, open north+west, west+south, south+east, east+north) and
// three-sided ends (56..59, closed only south, east, north, west). Rows 0 and 16 are empty.
#include "view3d/BlockModels.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr u8 N = 1, W = 2, S = 4, E = 8;
constexpr u8 NW = 1, SW = 2, SE = 4, NE = 8;
constexpr i32 kGrid[4] = {0, kRoofInset, 1024 - kRoofInset, 1024};
constexpr i32 kSlopeV = 1999;

struct Shape {
    u8 open, corners;
};

constexpr Shape kJoint32To47[16] = {
    {S | E, NW}, {N, SE}, {N, SW}, {N, SE | SW}, {N | E, SW}, {W, NE}, {W, SE}, {W, NE | SE},
    {N | W, SE}, {S, NW}, {S, NE}, {S, NW | NE}, {W | S, NE}, {E, SW}, {E, NW}, {E, SW | NW},
};
constexpr u8 kShapes48To59[12] = {N,     W,     S,         E,         N | W,     W | S,
                                  S | E, E | N, N | W | E, N | W | S, W | S | E, N | S | E};

struct Point {
    i32 i, j;  // grid indices
};

// A piece: its grid points in the ground's order and the plane it lies in.
struct Piece {
    Point p[4];
    i32 count;
    i32 plane;  // 0 flat; 1..4 slopes down to north, west, south, east (zero line at that side)
};

i32 PlaneOf(const i32 h[4][4], const Piece& piece) {
    // The gradient of the piece from the heights at its points: a rise in +y is a north slope, and so on.
    i32 gx = 0, gy = 0;
    for (i32 a = 0; a < piece.count; ++a) {
        for (i32 b = 0; b < piece.count; ++b) {
            const Point& p = piece.p[a];
            const Point& q = piece.p[b];
            const i32 dh = h[q.i][q.j] - h[p.i][p.j];
            if (dh == 0) continue;
            if (p.j == q.j) gx += (q.i > p.i) == (dh > 0) ? 1 : -1;
            if (p.i == q.i) gy += (q.j > p.j) == (dh > 0) ? 1 : -1;
        }
    }
    if (gx == 0 && gy == 0) return 0;
    if (std::abs(gy) >= std::abs(gx)) return gy > 0 ? 1 : 3;
    return gx > 0 ? 2 : 4;
}

i64 Cross(const Point& o, const Point& a, const Point& b) {
    return static_cast<i64>(kGrid[a.i] - kGrid[o.i]) * (kGrid[b.j] - kGrid[o.j]) -
           static_cast<i64>(kGrid[a.j] - kGrid[o.j]) * (kGrid[b.i] - kGrid[o.i]);
}

i64 Area2(const Point* p, i32 n) {
    i64 a = 0;
    for (i32 k = 0; k < n; ++k) {
        const Point& s = p[k];
        const Point& t = p[(k + 1) % n];
        a += static_cast<i64>(kGrid[s.i]) * kGrid[t.j] - static_cast<i64>(kGrid[t.i]) * kGrid[s.j];
    }
    return a;
}

// Convex outline of a point set, in the ground's order (positive area with y running south).
std::vector<Point> Outline(std::vector<Point> pts) {
    std::sort(pts.begin(), pts.end(),
              [](const Point& a, const Point& b) { return a.i != b.i ? a.i < b.i : a.j < b.j; });
    pts.erase(std::unique(pts.begin(), pts.end(),
                          [](const Point& a, const Point& b) { return a.i == b.i && a.j == b.j; }),
              pts.end());
    if (pts.size() < 3) return pts;
    std::vector<Point> hull(2 * pts.size());
    size_t k = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        while (k >= 2 && Cross(hull[k - 2], hull[k - 1], pts[i]) <= 0) --k;
        hull[k++] = pts[i];
    }
    for (size_t i = pts.size() - 1, t = k + 1; i > 0; --i) {
        while (k >= t && Cross(hull[k - 2], hull[k - 1], pts[i - 1]) <= 0) --k;
        hull[k++] = pts[i - 1];
    }
    hull.resize(k - 1);
    return hull;
}

void UV(i32 plane, i32 x, i32 y, i32& u, i32& v) {
    switch (plane) {
    case 1: u = 4 * (1024 - x), v = (kRoofInset - y) * kSlopeV / kRoofInset; break;
    case 3: u = 4 * x, v = (kRoofInset - (1024 - y)) * kSlopeV / kRoofInset; break;
    case 2: u = 4 * y, v = (kRoofInset - x) * kSlopeV / kRoofInset; break;
    case 4: u = 4 * (1024 - y), v = (kRoofInset - (1024 - x)) * kSlopeV / kRoofInset; break;
    default: u = 4 * x, v = 4 * y; break;
    }
}

void BuildRow(CBlockModelTable& t, i32 row, u8 open, u8 corners) {
    CModelRow& r = t.rows[row];
    r.firstFace = static_cast<u16>(t.faces.size());
    r.firstVertex = static_cast<u16>(t.vertices.size());
    i32 h[4][4];
    for (i32 i = 0; i < 4; ++i)
        for (i32 j = 0; j < 4; ++j) {
            bool low = ((open & N) && j == 0) || ((open & S) && j == 3) || ((open & W) && i == 0) ||
                       ((open & E) && i == 3);
            low |= ((corners & NW) && i == 0 && j == 0) || ((corners & SW) && i == 0 && j == 3) ||
                   ((corners & SE) && i == 3 && j == 3) || ((corners & NE) && i == 3 && j == 0);
            h[i][j] = low ? 0 : kRoofHeight;
        }
    for (i32 j = 0; j < 4; ++j)
        for (i32 i = 0; i < 4; ++i) t.vertices.push_back({kGrid[i], h[i][j], kGrid[j]});
    r.vertexCount = 16;

    std::vector<Piece> pieces;
    for (i32 i = 0; i < 3; ++i)
        for (i32 j = 0; j < 3; ++j) {
            const Point q[4] = {{i, j}, {i + 1, j}, {i + 1, j + 1}, {i, j + 1}};
            i32 zeros = 0, odd = -1;
            for (i32 k = 0; k < 4; ++k) zeros += h[q[k].i][q[k].j] == 0;
            // The odd corner: the one high point among three low ones, or the one low among three high.
            if (zeros == 1 || zeros == 3)
                for (i32 k = 0; k < 4; ++k)
                    if ((h[q[k].i][q[k].j] == 0) == (zeros == 1)) odd = k;
            if (odd < 0) {
                pieces.push_back({{q[0], q[1], q[2], q[3]}, 4, 0});
            } else {
                const i32 a = odd, b = (odd + 1) % 4, c = (odd + 2) % 4, d = (odd + 3) % 4;
                pieces.push_back({{q[a], q[b], q[c]}, 3, 0});
                pieces.push_back({{q[a], q[c], q[d]}, 3, 0});
            }
        }
    for (Piece& p : pieces) p.plane = PlaneOf(h, p);

    auto addFace = [&](const Point* pts, i32 n, i32 plane) {
        CModelFace f;
        f.firstCorner = static_cast<u16>(t.corners.size());
        f.cornerCount = static_cast<u16>(n);
        for (i32 k = 0; k < n; ++k) {
            CModelCorner c;
            c.vertex = static_cast<u16>(pts[k].j * 4 + pts[k].i);
            UV(plane, kGrid[pts[k].i], kGrid[pts[k].j], c.u, c.v);
            t.corners.push_back(c);
        }
        t.faces.push_back(f);
    };
    // Merge the pieces of each plane where their outline covers exactly them.
    for (i32 plane = 0; plane <= 4; ++plane) {
        std::vector<Point> pts;
        i64 area = 0;
        std::vector<const Piece*> members;
        for (const Piece& p : pieces) {
            if (p.plane != plane) continue;
            members.push_back(&p);
            area += Area2(p.p, p.count);
            pts.insert(pts.end(), p.p, p.p + p.count);
        }
        if (members.empty()) continue;
        // A flat top everywhere means the block is surrounded: nothing of it shows.
        if (plane == 0 && members.size() == 9) continue;
        std::vector<Point> outline = Outline(pts);
        if (outline.size() <= 4 && Area2(outline.data(), static_cast<i32>(outline.size())) == area) {
            addFace(outline.data(), static_cast<i32>(outline.size()), plane);
        } else {
            for (const Piece* p : members) addFace(p->p, p->count, plane);
        }
    }
    r.faceCount = static_cast<u16>(t.faces.size() - r.firstFace);
}

CBlockModelTable Build() {
    CBlockModelTable t;
    for (i32 row = 0; row < kModelRows; ++row) {
        u8 open = 0, corners = 0;
        if (ModelRowShape(row, open, corners)) {
            BuildRow(t, row, open, corners);
        } else {
            t.rows[row] =
                CModelRow{static_cast<u16>(t.faces.size()), static_cast<u16>(t.vertices.size()), 0, 0};
        }
    }
    return t;
}

}  // namespace

bool ModelRowShape(i32 row, u8& open, u8& corners) {
    open = corners = 0;
    if (row <= 0 || row == 16 || row >= kModelRows) return false;
    if (row < 16) {
        open = static_cast<u8>(row);
    } else if (row < 32) {
        corners = static_cast<u8>(row - 16);
    } else if (row < 48) {
        open = kJoint32To47[row - 32].open;
        corners = kJoint32To47[row - 32].corners;
    } else {
        open = kShapes48To59[row - 48];
    }
    return true;
}

const CBlockModelTable& BlockModels() {
    static const CBlockModelTable table = Build();
    return table;
}
