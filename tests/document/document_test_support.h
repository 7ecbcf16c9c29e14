// Shared pieces of the document tests: a fixture with a new document, a fixed screen size and a
// recorder of message boxes; a cell class that counts its uses of document textures as textured
// cells do; documents of several pages with every cell class built so far and a tool; and
// document files built byte by byte.
#pragma once

#include "document/doc_globals.h"
#include "document/halvix_doc.h"
#include "document/neighbour_services.h"
#include "model/line.h"
#include "support/archive_helpers.h"
#include "support/cell_record.h"
#include "support/model_fixture.h"
#include "view/view_globals.h"

#include <memory>
#include <string>
#include <vector>

// A cell that uses document texture m_param4 (1 to 3) and counts itself while it is stored.
class CTexturedCell : public CGCell {
    DECLARE_SERIAL(CTexturedCell)
public:
    void Serialize(CArchive& ar) override;
};

class DocumentTest : public ModelTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The document as a file (a ".gf" copy's, in the older layout, with `gf`), and a file read into
    // it (FALSE when refused).
    std::vector<BYTE> Store(bool gf = false);
    BOOL Load(const std::vector<BYTE>& bytes, bool gf = false);

    // Cells added to a page as construction commands add them (the page need not be current).
    CGVertex* AddPoint(CGPage* page, float x, float y, float z);
    CGLine* AddLine(CGPage* page, WORD a, WORD b);
    template <class T> T* AddCell(CGPage* page, T* cell) {
        cell->m_id = page->m_nextId++;
        page->m_cells.SetAt(cell->m_id, cell);
        return cell;
    }
    // Three pages (points, lines, plain and textured cells on the first two, the third empty), a
    // tool, and header fields that differ from a new document's.
    void BuildSampleDocument();
    // One cell of every class the model has so far on a page (points, lines, faces, circles, free,
    // constrained and dependent points, plain and textured cells), built as commands build them;
    // the page is current while they are made.  Returns the number of cells.
    int AddEveryCellClass(CGPage* page);
    // Document texture `index` holding a user image of that size and those (packed) pixels.
    static void SetUserImage(int index, int width, int height, const std::vector<BYTE>& pixels);

    std::unique_ptr<CHalvixDoc> m_doc;
    std::vector<CString> m_messages; // texts of the message boxes shown
    int m_answer = IDOK;             // what the message boxes answer
};

// A document file built field by field: the header of a new document, then pages and the tail.
struct DocumentBytes {
    // Fields 1 to 17 with an empty tool list.
    static ByteBuilder Header(int version = 605);
    // The fields of a page record after its cell map.
    static void PageTail(ByteBuilder& b, WORD pageId, WORD nextId);
    // The page counter and three default textures.
    static void Tail(ByteBuilder& b, WORD pageCounter);
    // A whole file with one page holding the given cells (all of class CGCell, keyed by their ids).
    static std::vector<BYTE> OnePage(const std::vector<CommonRecord>& cells, WORD nextId, int version = 605);
};
