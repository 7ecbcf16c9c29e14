// Picking and pictures without a window: the choice of a hit by tool, hit records of an overflowing
// buffer, the label diamond, unprojection, crop boxes, one-bit masks, texture bytes and GIF files.
#include "dynamics/buttons.h"
#include "model/free_points.h"
#include "platform/image_reading.h"
#include "support/page_fixture.h"
#include "view/pick_pass.h"
#include "view/picture_export.h"
#include "view/unprojection.h"
#include "view/view_camera.h"
#include "view/view_globals.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <gif_lib.h>

#include <cmath>

namespace {

class ArrowChoiceTest : public PageFixture {};

std::vector<CPickHit> Hits(std::initializer_list<std::pair<unsigned, WORD>> list) {
    std::vector<CPickHit> hits;
    for (auto [c, id] : list)
        hits.push_back({c, id});
    return hits;
}

} // namespace

TEST_F(ArrowChoiceTest, TogglesAndCyclesWithinTheLowestClass) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(0, 0, 0);
    CGLine* ab = AddLine(a->m_id, b->m_id);
    const auto hits = Hits({{2, ab->m_id}, {1, a->m_id}, {3, a->m_id}, {1, b->m_id}});
    int pickClass = -1;
    WORD id = 0;
    HxChooseArrowPick(*m_page, hits, &pickClass, &id);
    EXPECT_EQ(m_page->m_walkClass, 1);
    ASSERT_EQ(m_page->m_walkList.GetCount(), 2);
    EXPECT_EQ(m_page->m_walkList.GetHead(), a->m_id);
    EXPECT_EQ(m_page->m_walkList.GetTail(), b->m_id);
    EXPECT_EQ(std::pair(pickClass, id), std::pair(1, a->m_id));
    // The caller selects it; the next pick unselects it and reports the other.
    m_page->SelectCell(a->m_id);
    HxChooseArrowPick(*m_page, hits, &pickClass, &id);
    EXPECT_FALSE(a->m_selected);
    EXPECT_TRUE(m_page->m_selAll.IsEmpty());
    EXPECT_EQ(id, b->m_id);
    m_page->SelectCell(b->m_id);
    // An unselected first hit does not survive a selected one after it.
    HxChooseArrowPick(*m_page, hits, &pickClass, &id);
    EXPECT_EQ(std::pair(pickClass, id), std::pair(0, b->m_id)) << "the id of the cell unselected last";
    EXPECT_FALSE(b->m_selected);

    // An unselected free point is still dragged.
    auto* p = Insert(new CGVerFreeXyz(NextId(), NextVertex(), u"P", 0, 0, 0));
    m_page->SelectCell(p->m_id);
    HxChooseArrowPick(*m_page, Hits({{1, p->m_id}}), &pickClass, &id);
    EXPECT_EQ(pickClass, 0);
    EXPECT_EQ(g_draggedId, p->m_id);
    EXPECT_EQ(g_dragMode, 1);
}

TEST_F(ArrowChoiceTest, LabelsAndCaptionsTakeTheLastHit) {
    CGVertex* a = AddPoint(0, 0, 0);
    CGVertex* b = AddPoint(1, 0, 0);
    int pickClass = -1;
    WORD id = 0;
    HxChooseArrowPick(*m_page, Hits({{3, a->m_id}, {3, b->m_id}, {7, 40}}), &pickClass, &id);
    EXPECT_EQ(std::pair(pickClass, id), std::pair(3, b->m_id));
    EXPECT_FALSE(a->m_selected || b->m_selected);
    // Classes above 13 count as nothing: the walk class is 16 when every class is higher.
    id = 0;
    HxChooseArrowPick(*m_page, Hits({{20, a->m_id}}), &pickClass, &id);
    EXPECT_EQ(m_page->m_walkClass, 16);
    EXPECT_EQ(std::pair(pickClass, id), std::pair(0, WORD(0)));
}

