// Slide texts and shapes as the slide reader gives them, built directly by the tests, and the cells
// of a kind an import put on a page.
#pragma once

#include "slides/pptx_reader.h"
#include "model/page.h"

#include <vector>

namespace SlideShapes {

// A text of one paragraph of one run, `points` high (0: the text's default size).
inline HxSlideText OneParagraph(const QString& text, double points = 0) {
    HxSlideText slideText;
    HxSlideRun run;
    run.text = text;
    run.points = points;
    slideText.paragraphs.emplace_back().runs.push_back(run);
    return slideText;
}

// A text frame of `width` x `height` points at the slide's top left corner.
inline HxSlideShape TextShape(const HxSlideText& text, double width, double height) {
    HxSlideShape shape;
    shape.kind = HxSlideShape::kText;
    shape.box = {0, 0, width, height};
    shape.text = text;
    return shape;
}

// A table of one cell of `width` x `height` points at the slide's top left corner holding `text`.
inline HxSlideShape OneCellTable(const HxSlideText& text, double width, double height) {
    HxSlideShape table;
    table.kind = HxSlideShape::kTable;
    table.box = {0, 0, width, height};
    table.rows = table.columns = 1;
    table.cells.resize(1);
    table.cells[0].box = table.box;
    table.cells[0].text = text;
    return table;
}

// The cells of class T on the page, by their ids.
template <class T> std::vector<T*> CellsOf(CGPage* page) {
    std::vector<T*> out;
    for (WORD id = 1; id < page->m_nextId; ++id)
        if (T* cell = DYNAMIC_DOWNCAST(T, page->FindCell(id)))
            out.push_back(cell);
    return out;
}

} // namespace SlideShapes
