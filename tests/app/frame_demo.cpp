// Not a test: the program's window with a small figure built as the commands build one (each group
// of cells one undo step, so the object tree lists them), a second page, and a few objects
// selected; for looking at the frame on a screen.  "--screenshot FILE" saves a picture of the
// window after a moment and ends; "--full-screen", "--quick-help", "--look N", "--tab N" (a ribbon
// category), "--mini", "--hide-pane", "--fold-pane" (the object pane folded to its tab) and
// "--slide-out" (folded and slid out) show those states; "--media FILE" plays a media file over the
// drawing (in video mode), "--print-preview" opens the print preview; "--tool" makes a midpoint
// tool on a third page, applies it with F5 to four points and click by click, and opens its script
// view.
#include "app/auto_hide_pane.h"
#include "app/halvix_app.h"
#include "app/main_frame.h"
#include "app/object_view.h"
#include "app/quick_help.h"
#include "app/ribbon_bar.h"
#include "document/halvix_doc.h"
#include "document/tool_commands.h"
#include "document/tool_dialogs.h"
#include "app/tool_dialogs_ui.h"
#include "model/dependent_points.h"
#include "view/view_services.h"
#include "view/view_tool_globals.h"
#include "document/undo_cmds.h"
#include "model/arc_circles.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/line.h"
#include "model/page.h"
#include "model/vertex.h"
#include "view/halvix_view.h"
#include "view/vertex_array.h"
#include "view/media_player.h"
#include "view/view_globals.h"
#include "view/view_ids.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>

