// The parametric surface: grids, points, normals (with their fallbacks) and texture coordinates on
// examples of the surface dialog and hand-computed cases, equal range ends, the bound on the samples,
// invalid ranges and parents, values used as parameters, its record byte by byte with the texture
// counts, and the description.
#include "button_fixture.h"

#include "dynamics/surface.h"
#include "dynamics/surface_dialog.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

class SurfaceTest : public ButtonTest {
protected:
    struct CSpec {
        const char16_t* texts[7];
        int kind = CGSurface::kCartesian;
        double uStep = 1.0;
        double vStep = 1.0;
        BYTE style = CGSurface::kStyleLit;
        int texture = 0;
        int twoSided = 0;
        int mapping = CGSurface::kMappingAutomatic;
    };
    CGSurface* Make(const CSpec& s, std::vector<WORD> parents = {}) {
        const double mapping[CGSurface::kMappingCount] = {1.0, 7.0, 8.0, 1.0, 0.0, 0.0};
        return Insert(new CGSurface(NextId(), parents, s.texts[0], s.texts[1], s.texts[2], s.texts[3],
                                    s.texts[4], s.texts[5], s.texts[6], s.style, s.texture, s.twoSided,
                                    s.mapping, s.kind, s.uStep, s.vStep, mapping));
    }
    // A surface of the dialog's example with that name.
    CGSurface* Example(const char16_t* name, BYTE style = CGSurface::kStyleLit) {
        for (const CDlgSurface::CExample& e : CDlgSurface::kExamples) {
            if (CString(e.name) == CString(name)) {
                CSpec s;
                for (int i = 0; i < 7; ++i)
                    s.texts[i] = e.texts[i];
                s.kind = e.system;
                s.uStep = e.uStep;
                s.vStep = e.vStep;
                s.style = style;
                s.texture = e.texture;
                s.twoSided = e.back ? 1 : 0;
                return Make(s);
            }
        }
        ADD_FAILURE() << "no example of that name";
        return nullptr;
    }
    static CSurfaceMesh Mesh(CGSurface& surface) {
        CSurfaceMesh mesh;
        EXPECT_TRUE(surface.SampleMesh(mesh));
        return mesh;
    }
    static void ExpectVector(const double* v, double x, double y, double z, double tolerance = 1e-9) {
        EXPECT_NEAR(v[0], x, tolerance);
        EXPECT_NEAR(v[1], y, tolerance);
        EXPECT_NEAR(v[2], z, tolerance);
    }
};

} // namespace

TEST_F(SurfaceTest, ThePlaneExampleSampledOnItsGrid) {
    CGSurface* plane = Example(u"平面");
    ASSERT_TRUE(plane);
    EXPECT_TRUE(plane->m_valid);
    const CSurfaceMesh mesh = Mesh(*plane);
    // 20 / 8 + 2 = 4.5: four columns and rows 20 / 3 apart.
    ASSERT_EQ(mesh.nu, 4);
    ASSERT_EQ(mesh.nv, 4);
    EXPECT_EQ(plane->m_uCount, 4);
    EXPECT_EQ(plane->m_vCount, 4);
    const double d = 20.0 / 3.0;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            ExpectVector(mesh.Point(i, j), -10.0 + j * d, -10.0 + i * d, 0.0, 1e-12);
            // Left neighbour times lower neighbour: (d, 0, 0) x (0, d, 0), not normalised.
            ExpectVector(mesh.Normal(i, j), 0.0, 0.0, d * d, 1e-9);
        }
    }
    // Automatic mapping spans the texture once: s = (u + 10) / 20.
    EXPECT_DOUBLE_EQ(plane->m_mapping[CGSurface::kSScale], 0.05);
    EXPECT_DOUBLE_EQ(plane->m_mapping[CGSurface::kSOffset], 0.5);
    EXPECT_NEAR(mesh.s[0], 0.0, 1e-12);
    EXPECT_NEAR(mesh.s[3], 1.0, 1e-12);
    EXPECT_NEAR(mesh.t[1], 1.0 / 3.0, 1e-12);
    // The reserved mapping values are carried, not computed.
    EXPECT_EQ(plane->m_mapping[CGSurface::kReserved1], 7.0);
    EXPECT_EQ(plane->m_mapping[CGSurface::kReserved2], 8.0);
}

