// The component cell without drawing: construction, its record byte by byte (the material
// interleaved by component) with the round trip and the refusals of damaged records, the orientation
// of its axis, the drag of its centre in the horizontal and the vertical plane, and the component
// dialog's rules and preset materials.
#include "model/page.h"
#include "solids/subassembly.h"
#include "solids/subassembly_dlg.h"
#include "support/archive_helpers.h"
#include "support/cell_record.h"
#include "support/model_fixture.h"
#include "view/view_settings.h"

#include <cmath>
#include <functional>

namespace {

const double kPlaneUp[4] = {0.0, 0.0, 1.0, 0.0};
const double kPlaneBack[4] = {0.0, -1.0, 0.0, 0.0};

class SubassemblyTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        HxResetViewSettings();
    }
    void TearDown() override {
        HxResetViewSettings();
        ModelTest::TearDown();
    }
    static CGSubassembly Make(BYTE kind, float ax = 0.0f, float ay = 0.0f, float az = 1.0f) {
        return CGSubassembly(7, kind, 0, 0, 0, 0, 1.0f, 2.0f, 3.0f, ax, ay, az, 30.0f, 10.0f, 10.0f, 10.0f,
                             CGSubassembly::kClipNone, kPlaneUp, kPlaneBack);
    }
    static std::vector<BYTE> Store(CGSubassembly& cell) {
        return StoreBytes([&](CArchive& ar) { cell.Serialize(ar); });
    }
    // Loads a record into a new cell; false when it was refused.
    static bool Load(const std::vector<BYTE>& bytes, CGSubassembly& into) {
        try {
            LoadBytes(bytes, [&](CArchive& ar) { into.Serialize(ar); });
        } catch (CArchiveException&) {
            return false;
        }
        return true;
    }
};

} // namespace

TEST_F(SubassemblyTest, ANewComponentIsNamedAfterItsKindWithTheDefaults) {
    for (int kind = 0; kind < kSubassemblyKindCount; ++kind) {
        CGSubassembly cell = Make(BYTE(kind));
        EXPECT_EQ(cell.m_name, CString(g_subassemblyKindNames[kind]));
        EXPECT_EQ(cell.GetDescription(), cell.m_name);
    }
    CGSubassembly cell = Make(kSubassemblyTeapot);
    EXPECT_EQ(cell.m_name, CString(u"茶壶"));
    EXPECT_EQ(cell.m_color, (CRgba{204, 102, 0, 255}));
    EXPECT_EQ(cell.m_text1, CString(u"宋体"));
    EXPECT_FLOAT_EQ(cell.m_shininess, 64.0f);
    EXPECT_FLOAT_EQ(cell.m_ambient[0], 0.2f);
    EXPECT_FLOAT_EQ(cell.m_diffuse[1], 0.8f);
    EXPECT_FLOAT_EQ(cell.m_specular[2], 0.2f);
    EXPECT_FLOAT_EQ(cell.m_specular[3], 1.0f);
    EXPECT_EQ(cell.m_param4, 0);
    EXPECT_TRUE(cell.m_valid);
    // The default cell of a document being read.
    CGSubassembly empty;
    EXPECT_EQ(empty.m_clipMode, 0);
    EXPECT_EQ(empty.m_plane1[2], 1.0);
    EXPECT_EQ(empty.m_plane2[2], -1.0);
    EXPECT_EQ(empty.m_text1, CString(u"宋体"));
}

