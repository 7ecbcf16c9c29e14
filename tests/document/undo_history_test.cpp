// A long random history of the document's commands on pages that slide imports add: every page's saved
// records are kept after each command, then all is undone and redone, each state compared with the one it
// must be.  HALVIX_UNDO_HISTORY="seed,commands" runs another or a longer history.
#include "tool_test_support.h"

#include "construct/construct_ids.h"
#include "construct/hull_commands.h"
#include "construct/model_commands.h"
#include "construct/static_figure_commands.h"
#include "construct/static_figure_dialog.h"
#include "document/doc_construct_ids.h"
#include "document/element_properties.h"
#include "document/property_dialogs.h"
#include "dynamics/edit_ids.h"
#include "dynamics/ink.h"
#include "formula/mtf_dialogs.h"
#include "measure/rich_text_dialog.h"
#include "measure/rich_text_items.h"
#include "measure/text_items.h"
#include "model/arc.h"
#include "model/dependent_points.h"
#include "model/face.h"
#include "solids/component_commands.h"
#include "solids/model3ds.h"
#include "solids/polyhedron.h"
#include "solids/polyhedron_dialogs.h"
#include "solids/section.h"
#include "solids/split.h"
#include "solids/subassembly.h"
#include "solids/subassembly_dlg.h"
#include "support/model3ds_writer.h"
#include "support/page_snapshot.h"
#include "view/picture_commands.h"
#include "view/slide_import.h"
#include "view/vertex_array.h"
#include "view/view_services.h"
#include "view/view_tool_globals.h"

#include "../slides/pptx_files.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextCursor>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sstream>

namespace {

// A page as its file keeps it: every cell's record by id (the child lists in id order, as lists
// linked again at their tail may differ in order only) and the page's own fields after the cells.
struct PageState {
    PageSnapshot cells;
    std::vector<BYTE> fields;
    bool operator==(const PageState&) const = default;
};

// The pages of the document in their order, by page id (a page that did not change shares the state
// kept before, so that long histories stay small).
struct DocState {
    std::vector<std::pair<WORD, std::shared_ptr<const PageState>>> pages;
};

// The record of one cell as it is written, its child list put in id order while it is written.
std::vector<BYTE> SortedRecord(CGCell* cell) {
    std::vector<WORD> children;
    for (WORD id : cell->m_children)
        children.push_back(id);
    std::vector<WORD> sorted = children;
    std::sort(sorted.begin(), sorted.end());
    auto relink = [cell](const std::vector<WORD>& ids) {
        cell->m_children.RemoveAll();
        for (WORD id : ids)
            cell->m_children.AddTail(id);
    };
    relink(sorted);
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { ar.WriteObject(cell); });
    relink(children);
    return bytes;
}

PageState StateOf(CGPage& page) {
    PageState s;
    s.cells.nextId = page.m_nextId;
    ForEachCell(page.m_cells, [&](CGCell* cell) { s.cells.cells[cell->m_id] = SortedRecord(cell); });
    // The page's own fields are what its record holds after the cell map, but for the counters by
    // which it gives out names and places: the undo commands leave those as they are, and number the
    // points in the drawing array afresh.
    const WORD nextVertex = page.m_nextVertex;
    const char letter = page.m_labelLetter, suffix = page.m_labelSuffix;
    const BYTE circles = page.m_circleCounter, texts = page.m_textSlot, buttons = page.m_buttonSlot;
    page.m_nextVertex = 0;
    page.m_labelLetter = page.m_labelSuffix = 0;
    page.m_circleCounter = page.m_textSlot = page.m_buttonSlot = 0;
    const std::vector<BYTE> whole = StoreBytes([&](CArchive& ar) { page.Serialize(ar); });
    page.m_nextVertex = nextVertex;
    page.m_labelLetter = letter;
    page.m_labelSuffix = suffix;
    page.m_circleCounter = circles;
    page.m_textSlot = texts;
    page.m_buttonSlot = buttons;
    const std::vector<BYTE> map = StoreBytes([&](CArchive& ar) { page.m_cells.Serialize(ar); });
    s.fields.assign(whole.begin() + long(map.size()), whole.end());
    return s;
}

std::string Difference(const PageState& now, const PageState& expected) {
    if (now.cells != expected.cells)
        return SnapshotDifference(now.cells, expected.cells);
    size_t i = 0;
    while (i < now.fields.size() && i < expected.fields.size() && now.fields[i] == expected.fields[i])
        ++i;
    return "the page's own fields differ at byte " + std::to_string(i);
}