TEST_F(SurfaceTest, TheCylinderExampleInCylindricalCoordinates) {
    CGSurface* cylinder = Example(u"圆柱面");
    ASSERT_TRUE(cylinder);
    const CSurfaceMesh mesh = Mesh(*cylinder);
    // u over 2 pi by 0.2: trunc(31.4159 + 2) = 33 columns; v over 16 by 1: 18 rows.
    ASSERT_EQ(mesh.nu, 33);
    ASSERT_EQ(mesh.nv, 18);
    const double du = 2.0 * kPi / 32.0, dv = 16.0 / 17.0;
    for (int i : {0, 7, 17}) {
        for (int j : {0, 5, 32}) {
            const double u = j * du, v = -8.0 + i * dv;
            ExpectVector(mesh.Point(i, j), 5.0 * std::cos(u), 5.0 * std::sin(u), v, 1e-9);
            // Outward, square to the axis.
            const double* n = mesh.Normal(i, j);
            EXPECT_GT(n[0] * std::cos(u) + n[1] * std::sin(u), 0.0);
            EXPECT_NEAR(n[2], 0.0, 1e-9);
        }
    }
    // The radial normal of row 0 is b x a with b the chord to the left and a = (0, 0, dv).
    const double* n = mesh.Normal(0, 1);
    const double chord[3] = {5.0 * (std::cos(du) - 1.0), 5.0 * std::sin(du), 0.0};
    ExpectVector(n, chord[1] * dv, -chord[0] * dv, 0.0, 1e-9);
    EXPECT_NEAR(mesh.t[17], 1.0, 1e-9);
    EXPECT_NEAR(mesh.s[32], 1.0, 1e-9);
}

TEST_F(SurfaceTest, SphericalAndCartesianPoints) {
    CGSurface* sphere = Example(u"球面");
    ASSERT_TRUE(sphere);
    double p[3];
    // rho 6, theta = v from the z axis, phi = u.
    sphere->EvalPoint(p, 0.5, -1.0);
    ExpectVector(p, 6 * std::sin(-1.0) * std::cos(0.5), 6 * std::sin(-1.0) * std::sin(0.5),
                 6 * std::cos(-1.0));
    sphere->EvalPoint(p, 1.0, 0.0);
    ExpectVector(p, 0.0, 0.0, 6.0, 1e-12);
    CGSurface* saddle = Example(u"双曲抛物面");
    ASSERT_TRUE(saddle);
    saddle->EvalPoint(p, 3.0, -2.0);
    ExpectVector(p, 3.0, -2.0, 0.16 * 5.0, 1e-12);
    // The blanks the examples keep do not change what they mean.
    CGSurface* leaf = Example(u"叶片");
    ASSERT_TRUE(leaf);
    EXPECT_EQ(leaf->FirstBrokenText(), -1);
    leaf->EvalPoint(p, 1.0, 0.5);
    ExpectVector(p, 0.5 * (3 - 0.25 - 1.0 / 3), 1.0 * (0.75 - 1 - 1.0 / 3), -1.0, 1e-12);
    CGSurface* dumpling = Example(u"八面粽");
    ASSERT_TRUE(dumpling);
    EXPECT_EQ(dumpling->FirstBrokenText(), -1);
    EXPECT_TRUE(dumpling->m_valid);
}

// A damaged record's coordinate kind that is none of the three (no number, out of range) is taken
// as Cartesian, both when sampling and in the dialog.
TEST_F(SurfaceTest, ACoordinateKindThatIsNoneOfTheThreeCountsAsCartesian) {
    CSpec spec{{u"u", u"v", u"u*v", u"0", u"1", u"0", u"1"}};
    CGSurface* s = Make(spec);
    ASSERT_TRUE(s);
    const float odd[] = {std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN(),
                         3.0f,
                         -1.0f,
                         1.0e30f};
    for (float kind : odd) {
        s->m_param1 = kind;
        EXPECT_EQ(s->CoordinateKind(), CGSurface::kCartesian) << kind;
        double p[3] = {-1.0, -1.0, -1.0};
        s->EvalPoint(p, 2.0, 3.0);
        ExpectVector(p, 2.0, 3.0, 6.0, 1e-12);
        CDlgSurface dialog;
        dialog.TakeFrom(*s);
        EXPECT_EQ(dialog.m_system, 0) << kind;
    }
    s->m_param1 = 2.0f;
    EXPECT_EQ(s->CoordinateKind(), CGSurface::kCylindrical);
    s->m_param1 = 1.0f;
    EXPECT_EQ(s->CoordinateKind(), CGSurface::kSpherical);
}