TEST_F(SubassemblyTest, AnAxisOfNoDirectionPointsAlongMinusY) {
    CGSubassembly none = Make(1, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(none.m_axis[0], 0.0f);
    EXPECT_EQ(none.m_axis[1], -1.0f);
    EXPECT_EQ(none.m_axis[2], 0.0f);
    // Tiny parts count as none; the others are kept.
    CGSubassembly tiny = Make(1, 0.00005f, 0.00009f, -0.00002f);
    EXPECT_EQ(tiny.m_axis[0], 0.00005f);
    EXPECT_EQ(tiny.m_axis[1], -1.0f);
    EXPECT_EQ(tiny.m_axis[2], -0.00002f);
    CGSubassembly small = Make(1, 0.0f, 0.0f, 0.0002f);
    EXPECT_EQ(small.m_axis[1], 0.0f);
}

TEST_F(SubassemblyTest, TheShapeIsTurnedOntoItsAxis) {
    struct Case {
        float axis[3];
        double degrees;
        double about[2]; // x, y of the turning axis
    };
    const Case cases[] = {
        {{0, 0, 2}, 0.0, {1, 0}},    // along z: as it is
        {{0, 0, -5}, 180.0, {1, 0}}, // upside down, a half-turn about x
        {{0, -1, 0}, 90.0, {1, 0}},  // z onto -y: a quarter turn about +x
        {{1, 0, 0}, 90.0, {0, 1}},   // z onto +x: about +y
        {{0, 1, 1}, 45.0, {-1, 0}},
    };
    for (const Case& c : cases) {
        CGSubassembly cell = Make(1, c.axis[0], c.axis[1], c.axis[2]);
        double degrees, about[3];
        cell.Orientation(degrees, about);
        EXPECT_NEAR(degrees, c.degrees, 1e-4) << c.axis[0] << " " << c.axis[1] << " " << c.axis[2];
        if (c.degrees != 0.0) {
            EXPECT_EQ(about[0], c.about[0]);
            EXPECT_EQ(about[1], c.about[1]);
            EXPECT_EQ(about[2], 0.0);
        }
    }
}

TEST_F(SubassemblyTest, TheRecordFollowsTheCommonRecordWithTheMaterialInterleaved) {
    const double p1[4] = {1.5, -2.0, 0.25, 3.0};
    const double p2[4] = {-1.0, 0.5, 2.0, -4.0};
    CGSubassembly cell(9, kSubassemblyTorus, 1, 1, 3, 1, 1.0f, 2.0f, 3.0f, 0.0f, 1.0f, 0.0f, 45.0f, 2.0f,
                       3.0f, 4.0f, CGSubassembly::kClipBoth, p1, p2);
    cell.m_text1 = u"楷体";
    for (int i = 0; i < 4; ++i) {
        cell.m_ambient[i] = 0.1f + 0.01f * float(i);
        cell.m_diffuse[i] = 0.2f + 0.01f * float(i);
        cell.m_specular[i] = 0.3f + 0.01f * float(i);
    }
    cell.m_shininess = 51.2f;
    cell.m_reservedInt[1] = 7;
    cell.m_reservedFloat[2] = 0.5f;
    cell.m_reservedText = u"x";
    g_textureUseCount[3] = 0;
    const std::vector<BYTE> bytes = Store(cell);
    EXPECT_EQ(g_textureUseCount[3], 1) << "texture 3 is a document texture: its use is counted";

    CommonRecord common;
    common.id = 9;
    common.name = u"圆环";
    common.style = 1;
    common.kind = kSubassemblyTorus;
    common.color = {204, 102, 0, 255};
    common.text1 = u"楷体";
    ByteBuilder expected;
    common.AppendTo(expected);
    expected.F32(1).F32(2).F32(3).F32(45);
    expected.F32(0).F32(1).F32(0);
    expected.F32(2).F32(3).F32(4);
    expected.F32(51.2f).I32(1);
    for (int i = 0; i < 4; ++i)
        expected.F32(0.1f + 0.01f * float(i)).F32(0.2f + 0.01f * float(i)).F32(0.3f + 0.01f * float(i));
    expected.I32(3);
    for (double v : p1)
        expected.F64(v);
    for (double v : p2)
        expected.F64(v);
    expected.I32(3);
    expected.I32(0).I32(7).F32(0).F32(0).F32(0.5f).F32(0).Str(u"x");
    EXPECT_EQ(bytes, expected.Bytes());

    // Read back: every field but the drag lock, which is not stored.
    CGSubassembly back;
    ASSERT_TRUE(Load(bytes, back));
    CGSubassembly unlocked;
    unlocked.CopyComponentFields(cell);
    unlocked.m_fixed = false;
    EXPECT_TRUE(back.SameComponentFields(unlocked));
    EXPECT_FALSE(back.m_fixed);
    EXPECT_EQ(back.m_reservedInt[1], 7);
    EXPECT_EQ(back.m_reservedFloat[2], 0.5f);
    EXPECT_EQ(back.m_reservedText, CString(u"x"));
    EXPECT_EQ(Store(back), bytes);
}

TEST_F(SubassemblyTest, DamagedRecordsAreRefused) {
    CGSubassembly cell = Make(kSubassemblyCube);
    const std::vector<BYTE> good = Store(cell);
    CGSubassembly ok;
    ASSERT_TRUE(Load(good, ok));
    // The glyph base read with the common record is not kept.
    CGSubassembly withBase = Make(kSubassemblyText);
    withBase.m_param4 = 1234;
    CGSubassembly loaded;
    ASSERT_TRUE(Load(Store(withBase), loaded));
    EXPECT_EQ(loaded.m_param4, 0);

    struct Damage {
        const char* what;
        std::function<void(CGSubassembly&)> change;
        bool refused;
    };
    const Damage damages[] = {
        {"kind 15", [](CGSubassembly& c) { c.m_kind = 15; }, true},
        {"kind 255", [](CGSubassembly& c) { c.m_kind = 255; }, true},
        {"kind 14", [](CGSubassembly& c) { c.m_kind = 14; }, false},
        {"clip mode 4", [](CGSubassembly& c) { c.m_clipMode = 4; }, true},
        {"clip mode -1", [](CGSubassembly& c) { c.m_clipMode = -1; }, true},
        {"clip mode 3", [](CGSubassembly& c) { c.m_clipMode = 3; }, false},
        {"centre not a number", [](CGSubassembly& c) { c.m_center[1] = std::nanf(""); }, true},
        {"infinite scale", [](CGSubassembly& c) { c.m_scale[2] = INFINITY; }, true},
        {"plane not a number", [](CGSubassembly& c) { c.m_plane2[3] = std::nan(""); }, true},
        {"texture 99", [](CGSubassembly& c) { c.m_texture = 99; }, false},
    };
    for (const Damage& d : damages) {
        CGSubassembly damaged = Make(kSubassemblyCube);
        d.change(damaged);
        CGSubassembly into;
        EXPECT_EQ(!Load(Store(damaged), into), d.refused) << d.what;
    }
    // Cut short anywhere: refused, never read past the end.
    for (size_t n = 0; n < good.size(); n += 7) {
        CGSubassembly into;
        EXPECT_FALSE(Load(std::vector<BYTE>(good.begin(), good.begin() + long(n)), into)) << n;
    }
}

TEST_F(SubassemblyTest, TheCentreIsDraggedInItsHorizontalPlaneOrWithCtrlItsVerticalOne) {
    CGSubassembly cell = Make(kSubassemblySphere);
    cell.m_center[0] = 1.0f;
    cell.m_center[1] = 2.0f;
    cell.m_center[2] = 3.0f;
    // A ray from (10, 20, 103) going down and sideways: near minus far = (-20, -30, 100).
    auto ray = [](double ox, double oy, double oz, float dx, float dy, float dz) {
        g_pickRayNear[0] = ox;
        g_pickRayNear[1] = oy;
        g_pickRayNear[2] = oz;
        g_viewDirX = dx;
        g_viewDirY = dy;
        g_viewDirZ = dz;
    };
    ray(10, 20, 103, -20, -30, 100);
    g_dragKeepZ = 1;
    cell.DragCentre();
    // t = (3 - 103) / 100 = -1: (30, 50, 3).
    EXPECT_FLOAT_EQ(cell.m_center[0], 30.0f);
    EXPECT_FLOAT_EQ(cell.m_center[1], 50.0f);
    EXPECT_FLOAT_EQ(cell.m_center[2], 3.0f);
    // With Ctrl: the plane y = 50.  t = (50 - 20) / -30 = -1: (30, 50, 3) again, then another ray.
    g_dragKeepZ = 0;
    ray(0, 0, 0, 4, -40, 8);
    cell.DragCentre();
    EXPECT_FLOAT_EQ(cell.m_center[0], -5.0f);
    EXPECT_FLOAT_EQ(cell.m_center[1], 50.0f);
    EXPECT_FLOAT_EQ(cell.m_center[2], -10.0f);
    // Nearly along the plane (the crossing part below 10): it stays.
    ray(0, 0, 0, 100, 9.99f, 100);
    cell.DragCentre();
    EXPECT_FLOAT_EQ(cell.m_center[0], -5.0f);
    g_dragKeepZ = 1;
    ray(0, 0, 0, 100, 100, -9.99f);
    cell.DragCentre();
    EXPECT_FLOAT_EQ(cell.m_center[0], -5.0f);
    // The drag lock, or the view's drag lock, keeps it.
    ray(0, 0, 100, 0, 0, 50);
    cell.m_fixed = true;
    cell.DragCentre();
    EXPECT_FLOAT_EQ(cell.m_center[0], -5.0f);
    cell.m_fixed = false;
    g_dragLocked = 1;
    cell.DragCentre();
    EXPECT_FLOAT_EQ(cell.m_center[0], -5.0f);
    g_dragLocked = 0;
    cell.DragCentre();
    EXPECT_FLOAT_EQ(cell.m_center[0], 0.0f);
    EXPECT_FLOAT_EQ(cell.m_center[2], -10.0f);
}

TEST_F(SubassemblyTest, EditsMarkTheGlyphsAndCopiesCarryEveryField) {
    CGSubassembly a = Make(kSubassemblyText);
    a.m_flag2 = false;
    a.InvalidateGlyphs();
    EXPECT_TRUE(a.m_flag2);
    a.m_flag2 = false;
    a.DropDisplayLists();
    EXPECT_TRUE(a.m_flag2) << "lists dropped with a changed kind are built again";
    EXPECT_TRUE(a.m_text2.IsEmpty());
    CGSubassembly b = Make(kSubassemblyCone);
    EXPECT_FALSE(a.SameComponentFields(b));
    b.CopyComponentFields(a);
    EXPECT_TRUE(a.SameComponentFields(b));
    b.m_plane2[3] = 0.5;
    EXPECT_FALSE(a.SameComponentFields(b));
    // The current material, both ways.
    g_materialAmbient[0] = 0.5f;
    g_materialShininess = 12.0f;
    a.TakeCurrentMaterial();
    EXPECT_EQ(a.m_ownMaterial, 1);
    EXPECT_FLOAT_EQ(a.m_ambient[0], 0.5f);
    EXPECT_FLOAT_EQ(a.m_shininess, 12.0f);
    a.m_diffuse[2] = 0.125f;
    a.GiveCurrentMaterial();
    EXPECT_FLOAT_EQ(g_materialDiffuse[2], 0.125f);
}

// ---------------------------------------------------------------------------------------------
// The dialog's rules

TEST_F(SubassemblyTest, DialogStatesFollowKindStyleColouringAndClipping) {
    CCreateSubaDlg dlg;
    EXPECT_EQ(dlg.m_kind, 0);
    EXPECT_EQ(dlg.m_text, CString(u"3d文字"));
    auto s = dlg.States();
    EXPECT_TRUE(s.fontEnabled);
    EXPECT_FALSE(s.clipEnabled);
    EXPECT_FALSE(s.textureEnabled);
    EXPECT_FALSE(s.materialEnabled);
    EXPECT_FALSE(s.planeChecksShown);

    dlg.OnKindChanged(kSubassemblyCube);
    s = dlg.States();
    EXPECT_FALSE(s.fontEnabled);
    EXPECT_TRUE(s.clipEnabled);
    EXPECT_TRUE(s.textureEnabled) << "the cube shows the texture list";
    dlg.m_style = 1;
    EXPECT_FALSE(dlg.States().textureEnabled) << "a wire frame takes no texture";
    dlg.m_style = 0;
    dlg.m_texture = 5;
    dlg.OnKindChanged(kSubassemblyOctahedron);
    EXPECT_FALSE(dlg.States().textureEnabled);
    EXPECT_EQ(dlg.m_texture, 0) << "the octahedron takes no texture";
    for (int kind : {6, 7, 10, 14})
        EXPECT_TRUE(CCreateSubaDlg::TextureAllowed(kind)) << kind;
    for (int kind : {0, 1, 3, 4, 5})
        EXPECT_FALSE(CCreateSubaDlg::TextureAllowed(kind)) << kind;

    dlg.m_clip = 1;
    dlg.m_plane2On = 1;
    s = dlg.States();
    EXPECT_TRUE(s.planeChecksShown);
    EXPECT_FALSE(s.plane1EditsEnabled);
    EXPECT_TRUE(s.plane2EditsEnabled);
    dlg.m_coloring = 1;
    EXPECT_TRUE(dlg.States().materialEnabled);
    // Choosing 3D text after ticking clipping clears and hides all clipping.
    dlg.OnKindChanged(kSubassemblyText);
    EXPECT_EQ(dlg.m_clip, 0);
    EXPECT_EQ(dlg.m_plane1On, 0);
    EXPECT_EQ(dlg.m_plane2On, 0);
    s = dlg.States();
    EXPECT_FALSE(s.clipEnabled);
    EXPECT_FALSE(s.planeChecksShown);
    EXPECT_FALSE(s.plane2EditsEnabled);
}

TEST_F(SubassemblyTest, AChosenKindTakesItsPlacementAndKeepsSpinAndPlanes) {
    struct Case {
        int kind;
        float center[3], axis[3], scale;
    };
    const Case cases[] = {
        {0, {-12, 0, 0}, {0, -1, 1}, 10},
        {4, {0, 0, 0}, {0, 0, 1}, 6},
        {14, {0, 0, 0}, {0, 0, 1}, 10},
        {2, {0, 0, 0}, {0, 0, 1}, 10},
    };
    for (const Case& c : cases) {
        CCreateSubaDlg dlg;
        dlg.m_spin = 33.0f;
        dlg.m_plane1[3] = 7.0;
        dlg.m_center[1] = 5.0f;
        dlg.m_scale[0] = 1.0f;
        dlg.OnKindChanged(c.kind);
        EXPECT_EQ(dlg.m_text, CString(g_subassemblyKindNames[c.kind]));
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(dlg.m_center[i], c.center[i]) << c.kind;
            EXPECT_EQ(dlg.m_axis[i], c.axis[i]) << c.kind;
            EXPECT_EQ(dlg.m_scale[i], c.scale) << c.kind;
        }
        EXPECT_EQ(dlg.m_spin, 33.0f);
        EXPECT_EQ(dlg.m_plane1[3], 7.0);
    }
}

