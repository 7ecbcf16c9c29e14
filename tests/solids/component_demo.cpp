// Not a test: the program's window, where the component command runs with its dialog shown and a kind
// chosen in it (as a user would), for looking at the components.  Usage:
//   halvix_component_demo [--kind N] [--wire] [--texture N] [--material N] [--clip] [--select]
//                         [--text3d] [--triangle] [--editor light|material] [--dialog FILE]
//                         [--screenshot FILE]
// "--dialog" saves a picture of the dialog with the choices made; "--screenshot" one of the window.
#include "app/halvix_app.h"
#include "app/light_editors.h"
#include "app/main_frame.h"
#include "app/ribbon_bar.h"
#include "app/subassembly_dlg_ui.h"
#include "document/halvix_doc.h"
#include "model/page.h"
#include "solids/component_commands.h"
#include "view/halvix_view.h"
#include "view/view_globals.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>

namespace {

int IntArg(const QStringList& args, const QString& name, int fallback) {
    const int i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args[i + 1].toInt() : fallback;
}

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

    const int kind = IntArg(args, QStringLiteral("--kind"), -1);
    const QString dialogShot = StringArg(args, QStringLiteral("--dialog"));
    QTimer::singleShot(1000, frame, [&] {
        if (args.contains(QStringLiteral("--triangle")))
            AfxGetCommandRouter().Execute(ID_CREATE_RIGHTTRIANGLE);
        if (args.contains(QStringLiteral("--text3d")))
            AfxGetCommandRouter().Execute(ID_CREATE_3DTEXT);
        const QString editor = StringArg(args, QStringLiteral("--editor"));
        if (editor == QStringLiteral("light")) {
            CLightEditor sheet(frame->GetView(), frame);
            sheet.DoModal();
        } else if (editor == QStringLiteral("material")) {
            CMatEditor sheet(frame);
            sheet.DoModal();
        }
        if (kind < 0)
            return;
        // The dialog is modal: the choices are made once it shows.
        QTimer::singleShot(300, [&] {
            auto* window = dynamic_cast<CCreateSubaWindow*>(QApplication::activeModalWidget());
            if (!window)
                return;
            window->KindList()->setCurrentIndex(kind);
            if (args.contains(QStringLiteral("--wire")))
                window->StyleGroup()->button(1)->click();
            if (const int texture = IntArg(args, QStringLiteral("--texture"), 0))
                window->TextureList()->setCurrentIndex(texture);
            if (const int material = IntArg(args, QStringLiteral("--material"), 0)) {
                window->ColoringGroup()->button(1)->click();
                window->MaterialList()->setCurrentIndex(material);
                emit window->MaterialList()->activated(material);
            }
            if (args.contains(QStringLiteral("--clip"))) {
                window->findChild<QCheckBox*>(QString::number(CCreateSubaDlg::kClipCheck))->click();
                window->findChild<QCheckBox*>(QString::number(CCreateSubaDlg::kPlane1Check))->click();
            }
            if (!dialogShot.isEmpty())
                window->grab().save(dialogShot);
            window->accept();
        });
        AfxGetCommandRouter().Execute(ID_CREATE_SUBA);
        if (args.contains(QStringLiteral("--select")) && g_pCurPage)
            g_pCurPage->SelectCell(WORD(g_pCurPage->m_nextId - 1));
        frame->GetView()->RenderScene();
    });
    const QString shot = StringArg(args, QStringLiteral("--screenshot"));
    if (!shot.isEmpty()) {
        QTimer::singleShot(3000, frame, [frame, shot] {
            frame->GetView()->RenderScene();
            frame->grab().save(shot);
            QCoreApplication::exit(0);
        });
    }
    return app.Run();
}
