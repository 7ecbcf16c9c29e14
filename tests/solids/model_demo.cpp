// Not a test: the program's window with the house of the Models folder brought in by the 3DS command.
//   halvix_model_demo [--wire] [--select] [--turn N] [--screenshot FILE] [--frame FILE]
// (--turn steps its button N times; --screenshot grabs the window, --frame saves the view's own frame.)
#include "app/halvix_app.h"
#include "app/main_frame.h"
#include "app/ribbon_bar.h"
#include "construct/model_commands.h"
#include "dynamics/buttons.h"
#include "model/page.h"
#include "solids/model3ds.h"
#include "view/halvix_view.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

namespace {

QString StringArg(const QStringList& args, const QString& name) {
    const int i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : QString();
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (home.isValid()) {
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    }
    CHalvixApp app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    app.SetArguments(args.mid(0, 1));
    if (!app.InitInstance())
        return app.ExitInstance(1);
    CMainFrame* frame = app.GetMainFrame();
    HxRibbon* ribbon = frame->GetRibbonBar();
    for (int i = 0; i < ribbon->GetCategoryCount(); ++i)
        if (ribbon->GetCategory(i)->GetName() == CString(u"立体"))
            ribbon->SetActiveCategory(ribbon->GetCategory(i));

    QTimer::singleShot(1000, frame, [&] {
        // The file dialog answered with the house beside the program; every other dialog as shown.
        HxSetDialogRunner([](CDialog& d) -> INT_PTR {
            auto* file = DYNAMIC_DOWNCAST(CFileDialog, &d);
            if (!file)
                return IDCANCEL;
            file->SetResult(g_installFolder + u"/Models/小屋.3ds");
            return IDOK;
        });
        AfxGetCommandRouter().Execute(ID_3DSMODEL);
        HxSetDialogRunner(nullptr);
        CGPage* page = g_pCurPage;
        if (!page)
            return;
        auto* model = DYNAMIC_DOWNCAST(CGModel3ds, page->FindCell(WORD(page->m_nextId - 2)));
        auto* button = DYNAMIC_DOWNCAST(CGButnAnimation, page->FindCell(WORD(page->m_nextId - 1)));
        if (model && args.contains(QStringLiteral("--wire")))
            model->m_style = CGModel3ds::kStyleWire;
        const int turns = StringArg(args, QStringLiteral("--turn")).toInt();
        for (int i = 0; button && i < turns; ++i)
            button->Step();
        if (model && args.contains(QStringLiteral("--select")))
            page->SelectCell(model->m_id);
        frame->GetView()->RenderScene();
    });
    const QString shot = StringArg(args, QStringLiteral("--screenshot"));
    const QString frameShot = StringArg(args, QStringLiteral("--frame"));
    if (!shot.isEmpty() || !frameShot.isEmpty()) {
        QTimer::singleShot(3000, frame, [frame, shot, frameShot] {
            CHalvixView* view = frame->GetView();
            view->RenderScene();
            if (!shot.isEmpty())
                frame->grab().save(shot);
            if (!frameShot.isEmpty())
                view->CaptureClientRect(CRect(0, 0, g_clientWidth, g_clientHeight)).save(frameShot);
            QCoreApplication::exit(0);
        });
    }
    return app.Run();
}