TEST_F(SurfaceTest, EveryExampleSamplesValidAndFinite) {
    for (const CDlgSurface::CExample& e : CDlgSurface::kExamples) {
        CGSurface* s = Example(e.name);
        ASSERT_TRUE(s);
        EXPECT_TRUE(s->m_valid) << CString(e.name).ToUtf8();
        EXPECT_EQ(s->FirstBrokenText(), -1) << CString(e.name).ToUtf8();
        CSurfaceMesh mesh;
        ASSERT_TRUE(s->SampleMesh(mesh));
        EXPECT_GE(mesh.nu, 2);
        EXPECT_GE(mesh.nv, 2);
        EXPECT_EQ(mesh.points.size(), size_t(mesh.nu) * size_t(mesh.nv) * 3);
        EXPECT_EQ(mesh.normals.size(), mesh.points.size());
        for (double v : mesh.s)
            EXPECT_TRUE(std::isfinite(v));
    }
}

TEST_F(SurfaceTest, FallbackNormalsOfDegeneratePoints) {
    // Steps of 2 over ranges of 1: two samples each way, one apart.
    auto make = [this](std::initializer_list<const char16_t*> texts) {
        CSpec s;
        std::copy(texts.begin(), texts.end(), s.texts);
        s.uStep = s.vStep = 2.0;
        return Make(s);
    };
    // Row 0 lies on one point: the normal comes from the two points of the next row.
    CGSurface* fan = make({u"u*v", u"v", u"0", u"0", u"1", u"0", u"1"});
    CSurfaceMesh mesh = Mesh(*fan);
    ASSERT_EQ(mesh.nu, 2);
    ASSERT_EQ(mesh.nv, 2);
    // (1, 1, 0) x (0, 1, 0) and (2, 1, 0) x (1, 1, 0).
    ExpectVector(mesh.Normal(0, 0), 0, 0, 1);
    ExpectVector(mesh.Normal(0, 1), 0, 0, 1);
    ExpectVector(mesh.Normal(1, 0), 0, 0, 1);
    ExpectVector(mesh.Normal(1, 1), 0, 0, 1);

    // A later row on one point: from the point diagonally below, q x p.
    CGSurface* pinch = make({u"u*(v-1)", u"v", u"0", u"0", u"1", u"0", u"1"});
    mesh = Mesh(*pinch);
    // g = P(-1, 0) = (1, 0, 0); p = (0, 1, 0) - g, q = (0, 0, 0) - g.
    ExpectVector(mesh.Normal(1, 0), 0, 0, -1);

    // Everything on one point: the point itself, or (0, 0, 1) at the origin.
    CGSurface* point = make({u"1", u"2", u"3", u"0", u"1", u"0", u"1"});
    mesh = Mesh(*point);
    ExpectVector(mesh.Normal(1, 1), 1, 2, 3);
    CGSurface* origin = make({u"0", u"0", u"0", u"0", u"1", u"0", u"1"});
    mesh = Mesh(*origin);
    ExpectVector(mesh.Normal(0, 0), 0, 0, 1);
}

TEST_F(SurfaceTest, EqualRangeEndsGiveTwoSamplesAndNoTextureScale) {
    CGSurface* line = Make({{u"u", u"v", u"0", u"2", u"2", u"-1", u"1"}});
    EXPECT_TRUE(line->m_valid);
    const CSurfaceMesh mesh = Mesh(*line);
    EXPECT_EQ(mesh.nu, 2);
    EXPECT_EQ(mesh.nv, 4);
    EXPECT_EQ(line->m_mapping[CGSurface::kSScale], 0.0);
    EXPECT_EQ(line->m_mapping[CGSurface::kSOffset], 0.0);
    EXPECT_DOUBLE_EQ(line->m_mapping[CGSurface::kTScale], 0.5);
    for (double s : mesh.s)
        EXPECT_EQ(s, 0.0);
    for (double v : mesh.normals)
        EXPECT_TRUE(std::isfinite(v));
    // Both ends equal in both directions.
    CGSurface* dot = Make({{u"u", u"v", u"0", u"1", u"1", u"1", u"1"}});
    EXPECT_TRUE(dot->m_valid);
    EXPECT_EQ(dot->m_mapping[CGSurface::kTScale], 0.0);
    EXPECT_EQ(dot->m_mapping[CGSurface::kTOffset], 0.0);
}

TEST_F(SurfaceTest, DefinedMappingIsKept) {
    CSpec s{{u"u", u"v", u"0", u"0", u"2", u"0", u"2"}};
    s.mapping = CGSurface::kMappingDefined;
    CGSurface* plane = Make(s);
    plane->m_mapping[CGSurface::kSScale] = 2.0;
    plane->m_mapping[CGSurface::kSOffset] = 0.25;
    plane->m_mapping[CGSurface::kTScale] = -1.0;
    plane->m_mapping[CGSurface::kTOffset] = 3.0;
    const CSurfaceMesh mesh = Mesh(*plane);
    EXPECT_EQ(plane->m_mapping[CGSurface::kSScale], 2.0);
    // Four samples over 0..2: u and v step by 2/3.
    EXPECT_DOUBLE_EQ(mesh.s[2], 2.0 * (4.0 / 3.0) + 0.25);
    EXPECT_DOUBLE_EQ(mesh.t[1], -1.0 * (2.0 / 3.0) + 3.0);
}

