// Bitmap texts, pictures and formula texts without their drawing: construction, records with their
// checked sizes, descriptions, following a point, and the formula picture rendered from its markup.
#include "measure/text_items.h"

#include "document/doc_globals.h"
#include "formula/formula_render.h"
#include "model/page.h"
#include "model/vertex.h"
#include "platform/random.h"
#include "view/view_globals.h"

#include <QGuiApplication>

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CGTextbit, CGCell, 1)
IMPLEMENT_SERIAL(CGTbHenchman, CGTextbit, 1)
IMPLEMENT_SERIAL(CGTbImage, CGTextbit, 1)
IMPLEMENT_SERIAL(CGTbMtfText, CGTextbit, 1)
IMPLEMENT_SERIAL(CGTbMhc, CGTbMtfText, 1)

namespace {

void TakeRgb(CGCell& cell, const CRgba& color) {
    cell.m_color.r = color.r;
    cell.m_color.g = color.g;
    cell.m_color.b = color.b;
}

// A height between -4 and 4 drawn from the program's generator.
float RandomHeight() {
    return float(double(HxRand()) / 32767.0 * 8.0 - 4.0);
}

// Parent 0 as a point that is there and valid, or null.
CGCell* FollowedPoint(const CGCell& cell) {
    if (cell.m_parents.IsEmpty())
        return nullptr;
    CGCell* point = HxFindCell(cell.m_parents[0]);
    return point && point->IsKindOf(RUNTIME_CLASS(CGVertex)) ? point : nullptr;
}

// The point's name for a description ("" when it is gone).
CString FollowedName(const CGCell& cell) {
    if (cell.m_parents.IsEmpty())
        return CString();
    const CGCell* point = HxFindCell(cell.m_parents[0]);
    return point ? point->m_name : CString();
}

// Links a follower to its point: parent 0, the point's child, the point's label hidden (the follower
// keeps how it was, for the undo of its insertion).
void FollowPoint(CGTextbit& follower, WORD pointId) {
    follower.AddParent(pointId);
    if (CGCell* point = HxFindCell(pointId)) {
        follower.m_pointLabelBefore = point->m_labelHidden;
        point->m_labelHidden = 1;
    }
}

// The point whose label a text hid when it was made, or null.
CGCell* PointWithHiddenLabel(CGCell& cell) {
    auto* text = DYNAMIC_DOWNCAST(CGTextbit, &cell);
    if (!text || text->m_pointLabelBefore < 0)
        return nullptr;
    return FollowedPoint(*text);
}

// Copies a valid point's position into the follower; false when the point is missing or invalid.
bool TakePointPosition(const CGCell& follower, float& x, float& y, float& z) {
    const auto* point = DYNAMIC_DOWNCAST(CGVertex, FollowedPoint(follower));
    if (!point || !point->m_valid)
        return false;
    x = point->m_x;
    y = point->m_y;
    z = point->m_z;
    return true;
}

// Refuses a damaged size: negative sides, sides past the limit, more bytes than allowed or than the
// archive still holds.
void CheckPictureSize(const CArchive& ar, int width, int height, long long rowBytes) {
    const bool sides =
        width >= 0 && height >= 0 && width <= CGTextbit::kMaxSide && height <= CGTextbit::kMaxSide;
    const long long bytes = sides ? rowBytes * height : 0;
    if (!sides || bytes > CGTextbit::kMaxBytes)
        throw CArchiveException(CArchiveException::badIndex);
    if (bytes > 0)
        ar.CheckCount(ULONGLONG(bytes), 1);
}

void ReadBytes(CArchive& ar, std::vector<BYTE>& bytes, long long count) {
    bytes.assign(size_t(count), 0);
    if (count > 0)
        ar.Read(bytes.data(), UINT(count));
}

void WriteBytes(CArchive& ar, const std::vector<BYTE>& bytes, long long count) {
    if (count <= 0)
        return;
    // A picture whose bits were never made is written as blank rows of the right size, so that the
    // record can always be read back.
    if (static_cast<long long>(bytes.size()) >= count) {
        ar.Write(bytes.data(), UINT(count));
    } else {
        std::vector<BYTE> padded(bytes);
        padded.resize(size_t(count), 0);
        ar.Write(padded.data(), UINT(count));
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// CGTextbit

CGTextbit::CGTextbit() {
    m_labelPos[0] = -5.0f;
    m_labelPos[1] = 5.0f;
    TakeRgb(*this, g_colorText);
    m_name = u"BText";
}

CGTextbit::CGTextbit(WORD id, int width, int height, std::vector<BYTE> bits) : CGTextbit() {
    m_id = id;
    m_width = width;
    m_height = height;
    m_bits = std::move(bits);
    m_labelPos[0] = float(-double(width) * g_unitLength * 0.5);
    m_labelPos[1] = RandomHeight();
}

void CGTextbit::SerializePicture(CArchive& ar, RowBytesFn rowBytes) {
    if (ar.IsStoring()) {
        // A size the loader would refuse (past the limits) is written as no picture, so that the
        // file stays readable.
        const bool sides = m_width > 0 && m_height > 0 && m_width <= kMaxSide && m_height <= kMaxSide;
        const long long bytes = sides ? rowBytes(m_width) * m_height : 0;
        const bool storable = sides && bytes <= kMaxBytes;
        ar << (storable ? m_width : 0) << (storable ? m_height : 0);
        WriteBytes(ar, m_bits, storable ? bytes : 0);
        return;
    }
    int width = 0, height = 0;
    ar >> width >> height;
    const long long row = rowBytes(std::max(width, 0));
    CheckPictureSize(ar, width, height, row);
    std::vector<BYTE> bits;
    ReadBytes(ar, bits, width > 0 && height > 0 ? row * height : 0);
    m_width = width;
    m_height = height;
    m_bits = std::move(bits);
}

void CGTextbit::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    SerializePicture(ar, BitmapRowBytes);
}

CString CGTextbit::GetDescription() {
    const char16_t* format = m_kind == 0   ? u"位图文本：宽*高=%d*%d"
                             : m_kind == 4 ? u"可编辑MTF彩图文本：宽*高=%d*%d"
                                           : u"可编辑RTF单色位图文本：宽*高=%d*%d";
    return HxFormat(format, m_width, m_height);
}

void CGTextbit::MoveByMouse() {
    m_labelPos[0] += float(g_mouseDX) * g_unitLength;
    m_labelPos[1] -= float(g_mouseDY) * g_unitLength;
}

// ---------------------------------------------------------------------------------------------
// CGTbHenchman

CGTbHenchman::CGTbHenchman(WORD id, int width, int height, std::vector<BYTE> bits, WORD pointId)
    : CGTextbit(id, width, height, std::move(bits)) {
    FollowPoint(*this, pointId);
    CGTbHenchman::Recompute();
}

void CGTbHenchman::Serialize(CArchive& ar) {
    CGTextbit::Serialize(ar);
    if (ar.IsStoring())
        ar << m_px << m_py << m_pz;
    else
        ar >> m_px >> m_py >> m_pz;
}

void CGTbHenchman::Recompute() {
    m_valid = TakePointPosition(*this, m_px, m_py, m_pz);
}

CString CGTbHenchman::GetDescription() {
    return HxFormat(u"随点%s的文本", FollowedName(*this).GetString());
}

// ---------------------------------------------------------------------------------------------
// CGTbImage

CGTbImage::CGTbImage() {
    m_scaleX = 1.0f;
    m_scaleY = 1.0f;
    m_name = u"Img";
}

CGTbImage::CGTbImage(WORD id, int width, int height, std::vector<BYTE> pixels)
    : CGTextbit(id, width, height, std::move(pixels)) {
    m_scaleX = 1.0f;
    m_scaleY = 1.0f;
    m_name = u"Img";
}

void CGTbImage::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    SerializePicture(ar, PictureRowBytes);
}

CString CGTbImage::GetDescription() {
    return HxFormat(u"原始大小：宽*高=%d*%d", m_width, m_height);
}

float CGTbImage::SpanX() const {
    return float(m_width) * g_unitLength * m_scaleX;
}

float CGTbImage::SpanY() const {
    return float(m_height) * g_unitLength * m_scaleY;
}

// ---------------------------------------------------------------------------------------------
// CGTbMtfText

CGTbMtfText::CGTbMtfText() {
    m_color.a = 0;
    m_name = u"MTF彩色数学文本";
}

CGTbMtfText::CGTbMtfText(WORD id, const CString& markup, COLORREF background, int textureMode)
    : CGTbMtfText() {
    m_id = id;
    m_markup = markup;
    m_background = background;
    m_textureMode = textureMode;
    UpdateTexture();
    m_labelPos[0] = float(-double(m_width) * g_unitLength * 0.5);
    m_labelPos[1] = RandomHeight();
}

void CGTbMtfText::UpdateTexture() {
    int width = 0, height = 0;
    // Without a GUI application (a headless tool) there are no fonts: the picture stays empty.
    std::vector<BYTE> bits;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        bits =
            RenderFormulaToBitmap(m_color.ToColorRef(), m_background, m_markup, m_color.a, &width, &height);
    if (bits.empty() || width <= 0 || height <= 0 ||
        static_cast<long long>(bits.size()) < 4LL * width * height)
        width = height = 0;
    m_width = width;
    m_height = height;
    m_bits = width > 0 ? std::move(bits) : std::vector<BYTE>();
    m_textureStale = true;
}

void CGTbMtfText::FreeTexture() {
    m_texture.Release();
    m_bits.clear();
    m_bits.shrink_to_fit();
    m_textureStale = true;
}

void CGTbMtfText::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_markup << int(m_background) << m_scale << m_textureMode << m_reserved << m_reservedText;
        if (g_storeMtfImages)
            SerializePicture(ar, RgbaRowBytes);
        return;
    }
    int background = 0;
    ar >> m_markup >> background >> m_scale >> m_textureMode >> m_reserved >> m_reservedText;
    m_background = COLORREF(background);
    if (g_storeMtfImages) {
        SerializePicture(ar, RgbaRowBytes);
        m_textureStale = true;
        if (m_textureMode != 0)
            m_textureMode = 1;
    } else {
        UpdateTexture();
    }
}