TEST(ToolChoiceTest, DrawingAndCustomTools) {
    const auto hits = Hits({{2, 5}, {1, 7}, {1, 9}, {4, 3}});
    int pickClass = 0;
    WORD id = 0;
    HxChooseDrawingPick(hits, &pickClass, &id);
    EXPECT_EQ(std::pair(pickClass, id), std::pair(1, WORD(9)));
    for (int marker : {0, -1}) {
        id = 0;
        HxChooseToolPick(hits, marker, &pickClass, &id);
        EXPECT_EQ(std::pair(pickClass, id), std::pair(16, WORD(0)));
    }
    HxChooseToolPick(hits, 8, &pickClass, &id);
    EXPECT_EQ(std::pair(pickClass, id), std::pair(1, WORD(7)));
}

TEST(HitRecordTest, CompleteRecordsOfAnOverflowingBuffer) {
    // Two records of two names, one of one name, and a record cut off by the buffer's end.
    const unsigned int buffer[] = {2, 0, 0, 1, 11, 1, 0, 0, 0xFFFFFFFF, 2, 0, 0, 8, 0x10005, 2, 0, 0, 3};
    std::vector<CPickHit> hits;
    HxDecodeHitRecords(buffer, std::size(buffer), 3, hits);
    EXPECT_EQ(hits, (std::vector<CPickHit>{{1, 11}, {8, 5}}));
    HxDecodeHitRecords(buffer, std::size(buffer), -1, hits);
    EXPECT_EQ(hits, (std::vector<CPickHit>{{1, 11}, {8, 5}}));
    HxDecodeHitRecords(buffer, 4, -1, hits);
    EXPECT_TRUE(hits.empty());
}

TEST(LabelPickAxesTest, SquareToTheViewAndToEachOther) {
    float a[3], b[3];
    const float down[3] = {0, 0, -1};
    HxLabelPickAxes(down, 0.05f, a, b);
    EXPECT_EQ(a[1], 0.5f);
    EXPECT_EQ(b[0], 0.5f);
    EXPECT_EQ(a[0] + a[2] + b[1] + b[2], 0.0f);
    const float dir[3] = {0.48f, 0.6f, 0.64f};
    HxLabelPickAxes(dir, 0.05f, a, b);
    auto dot = [](const float* u, const float* v) { return u[0] * v[0] + u[1] * v[1] + u[2] * v[2]; };
    EXPECT_NEAR(dot(a, dir), 0.0f, 1e-6);
    EXPECT_NEAR(dot(b, dir), 0.0f, 1e-6);
    EXPECT_NEAR(dot(a, b), 0.0f, 1e-6);
    EXPECT_NEAR(std::sqrt(dot(a, a)), 0.5f, 1e-6);
    EXPECT_NEAR(std::sqrt(dot(b, b)), 0.5f, 1e-6);
}

namespace {
// The kept matrices of an 800 x 600 view of a camera, without OpenGL.
void KeepCamera(int projection) {
    g_clientWidth = 800;
    g_clientHeight = 600;
    g_viewport[0] = g_viewport[1] = 0;
    g_viewport[2] = 800;
    g_viewport[3] = 600;
    g_projectionType = projection;
    ComputeProjectionMatrix(projection, g_projectionMatrix);
    ComputeViewCameraMatrix(g_modelviewMatrix);
}
class UnprojectTest : public ModelTest {};
} // namespace

TEST_F(UnprojectTest, OntoTheCoordinatePlanes) {
    SetPlaneViewRotation();
    KeepCamera(1);
    double x = 9, y = 9, z = 9;
    HxUnprojectToPlane(426, 300, FALSE, &x, &y, &z);
    EXPECT_DOUBLE_EQ(x, 1.3);
    EXPECT_DOUBLE_EQ(y, 0.0);
    EXPECT_EQ(z, 0.0);
    g_snapToGrid = 1;
    HxUnprojectToPlane(426, 300, FALSE, &x, &y, &z);
    EXPECT_EQ(x, 1.0);
    // Beyond the box of +-200.
    g_snapToGrid = 0;
    g_viewZoom = 0.01f;
    KeepCamera(1);
    HxUnprojectToPlane(790, 10, FALSE, &x, &y, &z);
    EXPECT_EQ(std::pair(x, y), std::pair(200.0, 200.0));
    // Edge-on to z = 0, looking along y: the plane y = 0.
    g_viewZoom = 1.0f;
    SetViewRotation(-90.0, 0.0);
    KeepCamera(1);
    HxUnprojectToPlane(440, 260, FALSE, &x, &y, &z);
    EXPECT_EQ(y, 0.0);
    EXPECT_DOUBLE_EQ(x, 2.0);
    EXPECT_DOUBLE_EQ(z, 2.0);

    // On a vertical line only the height changes.
    x = 2.0, y = 5.0, z = 7.0;
    HxUnprojectToPlane(440, 268, TRUE, &x, &y, &z);
    EXPECT_DOUBLE_EQ(z, 1.6);
    EXPECT_EQ(std::pair(x, y), std::pair(2.0, 5.0));
    // A vertical ray leaves the height alone.
    SetPlaneViewRotation();
    KeepCamera(1);
    HxUnprojectToPlane(440, 200, TRUE, &x, &y, &z);
    EXPECT_DOUBLE_EQ(z, 1.6);
}