TEST_F(SubassemblyTest, TheClipModeComesFromThePlaneBoxesWhileClippingIsTicked) {
    CCreateSubaDlg dlg;
    const int table[2][2][2] = {{{0, 0}, {0, 0}}, {{0, 2}, {1, 3}}}; // [clip][plane1][plane2]
    for (int clip : {0, 1})
        for (int p1 : {0, 1})
            for (int p2 : {0, 1}) {
                dlg.m_clip = clip;
                dlg.m_plane1On = p1;
                dlg.m_plane2On = p2;
                EXPECT_EQ(dlg.ClipMode(), table[clip][p1][p2]) << clip << p1 << p2;
            }
}

TEST_F(SubassemblyTest, TheDialogIsFilledFromAComponentAndGivesItsMaterialToTheView) {
    const double p1[4] = {1, 2, 3, 4};
    CGSubassembly cell(3, kSubassemblyCone, 5, 1, 9, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10,
                       CGSubassembly::kClipPlane2, p1, kPlaneBack);
    cell.m_ambient[1] = 0.75f;
    cell.m_shininess = 3.0f;
    CCreateSubaDlg dlg;
    dlg.FillFrom(cell);
    EXPECT_EQ(dlg.m_kind, kSubassemblyCone);
    EXPECT_EQ(dlg.m_style, 1) << "any style but 0 is the wire frame";
    EXPECT_EQ(dlg.m_texture, 9);
    EXPECT_EQ(dlg.m_text, CString(u"圆锥"));
    EXPECT_EQ(dlg.m_center[2], 3.0f);
    EXPECT_EQ(dlg.m_axis[0], 4.0f);
    EXPECT_EQ(dlg.m_spin, 7.0f);
    EXPECT_EQ(dlg.m_scale[2], 10.0f);
    EXPECT_EQ(dlg.m_coloring, 1);
    EXPECT_EQ(dlg.m_dragLock, 1);
    EXPECT_EQ(dlg.m_clip, 1);
    EXPECT_EQ(dlg.m_plane1On, 0);
    EXPECT_EQ(dlg.m_plane2On, 1);
    EXPECT_EQ(dlg.m_plane1[3], 4.0);
    EXPECT_FLOAT_EQ(g_materialAmbient[1], 0.75f);
    EXPECT_FLOAT_EQ(g_materialShininess, 3.0f);
}

