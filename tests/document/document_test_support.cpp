// The document fixture, the sample document and byte-built document files.
#include "document_test_support.h"

#include "model/arc.h"
#include "model/arc_circles.h"
#include "model/constrained_points.h"
#include "model/dependent_points.h"
#include "model/face.h"
#include "model/free_points.h"
#include "solids/revolution_constructed.h"
#include "view/texture_loading.h"

IMPLEMENT_SERIAL(CTexturedCell, CGCell, 1)

void CTexturedCell::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring() && m_param4 >= 1 && m_param4 <= 3)
        ++g_textureUseCount[m_param4];
}

void DocumentTest::SetUp() {
    ModelTest::SetUp();
    HxResetDocumentGlobals();
    HxSetScreenSizeOverride(1920, 1080);
    HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
        m_messages.push_back(text);
        return m_answer;
    });
    m_doc = std::make_unique<CHalvixDoc>();
    ASSERT_TRUE(m_doc->OnNewDocument());
}

void DocumentTest::TearDown() {
    m_doc.reset();
    HxSetMessageBoxHandler(nullptr);
    HxSetDialogRunner(nullptr);
    HxSetScreenSizeOverride(0, 0);
    HxResetDocumentGlobals();
    ModelTest::TearDown();
}

std::vector<BYTE> DocumentTest::Store(bool gf) {
    if (!gf)
        return m_doc->StoreToBytes();
    CGfFormatScope layout;
    return m_doc->StoreToBytes();
}

BOOL DocumentTest::Load(const std::vector<BYTE>& bytes, bool gf) {
    CMemFile file(bytes);
    if (!gf)
        return m_doc->ReadDocument(file, u"test.hvx");
    CGfFormatScope layout;
    return m_doc->ReadDocument(file, u"test.gf");
}

CGVertex* DocumentTest::AddPoint(CGPage* page, float x, float y, float z) {
    CCellMap* saved = g_cellMap;
    g_cellMap = &page->m_cells;
    WORD id = page->m_nextId++;
    auto* point =
        new CGVertex(id, page->m_nextVertex++, page->MakeAutoLabel(CGPage::kAutoLabelPoint), x, y, z);
    page->m_cells.SetAt(id, point);
    g_cellMap = saved;
    return point;
}

CGLine* DocumentTest::AddLine(CGPage* page, WORD a, WORD b) {
    CCellMap* saved = g_cellMap;
    g_cellMap = &page->m_cells;
    WORD id = page->m_nextId++;
    auto* line = new CGLine(id, a, b, CGLine::kSegment);
    page->m_cells.SetAt(id, line);
    g_cellMap = saved;
    return line;
}

void DocumentTest::BuildSampleDocument() {
    m_doc->m_author = u"张老师";
    m_doc->m_description = u"正方体的截面";
    m_doc->m_storeMtfImages = 1;
    m_doc->m_reservedInt = -7;
    m_doc->m_reservedFloat = 2.5f;
    m_doc->m_reservedText = u"备用";

    CGPage* first = m_doc->GetPage(0);
    CGVertex* a = AddPoint(first, 0, 0, 0);
    CGVertex* b = AddPoint(first, 3, 0, 0);
    CGVertex* c = AddPoint(first, 0, 4, 1);
    CGLine* ab = AddLine(first, a->m_id, b->m_id);
    AddLine(first, b->m_id, c->m_id);
    ab->m_extB1 = 1;
    ab->m_text4 = u"只在新格式里";
    auto* plain = AddCell(first, new CGCell);
    plain->m_name = u"备注";
    plain->m_extB5 = 0.5f;
    auto* textured = AddCell(first, new CTexturedCell);
    textured->m_param4 = 2;
    textured->m_hidden = 1;

    CGPage* second = m_doc->AppendPage(u"第二页");
    second->m_viewTrans[0] = 5.0f;
    second->m_viewZoom = 2.0f;
    second->m_projection = 0;
    second->m_unitsPerLength = 40;
    second->m_dashedBehindLit = 0;
    second->m_mediaFile = u"/tmp/讲解.mp3";
    for (int i = 0; i < 30; ++i)
        AddPoint(second, float(i), float(i * i), 0);
    AddLine(second, 4, 25);
    m_doc->AppendPage(u"第三页");
    m_doc->m_pageCounter = 7; // pages 4 to 7 were deleted

    auto* tool = new CRecord;
    tool->m_name = u"中点";
    tool->m_recordedCells.AddTail(new CGVertex(0, 0, u"P", 0, 0, 0));
    tool->m_conditions.Add(new CCondition(0, u"点P", true));
    tool->Validate();
    m_doc->m_tools.AddTail(tool);
}

