// Textured glyphs: the atlas, the prepared glyph sets, glyphs made on demand, and the label and text
// quads with their batches.
#include "view/texture_text.h"

#include "view/gl_context.h"
#include "view/glyph_font.h"
#include "view/glyph_lists.h"
#include "view/label_hooks.h"
#include "view/vertex_array.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <GL/gl.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

CTextrueText* g_pTextureText = nullptr;
float g_textPenX = 0.0f;
float g_textPenY = 0.0f;
float g_textPenZ = 0.0f;
float g_textQuadHeight = 24.0f;

const char16_t* const CTextrueText::kItalicLetters = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
const char16_t* const CTextrueText::kUprightLatin = u"0123456789'\"|:=<>";
const char16_t* const CTextrueText::kSignsAndGreek =
    u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-=<>()°,.±×÷∞∵∴∈∪∩∥⊥∠⊙≌∽≠"
    u"αβγδεζηθικλμνξοπρστυφχψωΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ";
const char16_t* const CTextrueText::kChinese =
    u"，。、；：？！“”（）《》点线面角度长周积体圆弧球柱锥台棱平行垂直交中心半径距离比向量坐标原轴边形三四五"
    u"六"
    u"正方矩菱梯等腰斜高底顶切割截展开视图主左俯值和差参数速旋转移动画显示隐藏按钮文本公";

namespace {
constexpr int kBuildLimit = 511; // glyphs are made on demand only while fewer are used

QFont LatinFont(bool italic) {
    return HxCreateFont(u"Times New Roman", CTextrueText::kGlyphSize, 700, italic, true);
}
QFont CjkFont() {
    return HxCreateFont(u"宋体", CTextrueText::kGlyphSize, 700, false, true);
}

bool IsDigit(char16_t ch) {
    return ch >= u'0' && ch <= u'9';
}

void Normalise(float* v) {
    float len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (len > 0.0f) {
        v[0] /= len;
        v[1] /= len;
        v[2] /= len;
    }
}
} // namespace

CTextrueText::CTextrueText() {
    if (!HxMakeGlCurrent())
        return;
    glGenTextures(1, &m_atlas);
    // Room for the prepared sets and some more; the atlas grows when glyphs made on demand fill it.
    if (!GrowAtlas(1024)) {
        glDeleteTextures(1, &m_atlas);
        m_atlas = 0;
        return;
    }

    QFont italic = LatinFont(true);
    for (const char16_t* p = kItalicLetters; *p; ++p)
        AddGlyph(*p, m_latinGlyphs, italic);
    QFont upright = LatinFont(false);
    for (const char16_t* p = kUprightLatin; *p; ++p)
        AddGlyph(*p, m_latinGlyphs, upright);
    for (const char16_t* p = kSignsAndGreek; *p; ++p)
        AddGlyph(*p, m_otherGlyphs, upright);
    QFont cjk = CjkFont();
    for (const char16_t* p = kChinese; *p; ++p)
        AddGlyph(*p, m_otherGlyphs, cjk);
}

CTextrueText::~CTextrueText() {
    if (m_atlas && HxMakeGlCurrent())
        glDeleteTextures(1, &m_atlas);
    for (CGlyphInfoMap* map : {&m_latinGlyphs, &m_otherGlyphs}) {
        POSITION pos = map->GetStartPosition();
        while (pos) {
            WORD ch = 0;
            CharInfo* info = nullptr;
            map->GetNextAssoc(pos, ch, info);
            delete info;
        }
        map->RemoveAll();
    }
}

namespace {

// Uploads rows [y, y + rows) of the atlas texels (the whole width) into the bound texture.
void UploadRows(const std::vector<BYTE>& texels, int y, int rows) {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, y, CTextrueText::kAtlasWidth, rows, GL_ALPHA, GL_UNSIGNED_BYTE,
                    texels.data() + size_t(y) * CTextrueText::kAtlasWidth);
    glPopClientAttrib();
}

} // namespace

