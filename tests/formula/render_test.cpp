// Drawing formulas with QPainter on images: fonts resolved to the installed families, Symbol codes
// drawn as their Unicode characters, and a few formulas saved as PNG (in the test's working folder,
// under formula_png) for a look by eye.
#include "formula/formula_templates.h"
#include "formula_test_util.h"
#include "platform/dc_painter.h"

#include <QDir>
#include <QFontInfo>
#include <QImage>
#include <QPainter>

namespace {

// Lays the formula out in a painter DC and draws it on white, as the bitmap renderer does.
QImage Render(CBinTree& doc, int margin = 4) {
    QImage probe(1, 1, QImage::Format_RGB32);
    auto prepare = [&doc](CDC& dc) {
        dc.SelectFont(doc.m_defaultFont);
        dc.SetTextColor(doc.m_color);
        dc.SelectPen(HxPen{PS_SOLID, int(std::abs(doc.m_defaultFont.lfHeight)) / 32 + 1, doc.m_color});
        dc.SetBkMode(TRANSPARENT);
        doc.LayoutAll(&dc);
    };
    {
        CPainterDC dc(&probe);
        prepare(dc);
    }
    CRect box = doc.m_pRoot->m_rect;
    QImage image(box.Width() + 2 * margin, box.Height() + 2 * margin, QImage::Format_RGB32);
    image.fill(Qt::white);
    CPainterDC dc(&image);
    dc.SetWindowOrg(-margin, -margin);
    prepare(dc);
    doc.m_pRoot->Draw(&dc);
    return image;
}

QString PngFolder() {
    QDir dir(QDir::currentPath());
    dir.mkpath("formula_png");
    return dir.filePath("formula_png");
}

int DarkPixels(const QImage& image, const QRect& area) {
    int n = 0;
    for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y)
        for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ++n;
    return n;
}

TEST(Render, FacesResolveToTheInstalledFamilies) {
    EXPECT_EQ(HxResolveFontFamily(u"Times New Roman", 0), QString("Liberation Serif"));
    for (const char16_t* face : {u"宋体", u"微软雅黑", u"SomeUnknownFace"})
        EXPECT_EQ(HxResolveFontFamily(face, 134), QString("WenQuanYi Micro Hei"));
    LOGFONT lf = HxDefaultNodeFont();
    QFontInfo info(HxQFontFromLogFont(lf));
    EXPECT_EQ(info.family(), QString("Liberation Serif"));
    EXPECT_TRUE(info.bold());
    HxSetFaceName(lf, u"宋体");
    EXPECT_EQ(QFontInfo(HxQFontFromLogFont(lf)).family(), QString("WenQuanYi Micro Hei"));
}

TEST(Render, HeightsFollowGdi) {
    QImage image(10, 10, QImage::Format_RGB32);
    CPainterDC dc(&image);
    LOGFONT lf = HxDefaultNodeFont();
    lf.lfHeight = 35; // a cell height
    dc.SelectFont(lf);
    EXPECT_NEAR(dc.GetTextExtent(u"x").cy, 35, 1);
    EXPECT_NEAR(dc.GetTextExtent(CString()).cy, 35, 1) << "an empty text still reports the cell height";
    lf.lfHeight = -35; // an em height: the cell is taller
    dc.SelectFont(lf);
    EXPECT_GT(dc.GetTextExtent(u"x").cy, 36);
    lf.lfHeight = 35;
    lf.lfWidth = 40;
    dc.SelectFont(lf);
    int wide = dc.GetTextExtent(u"nnnn").cx;
    lf.lfWidth = 0;
    dc.SelectFont(lf);
    EXPECT_GT(wide, dc.GetTextExtent(u"nnnn").cx) << "a width stretches the face";
}

TEST(Render, SymbolCodesAreDrawnAsTheirCharacters) {
    const std::u16string codes = u"\uF0E5\uF0D5\uF0F2\uF0D6\uF028\uF07D\uF0DB\uF0E1\uF0F1\uF0FE\uF061a";
    const std::u16string characters = u"∑∏∫√(}⇔⟨⟩⎭αa";
    for (size_t i = 0; i < codes.size(); ++i)
        EXPECT_EQ(HxSymbolToUnicode(codes[i]), characters[i]) << i;
    EXPECT_EQ(HxSymbolToUnicode(u'a', true), u'α') << "in the Symbol face itself, letters are Greek";
    EXPECT_EQ(HxMapSymbolText(u"x\uF0B3y"), CString(u"x≥y"));

    QImage image(10, 10, QImage::Format_RGB32);
    CPainterDC dc(&image);
    LOGFONT lf = HxDefaultNodeFont();
    dc.SelectFont(lf);
    EXPECT_EQ(dc.GetTextExtent(u"\uF0E5"), dc.GetTextExtent(u"∑"));
    // The document keeps the code.
    CBinTree doc;
    ASSERT_TRUE(doc.SetMarkup(u"<#><l><e>\uF0B3</e></l></#>"));
    EXPECT_EQ(doc.GetMarkup(0), CString(u"<#><l><e>\uF0B3</e></l></#>"));
}

