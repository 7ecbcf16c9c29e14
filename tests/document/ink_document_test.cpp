// Ink marks in documents: saved and loaded with every stroke's x and y and the cell's colour (the
// strokes' own colours are not stored), and documents whose ink counts lie refused whole.
#include "document_test_support.h"
#include "dynamics/ink.h"

#include <cstring>

namespace {

class InkDocumentTest : public DocumentTest {
protected:
    CGInkmarks* AddInk(CGPage* page) {
        const float p[] = {1.25f, 2.5f, -50.0f, 3.75f, -4.5f, -50.0f, 6.0f, 7.0f, -50.0f};
        auto* ink = new CGInkmarks(0, new CStroke(3, p));
        ink->AddStroke(new CStroke(2, p + 3));
        ink->m_color = CRgba{0, 128, 255, 255};
        ink->m_labelPos[0] = -0.5f;
        ink->m_labelPos[1] = 1.5f;
        return AddCell(page, ink);
    }
    // The bytes with the int32 `from` that comes right before the float `next` replaced by `to`.
    static std::vector<BYTE> Patched(std::vector<BYTE> bytes, int32_t from, float next, int32_t to) {
        BYTE pattern[8];
        std::memcpy(pattern, &from, 4);
        std::memcpy(pattern + 4, &next, 4);
        auto at = std::search(bytes.begin(), bytes.end(), pattern, pattern + 8);
        EXPECT_NE(at, bytes.end());
        if (at != bytes.end())
            std::memcpy(&*at, &to, 4);
        return bytes;
    }
};

} // namespace

TEST_F(InkDocumentTest, StrokesKeptThroughSaveAndLoad) {
    CGInkmarks* ink = AddInk(m_doc->GetPage(0));
    const WORD id = ink->m_id;
    const std::vector<BYTE> bytes = Store();
    ASSERT_TRUE(Load(bytes));
    auto* back = DYNAMIC_DOWNCAST(CGInkmarks, m_doc->GetPage(0)->FindCell(id));
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->m_strokes.size(), 2u);
    EXPECT_EQ(back->m_strokes[0]->m_points,
              (std::vector<float>{1.25f, 2.5f, -50, 3.75f, -4.5f, -50, 6, 7, -50}));
    EXPECT_EQ(back->m_strokes[1]->m_points, (std::vector<float>{3.75f, -4.5f, -50, 6, 7, -50}));
    EXPECT_EQ(back->m_color, (CRgba{0, 128, 255, 255}));
    EXPECT_EQ(back->m_strokes[0]->m_color, (CRgba{255, 0, 0, 0}));
    EXPECT_FLOAT_EQ(back->m_labelPos[0], -0.5f);
    EXPECT_FLOAT_EQ(back->m_labelPos[1], 1.5f);
    EXPECT_EQ(std::vector<float>(back->m_box, back->m_box + 4), (std::vector<float>{1.25f, 6, -4.5f, 7}));
    EXPECT_EQ(back->GetDescription(), CString(u"画笔留下的墨迹"));
    EXPECT_EQ(Store(), bytes);
}

TEST_F(InkDocumentTest, LyingCountsRefusedWhole) {
    AddInk(m_doc->GetPage(0));
    const std::vector<BYTE> good = Store();
    const std::vector<BYTE> cases[] = {
        Patched(good, 3, 1.25f, 40),         // more points than bytes
        Patched(good, 3, 1.25f, -1),         // a negative count
        Patched(good, 2, 3.75f, 0x7FFFFFFF), // a count no file can hold
    };
    for (const std::vector<BYTE>& bytes : cases) {
        EXPECT_FALSE(Load(bytes));
        // The document is as it was.
        EXPECT_EQ(Store(), good);
    }
}