bool CTextrueText::GrowAtlas(int height) {
    if (height <= m_atlasHeight)
        return true;
    // Quads waiting in a batch address the atlas by its height: they go out first.
    Flush();
    std::vector<BYTE> texels;
    try {
        texels.assign(size_t(kAtlasWidth) * size_t(height), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::copy(m_atlasTexels.begin(), m_atlasTexels.end(), texels.begin());
    while (glGetError() != GL_NO_ERROR) {
    }
    glBindTexture(GL_TEXTURE_2D, m_atlas);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, kAtlasWidth, height, 0, GL_ALPHA, GL_UNSIGNED_BYTE, nullptr);
    if (glGetError() != GL_NO_ERROR)
        return false; // no memory for it: the glyphs so far stay
    m_atlasTexels.swap(texels);
    m_atlasHeight = height;
    UploadRows(m_atlasTexels, 0, height);
    return true;
}

CharInfo* CTextrueText::AddGlyph(char16_t ch, CGlyphInfoMap& target, const QFont& font) {
    CharInfo* existing = nullptr;
    if (target.Lookup(ch, existing))
        return existing;
    if (!m_atlas || m_usedCells >= kTextureCount || !HxMakeGlCurrent())
        return nullptr;
    const int cell = m_usedCells;
    const int cellX = (cell % kAtlasColumns) * kCellSize, cellY = (cell / kAtlasColumns) * kCellSize;
    if (cellY + kCellSize > m_atlasHeight && !GrowAtlas(m_atlasHeight * 2))
        return nullptr;

    const QString text(QChar{ch});
    QFontMetrics fm(font);
    auto* info = new CharInfo;
    info->m_cell = cell;
    ++m_usedCells;
    info->m_width = float(fm.horizontalAdvance(text));
    info->m_height = float(fm.ascent() + fm.descent());
    info->m_abcA = fm.leftBearing(QChar{ch});
    info->m_abcC = fm.rightBearing(QChar{ch});
    int black = fm.horizontalAdvance(text) - info->m_abcA - info->m_abcC;
    info->m_abcB = UINT(std::max(black, 0));
    target.SetAt(ch, info);

    // White on black with the black box at the left edge; the coverage becomes the alpha.
    QImage image(kGlyphSize, kGlyphSize, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QPoint(-info->m_abcA, fm.ascent()), text);
    }
    // Rows bottom-up, so that texture row 0 is the foot of the cell; the border repeats the opposite
    // edge (texel -1 is texel 63 and texel 64 is texel 0, also at the corners).
    auto glyph = [&](int x, int y) { // y counted from the foot
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(kGlyphSize - 1 - y));
        return BYTE(qRed(line[x]));
    };
    for (int y = -1; y <= kGlyphSize; ++y) {
        BYTE* out = m_atlasTexels.data() + size_t(cellY + 1 + y) * kAtlasWidth + size_t(cellX + 1);
        const int gy = (y + kGlyphSize) % kGlyphSize;
        for (int x = -1; x <= kGlyphSize; ++x)
            out[x] = glyph((x + kGlyphSize) % kGlyphSize, gy);
    }
    glBindTexture(GL_TEXTURE_2D, m_atlas);
    UploadRows(m_atlasTexels, cellY, kCellSize);
    return info;
}

CharInfo* CTextrueText::FindOrBuild(char16_t ch, bool latinFirst) {
    CharInfo* info = nullptr;
    if (latinFirst && m_latinGlyphs.Lookup(ch, info))
        return info;
    if (m_otherGlyphs.Lookup(ch, info))
        return info;
    if (m_usedCells >= kBuildLimit)
        return nullptr;
    return AddGlyph(ch, m_otherGlyphs, CjkFont());
}

