// Textured glyphs: the prepared glyph sets, glyphs made on demand, and the label and text quads.
#include "view/texture_text.h"

#include "view/gl_context.h"
#include "view/glyph_font.h"
#include "view/glyph_lists.h"
#include "view/label_hooks.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <GL/gl.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <cmath>
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
    glGenTextures(kTextureCount, m_names);
    m_haveNames = true;

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
    if (m_haveNames && HxMakeGlCurrent())
        glDeleteTextures(kTextureCount, m_names);
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

CharInfo* CTextrueText::AddGlyph(char16_t ch, CGlyphInfoMap& target, const QFont& font) {
    CharInfo* existing = nullptr;
    if (target.Lookup(ch, existing))
        return existing;
    if (!m_haveNames || m_usedTextures >= kTextureCount || !HxMakeGlCurrent())
        return nullptr;

    const QString text(QChar{ch});
    QFontMetrics fm(font);
    auto* info = new CharInfo;
    info->m_texture = m_names[m_usedTextures++];
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
    // Rows bottom-up, so that texture row 0 is the foot of the cell.
    std::vector<BYTE> alpha(size_t(kGlyphSize * kGlyphSize));
    for (int y = 0; y < kGlyphSize; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        BYTE* out = alpha.data() + size_t((kGlyphSize - 1 - y) * kGlyphSize);
        for (int x = 0; x < kGlyphSize; ++x)
            out[x] = BYTE(qRed(line[x]));
    }
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glBindTexture(GL_TEXTURE_2D, info->m_texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, kGlyphSize, kGlyphSize, 0, GL_ALPHA, GL_UNSIGNED_BYTE,
                 alpha.data());
    glPopClientAttrib();
    return info;
}

CharInfo* CTextrueText::FindOrBuild(char16_t ch, bool latinFirst) {
    CharInfo* info = nullptr;
    if (latinFirst && m_latinGlyphs.Lookup(ch, info))
        return info;
    if (m_otherGlyphs.Lookup(ch, info))
        return info;
    if (m_usedTextures >= kBuildLimit)
        return nullptr;
    return AddGlyph(ch, m_otherGlyphs, CjkFont());
}

void CTextrueText::DrawQuads(const CString& text, const float* start, const float* right, const float* up,
                             float scale, bool smallDigits, bool latinFirst, float* end) {
    float p[3] = {start[0], start[1], start[2]};
    glEnable(GL_TEXTURE_2D);
    for (int i = 0; i < text.GetLength(); ++i) {
        char16_t ch = text[i];
        CharInfo* info = FindOrBuild(ch, latinFirst);
        if (!info)
            break;
        const bool digit = smallDigits && IsDigit(ch);
        const float k = (digit ? scale * 0.75f : scale) * g_unitLength;
        const float w = float(info->m_abcB) * k;
        const float h = info->m_height * k;
        const float t = float(info->m_abcB) / float(kGlyphSize);
        const float lower = digit ? 0.05f * h : 0.0f;
        float q[3];
        for (int c = 0; c < 3; ++c)
            q[c] = p[c] + right[c] * (float(info->m_abcA) * k) - up[c] * lower;
        glBindTexture(GL_TEXTURE_2D, info->m_texture);
        glBegin(GL_QUADS);
        glTexCoord2f(0.0f, 0.0f);
        glVertex3f(q[0], q[1], q[2]);
        glTexCoord2f(t, 0.0f);
        glVertex3f(q[0] + right[0] * w, q[1] + right[1] * w, q[2] + right[2] * w);
        glTexCoord2f(t, 1.0f);
        glVertex3f(q[0] + right[0] * w + up[0] * h, q[1] + right[1] * w + up[1] * h,
                   q[2] + right[2] * w + up[2] * h);
        glTexCoord2f(0.0f, 1.0f);
        glVertex3f(q[0] + up[0] * h, q[1] + up[1] * h, q[2] + up[2] * h);
        glEnd();
        for (int c = 0; c < 3; ++c)
            p[c] += right[c] * (info->m_width * k);
    }
    glDisable(GL_TEXTURE_2D);
    if (end) {
        end[0] = p[0];
        end[1] = p[1];
        end[2] = p[2];
    }
}

void CTextrueText::DrawLabel(const CString& text, float x, float y, float z) {
    if (!m_haveNames || text.IsEmpty() || !HxHasCurrentGlContext())
        return;
    float right[3] = {float(g_modelviewMatrix[0]), float(g_modelviewMatrix[4]), float(g_modelviewMatrix[8])};
    float up[3] = {float(g_modelviewMatrix[1]), float(g_modelviewMatrix[5]), float(g_modelviewMatrix[9])};
    Normalise(right);
    Normalise(up);
    float scale = float(g_labelFontHeight + 4) / float(kGlyphSize);
    if (g_labelAutoScale != 0 && g_viewZoom != 0.0f)
        scale /= g_viewZoom;
    const float start[3] = {x, y, z};
    DrawQuads(text, start, right, up, scale, true, true, nullptr);
}

void CTextrueText::DrawTextQuad(const CString& text) {
    if (!m_haveNames || text.IsEmpty() || !HxHasCurrentGlContext())
        return;
    const float right[3] = {1.0f, 0.0f, 0.0f}, up[3] = {0.0f, 1.0f, 0.0f};
    const float start[3] = {g_textPenX, g_textPenY, g_textPenZ};
    float end[3];
    DrawQuads(text, start, right, up, g_textQuadHeight / float(kGlyphSize), true, true, end);
    g_textPenX = end[0];
}

void CTextrueText::DrawTextQuad2(const CString& text) {
    if (!m_haveNames || text.IsEmpty() || !HxHasCurrentGlContext())
        return;
    const float right[3] = {1.0f, 0.0f, 0.0f}, up[3] = {0.0f, 1.0f, 0.0f};
    const float start[3] = {g_textPenX, g_textPenY, g_textPenZ};
    float end[3];
    DrawQuads(text, start, right, up, g_textQuadHeight / float(kGlyphSize), false, false, end);
    g_textPenX = end[0];
}

namespace {
void DrawTexturedLabel(const CString& text, float x, float y, float z) {
    if (g_pTextureText)
        g_pTextureText->DrawLabel(text, x, y, z);
}
} // namespace

void HxInstallLabelRenderers() {
    HxSetLabelRenderers(GetLabelGlyphLists, DrawTexturedLabel);
}