TEST_F(SurfaceTest, TooManySamplesMakeTheSurfaceInvalid) {
    struct Case {
        const char16_t* uEnd;
        double uStep, vStep;
        bool valid;
    };
    // v runs over 0..1: 4 rows at step 0.5, 1002 at step 0.001.
    for (const Case& c :
         {Case{u"1", 0.001, 0.5, true}, Case{u"999", 1.0, 0.001, false}, Case{u"10^9", 0.0001, 1.0, false},
          Case{u"1", 0.0, 1.0, false}, Case{u"1", -0.5, 1.0, false}, Case{u"1", 1.0, std::nan(""), false}}) {
        CSpec s{{u"u", u"v", u"0", u"0", c.uEnd, u"0", u"1"}};
        s.uStep = c.uStep;
        s.vStep = c.vStep;
        CGSurface* surface = Make(s);
        EXPECT_EQ(surface->m_valid, c.valid) << CString(c.uEnd).ToUtf8() << " " << c.uStep << " " << c.vStep;
        CSurfaceMesh mesh;
        EXPECT_EQ(surface->SampleMesh(mesh), c.valid);
    }
    // 1000 x 1000 is the most; 1000 x 1001 is beyond it.
    CSpec edge{{u"u", u"v", u"0", u"0", u"998", u"0", u"998"}};
    EXPECT_TRUE(Make(edge)->m_valid);
    edge.texts[4] = u"999";
    EXPECT_FALSE(Make(edge)->m_valid);
}

TEST_F(SurfaceTest, RangesThatCannotBeEvaluatedMakeItInvalid) {
    for (const auto& texts : {std::vector<const char16_t*>{u"0", u"1/0"},
                              {u"0", u"ln(-1)"},
                              {u"(", u"1"},
                              {u"", u"1"},
                              {u"0", u"1+"}}) {
        for (int which : {0, 1}) {
            CSpec s{{u"u", u"v", u"0", u"0", u"1", u"0", u"1"}};
            // The range of u, or of v.
            s.texts[3 + 2 * which] = texts[0];
            s.texts[4 + 2 * which] = texts[1];
            CGSurface* surface = Make(s);
            EXPECT_FALSE(surface->m_valid)
                << CString(texts[0]).ToUtf8() << ".." << CString(texts[1]).ToUtf8();
        }
    }
    // A coordinate that does not compile counts as 0 and is reported by FirstBrokenText.
    CGSurface* flat = Make({{u"u", u"v+", u"0", u"0", u"1", u"0", u"1"}});
    EXPECT_TRUE(flat->m_valid);
    EXPECT_EQ(flat->FirstBrokenText(), CGSurface::kY);
    double p[3];
    flat->EvalPoint(p, 0.5, 0.5);
    ExpectVector(p, 0.5, 0.0, 0.0);
}

TEST_F(SurfaceTest, ValuesAreTheVariablesAndAnInvalidOneMakesItInvalid) {
    CGTmVariable* r = AddValue(2.0f, u"r");
    CGTmVariable* h = AddValue(3.0f, u"h");
    CSpec s{{u"No1", u"u", u"v*No2", u"0", u"No2", u"-No1", u"No1"}};
    s.kind = CGSurface::kCylindrical;
    s.uStep = 0.5;
    s.vStep = 0.5;
    CGSurface* surface = Make(s, {r->m_id, h->m_id});
    EXPECT_EQ(Parents(surface), (std::vector<WORD>{r->m_id, h->m_id}));
    EXPECT_EQ(Ids(r->m_children), (std::vector<WORD>{surface->m_id}));
    double p[3];
    surface->EvalPoint(p, 0.0, 1.0);
    ExpectVector(p, 2.0, 0.0, 3.0);
    EXPECT_EQ(surface->m_uCount, 8); // 3 / 0.5 + 2
    EXPECT_EQ(surface->m_vCount, 10);
    // A parent moves: the ranges and points follow at the next recomputation.
    r->m_param1 = 1.0f;
    Changed(r);
    surface->EvalPoint(p, 0.0, 1.0);
    ExpectVector(p, 1.0, 0.0, 3.0);
    EXPECT_EQ(surface->m_vCount, 6);
    r->m_valid = false;
    surface->Recompute();
    EXPECT_FALSE(surface->m_valid);
    r->m_valid = true;
    surface->Recompute();
    EXPECT_TRUE(surface->m_valid);
}