TEST_F(SubassemblyTest, PresetMaterialsBecomeTheCurrentMaterial) {
    ASSERT_EQ(CString(g_materialPresetNames[11]), CString(u"黄金"));
    ASSERT_TRUE(HxApplyMaterialPreset(11));
    EXPECT_FLOAT_EQ(g_materialAmbient[0], 0.24725f);
    EXPECT_FLOAT_EQ(g_materialDiffuse[1], 0.60648f);
    EXPECT_FLOAT_EQ(g_materialSpecular[2], 0.366065f);
    EXPECT_FLOAT_EQ(g_materialAmbient[3], 1.0f);
    EXPECT_FLOAT_EQ(g_materialShininess, 0.4f * 128.0f);
    ASSERT_TRUE(HxApplyMaterialPreset(1)); // emerald
    EXPECT_FLOAT_EQ(g_materialSpecular[1], 0.727811f);
    EXPECT_FLOAT_EQ(g_materialShininess, 0.6f * 128.0f);
    ASSERT_TRUE(HxApplyMaterialPreset(19)); // black rubber
    EXPECT_EQ(CString(g_materialPresetNames[19]), CString(u"黑橡胶"));
    EXPECT_FLOAT_EQ(g_materialShininess, 10.0f);
    // "选择材质": OpenGL's default material.
    ASSERT_TRUE(HxApplyMaterialPreset(0));
    EXPECT_FLOAT_EQ(g_materialAmbient[0], 0.2f);
    EXPECT_FLOAT_EQ(g_materialDiffuse[0], 0.8f);
    EXPECT_FLOAT_EQ(g_materialSpecular[0], 0.0f);
    EXPECT_FLOAT_EQ(g_materialShininess, 0.0f);
    // Outside the table: nothing changes.
    g_materialShininess = 5.0f;
    EXPECT_FALSE(HxApplyMaterialPreset(25));
    EXPECT_FALSE(HxApplyMaterialPreset(-1));
    EXPECT_FLOAT_EQ(g_materialShininess, 5.0f);
    // Every row is a material OpenGL takes: colours in 0..1, shininess 0..128.
    for (const CMaterialPreset& m : g_materialPresets) {
        for (int i = 0; i < 3; ++i) {
            EXPECT_GE(m.ambient[i], 0.0f);
            EXPECT_LE(m.diffuse[i], 1.0f);
            EXPECT_LE(m.specular[i], 1.0f);
        }
        EXPECT_GE(m.shininess * 128.0f, 0.0f);
        EXPECT_LE(m.shininess * 128.0f, 128.0f);
    }
}