TEST_F(UnprojectTest, OnThePlaneOfAFace) {
    SetPlaneViewRotation();
    KeepCamera(1);
    // The plane z = x / 2 through (0,0,0), (2,0,1), (0,2,0).
    double plane[3][3] = {{2, 0, 1}, {0, 0, 0}, {0, 2, 0}};
    double x, y, z;
    float s, t;
    ASSERT_TRUE(HxDragOnPlane(plane, 440, 280, &x, &y, &z, &s, &t));
    EXPECT_DOUBLE_EQ(x, 2.0);
    EXPECT_DOUBLE_EQ(y, 1.0);
    EXPECT_NEAR(z, 1.0, 1e-6);
    // q - p2 = s (p0 - p2) + t (p1 - p2): (2, -1, 1) = s (2, -2, 1) + t (0, -2, 0).
    EXPECT_NEAR(s, 1.0f, 1e-6);
    EXPECT_NEAR(t, -0.5f, 1e-6);
    // A vertical plane is seen edge-on from above.
    double wall[3][3] = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}};
    EXPECT_FALSE(HxDragOnPlane(wall, 440, 280, &x, &y, &z, &s, &t));
    EXPECT_EQ(x, 0.0);
}

TEST(FigureBoxTest, MarginsWhereThereIsRoom) {
    const int w = 20, h = 10;
    std::vector<BYTE> frame(size_t(w * h * 4), 255);
    const BYTE white[3] = {255, 255, 255};
    int l, r, t, b;
    EXPECT_FALSE(HxFindFigureBox(frame.data(), w, h, white, &l, &r, &t, &b));
    auto ink = [&](int x, int y) { frame[size_t((y * w + x) * 4)] = 0; };
    ink(10, 5);
    ink(12, 6);
    ASSERT_TRUE(HxFindFigureBox(frame.data(), w, h, white, &l, &r, &t, &b));
    EXPECT_EQ((std::array<int, 3>{l, r, b}), (std::array<int, 3>{6, 17, 1}));
    EXPECT_EQ(t, 7) << "only 3 rows of room above: no margin";
    // A figure touching the left edge keeps left = 0; alpha plays no part.
    ink(0, 5);
    frame[size_t((2 * w + 15) * 4 + 3)] = 0;
    ASSERT_TRUE(HxFindFigureBox(frame.data(), w, h, white, &l, &r, &t, &b));
    EXPECT_EQ(l, 0);
    // The background bytes of the background colour, truncated.
    g_backgroundColor[0] = 0.5f;
    BYTE bg[3];
    HxBackgroundBytes(bg);
    EXPECT_EQ(bg[0], 127);
    g_backgroundColor[0] = 1.0f;
}