// A picture of dark text on white, as another program copies it.
QImage DarkText(int width) {
    QImage image(width, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(4, 4, width - 8, 8, Qt::black);
    return image;
}

// Presentations to import: a text box; a table with merged cells (its texts follow the cells'
// points); a group with a picture beside a text.
QByteArray TextPresentation() {
    using namespace PptxFiles;
    return Presentation({TextBox(
        3, 100, 200, 300, 60, Paragraph(TextRun(QStringLiteral("正方体")) + TextRun(QStringLiteral("x"))))});
}

QByteArray TablePresentation() {
    using namespace PptxFiles;
    return Presentation({Table(4, 60, 100, {100, 80}, {30, 30},
                               {Cell(QStringLiteral("A"), QStringLiteral("gridSpan=\"2\"")) +
                                    Cell(QString(), QStringLiteral("hMerge=\"1\"")),
                                Cell(QStringLiteral("C")) + Cell(QStringLiteral("D"))}),
                         TextBox(3, 0, 0, 200, 40, Paragraph(TextRun(QStringLiteral("二"))))});
}

QByteArray MixedPresentation() {
    using namespace PptxFiles;
    return Presentation({Group(5, 100, 100, 200, 100, 0, 0, 400, 200,
                               TextBox(6, 0, 0, 200, 100, Paragraph(TextRun(QStringLiteral("组内")))) +
                                   Picture(7, 200, 0, 200, 200)) +
                         TextBox(8, 300, 300, 100, 40, Paragraph(TextRun(QStringLiteral("y"))))});
}

class UndoHistoryTest : public ToolTest {
protected:
    void SetUp() override {
        ToolTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        m_modelPath =
            Write(QStringLiteral("小屋.3ds"),
                  QByteArray(reinterpret_cast<const char*>(m_model.data()), qsizetype(m_model.size())));
        m_slides = {Write(QStringLiteral("text.pptx"), TextPresentation()),
                    Write(QStringLiteral("table.pptx"), TablePresentation()),
                    Write(QStringLiteral("mixed.pptx"), MixedPresentation())};
        // The midpoint of two free points, made into the document's tool.
        const WORD a = Free(-3, 0, 0), b = Free(3, 2, 1);
        const WORD ab = Add(new CGLine(NextId(), a, b, CGLine::kSegment))->m_id;
        const WORD m =
            Add(new CGVerMid(NextId(), m_page->m_nextVertex++, m_page->MakeAutoLabel(1), ab))->m_id;
        Select({a, b, ab, m});
        m_toolName = u"中点";
        ASSERT_TRUE(Run(ID_TOOL_CREATE));
        ASSERT_NE(g_pCurrentTool, nullptr);
        m_toolCommand = UINT(g_currentToolCommand);
        m_page->ClearSelection();
        m_doc->SetModifiedFlag(FALSE);
    }
    void TearDown() override {
        QGuiApplication::clipboard()->clear();
        ToolTest::TearDown();
    }

    CString Write(const QString& name, const QByteArray& bytes) {
        QFile file(m_dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return CString::FromQString(file.fileName());
    }

    int Pick(int n) { return int(m_random() % unsigned(n)); }
    float Coordinate() { return float(Pick(41) - 20) * 0.5f; }

    // The cells of the current page that pass the test, by ascending id.
    template <class Test> std::vector<CGCell*> CellsWhere(Test test) {
        std::vector<CGCell*> found;
        ForEachCell(g_pCurPage->m_cells, [&](CGCell* cell) {
            if (test(cell))
                found.push_back(cell);
        });
        std::sort(found.begin(), found.end(), [](CGCell* x, CGCell* y) { return x->m_id < y->m_id; });
        return found;
    }
    template <class T> std::vector<CGCell*> CellsOf() {
        return CellsWhere([](CGCell* c) { return c->IsKindOf(T::GetThisClass()); });
    }
    std::vector<CGCell*> Points() { return CellsOf<CGVertex>(); }
    // The cells that pass the test on the current page or, when it has none, on another page that is
    // then made current (as the user turns to the page with what is to be edited).
    template <class Test> std::vector<CGCell*> FindOnSomePage(Test test) {
        std::vector<CGCell*> found = CellsWhere(test);
        for (int i = 0, n = m_doc->GetPageCount(), first = Pick(n); found.empty() && i < n; ++i) {
            m_doc->SetCurrentPage(m_doc->GetPage((first + i) % n));
            found = CellsWhere(test);
        }
        return found;
    }
    template <class T> std::vector<CGCell*> FindOnSomePage() {
        return FindOnSomePage([](CGCell* c) { return c->IsKindOf(T::GetThisClass()); });
    }
    CGCell* AnyOf(const std::vector<CGCell*>& cells) {
        return cells.empty() ? nullptr : cells[size_t(Pick(int(cells.size())))];
    }
    // The selection of the current page replaced by these cells, in this order.
    void SelectOnPage(const std::vector<CGCell*>& cells) {
        CGPage* page = g_pCurPage;
        page->ClearSelection();
        for (CGCell* cell : cells)
            page->SelectCell(cell->m_id);
    }
    // n of these cells, different ones, in a random order (fewer when there are not so many).
    std::vector<CGCell*> SomeOf(std::vector<CGCell*> cells, int n) {
        std::shuffle(cells.begin(), cells.end(), m_random);
        cells.resize(std::min(cells.size(), size_t(n)));
        return cells;
    }
    std::vector<CGCell*> SomePoints(int n) { return SomeOf(Points(), n); }
    // The next dialogs of class T are answered by `script`; others (and the answer) as they come.
    template <class T> void Answer(std::function<void(T&)> script) {
        m_script = [script](CDialog& dialog) {
            if (T* typed = DYNAMIC_DOWNCAST(T, &dialog))
                script(*typed);
        };
    }
    bool RunOnSelection(UINT id, const std::vector<CGCell*>& selection) {
        SelectOnPage(selection);
        return Run(id);
    }
    static void TakeText(CDlgRtEdit& dlg, const QString& text) {
        QTextDocument doc;
        QTextCursor(&doc).insertText(text, CDlgRtEdit::DefaultCharFormat());
        ASSERT_TRUE(dlg.TakeDocument(doc, 200 + 40 * int(text.size()), 60));
    }

    // ---------------------------------------------------------------------------------------------
    // The commands

    // A free point where the point tool puts it (one step).
    bool NewPoint() {
        CGPage* page = g_pCurPage;
        if (!page->CanTakeIds(1) || !EnsureVertexArray(100))
            return false;
        const WORD id = page->m_nextId++;
        auto* point = new CGVerFreeXyz(id, page->m_nextVertex++, page->MakeAutoLabel(CGPage::kAutoLabelPoint),
                                       Coordinate(), Coordinate(), Coordinate());
        point->m_size = float(2 + Pick(6));
        point->m_style = BYTE(Pick(6));
        page->m_cells.SetAt(id, point);
        page->m_cmdProcessor.Submit(new CCmdAddCell(u"添加点"));
        return true;
    }
    bool Segment() {
        const std::vector<CGCell*> two = SomePoints(2);
        return two.size() == 2 && RunOnSelection(ID_CREATE_LINE_SEGMENT, two);
    }
    bool Midpoint() {
        const std::vector<CGCell*> two = SomePoints(2);
        return two.size() == 2 && RunOnSelection(ID_CREATE_POINT_MIDDLE, two);
    }
    bool Delete() {
        const std::vector<CGCell*> all = CellsWhere([](CGCell*) { return true; });
        return !all.empty() && RunOnSelection(ID_EDIT_DELETE, {AnyOf(all)});
    }
    bool Split() {
        const std::vector<CGCell*> dependent = CellsWhere(
            [](CGCell* c) { return c->IsKindOf(RUNTIME_CLASS(CGVertex)) && !c->m_parents.IsEmpty(); });
        return !dependent.empty() && RunOnSelection(ID_EDIT_SPLIT, {AnyOf(dependent)});
    }
    bool Styles() {
        const std::vector<CGCell*> three = SomePoints(3);
        return three.size() == 3 && RunOnSelection(ID_EDIT_STYLES, three);
    }
    bool Component() {
        const int kind = Pick(kSubassemblyKindCount);
        Answer<CCreateSubaDlg>([this, kind](CCreateSubaDlg& dlg) {
            dlg.OnKindChanged(kind);
            if (kind == kSubassemblyText) {
                dlg.m_text = Pick(2) ? u"立体" : u"Ab";
                dlg.m_fontName = Pick(2) ? u"黑体" : u"宋体";
            }
            dlg.m_center[0] = Coordinate();
            dlg.m_spin = float(Pick(90));
            dlg.m_style = Pick(2);
            dlg.m_coloring = Pick(2);
        });
        return RunOnSelection(ID_CREATE_SUBA, {});
    }
    bool Text3D() { return RunOnSelection(ID_CREATE_3DTEXT, {}); }
    bool EditComponent() {
        CGCell* component = AnyOf(FindOnSomePage<CGSubassembly>());
        if (!component)
            return false;
        if (Pick(4) == 0) {
            // A preset material chosen while the dialog is open reaches the component at once (the view
            // gives it); cancelled, that is still a step.
            auto* cell = static_cast<CGSubassembly*>(component);
            Answer<CCreateSubaDlg>([this, cell](CCreateSubaDlg&) {
                ASSERT_TRUE(HxApplyMaterialPreset(1 + Pick(kMaterialPresetCount - 1)));
                cell->TakeCurrentMaterial();
            });
            m_dialogAnswer = IDCANCEL;
        } else {
            Answer<CCreateSubaDlg>([this](CCreateSubaDlg& dlg) {
                dlg.m_center[1] = Coordinate();
                dlg.m_spin = float(Pick(360));
                if (Pick(3) == 0)
                    dlg.m_text = u"新名";
                if (Pick(4) == 0)
                    dlg.OnKindChanged(Pick(kSubassemblyKindCount));
            });
        }
        return RunOnSelection(ID_EDIT_PROPERTY, {component});
    }
    bool Model() {
        Answer<CFileDialog>([this](CFileDialog& dlg) { dlg.SetResult(m_modelPath); });
        return RunOnSelection(ID_3DSMODEL, {});
    }
    bool EditModel() {
        CGCell* model = AnyOf(FindOnSomePage<CGModel3ds>());
        if (!model)
            return false;
        Answer<CDlg3ds>([this](CDlg3ds& dlg) {
            dlg.m_scale = float(1 + Pick(4));
            dlg.m_center[2] = Coordinate();
            dlg.m_displayMode = Pick(3);
        });
        return RunOnSelection(ID_EDIT_PROPERTY, {model});
    }
    bool Hull() {
        const std::vector<CGCell*> points = SomePoints(4 + Pick(3));
        if (points.size() < 4)
            return false;
        Answer<CDlgPolyhedron>([](CDlgPolyhedron&) {});
        return RunOnSelection(ID_POLYHEDRON, points);
    }
    // The section of a hull by a face of the same page.
    bool Section() {
        CGCell* hull = AnyOf(FindOnSomePage<CGPolyhedron>());
        CGCell* face = AnyOf(CellsOf<CGFace>());
        return hull && face && RunOnSelection(ID_SECTION, {hull, face});
    }
    // A cut of a hull, by fixed planes or by the planes of one or two faces of its page, with its
    // button.  (A net is left out: making one sorts and restyles its hull for good.)
    bool Cut() {
        CGCell* hull = AnyOf(FindOnSomePage<CGPolyhedron>());
        if (!hull)
            return false;
        std::vector<CGCell*> selection = SomeOf(CellsOf<CGFace>(), Pick(3));
        selection.insert(selection.begin(), hull);
        Answer<CDlgSplit>([this](CDlgSplit& dlg) { dlg.m_hidden = Pick(4) == 0; });
        return RunOnSelection(ID_TI_SPLIT, selection);
    }
    // A positioning figure: of a hull or a section when one is chosen, else one the dialog describes.
    bool Figure() {
        CGCell* solid = nullptr;
        if (Pick(2))
            solid = AnyOf(FindOnSomePage([](CGCell* c) {
                return c->IsKindOf(RUNTIME_CLASS(CGPolyhedron)) || c->IsKindOf(RUNTIME_CLASS(CGSection));
            }));
        if (solid)
            return RunOnSelection(ID_CREATE_STATICFIGURE, {solid});
        const int type = Pick(CDlgStaticHalvix::kTypeCount);
        Answer<CDlgStaticHalvix>([this, type](CDlgStaticHalvix& dlg) {
            dlg.m_type = type;
            dlg.m_sideCount = 3 + Pick(4);
            dlg.m_radius = float(2 + Pick(4));
            dlg.m_centreX = Coordinate();
        });
        return RunOnSelection(ID_CREATE_STATICFIGURE, {});
    }
    bool ToolByF5() {
        const std::vector<CGCell*> points = SomePoints(2 * (1 + Pick(2)));
        return points.size() >= 2 && RunOnSelection(ID_TOOL_AUTODO, points);
    }
    // The tool picked in the menu, then each input matched by a click on a point or on empty space
    // (a new point there), as the view's custom tool does; the finished application is one step.
    bool ToolByClicks() {
        CGPage* page = g_pCurPage;
        page->ClearSelection();
        AfxGetCommandRouter().Execute(m_toolCommand);
        HxViewServices& services = HxGetViewServices();
        const float at[3] = {Coordinate(), Coordinate(), 0.0f};
        services.applyToolStep(*page, at);
        int n = 0;
        while (page->m_constructMarker > 0) {
            const WORD placeholder = WORD(page->m_constructMarker);
            std::vector<CGCell*> inputs = CellsWhere([placeholder](CGCell* c) {
                return c->IsKindOf(RUNTIME_CLASS(CGVertex)) && c->m_id < placeholder;
            });
            if (!inputs.empty() && Pick(2)) {
                n = services.matchToolInput(*page, AnyOf(inputs)->m_id, nullptr);
            } else {
                EXPECT_TRUE(EnsureVertexArray(100));
                auto* floating = new CGVerFreeXyz(placeholder, page->m_nextVertex++, CString(), Coordinate(),
                                                  Coordinate(), Coordinate());
                n = services.matchToolInput(*page, 0, floating);
            }
        }
        EXPECT_GT(n, 0) << "the application ends with the cells it made";
        if (n > 0)
            page->m_cmdProcessor.Submit(new CCmdAddCells(n, CString(u"使用工具：") + g_pCurrentTool->m_name));
        // Back to the arrow.
        g_mouseTool = 1;
        page->m_constructMarker = 0;
        return n > 0;
    }
    bool Ink() {
        std::vector<CStroke*> strokes;
        const CRgba colors[] = {{255, 0, 0, 255}, {0, 0, 255, 255}, {0, 128, 0, 200}};
        for (int i = 0, n = 1 + Pick(3); i < n; ++i) {
            std::vector<float> p;
            for (int k = 0, m = 2 + Pick(4); k < m; ++k)
                p.insert(p.end(), {Coordinate(), Coordinate(), 0.0f});
            auto* stroke = new CStroke(int(p.size() / 3), p.data());
            stroke->m_color = colors[Pick(3)];
            strokes.push_back(stroke);
        }
        const int made = HxSaveInk(m_doc.get(), strokes, Coordinate(), Coordinate(), float(1 + Pick(4)));
        for (CStroke* left : strokes)
            delete left;
        return made > 0;
    }
    // A text made while a point is selected follows it (and hides its label); otherwise it is free.
    void SelectPointOrNothing(bool onPoint) {
        const std::vector<CGCell*> points = onPoint ? SomePoints(1) : std::vector<CGCell*>();
        SelectOnPage(points);
    }
    bool RichText(bool onPoint) {
        SelectPointOrNothing(onPoint);
        const QString text = Pick(2) ? QStringLiteral("勾股定理") : QStringLiteral("a²+b");
        Answer<CDlgRtEdit>([text](CDlgRtEdit& dlg) { TakeText(dlg, text); });
        return Run(ID_CREATE_TEXT2);
    }
    bool EditRichText() {
        CGCell* text = AnyOf(FindOnSomePage([](CGCell* c) { return HxIsRichTextCell(c); }));
        if (!text)
            return false;
        const QString changed = Pick(2) ? QStringLiteral("改过") : QStringLiteral("z");
        Answer<CDlgRtEdit>([changed](CDlgRtEdit& dlg) { TakeText(dlg, changed); });
        return RunOnSelection(ID_EDIT_PROPERTY, {text});
    }
    bool FormulaText(bool onPoint) {
        SelectPointOrNothing(onPoint);
        const CString markup =
            Pick(2) ? CString(u"<#><l><e>x+1</e></l></#>") : CString(u"<#><l><e>AB</e></l></#>");
        Answer<CMtfDlg>([markup](CMtfDlg& dlg) {
            dlg.m_markup = markup;
            dlg.m_empty = false;
        });
        HxGetViewServices().insertMtfColourText(*m_doc, CPoint(10, 10), Pick(2));
        return true;
    }
    bool PastedText(bool onPoint) {
        SelectPointOrNothing(onPoint);
        QGuiApplication::clipboard()->setImage(DarkText(24 + 8 * Pick(4)));
        return HxPasteBitmapText(m_doc.get()) != FALSE;
    }
    // New coordinates for a point that has them, or a new place on its path for one that moves on a
    // line, circle or curve, in the point's properties.
    bool EditPoint(bool onPath) {
        CGCell* point = AnyOf(FindOnSomePage([onPath](CGCell* c) {
            auto* p = DYNAMIC_DOWNCAST(CGVertex, c);
            bool path = false;
            const bool coordinates =
                p && HxPointCoordinateMode(*p, path) != CDlgPropertyPoint::kNoCoordinates;
            return onPath ? path : coordinates;
        }));
        if (!point)
            return false;
        Answer<CDlgPropertyPoint>([this](CDlgPropertyPoint& dlg) {
            dlg.m_x = Coordinate();
            dlg.m_y = Coordinate();
            dlg.m_z = Coordinate();
            dlg.m_t = float(Pick(100)) / 100.0f;
        });
        return RunOnSelection(ID_EDIT_PROPERTY, {point});
    }
    // A point on a selected line, circle or face.
    bool PointOnObject() {
        CGCell* carrier = AnyOf(CellsWhere([](CGCell* c) {
            return c->IsKindOf(RUNTIME_CLASS(CGLine)) || c->IsKindOf(RUNTIME_CLASS(CGArc)) ||
                   c->IsKindOf(RUNTIME_CLASS(CGFace));
        }));
        return carrier && RunOnSelection(ID_CREATE_POINT_ONOBJECT, {carrier});
    }
    bool ImportSlides() {
        const CString path = m_slides[size_t(Pick(int(m_slides.size())))];
        const bool convert = Pick(3) != 0;
        Answer<CDlgPPT>([convert](CDlgPPT& dlg) {
            dlg.m_from = 1;
            dlg.m_convert = convert ? TRUE : FALSE;
        });
        return HxImportSlideFile(m_doc.get(), path, nullptr) != FALSE;
    }

    // ---------------------------------------------------------------------------------------------

    DocState TakeState(const DocState* previous = nullptr) {
        DocState s;
        for (POSITION pos = m_doc->m_pages.GetHeadPosition(); pos;) {
            CGPage* page = m_doc->m_pages.GetNext(pos);
            auto state = std::make_shared<const PageState>(StateOf(*page));
            if (previous) {
                for (const auto& [id, kept] : previous->pages)
                    if (id == page->m_pageId && *kept == *state)
                        state = kept;
            }
            s.pages.emplace_back(page->m_pageId, std::move(state));
        }
        return s;
    }
    CGPage* PageOfId(WORD id) {
        for (POSITION pos = m_doc->m_pages.GetHeadPosition(); pos;) {
            CGPage* page = m_doc->m_pages.GetNext(pos);
            if (page->m_pageId == id)
                return page;
        }
        return nullptr;
    }
    // The commands each page holds, by page id.
    std::map<WORD, int> CommandCounts() {
        std::map<WORD, int> counts;
        for (POSITION pos = m_doc->m_pages.GetHeadPosition(); pos;) {
            CGPage* page = m_doc->m_pages.GetNext(pos);
            page->m_cmdProcessor.m_maxCommands = 1 << 20;
            counts[page->m_pageId] = page->m_cmdProcessor.GetCount();
        }
        return counts;
    }
    // The first difference between the document now and `expected`: the pages of `expected` in the
    // same order and state; any other page (made by a later command) as `emptied` keeps it, or, the
    // first time it is met, with no cells (it is then kept there).
    std::string Compare(const DocState& now, const DocState& expected, std::map<WORD, PageState>& emptied) {
        size_t e = 0;
        for (const auto& [id, kept] : now.pages) {
            const PageState& state = *kept;
            if (e < expected.pages.size() && expected.pages[e].first == id) {
                if (!(state == *expected.pages[e].second))
                    return "page " + std::to_string(id) + ": " + Difference(state, *expected.pages[e].second);
                ++e;
                continue;
            }
            auto it = emptied.find(id);
            if (it == emptied.end()) {
                if (!state.cells.cells.empty())
                    return "page " + std::to_string(id) + " keeps cells of a command that was undone";
                emptied[id] = state;
            } else if (!(state == it->second)) {
                return "page " + std::to_string(id) +
                       " changed after its commands were undone: " + Difference(state, it->second);
            }
        }
        if (e != expected.pages.size())
            return "the pages are not those of before, or not in their order";
        return std::string();
    }

    // A random history of `length` commands from `seed`, undone and redone in full, then saved and read.
    // With `drawn`, only commands of those kinds are drawn (others come only to make what they need).
    void RunHistory(unsigned seed, int length, const std::set<std::string>& drawn = {});

    QTemporaryDir m_dir;
    std::vector<uint8_t> m_model = Write3ds({{"Wall", 230, 220, 190, ""}, {"Roof", 180, 50, 40, ""}},
                                            {Box3ds("Walls", -4, -3, 0, 4, 3, 5, "Wall"),
                                             Prism3ds("Roof", -4.5f, 4.5f, -3.5f, 3.5f, 5, 8, "Roof")});
    CString m_modelPath;
    std::vector<CString> m_slides;
    UINT m_toolCommand = 0;
    std::mt19937 m_random;
};

// One command of the history: its kind and the commands it left on each page.
struct Step {
    std::string kind;
    std::vector<std::pair<WORD, int>> commands;
};

void UndoHistoryTest::RunHistory(unsigned seed, int length, const std::set<std::string>& drawn) {
    m_random.seed(seed);
    SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::to_string(length) + " commands");

    // The kinds of command, how often each comes (the newer commands among the older kinds of edit),
    // and, for one that works on what the pages hold, the kind of command that makes it.
    struct Kind {
        const char* name;
        int weight;
        std::function<bool()> run;
        std::function<const char*()> needs;
    };
    auto makes = [](const char* kind) { return [kind] { return kind; }; };
    const std::vector<Kind> kinds = {
        {"point", 6, [this] { return NewPoint(); }, nullptr},
        {"segment", 3, [this] { return Segment(); }, makes("point")},
        {"midpoint", 3, [this] { return Midpoint(); }, makes("point")},
        {"delete", 5, [this] { return Delete(); }, makes("point")},
        {"split", 2, [this] { return Split(); }, makes("midpoint")},
        {"style", 2, [this] { return Styles(); }, makes("point")},
        {"component", 3, [this] { return Component(); }, nullptr},
        {"3D text", 2, [this] { return Text3D(); }, nullptr},
        {"edit component", 2, [this] { return EditComponent(); }, makes("component")},
        {"3DS model", 2, [this] { return Model(); }, nullptr},
        {"edit model", 2, [this] { return EditModel(); }, makes("3DS model")},
        {"hull", 2, [this] { return Hull(); }, makes("point")},
        // A hull, then a face on its page.
        {"section", 2, [this] { return Section(); },
         [this] { return FindOnSomePage<CGPolyhedron>().empty() ? "hull" : "figure"; }},
        {"cut", 2, [this] { return Cut(); }, makes("hull")},
        {"figure", 3, [this] { return Figure(); }, nullptr},
        {"tool F5", 3, [this] { return ToolByF5(); }, makes("point")},
        {"tool clicks", 3, [this] { return ToolByClicks(); }, nullptr},
        {"ink", 2, [this] { return Ink(); }, nullptr},
        {"rich text", 2, [this] { return RichText(false); }, nullptr},
        {"rich text on point", 3, [this] { return RichText(true); }, nullptr},
        {"edit rich text", 2, [this] { return EditRichText(); }, makes("rich text")},
        {"formula", 2, [this] { return FormulaText(false); }, nullptr},
        {"formula on point", 3, [this] { return FormulaText(true); }, nullptr},
        {"pasted text", 2, [this] { return PastedText(Pick(3) != 0); }, nullptr},
        {"point on object", 2, [this] { return PointOnObject(); }, makes("segment")},
        {"point coordinates", 3, [this] { return EditPoint(false); }, makes("point")},
        {"point on path", 2, [this] { return EditPoint(true); }, makes("point on object")},
        {"slides", 1, [this] { return ImportSlides(); }, nullptr},
    };
    auto isDrawn = [&drawn](const Kind& k) { return drawn.empty() || drawn.count(k.name) > 0; };
    int total = 0;
    for (const Kind& k : kinds)
        total += isDrawn(k) ? k.weight : 0;
    ASSERT_GT(total, 0);
    auto named = [&kinds](const char* name) {
        const auto it = std::find_if(kinds.begin(), kinds.end(),
                                     [name](const Kind& k) { return std::string(k.name) == name; });
        EXPECT_NE(it, kinds.end()) << name;
        return it == kinds.end() ? &kinds.front() : &*it;
    };
    // The kinds come in rounds, each kind in a round as many times as its weight, in a random order:
    // every kind has its share in any history, where drawing each command alone may leave one out.
    std::vector<const Kind*> round;
    auto draw = [&] {
        if (round.empty()) {
            for (const Kind& k : kinds)
                if (isDrawn(k))
                    round.insert(round.end(), size_t(k.weight), &k);
            std::shuffle(round.begin(), round.end(), m_random);
        }
        const Kind* k = round.back();
        round.pop_back();
        return k;
    };

    std::vector<DocState> states{TakeState()};
    std::vector<Step> steps;
    // One command of a kind, kept as a step of the history when it left commands.
    auto runOnce = [&](const Kind& kind, bool& kept) {
        kept = false;
        m_script = nullptr;
        m_dialogAnswer = IDOK;
        const std::map<WORD, int> before = CommandCounts();
        const bool done = kind.run();
        m_script = nullptr;
        m_dialogAnswer = IDOK;
        HxPumpPostedMessages();
        Step step{kind.name, {}};
        for (const auto& [id, count] : CommandCounts()) {
            const auto it = before.find(id);
            const int added = count - (it == before.end() ? 0 : it->second);
            ASSERT_GE(added, 0) << kind.name;
            if (added > 0)
                step.commands.emplace_back(id, added);
        }
        if (step.commands.empty()) {
            // Refused or given up: nothing changed (but for pages a slide import made empty).
            std::map<WORD, PageState> added;
            ASSERT_EQ(Compare(TakeState(), states.back(), added), "")
                << kind.name << " changed the page unrecorded";
            return;
        }
        ASSERT_TRUE(done) << kind.name;
        steps.push_back(step);
        states.push_back(TakeState(&states.back()));
        ASSERT_FALSE(HasFailure()) << "at " << kind.name << ", command " << steps.size();
        kept = true;
    };
    // A command that finds nothing to work on (no hull to cut, too few points on the page) or is
    // refused is tried again, after what it works on is made by commands of their own, as a user
    // would first make it: a hull from points that a point command adds, and so on.
    constexpr int kTries = 5, kDepth = 3;
    std::function<void(const Kind&, int)> run = [&](const Kind& kind, int depth) {
        for (int tries = 0; tries < kTries; ++tries) {
            bool kept = false;
            runOnce(kind, kept);
            if (kept || HasFatalFailure())
                return;
            if (kind.needs && depth < kDepth) {
                run(*named(kind.needs()), depth + 1);
                if (HasFatalFailure())
                    return;
            }
        }
    };
    for (int draws = 0; int(steps.size()) < length; ++draws) {
        ASSERT_LT(draws, 4 * length) << "the commands keep finding nothing to work on";
        // Now and then another page (of those slides added) becomes the current one.
        if (m_doc->GetPageCount() > 1 && Pick(5) == 0)
            m_doc->SetCurrentPage(m_doc->GetPage(Pick(m_doc->GetPageCount())));
        run(*draw(), 0);
        ASSERT_FALSE(HasFatalFailure());
    }
    // Every kind ran, about as often as its share: a kind that never finds what it works on, or is
    // always refused, falls short.
    std::map<std::string, int> counted;
    for (const Step& step : steps)
        ++counted[step.kind];
    for (const Kind& k : kinds)
        if (isDrawn(k)) {
            EXPECT_GE(counted[k.name], std::max(1, length * k.weight / (total * 4))) << k.name;
        }

    // Undo everything, newest first, each command on its own page.
    std::map<WORD, PageState> emptied;
    for (size_t i = steps.size(); i > 0; --i) {
        const Step& step = steps[i - 1];
        for (auto it = step.commands.rbegin(); it != step.commands.rend(); ++it) {
            CGPage* page = PageOfId(it->first);
            ASSERT_NE(page, nullptr);
            m_doc->SetCurrentPage(page);
            for (int k = 0; k < it->second; ++k)
                ASSERT_TRUE(page->m_cmdProcessor.Undo()) << "undo of command " << i << ", " << step.kind;
        }
        HxPumpPostedMessages();
        const std::string difference = Compare(TakeState(), states[i - 1], emptied);
        ASSERT_EQ(difference, "") << "undo of command " << i << ", " << step.kind;
    }
    for (POSITION pos = m_doc->m_pages.GetHeadPosition(); pos;)
        EXPECT_FALSE(m_doc->m_pages.GetNext(pos)->m_cmdProcessor.CanUndo());

    // Redo everything, oldest first.
    for (size_t i = 1; i <= steps.size(); ++i) {
        const Step& step = steps[i - 1];
        for (const auto& [id, count] : step.commands) {
            CGPage* page = PageOfId(id);
            ASSERT_NE(page, nullptr);
            m_doc->SetCurrentPage(page);
            for (int k = 0; k < count; ++k)
                ASSERT_TRUE(page->m_cmdProcessor.Redo()) << "redo of command " << i << ", " << step.kind;
        }
        HxPumpPostedMessages();
        std::map<WORD, PageState> none;
        const std::string difference = Compare(TakeState(), states[i], none);
        ASSERT_EQ(difference, "") << "redo of command " << i << ", " << step.kind;
    }
    for (POSITION pos = m_doc->m_pages.GetHeadPosition(); pos;)
        EXPECT_FALSE(m_doc->m_pages.GetNext(pos)->m_cmdProcessor.CanRedo());

    // The document as it stands is saved and read back as it is.
    const DocState last = TakeState();
    ASSERT_TRUE(Load(Store()));
    std::map<WORD, PageState> none;
    EXPECT_EQ(Compare(TakeState(), last, none), "");
}

TEST_F(UndoHistoryTest, RandomHistoryOfTheNewestCommandsUndoesAndRedoesInFull) {
    unsigned seed = 20261207;
    int length = 320;
    if (const char* setting = std::getenv("HALVIX_UNDO_HISTORY")) {
        std::istringstream in(setting);
        char comma = 0;
        in >> seed >> comma >> length;
        ASSERT_GT(length, 0) << "HALVIX_UNDO_HISTORY=\"seed,commands\"";
    }
    RunHistory(seed, length);
}

// A history of only the commands that work on what others make, the others coming only to make it: a
// hull from new points for a cut, a point on a new segment to move along it, a model to edit.
TEST_F(UndoHistoryTest, CommandsMakeWhatTheyWorkOnFirst) {
    RunHistory(
        7, 40,
        {"split", "edit component", "edit model", "section", "cut", "edit rich text", "point on path"});
}

} // namespace