int DocumentTest::AddEveryCellClass(CGPage* page) {
    CGPage* savedPage = g_pCurPage;
    CCellMap* savedMap = g_cellMap;
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    auto name = [&] { return page->MakeAutoLabel(CGPage::kAutoLabelPoint); };
    auto add = [&](CGCell* cell) {
        page->m_cells.SetAt(cell->m_id, cell);
        return cell->m_id;
    };
    auto id = [&] { return page->m_nextId++; };
    auto vertex = [&] { return DWORD(page->m_nextVertex++); };
    int before = page->m_cells.GetCount();
    WORD a = add(new CGVertex(id(), vertex(), name(), 0, 0, 0));
    WORD b = add(new CGVertex(id(), vertex(), name(), 4, 0, 0));
    WORD c = add(new CGVertex(id(), vertex(), name(), 0, 4, 0));
    WORD d = add(new CGVertex(id(), vertex(), name(), 1, 1, 4));
    add(new CGVerFreeXyz(id(), vertex(), name(), 1, 2, 3));
    WORD ab = add(new CGLine(id(), a, b, CGLine::kSegment));
    add(new CGLine(id(), a, c, CGLine::kRay));
    auto* face = new CGFace(id(), a, b, c, RGB(200, 100, 50));
    face->m_param4 = 1;
    add(face);
    add(new CGArc(id(), 0, 0, 1, 2, 0, 0, 0, 2, 0, 0.0f, 3.0f, 1));
    WORD circle = add(new CGArcCircle3P(id(), a, b, c, 0));
    add(new CGArcCenterP(id(), a, b, c, 0));
    add(new CGArcPointN(id(), a, b, d, 0, 0));
    add(new CGVerMid(id(), vertex(), name(), ab));
    add(new CGVerPerpenEquid(id(), vertex(), name(), a, b, c));
    add(new CGVerFootpl(id(), vertex(), name(), d, a, b));
    add(new CGVerFootpf(id(), vertex(), name(), d, a, b, c));
    add(new CGVerFreeInLine(id(), vertex(), name(), ab, 0.3f));
    add(new CGVerFreeInCircle(id(), vertex(), name(), circle, 0.5f));
    add(new CGVerFreeUpright(id(), vertex(), name(), a, b));
    add(new CGVerFreeUprightEquid(id(), vertex(), name(), a, b));
    add(new CGVerFreeEquilateral(id(), vertex(), name(), a, b));
    add(new CGVerFreeParVector(id(), vertex(), name(), 1, 0, 0, a));
    add(new CGVerFreeParVecPP(id(), vertex(), name(), a, b, c));
    add(new CGVerFreePerpen(id(), vertex(), name(), a, b, c));
    add(new CGVerFreeHenchman(id(), vertex(), name(), 2, 2, 2, a));
    auto* sphere = new CGSphere(id(), 1, 2, 3, 2, 0, 0, 2);
    sphere->m_param4 = 2;
    sphere->m_style = 2;
    add(sphere);
    add(new CGCylinder(id(), 0, 0, 0, 1, 3, 0, 1, 0));
    add(new CGCone(id(), 1, 1, 1, 2, 2, 0, 0, -1));
    add(new CGFrustum(id(), 0, 0, 1, 3, 2, 1, 1, 1, 0.25f));
    add(new CGSphereCN(id(), a, d));
    add(new CGCylinderCPC(id(), a, b, d));
    add(new CGConeCPV(id(), a, c, d));
    add(new CGFrustumCP2(id(), a, b, d, c));
    auto* plain = new CGCell;
    plain->m_id = id();
    plain->m_name = u"备注";
    plain->m_extB5 = 0.5f;
    add(plain);
    g_pCurPage = savedPage;
    g_cellMap = savedMap;
    return page->m_cells.GetCount() - before;
}

void DocumentTest::SetUserImage(int index, int width, int height, const std::vector<BYTE>& pixels) {
    auto* block = new BYTE[pixels.size()];
    std::copy(pixels.begin(), pixels.end(), block);
    HxSetDocumentTexturePixels(index, block, width, height);
}

// ---------------------------------------------------------------------------------------------

ByteBuilder DocumentBytes::Header(int version) {
    ByteBuilder b;
    b.U16(0).I32(version).Str(u"").Str(u"说明").I32(1920).I32(1080).I32(0).I32(0).F32(0).Str(u"");
    b.Str(u"Times New Roman").Str(u"Times New Roman").I32(24).I32(24).F32(2).F32(6);
    const float light[4][4] = {
        {0.2f, 0.2f, 0.2f, 1}, {0.8f, 0.8f, 0.8f, 1}, {1, 1, 1, 1}, {200, 100, 300, 1}};
    for (int i = 0; i < 4; ++i) {
        for (int parameter = 0; parameter < 4; ++parameter)
            b.F32(light[parameter][i]);
    }
    return b;
}

void DocumentBytes::PageTail(ByteBuilder& b, WORD pageId, WORD nextId) {
    b.U16(pageId).Str(u"第一页").U16(nextId).U16(1).U8('A').U8(' ').U8(1);
    b.I32(0).U8(1).U8(0).U8(0).I32(0).I32(0);
    b.F32(0).F32(0).F32(0).F32(0).F32(0).F32(-50).F32(1).I32(1).U8(0).U8(0);
    b.F32(1).F32(1).F32(1).F32(1).I32(1).I32(0).F32(1).Str(u"");
    b.I32(1).I32(20).I32(0).I32(0).I32(0).Str(u"");
}

void DocumentBytes::Tail(ByteBuilder& b, WORD pageCounter) {
    b.U16(pageCounter).U8(1).U8(1).U8(1);
}

std::vector<BYTE> DocumentBytes::OnePage(const std::vector<CommonRecord>& cells, WORD nextId, int version) {
    ByteBuilder b = Header(version);
    b.U16(1).NewClass("CGPage").U16(unsigned(cells.size()));
    for (size_t i = 0; i < cells.size(); ++i) {
        b.U16(cells[i].id);
        // CGPage is class 1 and the page object 2, CGCell class 3 and the cells 4, 5, ...
        if (i == 0)
            b.NewClass("CGCell");
        else
            b.U16(0x8003);
        cells[i].AppendTo(b);
    }
    PageTail(b, 1, nextId);
    Tail(b, 1);
    return b;
}