void CTextrueText::AddQuads(const CString& text, const float* start, const float* right, const float* up,
                            float scale, bool smallDigits, bool latinFirst, const float* rgba, float* end) {
    float p[3] = {start[0], start[1], start[2]};
    for (int i = 0; i < text.GetLength(); ++i) {
        char16_t ch = text[i];
        CharInfo* info = FindOrBuild(ch, latinFirst);
        if (!info)
            break;
        const bool digit = smallDigits && IsDigit(ch);
        const float k = (digit ? scale * 0.75f : scale) * g_unitLength;
        const float w = float(info->m_abcB) * k;
        const float h = info->m_height * k;
        const float lower = digit ? 0.05f * h : 0.0f;
        float q[3];
        for (int c = 0; c < 3; ++c)
            q[c] = p[c] + right[c] * (float(info->m_abcA) * k) - up[c] * lower;
        const float corners[4][3] = {{q[0], q[1], q[2]},
                                     {q[0] + right[0] * w, q[1] + right[1] * w, q[2] + right[2] * w},
                                     {q[0] + right[0] * w + up[0] * h, q[1] + right[1] * w + up[1] * h,
                                      q[2] + right[2] * w + up[2] * h},
                                     {q[0] + up[0] * h, q[1] + up[1] * h, q[2] + up[2] * h}};
        // The cell's texels inside its border; both sides are powers of two, so these are exact.
        const float s0 = float((info->m_cell % kAtlasColumns) * kCellSize + 1);
        const float t0 = float((info->m_cell / kAtlasColumns) * kCellSize + 1);
        const float s1 = s0 + float(info->m_abcB), t1 = t0 + float(kGlyphSize);
        const float texCoords[4][2] = {{s0, t0}, {s1, t0}, {s1, t1}, {s0, t1}};
        for (int n = 0; n < 4; ++n) {
            m_vertices.insert(m_vertices.end(), corners[n], corners[n] + 3);
            m_texCoords.push_back(texCoords[n][0] / float(kAtlasWidth));
            m_texCoords.push_back(texCoords[n][1] / float(m_atlasHeight));
            m_colors.insert(m_colors.end(), rgba, rgba + 4);
        }
        for (int c = 0; c < 3; ++c)
            p[c] += right[c] * (info->m_width * k);
    }
    if (end) {
        end[0] = p[0];
        end[1] = p[1];
        end[2] = p[2];
    }
}

void CTextrueText::Flush() {
    if (m_vertices.empty())
        return;
    const GLsizei corners = GLsizei(m_vertices.size() / 3);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, m_atlas);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, m_vertices.data());
    glTexCoordPointer(2, GL_FLOAT, 0, m_texCoords.data());
    glColorPointer(4, GL_FLOAT, 0, m_colors.data());
    glDrawArrays(GL_QUADS, 0, corners);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_TEXTURE_2D);
    // The colour array leaves the current colour undefined: it becomes the last label's, as drawing
    // the labels one by one left it, and the points' array is the vertex array again.
    glColor4fv(m_colors.data() + m_colors.size() - 4);
    HxBindVertexArray();
    m_vertices.clear();
    m_texCoords.clear();
    m_colors.clear();
}

void CTextrueText::BeginBatch() {
    ++m_batchDepth;
}

void CTextrueText::FlushWaiting() {
    if (HxHasCurrentGlContext())
        Flush();
}

void CTextrueText::EndBatch() {
    if (m_batchDepth > 0 && --m_batchDepth == 0 && HxHasCurrentGlContext())
        Flush();
}

void CTextrueText::DrawLabel(const CString& text, float x, float y, float z, const float* rgba) {
    if (!m_atlas || text.IsEmpty() || !HxHasCurrentGlContext())
        return;
    float right[3] = {float(g_modelviewMatrix[0]), float(g_modelviewMatrix[4]), float(g_modelviewMatrix[8])};
    float up[3] = {float(g_modelviewMatrix[1]), float(g_modelviewMatrix[5]), float(g_modelviewMatrix[9])};
    Normalise(right);
    Normalise(up);
    float scale = float(g_labelFontHeight + 4) / float(kGlyphSize);
    if (g_labelAutoScale != 0 && g_viewZoom != 0.0f)
        scale /= g_viewZoom;
    const float start[3] = {x, y, z};
    AddQuads(text, start, right, up, scale, true, true, rgba, nullptr);
    if (m_batchDepth == 0)
        Flush();
}

