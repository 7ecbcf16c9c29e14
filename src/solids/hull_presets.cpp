// The hull command's preset vertex sets.
#include "solids/hull_presets.h"

#include "solids/regular_solids.h"

#include <cmath>

const char16_t* const g_hullPresetNames[kHullPresetCount] = {
    u"当前页所选点", u"长方体",   u"正六棱柱", u"正六棱锥",   u"正六棱台",
    u"正四面体",     u"正六面体", u"正八面体", u"正十二面体", u"正二十面体"};

namespace {

constexpr double kPi = 3.141592653589793;

void Add(std::vector<double>& out, double x, double y, double z) {
    out.push_back(x);
    out.push_back(y);
    out.push_back(z);
}

// Six points of a regular hexagon of a radius at a height.
void Hexagon(std::vector<double>& out, double radius, double z) {
    for (int k = 0; k < 6; ++k)
        Add(out, radius * std::cos(k * kPi / 3.0), radius * std::sin(k * kPi / 3.0), z);
}

// The eight corners (±x, ±y, ±z).
void Box(std::vector<double>& out, double x, double y, double z) {
    for (double sz : {-1.0, 1.0})
        for (double sy : {-1.0, 1.0})
            for (double sx : {-1.0, 1.0})
                Add(out, sx * x, sy * y, sz * z);
}

} // namespace

std::vector<double> HxHullPresetPoints(int item) {
    std::vector<double> out;
    switch (item) {
    case 0:
        break;
    case 1:
        Box(out, 5.0, 4.0, 3.0);
        break;
    case 2:
        Hexagon(out, 6.0, -5.0);
        Hexagon(out, 6.0, 5.0);
        break;
    case 3:
        Hexagon(out, 6.0, -5.0);
        Add(out, 0.0, 0.0, 5.0);
        break;
    case 4:
        Hexagon(out, 6.0, -5.0);
        Hexagon(out, 3.0, 5.0);
        break;
    case 5: {
        const double s = 10.0 / std::sqrt(3.0);
        for (const auto& c : kTetrahedronSigns)
            Add(out, s * c[0], s * c[1], s * c[2]);
        break;
    }
    case 7:
        for (const auto& c : kOctahedronCorners)
            Add(out, 6.0 * c[0], 6.0 * c[1], 6.0 * c[2]);
        break;
    case 8: {
        const double g = (std::sqrt(5.0) - 1.0) / 2.0, h = g + 1.0, k = 6.0 / std::sqrt(3.0);
        Box(out, k, k, k);
        for (double s1 : {-1.0, 1.0})
            for (double s2 : {-1.0, 1.0}) {
                Add(out, 0.0, s1 * g * k, s2 * h * k);
                Add(out, s1 * g * k, s2 * h * k, 0.0);
                Add(out, s1 * h * k, 0.0, s2 * g * k);
            }
        break;
    }
    case 9: {
        const double a = 6.0 * std::sqrt((5.0 - std::sqrt(5.0)) / 10.0);
        const double b = 6.0 * std::sqrt((5.0 + std::sqrt(5.0)) / 10.0);
        for (double s1 : {-1.0, 1.0})
            for (double s2 : {-1.0, 1.0}) {
                Add(out, 0.0, s1 * a, s2 * b);
                Add(out, s1 * a, s2 * b, 0.0);
                Add(out, s1 * b, 0.0, s2 * a);
            }
        break;
    }
    default:
        Box(out, 5.0, 5.0, 5.0);
        break;
    }
    return out;
}
