// Not a test: the main window as the program starts it, with a small figure on its first page (a
// cube with hidden-surface faces, one translucent face, labelled corners, the axes, free points P and
// Q to drag), for looking at the view's rendering and mouse on a screen.
#include "app/main_frame.h"
#include "model/face.h"
#include "model/free_points.h"
#include "model/line.h"
#include "model/page.h"
#include "model/vertex.h"
#include "view/glyph_font.h"
#include "view/halvix_view.h"
#include "view/vertex_array.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <QApplication>
#include <QScreen>
#include <QSurfaceFormat>

namespace {

void BuildFigure(CGPage& page) {
    if (page.m_nextVertex + 10 > g_vertexArrayCapacity || !g_vertexArray)
        EnsureVertexArray(100);
    WORD p[8];
    for (int k = 0; k < 8; ++k) {
        const float x = (k & 1) ? 4.0f : -4.0f, y = (k & 2) ? 4.0f : -4.0f, z = (k & 4) ? 8.0f : 0.0f;
        WORD id = page.m_nextId++;
        page.m_cells.SetAt(id, new CGVertex(id, page.m_nextVertex++, page.MakeAutoLabel(1), x, y, z));
        p[k] = id;
    }
    static const int edges[12][2] = {{0, 1}, {1, 3}, {3, 2}, {2, 0}, {4, 5}, {5, 7},
                                     {7, 6}, {6, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    for (const auto& e : edges) {
        WORD id = page.m_nextId++;
        page.m_cells.SetAt(id, new CGLine(id, p[e[0]], p[e[1]], CGLine::kSegment));
    }
    static const int faces[6][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                    {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}};
    for (const auto& f : faces) {
        WORD id = page.m_nextId++;
        page.m_cells.SetAt(id, new CGFace(id, p[f[0]], p[f[1]], p[f[2]], p[f[3]], RGB(255, 200, 0)));
    }
    // The front face (y = -4) translucent.
    auto* front = static_cast<CGFace*>(page.m_cells.Find(WORD(page.m_nextId - 4)));
    front->m_style = CGFace::kStyleTranslucent;
    front->m_color.a = 110;
    // A diagonal through the cube and a point with a Chinese name.
    WORD id = page.m_nextId++;
    page.m_cells.SetAt(id, new CGLine(id, p[0], p[7], CGLine::kSegment));
    WORD c = page.m_nextId++;
    page.m_cells.SetAt(c, new CGVertex(c, page.m_nextVertex++, u"中心", 0.0f, 0.0f, 4.0f));
    // A free point above the cube joined to two corners, and a free point on the diagonal: drag
    // them with the arrow tool.
    WORD apex = page.m_nextId++;
    page.m_cells.SetAt(apex, new CGVerFreeXyz(apex, page.m_nextVertex++, u"P", 0.0f, 0.0f, 12.0f));
    for (int k : {4, 7}) {
        WORD edge = page.m_nextId++;
        page.m_cells.SetAt(edge, new CGLine(edge, apex, p[k], CGLine::kSegment));
    }
    WORD onDiagonal = page.m_nextId++;
    page.m_cells.SetAt(onDiagonal, new CGVerFreeInLine(onDiagonal, page.m_nextVertex++, u"Q", id, 0.25f));
    g_coordDisplayFlags = 1;
}

} // namespace

int main(int argc, char** argv) {
    QSurfaceFormat::setDefaultFormat(CHalvixView::RequiredFormat());
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Vorlane");
    QCoreApplication::setApplicationName("Halvix");
    HxInitInstallFolder();
    HxInstallFontSubstitutions();
    CMainFrame frame;
    AfxSetMainWnd(&frame);
    if (frame.OnCreate() == -1)
        return 1;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        frame.setGeometry(screen->availableGeometry());
    frame.GetView()->OnInitialUpdate();
    BuildFigure(*g_pCurPage);
    // "--three-views": the page in three-view mode; "--central", "--oblique": the other projections.
    const QStringList args = QCoreApplication::arguments();
    if (args.contains(QStringLiteral("--three-views")))
        g_pCurPage->m_threeView = 1;
    if (args.contains(QStringLiteral("--central")))
        frame.GetView()->SetProjectionCentral();
    if (args.contains(QStringLiteral("--oblique")))
        frame.GetView()->SetProjectionOblique();
    frame.showMaximized();
    return app.exec();
}
