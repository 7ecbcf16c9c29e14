// CObjectView: the object pane "对象浏览器", a dock with a small toolbar above the object tree.  Its
// commands (collapse, refresh, cut, copy, delete, select the page, move the page) run on the tree and the
// document; the toolbar routes to the pane only, which passes the properties command on to the
// document.
#pragma once

#include "app/view_tree.h"

struct HxLook;

#include <QDockWidget>

#include <map>

class QAction;
class QToolBar;

class CObjectView : public QDockWidget, public CCmdTarget {
    Q_OBJECT
public:
    explicit CObjectView(QWidget* parent = nullptr);
    ~CObjectView() override;

    void SetDocument(CHalvixDoc* doc);
    CHalvixDoc* GetDocument() const { return m_doc; }
    CViewTree* GetTree() const { return m_tree; }
    QToolBar* GetToolBar() const { return m_toolBar; }
    QAction* GetToolBarAction(UINT id) const;

    // Everything again from the document (after new, open and page deletion).
    void FillTree();
    // The toolbar's buttons: shown when their command exists, enabled by their update handlers.
    void OnIdleUpdate();
    // The pane's title, frame and check boxes in the colours of an application look.
    void ApplyLook(const HxLook& look);

    // Commands.
    void OnCollapseAll();
    void OnRebuild();
    void OnDelete();
    // The selection (or the selected page) with its ancestors onto the clipboard; cut then deletes.
    void OnCut();
    void OnCopy();
    void OnUpdateHasSelection(CCmdUI* pCmdUI);
    void OnSelectPage();
    void OnMovePageUp();
    void OnMovePageDown();
    void OnUpdateMovePageUp(CCmdUI* pCmdUI);
    void OnUpdateMovePageDown(CCmdUI* pCmdUI);

private:
    void AddButton(UINT id, const QString& icon, const QString& text);
    // The target of a toolbar button: the pane, or the document for the properties command (which
    // exists only when the document has it); null when neither handles it.
    CCmdTarget* TargetOf(UINT id) const;

    CHalvixDoc* m_doc = nullptr;
    CViewTree* m_tree = nullptr;
    QToolBar* m_toolBar = nullptr;
    std::map<UINT, QAction*> m_actions;
};
