// The printed sheet: where the frame, the title, "第 n 页" and the page's picture go on a sheet, and
// what is drawn when the picture is missing.
#include "view/print_sheet.h"

#include <gtest/gtest.h>

namespace {

// Records what a sheet draws.
class CSheetRecorder : public CPrintSheet {
public:
    void Rectangle(const QRect& rect) override { m_frames.push_back(rect); }
    void TextCentred(int x, int top, const CString& text, int height) override {
        m_texts.push_back({QPoint(x, top), text});
        m_textHeight = height;
    }
    void DrawImage(const QRect& target, const QImage& image) override {
        m_images.push_back(target);
        m_imageSize = image.size();
    }
    std::vector<QRect> m_frames;
    std::vector<std::pair<QPoint, CString>> m_texts;
    std::vector<QRect> m_images;
    QSize m_imageSize;
    int m_textHeight = 0;
};

QRect Edges(int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

} // namespace

TEST(PrintSheet, ALandscapePictureOnPortraitPaperFillsTheFrameWidthCentredUpAndDown) {
    // 1000 x 1400: dx 80, dy 126, m 14; the frame less 20 is 800 x 1108.
    const HxPrintLayout l = HxLayoutPrintSheet(QRect(0, 0, 1000, 1400), QSize(400, 300));
    EXPECT_EQ(l.frame, Edges(80, 126, 920, 1274));
    EXPECT_EQ(l.margin, 14);
    EXPECT_EQ(l.title, QPoint(500, 126 - 28));
    EXPECT_EQ(l.number, QPoint(500, 1274 + 14));
    EXPECT_EQ(l.image, QRect(100, 146 + (1108 - 600) / 2, 800, 600));
}

TEST(PrintSheet, ATallPictureFillsTheFrameHeightCentredAcross) {
    // 2000 x 1000 (landscape paper) at an offset: dx 160, dy 90, m 10; inside 1640 x 780.
    const HxPrintLayout l = HxLayoutPrintSheet(QRect(50, 40, 2000, 1000), QSize(300, 600));
    EXPECT_EQ(l.frame, Edges(210, 130, 1890, 950));
    EXPECT_EQ(l.title, QPoint(1050, 110));
    EXPECT_EQ(l.number, QPoint(1050, 960));
    // Scale 780 / 600 = 1.3: 390 x 780.
    EXPECT_EQ(l.image, QRect(230 + (1640 - 390) / 2, 150, 390, 780));
}

TEST(PrintSheet, SizesAreTruncated) {
    // 999 x 1199: dx = 79 (79.92), m = 11 (11.99), dy = 107 (107.91).
    const HxPrintLayout l = HxLayoutPrintSheet(QRect(0, 0, 999, 1199), QSize(8, 3));
    EXPECT_EQ(l.frame, Edges(79, 107, 920, 1092));
    EXPECT_EQ(l.margin, 11);
    // Inside 801 x 945; scale 801 / 8 = 100.125: 801 x 300 (300.375).
    EXPECT_EQ(l.image.size(), QSize(801, 300));
}

TEST(PrintSheet, DrawsTheFrameTitleNumberAndPicture) {
    const std::vector<QImage> images = {QImage(40, 30, QImage::Format_RGB32),
                                        QImage(30, 40, QImage::Format_RGB32)};
    const std::vector<CString> titles = {u"第一页", u"第二页"};
    CSheetRecorder sheet;
    HxDrawPrintSheet(sheet, QRect(0, 0, 1000, 1400), 2, images, titles);
    ASSERT_EQ(sheet.m_frames.size(), 1u);
    ASSERT_EQ(sheet.m_texts.size(), 2u);
    EXPECT_EQ(sheet.m_texts[0].second, CString(u"第二页"));
    EXPECT_EQ(sheet.m_texts[0].first, QPoint(500, 98));
    EXPECT_EQ(sheet.m_texts[1].second, CString(u"第 2 页"));
    EXPECT_EQ(sheet.m_texts[1].first, QPoint(500, 1288));
    EXPECT_EQ(sheet.m_textHeight, 21);
    ASSERT_EQ(sheet.m_images.size(), 1u);
    EXPECT_EQ(sheet.m_imageSize, QSize(30, 40));
}

TEST(PrintSheet, ASheetWithoutItsPictureKeepsOnlyTheFrame) {
    const std::vector<QImage> images = {QImage(40, 30, QImage::Format_RGB32)};
    const std::vector<CString> titles = {u"第一页"};
    for (int n : {2, 3, 0}) {
        CSheetRecorder sheet;
        HxDrawPrintSheet(sheet, QRect(0, 0, 1000, 1400), n, images, titles);
        EXPECT_EQ(sheet.m_frames.size(), 1u);
        EXPECT_TRUE(sheet.m_texts.empty());
        EXPECT_TRUE(sheet.m_images.empty());
    }
}
