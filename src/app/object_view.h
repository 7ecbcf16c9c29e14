// CObjectView: the object pane "对象浏览器", a dock with a small toolbar above the object tree.  Its
// commands (collapse, refresh, delete, select the page, properties, move the page) run on the tree
// and the document; the toolbar routes to the pane only.
#pragma once

#include "app/view_tree.h"

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

    // Commands.
    void OnProperties();
    void OnCollapseAll();
    void OnRebuild();
    void OnDelete();
    void OnUpdateHasSelection(CCmdUI* pCmdUI);
    void OnSelectPage();
    void OnMovePageUp();
    void OnMovePageDown();
    void OnUpdateMovePageUp(CCmdUI* pCmdUI);
    void OnUpdateMovePageDown(CCmdUI* pCmdUI);

private:
    void AddButton(UINT id, const QString& icon, const QString& text);
    // Commands the pane passes on to the document exist only when the document has them.
    bool CommandExists(UINT id) const;

    CHalvixDoc* m_doc = nullptr;
    CViewTree* m_tree = nullptr;
    QToolBar* m_toolBar = nullptr;
    std::map<UINT, QAction*> m_actions;
};