CString CGTbMtfText::GetDescription() {
    return HxFormat(u"彩色数学文本：宽*高=%d*%d", m_width, m_height);
}

// ---------------------------------------------------------------------------------------------
// CGTbMhc

CGTbMhc::CGTbMhc(WORD id, const CString& markup, COLORREF background, WORD pointId)
    : CGTbMtfText(id, markup, background, 1) {
    m_name = u"附点彩文";
    FollowPoint(*this, pointId);
    CGTbMhc::Recompute();
}

void CGTbMhc::Serialize(CArchive& ar) {
    CGTbMtfText::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_px << m_py << m_pz;
    } else {
        ar >> m_px >> m_py >> m_pz;
        m_textureMode = 1;
    }
}

void CGTbMhc::Recompute() {
    m_valid = TakePointPosition(*this, m_px, m_py, m_pz);
}

CString CGTbMhc::GetDescription() {
    return HxFormat(u"附点%s的MTF彩色数学文本", FollowedName(*this).GetString());
}

// ---------------------------------------------------------------------------------------------

void HxRestoreFollowedLabel(CGCell& cell) {
    if (CGCell* point = PointWithHiddenLabel(cell))
        point->m_labelHidden = static_cast<CGTextbit&>(cell).m_pointLabelBefore;
}

void HxHideFollowedLabel(CGCell& cell) {
    if (CGCell* point = PointWithHiddenLabel(cell)) {
        static_cast<CGTextbit&>(cell).m_pointLabelBefore = point->m_labelHidden;
        point->m_labelHidden = 1;
    }
}

// ---------------------------------------------------------------------------------------------

bool HxEyePosition(float x, float y, float z, float eye[3]) {
    const double* m = g_modelviewMatrix;
    const double ex = m[0] * x + m[4] * y + m[8] * z + m[12];
    const double ey = m[1] * x + m[5] * y + m[9] * z + m[13];
    const double ez = m[2] * x + m[6] * y + m[10] * z + m[14];
    const double w = m[3] * x + m[7] * y + m[11] * z + m[15];
    if (!(std::fabs(w) >= 1e-12))
        return false;
    eye[0] = float(ex / w);
    eye[1] = float(ey / w);
    eye[2] = float(ez / w);
    return std::isfinite(eye[0]) && std::isfinite(eye[1]) && std::isfinite(eye[2]);
}
