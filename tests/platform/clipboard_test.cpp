// The clipboard: formats registered by name, the clipboard in memory, and Qt's clipboard with the
// registered formats as MIME formats and its picture as a device bitmap of its depth.
#include "platform/afx.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

TEST(ClipboardTest, FormatsAreRegisteredOnceByName) {
    const UINT graph = HxRegisterClipboardFormat(u"CF_TEST_GRAPH");
    const UINT other = HxRegisterClipboardFormat(u"CF_TEST_OTHER");
    EXPECT_GE(graph, 0xC000u);
    EXPECT_NE(graph, other);
    EXPECT_EQ(HxRegisterClipboardFormat(u"CF_TEST_GRAPH"), graph);
    EXPECT_EQ(HxGetClipboardFormatName(graph), u"CF_TEST_GRAPH");
    EXPECT_EQ(HxRegisterClipboardFormat(u""), 0u);
    EXPECT_EQ(HxGetClipboardFormatName(0), u"");
    EXPECT_EQ(HxGetClipboardFormatName(0xBFFF), u"");
    EXPECT_EQ(HxGetClipboardFormatName(0xFFFF), u"");
}

TEST(ClipboardTest, TheClipboardInMemoryHoldsOneThingAtATime) {
    CMemoryClipboard clipboard;
    const UINT format = HxRegisterClipboardFormat(u"CF_TEST_GRAPH");
    EXPECT_TRUE(clipboard.Open());
    EXPECT_FALSE(clipboard.Open()) << "open already";
    clipboard.Close();
    EXPECT_FALSE(clipboard.SetData(0x1234, {1})) << "no such format";
    EXPECT_TRUE(clipboard.SetData(format, {1, 2, 3}));
    std::vector<BYTE> data;
    EXPECT_TRUE(clipboard.IsFormatAvailable(format));
    EXPECT_TRUE(clipboard.GetData(format, data));
    EXPECT_EQ(data, std::vector<BYTE>({1, 2, 3}));
    EXPECT_FALSE(clipboard.HasBitmap());

    HxClipboardBitmap picture;
    picture.width = 1;
    picture.height = 1;
    picture.bitsPerPixel = 32;
    picture.widthBytes = 4;
    picture.bits = {1, 2, 3, 4};
    clipboard.SetBitmap(picture);
    EXPECT_FALSE(clipboard.IsFormatAvailable(format)) << "a picture replaces the block";
    HxClipboardBitmap got;
    EXPECT_TRUE(clipboard.GetBitmap(got));
    EXPECT_EQ(got.bits, picture.bits);
    clipboard.m_bitmapFails = true;
    EXPECT_FALSE(clipboard.GetBitmap(got));
    clipboard.m_openFails = true;
    EXPECT_FALSE(clipboard.Open());
    EXPECT_EQ(clipboard.m_openCount, 1);

    // The one installed is the one in use.
    HxSetClipboardBackend(&clipboard);
    EXPECT_EQ(&HxGetClipboard(), &clipboard);
    HxSetClipboardBackend(nullptr);
    EXPECT_NE(&HxGetClipboard(), &clipboard);
}

TEST(ClipboardTest, QtClipboardCarriesBlocksUnderTheirNames) {
    CClipboardBackend& clipboard = HxGetClipboard();
    const UINT format = HxRegisterClipboardFormat(u"CF_TEST_GRAPH");
    ASSERT_TRUE(clipboard.Open());
    ASSERT_TRUE(clipboard.SetData(format, {0, 1, 2, 0xFF}));
    clipboard.Close();
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_TRUE(mime->hasFormat(QStringLiteral("CF_TEST_GRAPH")));
    EXPECT_EQ(mime->data(QStringLiteral("CF_TEST_GRAPH")), QByteArray("\x00\x01\x02\xFF", 4));
    std::vector<BYTE> data;
    EXPECT_TRUE(clipboard.IsFormatAvailable(format));
    EXPECT_TRUE(clipboard.GetData(format, data));
    EXPECT_EQ(data, std::vector<BYTE>({0, 1, 2, 0xFF}));
    EXPECT_FALSE(clipboard.IsFormatAvailable(HxRegisterClipboardFormat(u"CF_TEST_OTHER")));
}