TEST(MonochromeTest, DarkPixelsCroppedToWholeBytes) {
    QImage picture(40, 6, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int x = 3; x <= 12; ++x)
        picture.setPixel(x, 2, qRgb(100, 100, 100));
    picture.setPixel(5, 4, qRgb(191, 191, 191)); // mean 191: dark
    picture.setPixel(6, 4, qRgb(192, 192, 192)); // 192: light
    int w = 0, h = 0;
    std::vector<BYTE> mask = BitmapToMonochrome(picture, &w, &h, TRUE);
    EXPECT_EQ(std::pair(w, h), std::pair(40, 6));
    ASSERT_EQ(mask.size(), 8u * 6u);
    // Row 2 from the top is row 3 from the bottom: bits 3..12.
    EXPECT_EQ(mask[3 * 8 + 0], 0x1F);
    EXPECT_EQ(mask[3 * 8 + 1], 0xF8);
    EXPECT_EQ(mask[1 * 8 + 0], 0x04);
    mask = BitmapToMonochrome(picture, &w, &h, FALSE);
    EXPECT_EQ(std::pair(w, h), std::pair(16, 3));
    ASSERT_EQ(mask.size(), 4u * 3u);
    EXPECT_EQ(mask[0], 0x04);
    EXPECT_EQ(mask[2 * 4 + 1], 0xF8);
    // 24 and 16 bits, and one bit (black is dark).
    for (QImage::Format f : {QImage::Format_RGB888, QImage::Format_RGB16, QImage::Format_Mono}) {
        QImage other = picture.convertToFormat(f, Qt::ThresholdDither);
        std::vector<BYTE> m = BitmapToMonochrome(other, &w, &h, TRUE);
        ASSERT_EQ(m.size(), 8u * 6u) << f;
        EXPECT_EQ(m[3 * 8 + 0], 0x1F) << f;
        EXPECT_EQ(m[5 * 8], 0) << f;
    }
    // A light picture has no mask; other depths none either.
    picture.fill(Qt::white);
    EXPECT_TRUE(BitmapToMonochrome(picture, &w, &h, FALSE).empty());
    EXPECT_TRUE(BitmapToMonochrome(picture.convertToFormat(QImage::Format_Indexed8), &w, &h, TRUE).empty());
    EXPECT_TRUE(BitmapToMonochrome(QImage(), &w, &h, TRUE).empty());
}

TEST(TextureBytesTest, KeyColourBecomesTransparent) {
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(0, 0, qRgb(10, 20, 30));
    int w = 0, h = 0;
    for (QImage::Format f : {QImage::Format_RGB32, QImage::Format_RGB888}) {
        std::vector<BYTE> bits = BitmapToBits(picture.convertToFormat(f), &w, &h, RGB(255, 255, 255), 0);
        ASSERT_EQ(bits.size(), 3u * 2u * 4u);
        // The top row is the last.
        EXPECT_EQ(std::vector<BYTE>(bits.begin() + 12, bits.begin() + 16),
                  (std::vector<BYTE>{10, 20, 30, 255}));
        EXPECT_EQ(bits[3], 0) << "white is the key";
    }
    // 16 bits by its own expansion: white is (255, 252, 248), not the key.
    std::vector<BYTE> bits =
        BitmapToBits(picture.convertToFormat(QImage::Format_RGB16), &w, &h, RGB(255, 255, 255), 0);
    EXPECT_EQ(std::vector<BYTE>(bits.begin(), bits.begin() + 4), (std::vector<BYTE>{255, 252, 248, 255}));
    EXPECT_TRUE(BitmapToBits(picture.convertToFormat(QImage::Format_Mono), &w, &h, 0, 0).empty());
}

TEST(ClipboardPictureTest, ReadAsACroppedMask) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    QImage picture(64, 16, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.fillRect(QRect(20, 4, 20, 8), Qt::black);
    painter.end();
    ASSERT_TRUE(HxCopyBitmapToClipboard(picture));
    int w = 0, h = 0;
    std::vector<BYTE> mask = ClipboardBitmapToMonochrome(&w, &h);
    ASSERT_FALSE(mask.empty()) << "the transparent parts count as white";
    EXPECT_EQ(std::pair(w, h), std::pair(24, 8)); // bytes 2 to 4
    clipboard->clear();
    EXPECT_TRUE(ClipboardBitmapToMonochrome(&w, &h).empty());
}