TEST_F(SurfaceTest, WireGridHasNoNormals) {
    CGSurface* wire = Example(u"平面", CGSurface::kStyleWire);
    ASSERT_TRUE(wire);
    const CSurfaceMesh mesh = Mesh(*wire);
    EXPECT_TRUE(mesh.wire);
    EXPECT_TRUE(mesh.normals.empty());
    ExpectVector(mesh.Point(3, 3), 10.0, 10.0, 0.0, 1e-12);
}

TEST_F(SurfaceTest, RecordByteByByteAndTextureCounts) {
    CSpec s{{u"5*cos(u)", u"5*sin(u)", u"v", u"0", u"2*pi", u"-8", u"8"}};
    s.texture = 2;
    s.twoSided = 1;
    s.mapping = CGSurface::kMappingDefined;
    s.uStep = 0.2;
    s.vStep = 1.0;
    CGSurface* surface = Make(s);
    surface->m_param1 = 0.0f;
    CommonRecord common = ButtonCommon(*surface);
    ByteBuilder expected;
    expected.NewClass("CGSurface");
    common.AppendTo(expected);
    for (const char16_t* t : s.texts)
        expected.Str(t);
    expected.F64(0.2).F64(1.0).I32(2).I32(1).I32(1);
    for (double v : {1.0, 7.0, 8.0, 1.0, 0.0, 0.0})
        expected.F64(v);
    std::fill(std::begin(g_textureUseCount), std::end(g_textureUseCount), 0);
    auto back = ExpectRecord<CGSurface>(surface, expected.Bytes());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_compiled, 0) << "loaded texts compile at the first recomputation";
    EXPECT_EQ(back->m_texts[CGSurface::kVStart], CString(u"-8"));
    // Texture 2 with the two-sided flag counts texture 2 and texture 3 on every store.
    EXPECT_GT(g_textureUseCount[2], 0);
    EXPECT_EQ(g_textureUseCount[2], g_textureUseCount[3]);
    EXPECT_EQ(g_textureUseCount[1], 0);

    struct Case {
        int front, twoSided;
        int counts[4];
    };
    for (const Case& c : {Case{1, 0, {0, 1, 0, 0}}, Case{3, 1, {0, 0, 0, 1}}, Case{0, 1, {0, 0, 0, 1}},
                          Case{5, 1, {0, 0, 0, 0}}, Case{0, 0, {0, 0, 0, 0}}}) {
        surface->m_frontTexture = c.front;
        surface->m_twoSided = c.twoSided;
        std::fill(std::begin(g_textureUseCount), std::end(g_textureUseCount), 0);
        Stored(surface);
        for (int k = 1; k <= 3; ++k)
            EXPECT_EQ(g_textureUseCount[k], c.counts[k]) << c.front << " " << c.twoSided << " texture " << k;
    }
}

TEST_F(SurfaceTest, ALoadedSurfaceSamplesAgain) {
    CGSurface* surface = Example(u"莫比乌斯带");
    ASSERT_TRUE(surface);
    auto back = Loaded<CGSurface>(Stored(surface));
    ASSERT_TRUE(back);
    back->Recompute();
    EXPECT_TRUE(back->m_valid);
    CSurfaceMesh a = Mesh(*surface), b = Mesh(*back);
    EXPECT_EQ(a.points, b.points);
    EXPECT_EQ(a.normals, b.normals);
}

TEST_F(SurfaceTest, DescriptionDefaultsAndColour) {
    CGSurface* surface = Make({{u"u", u"v", u"u*v", u"0", u"1", u"0", u"1"}});
    EXPECT_EQ(surface->GetDescription(), CString(u"自定义曲面：x=u,y=v,z=u*v"));
    EXPECT_EQ(surface->m_color.r, g_colorArcSolid.r);
    EXPECT_EQ(surface->m_color.g, g_colorArcSolid.g);
    EXPECT_EQ(surface->m_color.b, g_colorArcSolid.b);
    CGSurface loading;
    EXPECT_EQ(loading.m_uStep, double(0.1f));
    EXPECT_EQ(loading.m_vStep, double(0.1f));
    EXPECT_EQ(loading.m_compiled, 0);
    EXPECT_EQ(loading.m_uCount, 0);
    EXPECT_TRUE(loading.m_texts[0].IsEmpty());
}
