// The main window: the ribbon above the drawing view, the object pane beside it, the status bar
// below, the full-screen toolbar, and the commands the frame handles itself (application looks,
// full screen, panes, ribbon minimising, the colour button, the pan sliders, quick help, the tool
// sets under the custom-tool button).  It receives the object tree's notifications and forwards
// them to the tree.
#pragma once

#include "app/frame_ids.h"
#include "app/ribbon_elements.h"
#include "platform/afx.h"
#include "view/view_accelerators.h"

#include <QByteArray>
#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <vector>

class CHalvixDoc;
class CHalvixView;
class CObjectView;
class CViewTree;
class CDlgFastHelp;
class HxRibbon;
class HxStatusBar;
class HxIdleHook;
class QToolBar;
struct HxRibbonDefinition;

// The ribbon button under which the tool sets are listed (null when the ribbon has none).
extern HxRibbonButton* g_customToolButton;
// The colour last shown on the ribbon colour button.
extern COLORREF g_selectedColor;

// The frame's keyboard bindings (the view keeps its own, HxViewAccelerators): Ctrl+N, Ctrl+O,
// Ctrl+S and Ctrl+Shift+O for the file commands, the clipboard keys, Delete, Ctrl+G, F4, and Esc and
// the page keys, which belong to the drawing view (viewFocusOnly).
const std::vector<CAccelerator>& HxFrameAccelerators();
// The key the tool tips name for a command: its first binding in the frame's table, then in the
// view's; false when it has none.
bool HxCommandKey(UINT id, QKeyCombination* key);
// A key as the tool tips write it: "Ctrl+S", "Ctrl+Shift+O", "F7", "Delete", "PageUp", "空格".
CString HxKeyText(QKeyCombination key);

// The 40 colours of the ribbon colour gallery, with their names.
const std::vector<HxRibbonColorButton::Color>& HxGalleryColors();
// Gives the colour button its single group of the 40 colours, 8 columns and the automatic
// button "默认颜色".
void HxFillColorGallery(HxRibbonColorButton* button);

class CHxAutoHidePane;

class CMainFrame : public QMainWindow, public CWnd {
    Q_OBJECT
public:
    // Pane modes remembered by HidePanes: hidden, shown, auto-hidden.
    enum PaneMode { kPaneHidden = 0, kPaneShown = 1, kPaneAutoHide = 2 };

    CMainFrame();
    ~CMainFrame() override;

    // Builds the ribbon, the tool sets, the colour gallery, the full-screen toolbar, the status bar
    // and the object pane and applies the stored look; returns -1 when the ribbon or the status bar
    // cannot be made (the program then ends).
    int OnCreate();

    CHalvixView* GetView() const { return m_view; }
    CHalvixDoc* GetDocument() const { return m_doc.get(); }
    CRecentFileList& GetRecentFileList() { return m_recentFiles; }
    // The document the program starts with: the file given (a new document when there is none or
    // it cannot be opened).
    void StartDocument(const CString& path);
    HxRibbon* GetRibbonBar() const { return m_wndRibbonBar; }
    HxStatusBar* GetStatusBar() const { return m_wndStatusBar; }
    CObjectView* GetObjectView() const { return m_wndObjectView; }
    CViewTree* GetViewTree() const;
    QToolBar* GetFullScreenToolBar() const { return m_wndFullScreenBar; }
    HxIdleHook* GetIdleHook() const { return m_idleHook; }
    CDlgFastHelp* GetQuickHelp() const;
    UINT GetApplicationLook() const { return m_nAppLook; }
    bool IsFullScreen() const { return m_bFullScreen; }
    int GetRememberedPaneMode() const { return m_nPaneMode; }
    // The object pane's auto-hide mode (its tab on the edge and the panel it slides out in).
    CHxAutoHidePane* GetPaneAutoHide() const { return m_paneAutoHide; }
    // Whether the object pane shows: docked and shown, or slid out from its tab.
    bool IsObjectPaneVisible() const;
    // "<title> - Halvix", the untitled document showing as "[未命名]".
    void UpdateTitle(const CString& documentTitle);

    // The idle update of the ribbon, the status bar and the object pane's toolbar.
    void OnIdleUpdateCmdUI();

