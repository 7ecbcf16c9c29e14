// The corners of the regular tetrahedron and octahedron about the origin, in the one order the hull
// presets and the positioning figures both use: the tetrahedron's as signs (its corners are
// t × these), the octahedron's at distance 1.
#pragma once

// (−1, −1, −1), (1, 1, −1), (−1, 1, 1), (1, −1, 1): alternate corners of the cube.
inline constexpr float kTetrahedronSigns[4][3] = {{-1, -1, -1}, {1, 1, -1}, {-1, 1, 1}, {1, -1, 1}};

// (±1, 0, 0), (0, ±1, 0), (0, 0, ±1), the positive end of each axis first.
inline constexpr float kOctahedronCorners[6][3] = {{1, 0, 0},  {-1, 0, 0}, {0, 1, 0},
                                                   {0, -1, 0}, {0, 0, 1},  {0, 0, -1}};
