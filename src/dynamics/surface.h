// CGSurface: a surface given by three expressions in u and v (and the values of its parents) in
// Cartesian, spherical or cylindrical coordinates over ranges that are expressions too, sampled on a
// u,v grid into one display list: a lit mesh with normals and texture coordinates, or a wire grid.
#pragma once

#include "measure/fun_parser.h"
#include "model/cell.h"
#include "view/gl_context.h"

#include <vector>

// The sampled grid of a surface: nu columns by nv rows of points, the normals of the lit mesh and
// the texture coordinates of each column and row.  Built for the display list (and for tests).
struct CSurfaceMesh {
    int nu = 0;
    int nv = 0;
    bool wire = false;
    std::vector<double> points;  // 3 per vertex, row by row (v), column by column (u) in a row
    std::vector<double> normals; // the same layout; empty for a wire grid
    std::vector<double> s;       // per column
    std::vector<double> t;       // per row
    const double* Point(int row, int column) const { return &points[3 * (size_t(row) * nu + column)]; }
    const double* Normal(int row, int column) const { return &normals[3 * (size_t(row) * nu + column)]; }
};

class CGSurface : public CGCell {
    DECLARE_SERIAL(CGSurface)
public:
    // Indices of the seven texts (and of their parsers).
    enum { kX = 0, kY, kZ, kUStart, kUEnd, kVStart, kVEnd, kTextCount };
    // Coordinate kinds (m_param1).
    static constexpr int kCartesian = 0;
    static constexpr int kSpherical = 1;
    static constexpr int kCylindrical = 2;
    // Display styles (m_style).
    static constexpr BYTE kStyleLit = 0;
    static constexpr BYTE kStyleTranslucent = 1;
    static constexpr BYTE kStyleWire = 2;
    // Texture mapping modes.
    static constexpr int kMappingAutomatic = 0;
    static constexpr int kMappingDefined = 1;
    // Indices of the mapping values: s = m[kSScale] u + m[kSOffset], t = m[kTScale] v + m[kTOffset];
    // the two reserved values are kept as they are.
    enum { kSScale = 0, kReserved1, kReserved2, kTScale, kSOffset, kTOffset, kMappingCount };
    // The most grid points a surface samples (columns times rows); beyond it the surface is invalid.
    static constexpr double kMaxGridPoints = 1.0e6;
    // The texture the back side takes in the two-sided rule.
    static constexpr int kBackTexture = 3;

    // Empty texts, no samples, steps 0.1, nothing compiled, the solid colour (for loading).
    CGSurface();
    // Parents (the values No1, No2, ...) in order; the texts, settings and steps as given; computed
    // at once.
    CGSurface(WORD id, const std::vector<WORD>& parents, const CString& x, const CString& y, const CString& z,
              const CString& uStart, const CString& uEnd, const CString& vStart, const CString& vEnd,
              BYTE style, int frontTexture, int twoSided, int mappingMode, int coordinateKind, double uStep,
              double vStep, const double mapping[kMappingCount]);
    ~CGSurface() override;

    // The common record, the seven texts, the two steps, front texture, two-sided flag, mapping mode
    // and the six mapping values.  Storing counts the document textures it uses; loading leaves the
    // texts to be compiled at the first recomputation.
    void Serialize(CArchive& ar) override;
    // Compiles the texts when needed, passes the parents' values in and samples again: invalid when
    // a parent is, or when the ranges cannot be evaluated or give too many grid points.
    void Recompute() override;
    void DrawVisible() override;
    void DrawLit() override;
    void DrawTranslucent() override;
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "自定义曲面：x=%s,y=%s,z=%s"

    // The coordinate kind of m_param1; a value that is none of the three (a damaged record) counts as
    // Cartesian.
    int CoordinateKind() const;
    // The point at (u, v) in the coordinate kind.
    void EvalPoint(double out[3], double u, double v);
    // Evaluates the ranges (in automatic mapping also the texture mapping) and samples the surface
    // into its display list: at once when an OpenGL context is current, else at the next drawing.
    // False when the ranges cannot be evaluated or give too many grid points.
    BOOL BuildDisplayList();
    // The grid the display list is made of.  False as BuildDisplayList.
    bool SampleMesh(CSurfaceMesh& mesh);
    // The texts compiled again at the next recomputation (after they changed).
    void Invalidate() { m_compiled = 0; }
    // The index of the first text that does not compile, or -1 (compiles them first when needed).
    int FirstBrokenText();

    CString m_texts[kTextCount];
    int m_frontTexture = 0; // 0 none, else a texture number 1 to 15
    int m_twoSided = 0;     // the back side takes texture 3 (or none when the front is 3)
    int m_vCount = 0;       // grid rows and columns of the last sampling
    int m_uCount = 0;
    double m_uStep = double(0.1f);
    double m_vStep = double(0.1f);
    BYTE m_compiled = 0;
    int m_mappingMode = kMappingAutomatic;
    double m_mapping[kMappingCount] = {1.0, 0.0, 0.0, 1.0, 0.0, 0.0};

private:
    // The range of one parameter: its first value, its step and its number of samples.
    struct CRange {
        double start = 0.0;
        double end = 0.0;
        double step = 0.0;
        int count = 0;
    };
    void Compile();
    // v then u: compiled, finite ends (the u end through GetValue); the counts bounded.
    bool EvaluateRanges(CRange& u, CRange& v);
    // A coordinate text's value at the u, v set: direct (kinds 0 and 1) or through GetValue.
    double Direct(int index);
    double Checked(int index);
    void SampleLit(const CRange& u, const CRange& v, CSurfaceMesh& mesh);
    void SampleWire(const CRange& u, const CRange& v, CSurfaceMesh& mesh);
    // Makes the list from a fresh sampling (a context is current); false when sampling fails.
    bool CompileList();
    // The list called, made first when it is out of date; false when there is none.
    bool CallList();
    void DrawTextured(bool twoSided);

    CFunParser m_parsers[kTextCount];
    CHxGlLists m_list;
    bool m_listStale = true;
};