void CTextrueText::LabelCorners(const CString& text, float x, float y, float z, float corners[4][3]) const {
    float right[3] = {float(g_modelviewMatrix[0]), float(g_modelviewMatrix[4]), float(g_modelviewMatrix[8])};
    float up[3] = {float(g_modelviewMatrix[1]), float(g_modelviewMatrix[5]), float(g_modelviewMatrix[9])};
    Normalise(right);
    Normalise(up);
    float scale = float(g_labelFontHeight + 4) / float(kGlyphSize);
    if (g_labelAutoScale != 0 && g_viewZoom != 0.0f)
        scale /= g_viewZoom;
    // The advances as AddQuads takes them, and the tallest glyph.
    float width = 0.0f, height = 0.0f;
    for (int i = 0; i < text.GetLength(); ++i) {
        const char16_t ch = text[i];
        CharInfo* info = nullptr;
        const bool known = m_latinGlyphs.Lookup(ch, info) || m_otherGlyphs.Lookup(ch, info);
        const float k = (IsDigit(ch) ? scale * 0.75f : scale) * g_unitLength;
        width += (known ? info->m_width : 0.75f * kGlyphSize) * k;
        height = std::max(height, (known ? info->m_height : float(kGlyphSize)) * k);
    }
    const float start[3] = {x, y, z};
    for (int c = 0; c < 3; ++c) {
        corners[0][c] = start[c];
        corners[1][c] = start[c] + right[c] * width;
        corners[2][c] = start[c] + right[c] * width + up[c] * height;
        corners[3][c] = start[c] + up[c] * height;
    }
}

namespace {
// The current colour, for texts drawn in it.
void CurrentColor(float* rgba) {
    glGetFloatv(GL_CURRENT_COLOR, rgba);
}
} // namespace

void CTextrueText::DrawTextQuad(const CString& text) {
    if (!m_atlas || text.IsEmpty() || !HxHasCurrentGlContext())
        return;
    const float right[3] = {1.0f, 0.0f, 0.0f}, up[3] = {0.0f, 1.0f, 0.0f};
    const float start[3] = {g_textPenX, g_textPenY, g_textPenZ};
    float end[3], rgba[4];
    CurrentColor(rgba);
    AddQuads(text, start, right, up, g_textQuadHeight / float(kGlyphSize), true, true, rgba, end);
    if (m_batchDepth == 0)
        Flush();
    g_textPenX = end[0];
}

void CTextrueText::DrawTextQuad2(const CString& text) {
    if (!m_atlas || text.IsEmpty() || !HxHasCurrentGlContext())
        return;
    const float right[3] = {1.0f, 0.0f, 0.0f}, up[3] = {0.0f, 1.0f, 0.0f};
    const float start[3] = {g_textPenX, g_textPenY, g_textPenZ};
    float end[3], rgba[4];
    CurrentColor(rgba);
    AddQuads(text, start, right, up, g_textQuadHeight / float(kGlyphSize), false, false, rgba, end);
    if (m_batchDepth == 0)
        Flush();
    g_textPenX = end[0];
}

namespace {
void DrawTexturedLabel(const CString& text, float x, float y, float z, const float* rgba) {
    if (g_pTextureText)
        g_pTextureText->DrawLabel(text, x, y, z, rgba);
}
void BatchLabels(bool begin) {
    if (!g_pTextureText)
        return;
    if (begin)
        g_pTextureText->BeginBatch();
    else
        g_pTextureText->EndBatch();
}
} // namespace

void HxInstallLabelRenderers() {
    HxSetLabelRenderers(GetLabelGlyphLists, DrawTexturedLabel, BatchLabels);
}
