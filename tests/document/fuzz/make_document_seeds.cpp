// Writes small documents to start the document fuzzer from: a new document, one of several pages
// with points, lines and a tool, its ".gf" copy, and an older version; with --paste, the clipboard
// blocks of such a page (its cells, the page whole); with --toolset, tool-set files.
// Usage: make_document_seeds [--paste | --toolset] DIR
#include "document/halvix_doc.h"
#include "model/arc_circles.h"
#include "model/constrained_points.h"
#include "model/dependent_points.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/line.h"

#include <cstdio>
#include <functional>
#include <string>

namespace {

void Write(const std::string& path, const std::vector<BYTE>& bytes) {
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

void AddFigure(CGPage* page, int points) {
    CCellMap* saved = g_cellMap;
    g_cellMap = &page->m_cells;
    for (int i = 0; i < points; ++i) {
        WORD id = page->m_nextId++;
        page->m_cells.SetAt(
            id, new CGVertex(id, page->m_nextVertex++, page->MakeAutoLabel(1), float(i), float(i * i), 2));
    }
    for (int i = 1; i < points; ++i) {
        WORD id = page->m_nextId++;
        page->m_cells.SetAt(id, new CGLine(id, WORD(i), WORD(i + 1), BYTE(i % 4)));
    }
    g_cellMap = saved;
}

// A face, circles and the point classes that follow them, on points 1 to 3 of the page.
void AddConstructions(CGPage* page) {
    CGPage* saved = g_pCurPage;
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    auto add = [&](CGCell* cell) {
        page->m_cells.SetAt(cell->m_id, cell);
        return cell->m_id;
    };
    add(new CGFace(page->m_nextId++, 1, 2, 3, RGB(200, 120, 40)));
    WORD circle = add(new CGArcCircle3P(page->m_nextId++, 1, 2, 3, 0));
    add(new CGArcCenterP(page->m_nextId++, 1, 2, 3, 3));
    add(new CGVerMid(page->m_nextId++, page->m_nextVertex++, page->MakeAutoLabel(1), 5));
    add(new CGVerFreeInCircle(page->m_nextId++, page->m_nextVertex++, page->MakeAutoLabel(1), circle, 0.25f));
    add(new CGVerFreeUpright(page->m_nextId++, page->m_nextVertex++, page->MakeAutoLabel(1), 1, 2));
    add(new CGVerFootpf(page->m_nextId++, page->m_nextVertex++, page->MakeAutoLabel(1), 4, 1, 2, 3));
    g_pCurPage = saved;
    g_cellMap = saved ? &saved->m_cells : nullptr;
}

CRecord* PointTool() {
    auto* tool = new CRecord;
    tool->m_name = u"点";
    tool->m_recordedCells.AddTail(new CGVertex(0, 0, u"P", 0, 0, 0));
    tool->m_conditions.Add(new CCondition(0, u"点P", true));
    tool->Validate();
    return tool;
}

// A tool of two free points and the segment between them.
CRecord* SegmentTool() {
    auto* tool = new CRecord;
    tool->m_name = u"线段";
    tool->m_recordedCells.AddTail(new CGVertex(0, 0, u"A", 0, 0, 0));
    tool->m_recordedCells.AddTail(new CGVertex(1, 0, u"B", 1, 0, 0));
    auto* line = new CGLine;
    line->m_id = 2;
    line->m_parents.Add(0);
    line->m_parents.Add(1);
    tool->m_recordedCells.AddTail(line);
    tool->m_conditions.Add(new CCondition(0, u"点A", true));
    tool->m_conditions.Add(new CCondition(1, u"点B", true));
    tool->Validate();
    return tool;
}

std::vector<BYTE> Store(const std::function<void(CArchive&)>& write) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
    }
    return file.Data();
}

void WriteToolSets(const std::string& dir) {
    CRecordList list;
    Write(dir + "/empty.hvx", Store([&](CArchive& ar) { list.Serialize(ar); }));
    list.AddTail(PointTool());
    list.AddTail(SegmentTool());
    Write(dir + "/two.hvx", Store([&](CArchive& ar) { list.Serialize(ar); }));
    HxDeleteRecords(list);
}

void WriteClipboardBlocks(const std::string& dir, CGPage* page) {
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    page->SelectAllOfKind(0);
    Write(dir + "/cells.bin", Store([&](CArchive& ar) { page->WriteClipboardBlock(ar); }));
    page->m_pageSelected = 1;
    Write(dir + "/page.bin", Store([&](CArchive& ar) { page->WriteClipboardBlock(ar); }));
    page->m_pageSelected = 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string kind = argc == 3 ? argv[1] : "";
    if (argc < 2 || (argc == 3 && kind != "--paste" && kind != "--toolset")) {
        std::fprintf(stderr, "usage: %s [--paste | --toolset] DIR\n", argv[0]);
        return 1;
    }
    const std::string dir = argv[argc - 1];
    if (kind == "--toolset") {
        WriteToolSets(dir);
        return 0;
    }
    HxSetScreenSizeOverride(1920, 1080);
    CHalvixDoc doc;
    doc.OnNewDocument();
    if (kind == "--paste") {
        CGPage* page = doc.GetPage(0);
        AddFigure(page, 4);
        AddConstructions(page);
        WriteClipboardBlocks(dir, page);
        return 0;
    }
    Write(dir + "/new.hvx", doc.StoreToBytes());

    AddFigure(doc.GetPage(0), 4);
    CGPage* second = doc.AppendPage(u"第二页");
    AddFigure(second, 3);
    CGPage* third = doc.AppendPage(u"第三页");
    AddFigure(third, 4);
    AddConstructions(third);
    doc.m_tools.AddTail(PointTool());
    Write(dir + "/pages.hvx", doc.StoreToBytes());
    {
        CGfFormatScope layout;
        Write(dir + "/pages.gf", doc.StoreToBytes());
    }
    doc.m_formatVersion = 310;
    Write(dir + "/old.hvx", doc.StoreToBytes());
    return 0;
}
