// The ticks and numbers of the two-dimensional axes (CGScaleline, "二维轴部件"), and the building
// of those axes: origin, the four end points, the two arrows and the scale.
#pragma once

#include "model/cell.h"

#include <vector>

class CConstruction;

// The tick marks along the x axis (and the y axis) of a plane coordinate system with the numbers
// beside them.  Parents: 0 the origin point, 1 to 4 the cells bounding x min, x max, y min, y max
// by their first parameter word (the signed distances of the axes' end points).  m_style 0 both
// axes, else the x axis only; m_kind 0 decimal numbers, else x in multiples of pi/2; the object
// colour draws the ticks, the label colour the numbers, m_labelHidden leaves the numbers out.
class CGScaleline : public CGCell {
    DECLARE_SERIAL(CGScaleline)
public:
    CGScaleline(); // origin and bounds 0, automatic spacing, both spacings 2
    // On the origin and the four bounding cells; the three integers are not used.  Numbers shown,
    // automatic spacing, decimal numbers on both axes, object colour, named "二维轴部件".
    CGScaleline(WORD id, WORD origin, WORD xMin, WORD xMax, WORD yMin, WORD yMax, int, int, int,
                float tickSpacing, float valueSpacing);

    // The common record, then the automatic-spacing flag and the two spacings (the origin and the
    // bounds come from the parents).
    void Serialize(CArchive& ar) override;
    // The origin (a valid point) and the bounds, each valid and on its side of 0 (x min <= 0,
    // x max >= 0, y min <= 0, y max >= 0); invalid at the first that fails.
    void Recompute() override;
    void DrawVisible() override;
    // Pick modes 3 and above: the bands along the axes under class 11.
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "2维坐标轴上刻度线及刻度值"

    // The automatic spacing for the present zoom: the first of 0.1, 0.2, 0.5, 1, ... 1000 above
    // s / 1.5 with s = 50 unit lengths / zoom, 2000 when none is.
    static float AutoSpacing(float unitLength, float zoom);
    // The multiples k of `spacing` with k * spacing strictly between `low` and `high` (k != 0), in
    // the order they are drawn (1, 2, ... then -1, -2, ...).  None for a spacing that is not above
    // 0 or that would give more than kMaxMarks marks.
    static std::vector<int> Multiples(double spacing, double low, double high);
    static constexpr int kMaxMarks = 10000;

    bool XAxisOnly() const { return m_style != 0; }
    bool PiNumbers() const { return m_kind != 0; }

    float m_origin[3] = {0.0f, 0.0f, 0.0f};
    float m_xMin = 0.0f;
    float m_xMax = 0.0f;
    float m_yMin = 0.0f;
    float m_yMax = 0.0f;
    int m_autoSpacing = 1;
    float m_tickSpacing = 2.0f;
    float m_valueSpacing = 2.0f;

private:
    void DrawTicks(double h, double tickSpacing) const;
    void DrawNumbers(double h, double valueSpacing) const;
    void DrawPiNumbers(double h) const;
};

// The cells of the plane axes of the view's command, made in `run` (which must have room for 8
// cells, 5 of them points): the origin ("O", the one selected point renamed, else a new fixed point
// at 0), the ends x', x, y', y of the axes as free points at a fixed direction from it (x' and y'
// hidden), the two arrows and the scale.  Returns the number of cells made (7 or 8).
int HxBuildAxes2D(CConstruction& run);