TEST(Render, EmptyFormulaShowsADottedPlaceholder) {
    CBinTree doc;
    ASSERT_TRUE(doc.SetMarkup(HX_EMPTY_FORMULA));
    QImage image = Render(doc, 0);
    EXPECT_EQ(image.size(), QSize(21, 35));
    image.save(PngFolder() + "/empty.png");
    // Every other pixel of the border is dark, the inside stays white.
    EXPECT_EQ(std::vector<bool>({qGray(image.pixel(0, 0)) < 128, qGray(image.pixel(1, 0)) < 128,
                                 qGray(image.pixel(2, 0)) < 128, qGray(image.pixel(0, 2)) < 128}),
              std::vector<bool>({true, false, true, true}));
    EXPECT_EQ(DarkPixels(image, QRect(2, 2, 17, 31)), 0);
}

TEST(Render, FractionsRootsAndFences) {
    CBinTree doc;
    ASSERT_TRUE(
        doc.SetMarkup(u"<#><l><e:i=1>x</e><e>=</e><f><#><l><e>−</e><e:i=1>b</e><e>±</e>"
                      u"<r><#><l><^><#:i=1><l><e>b</e></l></#><#><l><e>2</e></l></#></^><e>−4</e>"
                      u"<e:i=1>ac</e></l></#></r></l></#><#><l><e>2</e><e:i=1>a</e></l></#></f></l></#>"));
    QImage image = Render(doc);
    ASSERT_FALSE(image.isNull());
    image.save(PngFolder() + "/quadratic.png");
    auto row = RowOf(doc.m_pRoot, 0);
    auto fr = DYNAMIC_DOWNCAST(CStandardNode, row->GetChild(2));
    ASSERT_TRUE(fr);
    // The fraction bar: a dark line across the band's middle.
    int barY = fr->m_contentRect.top + 2 + 4;
    int dark = 0;
    for (int x = fr->m_contentRect.left + 4; x < fr->m_contentRect.right + 4; ++x)
        if (qGray(image.pixel(x, barY)) < 128)
            ++dark;
    EXPECT_GT(dark, fr->m_contentRect.Width() * 9 / 10);
    // Ink in the numerator and the denominator, none left of the formula's first glyph.
    EXPECT_GT(DarkPixels(image, QRect(fr->m_pFirst->m_rect.left + 4, fr->m_pFirst->m_rect.top + 4,
                                      fr->m_pFirst->m_rect.Width(), fr->m_pFirst->m_rect.Height())),
              50);
    EXPECT_GT(DarkPixels(image, QRect(fr->m_pSecond->m_rect.left + 4, fr->m_pSecond->m_rect.top + 4,
                                      fr->m_pSecond->m_rect.Width(), fr->m_pSecond->m_rect.Height())),
              50);
    EXPECT_EQ(DarkPixels(image, QRect(0, 0, 3, image.height())), 0);
}

TEST(Render, ColoursAndSymbols) {
    CBinTree doc;
    ASSERT_TRUE(doc.SetMarkup(u"<#><l><b:color=ff><#><l><e>a</e><e:color=ff0000>b</e></l></#>\uF07B\uF07D</b>"
                              u"<d><s><#><l><e>k=1</e></l></#><#><l><e>n</e></l></#>\uF0E5</s>"
                              u"<#><l><e>k</e></l></#></d><e>∈</e><e:name=宋体,cset=134>正方体</e></l></#>"));
    QImage image = Render(doc);
    image.save(PngFolder() + "/symbols.png");
    int red = 0, blue = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 80 && c.blue() < 80)
                ++red;
            if (c.blue() > 150 && c.red() < 80 && c.green() < 80)
                ++blue;
        }
    EXPECT_GT(red, 20) << "the red braces and their red content";
    EXPECT_GT(blue, 10) << "the blue run inside them";
    auto row = RowOf(doc.m_pRoot, 0);
    CNode* sum = ChildOf(row, 1);
    EXPECT_GT(DarkPixels(image, QRect(sum->m_rect.left + 4, sum->m_rect.top + 4, sum->m_rect.Width(),
                                      sum->m_rect.Height())),
              80);
    CNode* chinese = ChildOf(row, 3);
    EXPECT_GT(DarkPixels(image, QRect(chinese->m_rect.left + 4, chinese->m_rect.top + 4,
                                      chinese->m_rect.Width(), chinese->m_rect.Height())),
              80)
        << "Chinese text finds its glyphs";
}

TEST(Render, EveryTemplateDraws) {
    for (int i = 0; i < HX_FORMULA_TEMPLATE_COUNT; ++i) {
        CBinTree doc;
        ASSERT_TRUE(doc.SetMarkup(u"<#>" + GetFormulaTemplate(i) + u"</#>"));
        QImage image = Render(doc);
        EXPECT_GT(DarkPixels(image, image.rect()), 30) << i;
        if (i == 5 || i == 14 || i == 16 || i == 19 || i == 25)
            image.save(PngFolder() + QString("/template%1.png").arg(i));
    }
}

} // namespace