namespace {

WORD Add(CGPage& page, CGCell* cell) {
    page.m_cells.SetAt(cell->m_id, cell);
    ++page.m_nextId;
    return cell->m_id;
}

void BuildFigure(CGPage& page) {
    if (!g_vertexArray || page.m_nextVertex + 20 > g_vertexArrayCapacity)
        EnsureVertexArray(100);
    // A cube of free points, its edges and faces: one step.
    const int before = page.m_nextId;
    WORD p[8];
    for (int k = 0; k < 8; ++k) {
        const float x = (k & 1) ? 5.0f : -5.0f, y = (k & 2) ? 5.0f : -5.0f, z = (k & 4) ? 10.0f : 0.0f;
        p[k] =
            Add(page, new CGVerFreeXyz(page.m_nextId, page.m_nextVertex++, page.MakeAutoLabel(1), x, y, z));
    }
    static const int edges[12][2] = {{0, 1}, {1, 3}, {3, 2}, {2, 0}, {4, 5}, {5, 7},
                                     {7, 6}, {6, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    for (const auto& e : edges)
        Add(page, new CGLine(page.m_nextId, p[e[0]], p[e[1]], CGLine::kSegment));
    page.m_cmdProcessor.Submit(new CCmdAddCells(page.m_nextId - before, u"添加正方体"));
    // A section face through three corners.
    WORD face = Add(page, new CGFace(page.m_nextId, p[1], p[2], p[4], RGB(255, 190, 60)));
    page.m_cmdProcessor.Submit(new CCmdAddCell(u"添加面"));
    static_cast<CGFace*>(page.FindCell(face))->m_style = CGFace::kStyleTranslucent;
    // The circle through the same three corners.
    Add(page, new CGArcCircle3P(page.m_nextId, p[1], p[2], p[4], 0));
    page.m_cmdProcessor.Submit(new CCmdAddCell(u"添加过三点的圆"));
    page.RebuildVertexArray();
    g_coordDisplayFlags = 1;
}

// The midpoint of two free points made into a tool, applied with F5 to four more points and once
// click by click (an existing point, then a new point in space), and its script view opened.
void MakeAndApplyTool(CHalvixDoc& doc) {
    doc.OnNewPage();
    CGPage& page = *g_pCurPage;
    const int before = page.m_nextId;
    const WORD a =
        Add(page, new CGVerFreeXyz(page.m_nextId, page.m_nextVertex++, page.MakeAutoLabel(1), -8, -6, 0));
    const WORD b =
        Add(page, new CGVerFreeXyz(page.m_nextId, page.m_nextVertex++, page.MakeAutoLabel(1), 2, -6, 4));
    const WORD ab = Add(page, new CGLine(page.m_nextId, a, b, CGLine::kSegment));
    const WORD m = Add(page, new CGVerMid(page.m_nextId, page.m_nextVertex++, page.MakeAutoLabel(1), ab));
    page.m_cmdProcessor.Submit(new CCmdAddCells(page.m_nextId - before, u"添加中点"));
    HxSetDialogRunner([](CDialog& dialog) -> INT_PTR {
        if (auto* create = dynamic_cast<CDlgTool*>(&dialog))
            create->m_name = u"中点工具";
        return IDOK;
    });
    HxSetMessageBoxHandler([](const CString&, const CString&, UINT) { return IDOK; });
    page.SelectCell(m);
    page.FindCell(m)->m_selected = true;
    AfxGetCommandRouter().Execute(ID_TOOL_CREATE);
    HxSetDialogRunner(nullptr);
    HxSetMessageBoxHandler(nullptr);
    page.ClearSelection();
    WORD q[4];
    const float at[4][3] = {{-8, 4, 0}, {0, 8, 6}, {4, -2, 0}, {10, 4, 8}};
    const int made = page.m_nextId;
    for (int i = 0; i < 4; ++i)
        q[i] = Add(page, new CGVerFreeXyz(page.m_nextId, page.m_nextVertex++, page.MakeAutoLabel(1), at[i][0],
                                          at[i][1], at[i][2]));
    page.m_cmdProcessor.Submit(new CCmdAddCells(page.m_nextId - made, u"添加点"));
    page.RebuildVertexArray();
    for (WORD id : q) {
        page.FindCell(id)->m_selected = true;
        page.SelectCell(id);
    }
    AfxGetCommandRouter().Execute(ID_TOOL_AUTODO);
    page.ClearSelection();
    // Click by click: the tool picked in its menu, the first input on B, the second in space.
    AfxGetCommandRouter().Execute(UINT(g_currentToolCommand));
    const float start[3] = {6, 0, 0};
    HxGetViewServices().applyToolStep(page, start);
    HxGetViewServices().matchToolInput(page, b, nullptr);
    const WORD marker = WORD(page.m_constructMarker);
    const int n = HxGetViewServices().matchToolInput(
        page, 0, new CGVerFreeXyz(marker, page.m_nextVertex++, CString(), 10, -8, 0));
    if (n > 0)
        page.m_cmdProcessor.Submit(new CCmdAddCells(n, CString(u"使用工具：") + g_pCurrentTool->m_name));
    HxSelectMouseTool(1);
    AfxGetCommandRouter().Execute(ID_TOOL_SCRIPT);
    doc.UpdateAllViews();
}

} // namespace

int main(int argc, char** argv) {
    // The demo keeps its settings to itself: the user's stay as they are.
    QTemporaryDir home;
    if (home.isValid()) {
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    }
    CHalvixApp app(argc, argv);
    // The demo's options are not documents to open.
    app.SetArguments(QCoreApplication::arguments().mid(0, 1));
    if (!app.InitInstance())
        return app.ExitInstance(1);
    CMainFrame* frame = app.GetMainFrame();
    CHalvixDoc* doc = frame->GetDocument();
    BuildFigure(*g_pCurPage);
    doc->OnNewPage();
    frame->GetViewTree()->SelectPrevPage();
    for (WORD id : {2, 3, 5, 21})
        g_pCurPage->SelectCell(id);
    frame->SendMessage(UM_SELECTION_CHANGED, 11, kPageTreeItemBase + 1);
    doc->UpdateAllViews();

    const QStringList args = QCoreApplication::arguments();
    if (args.contains(QStringLiteral("--tool")))
        MakeAndApplyTool(*doc);
    const int look = args.indexOf(QStringLiteral("--look"));
    if (look >= 0 && look + 1 < args.size())
        AfxGetCommandRouter().Execute(args[look + 1].toUInt());
    const int tab = args.indexOf(QStringLiteral("--tab"));
    if (tab >= 0 && tab + 1 < args.size()) {
        HxRibbon* ribbon = frame->GetRibbonBar();
        ribbon->SetActiveCategory(ribbon->GetCategory(args[tab + 1].toInt()));
    }
    if (args.contains(QStringLiteral("--mini")))
        AfxGetCommandRouter().Execute(ID_VIEW_MINI);
    if (args.contains(QStringLiteral("--hide-pane")))
        AfxGetCommandRouter().Execute(ID_VIEW_PANEL);
    const bool slideOut = args.contains(QStringLiteral("--slide-out"));
    if (slideOut || args.contains(QStringLiteral("--fold-pane")))
        frame->GetPaneAutoHide()->EnableAutoHide();
    if (slideOut)
        QTimer::singleShot(1500, frame, [frame] {
            // The pointer rests over the slid-out pane, which keeps it out.
            CHxAutoHidePane* fold = frame->GetPaneAutoHide();
            fold->SlideOut(false);
            QCursor::setPos(fold->Panel()->mapToGlobal(fold->Panel()->rect().center()));
        });
    if (args.contains(QStringLiteral("--full-screen")))
        AfxGetCommandRouter().Execute(ID_VIEW_FULLSCREEN);
    if (args.contains(QStringLiteral("--quick-help")))
        AfxGetCommandRouter().Execute(ID_QUICK_HELP);
    const int media = args.indexOf(QStringLiteral("--media"));
    if (media >= 0 && media + 1 < args.size()) {
        g_pCurPage->m_mediaFile = CString::FromQString(args[media + 1]);
        AfxGetCommandRouter().Execute(ID_VIEW_MEDIA);
        if (!frame->GetView()->m_mediaShown)
            frame->GetView()->m_mediaShown = 1;
        if (g_pMediaPlayer)
            g_pMediaPlayer->ShowWindow(true);
    }
    if (args.contains(QStringLiteral("--print-preview")))
        QTimer::singleShot(500, frame, [] { AfxGetCommandRouter().Execute(ID_FILE_PRINT_PREVIEW); });
    const int shot = args.indexOf(QStringLiteral("--screenshot"));
    if (shot >= 0 && shot + 1 < args.size()) {
        const QString file = args[shot + 1];
        QTimer::singleShot(2500, frame, [frame, file] {
            frame->GetView()->RenderScene();
            QPixmap picture = frame->grab();
            if (CToolScriptWindow* script = HxToolScriptWindow(); script && script->isVisible()) {
                QPainter painter(&picture);
                painter.drawPixmap(script->geometry().topLeft() - frame->geometry().topLeft(),
                                   script->grab());
            }
            if (CDlgFastHelp* help = frame->GetQuickHelp()) {
                // The help window lies over the frame: draw it in at its place.
                QPainter painter(&picture);
                painter.drawPixmap(help->geometry().topLeft() - frame->geometry().topLeft(), help->grab());
            }
            picture.save(file);
            QCoreApplication::exit(0);
        });
    }
    return app.Run();
}