TEST(PictureFileTest, GifWithFewAndManyColours) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage few(30, 20, QImage::Format_RGB32);
    few.fill(Qt::white);
    few.setPixel(3, 4, qRgb(0, 0, 200));
    const CString fewPath = CString::FromQString(dir.filePath(QStringLiteral("few.gif")));
    CString error;
    ASSERT_TRUE(HxSavePicture(few, fewPath, &error)) << error.ToQString().toStdString();
    QImage back = QImage(fewPath.ToQString());
    ASSERT_EQ(back.size(), QSize(30, 20));
    EXPECT_EQ(back.pixel(3, 4), qRgb(0, 0, 200));
    EXPECT_EQ(back.pixel(0, 0), qRgb(255, 255, 255));
    // A gradient of far more than 256 colours is quantised.
    QImage many(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            many.setPixel(x, y, qRgb(x * 4, y * 4, 128));
    const CString manyPath = CString::FromQString(dir.filePath(QStringLiteral("many.gif")));
    ASSERT_TRUE(HxSavePicture(many, manyPath, &error));
    back = QImage(manyPath.ToQString());
    ASSERT_EQ(back.size(), QSize(64, 64));
    EXPECT_NEAR(qRed(back.pixel(60, 10)), 240, 24);
    EXPECT_NEAR(qGreen(back.pixel(60, 10)), 40, 24);
    // An unknown type and an unwritable place are reported.
    EXPECT_FALSE(HxSavePicture(few, CString::FromQString(dir.filePath(QStringLiteral("x.tif"))), &error));
    EXPECT_EQ(error.Find(u"Save image failed:\n"), 0);
    EXPECT_FALSE(HxSavePicture(few, u"/nonexistent/folder/x.gif", &error));
    EXPECT_FALSE(HxSavePicture(few, u"/nonexistent/folder/x.png", &error));
    EXPECT_EQ(HxPictureFormatOf(u"A.JPEG"), QStringLiteral("JPEG"));
}

TEST(PictureFileTest, EveryGiflibErrorHasAChineseReason) {
    struct Case {
        int code;
        const char16_t* reason;
    };
    const Case cases[] = {
        {D_GIF_ERR_OPEN_FAILED, u"无法打开文件"},
        {D_GIF_ERR_READ_FAILED, u"GIF文件不完整"},
        {D_GIF_ERR_NOT_GIF_FILE, u"文件不是GIF图象"},
        {D_GIF_ERR_NO_SCRN_DSCR, u"GIF文件中缺少屏幕描述"},
        {D_GIF_ERR_NO_IMAG_DSCR, u"GIF文件中没有图象"},
        {D_GIF_ERR_NO_COLOR_MAP, u"GIF文件中缺少颜色表"},
        {D_GIF_ERR_WRONG_RECORD, u"GIF文件已损坏"},
        {D_GIF_ERR_DATA_TOO_BIG, u"GIF图象已损坏"},
        {D_GIF_ERR_NOT_ENOUGH_MEM, u"内存不足"},
        {D_GIF_ERR_CLOSE_FAILED, u"关闭文件失败"},
        {D_GIF_ERR_NOT_READABLE, u"无法读取文件"},
        {D_GIF_ERR_IMAGE_DEFECT, u"GIF图象已损坏"},
        {D_GIF_ERR_EOF_TOO_SOON, u"GIF文件不完整"},
        {E_GIF_ERR_OPEN_FAILED, u"无法创建文件"},
        {E_GIF_ERR_WRITE_FAILED, u"写入文件失败"},
        {E_GIF_ERR_HAS_SCRN_DSCR, u"写入GIF文件失败"},
        {E_GIF_ERR_HAS_IMAG_DSCR, u"写入GIF文件失败"},
        {E_GIF_ERR_NO_COLOR_MAP, u"写入GIF文件失败"},
        {E_GIF_ERR_DATA_TOO_BIG, u"写入GIF文件失败"},
        {E_GIF_ERR_NOT_ENOUGH_MEM, u"内存不足"},
        {E_GIF_ERR_DISK_IS_FULL, u"磁盘已满"},
        {E_GIF_ERR_CLOSE_FAILED, u"关闭文件失败"},
        {E_GIF_ERR_NOT_WRITEABLE, u"文件不可写"},
        {99, u"写入GIF文件失败"}, // codes giflib does not define
        {100, u"GIF图象已损坏"},
        {114, u"GIF图象已损坏"},
        {-1, u"GIF图象已损坏"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(HxGifErrorReason(c.code), CString(c.reason));
    }
    // A GIF that cannot be put in place: giflib's write error, with the reason the file could not be
    // written, in Chinese.
    QImage few(3, 2, QImage::Format_RGB32);
    few.fill(Qt::white);
    CString error;
    EXPECT_FALSE(HxSavePicture(few, u"/nonexistent/folder/x.gif", &error));
    EXPECT_EQ(error, CString(u"Save image failed:\n2 - 找不到文件夹"));
}