    // ---- Commands ----
    void OnApplicationLook(UINT id);
    void OnUpdateApplicationLook(CCmdUI* pCmdUI);
    void OnViewMini();
    void OnViewColor();
    void OnCustomTool();
    void OnAppExit();
    void OnViewPanel();
    void OnUpdateViewPanel(CCmdUI* pCmdUI);
    void OnQuickHelp();
    void OnStatusLink();
    void OnUpdateStatusLink(CCmdUI* pCmdUI);
    // The view's page keys and the full-screen key until the view takes them itself.
    void OnPageUp();
    void OnPageDown();
    void OnViewFullScreen();
    void OnUpdateViewFullScreen(CCmdUI* pCmdUI);

    // ---- Full screen and panes ----
    void EnterFullScreen();
    void LeaveFullScreen();
    void OnEscape();
    void OnToggleFullScreenToolBar();
    void HidePanes();
    void ShowPanes();

    // ---- The colour button and the pan sliders ----
    // The colour button shows the object colour of the first selected object.
    void SyncColorButton();
    // The three pan sliders show the view translation in tenths (z from -50); moving one moves the
    // view.
    void UpdatePanSliders();
    void OnSliderTX();
    void OnSliderTY();
    void OnSliderTZ();

    // ---- Tool sets ----
    // Every ".hvx" file below folder (sub-folders first, as met) as a tool set.
    void LoadToolSetFolder(const QString& folder);
    // One tool-set file: a button under the custom-tool button with a sub-button per tool.  A file
    // that cannot be read, or holds no tool, adds nothing.
    void LoadToolSetFile(const QString& path, const QString& title);

    // ---- Notifications of the document (to the object tree) ----
    LRESULT OnCellsChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnPagesChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnSelectionChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnCellTextsChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnRebuildObjectTree(WPARAM wParam, LPARAM lParam);
    // The press of a button by an id that has no command, handed on to the view.
    LRESULT OnPressButton(WPARAM wParam, LPARAM lParam);
    LRESULT OnQuickHelpClosed(WPARAM wParam, LPARAM lParam);

    // The window and pane layout kept in the settings, and put back.
    void SaveWindowState() const;
    void RestoreWindowState();

protected:
    // A modified document asks whether to save it before the window closes; then the window state
    // and the application's settings file are kept.
    void closeEvent(QCloseEvent* event) override;
    // A command's prompt (the status tip of the ribbon button or menu item under the pointer) shows
    // in the information pane while the pointer stays there; the pane's text comes back after.
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The recent-file items of the application menu: as many shown as there are files.
    void UpdateRecentFileItems();
    void CreateFullScreenToolBar();
    bool CreateStatusBar(HxRibbonDefinition& definition);
    bool CreateObjectPane();
    void InstallAccelerators();
    // Every ribbon and status-bar button of a command with a key names the key in its tool tip.
    void ShowKeysInToolTips();
    // Without an address of the resource web site its command and link are disabled; their tool
    // tips say why.
    void ExplainResourceLinks();
    void OnInitialUpdateViews();
    void ShowPrompt(const CString& prompt);

    CHalvixView* m_view = nullptr;
    std::unique_ptr<CHalvixDoc> m_doc;
    CRecentFileList m_recentFiles;

    bool m_bFullScreen = false;
    QByteArray m_savedGeometry;
    bool m_savedMaximized = false;
    Qt::DockWidgetArea m_paneAlignment = Qt::LeftDockWidgetArea;
    int m_nPaneMode = kPaneAutoHide;
    bool m_bStatusBarVisible = true;

    QToolBar* m_wndFullScreenBar = nullptr;
    HxRibbon* m_wndRibbonBar = nullptr;
    HxStatusBar* m_wndStatusBar = nullptr;
    HxRibbonSlider* m_pSliderTX = nullptr;
    HxRibbonSlider* m_pSliderTY = nullptr;
    HxRibbonSlider* m_pSliderTZ = nullptr;
    QPointer<CDlgFastHelp> m_pQuickHelp;
    CObjectView* m_wndObjectView = nullptr;
    CHxAutoHidePane* m_paneAutoHide = nullptr;
    HxIdleHook* m_idleHook = nullptr;
    UINT m_nAppLook;
    // The information pane's text while a prompt covers it.
    bool m_showingPrompt = false;
    CString m_textBeforePrompt;
};