TEST(ClipboardTest, QtPicturesComeAsDeviceBitmapsOfTheirDepth) {
    CClipboardBackend& clipboard = HxGetClipboard();
    QClipboard* qt = QGuiApplication::clipboard();
    HxClipboardBitmap b;

    QImage rgb32(3, 2, QImage::Format_RGB32);
    rgb32.fill(QColor(10, 20, 30));
    qt->setImage(rgb32);
    ASSERT_TRUE(clipboard.HasBitmap());
    ASSERT_TRUE(clipboard.GetBitmap(b));
    EXPECT_EQ(b.width, 3);
    EXPECT_EQ(b.height, 2);
    EXPECT_EQ(b.bitsPerPixel, 32);
    ASSERT_GE(b.widthBytes, 12);
    EXPECT_EQ(b.bits.size(), size_t(b.widthBytes) * 2);
    EXPECT_EQ(std::vector<BYTE>(b.bits.begin(), b.bits.begin() + 3), std::vector<BYTE>({30, 20, 10}));

    // A picture with transparent parts lies on white.
    QImage clear(1, 1, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    qt->setImage(clear);
    ASSERT_TRUE(clipboard.GetBitmap(b));
    EXPECT_EQ(b.bitsPerPixel, 32);
    EXPECT_EQ(std::vector<BYTE>(b.bits.begin(), b.bits.begin() + 3), std::vector<BYTE>({255, 255, 255}));

    QImage sixteen(2, 1, QImage::Format_RGB16);
    sixteen.setPixel(0, 0, qRgb(255, 0, 0));
    sixteen.setPixel(1, 0, qRgb(0, 0, 255));
    qt->setImage(sixteen);
    // (The clipboard of this process hands its own picture back as it was given.)
    ASSERT_TRUE(clipboard.GetBitmap(b));
    ASSERT_EQ(b.bitsPerPixel, 16);
    EXPECT_EQ(b.widthBytes, 4);
    EXPECT_EQ(b.bits[0] | b.bits[1] << 8, 0xF800);
    EXPECT_EQ(b.bits[2] | b.bits[3] << 8, 0x001F);

    QImage palette(2, 2, QImage::Format_Indexed8);
    palette.setColorCount(2);
    palette.setColor(0, qRgb(0, 0, 0));
    palette.setColor(1, qRgb(255, 255, 255));
    palette.fill(1);
    qt->setImage(palette);
    ASSERT_TRUE(clipboard.GetBitmap(b));
    EXPECT_EQ(b.bitsPerPixel, 8);
    qt->clear();
    EXPECT_FALSE(clipboard.HasBitmap());
}

TEST(ClipboardTest, TextTravelsOnBothClipboardsAndEmptiesTheOtherFormats) {
    CMemoryClipboard memory;
    const UINT format = HxRegisterClipboardFormat(u"CF_TEST_GRAPH");
    CString text;
    EXPECT_FALSE(memory.GetText(text));
    ASSERT_TRUE(memory.SetData(format, {1}));
    ASSERT_TRUE(memory.SetText(u"1, 2, 3\n点"));
    EXPECT_FALSE(memory.IsFormatAvailable(format));
    ASSERT_TRUE(memory.GetText(text));
    EXPECT_EQ(text, CString(u"1, 2, 3\n点"));
    ASSERT_TRUE(memory.SetData(format, {1}));
    EXPECT_FALSE(memory.HasText());

    CClipboardBackend& qt = HxGetClipboard();
    ASSERT_TRUE(qt.SetText(u"x=1"));
    ASSERT_TRUE(qt.HasText());
    ASSERT_TRUE(qt.GetText(text));
    EXPECT_EQ(text, CString(u"x=1"));
}
