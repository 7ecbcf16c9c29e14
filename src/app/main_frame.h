// The main window: the ribbon above the drawing view, the status bar below, and the commands the
// frame handles itself (application looks, ribbon minimising, the colour button, About, exit).
#pragma once

#include "app/frame_ids.h"
#include "app/ribbon_elements.h"
#include "platform/afx.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class CHalvixDoc;
class CHalvixView;
class HxRibbon;
class HxStatusBar;
class HxIdleHook;

// The ribbon button under which the tool sets are listed (null when the ribbon has none).
extern HxRibbonButton* g_customToolButton;
// The colour last shown on the ribbon colour button.
extern COLORREF g_selectedColor;

// The 40 colours of the ribbon colour gallery, with their names.
const std::vector<HxRibbonColorButton::Color>& HxGalleryColors();
// Gives the colour button its single group of the 40 colours, 8 columns and the automatic
// button "默认颜色".
void HxFillColorGallery(HxRibbonColorButton* button);

class CMainFrame : public QMainWindow, public CWnd {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    // Builds the ribbon, the colour gallery and the status bar and applies the stored look;
    // returns -1 when the ribbon or the status bar cannot be made (the program then ends).
    int OnCreate();

    CHalvixView* GetView() const { return m_view; }
    CHalvixDoc* GetDocument() const { return m_doc.get(); }
    CRecentFileList& GetRecentFileList() { return m_recentFiles; }
    // The document the program starts with: the file given (a new document when there is none or
    // it cannot be opened).
    void StartDocument(const CString& path);
    HxRibbon* GetRibbonBar() const { return m_wndRibbonBar; }
    HxStatusBar* GetStatusBar() const { return m_wndStatusBar; }
    HxIdleHook* GetIdleHook() const { return m_idleHook; }
    UINT GetApplicationLook() const { return m_nAppLook; }
    // "<title> - Halvix", the untitled document showing as "[未命名]".
    void UpdateTitle(const CString& documentTitle);

    // The idle update of the ribbon and the status bar.
    void OnIdleUpdateCmdUI();

    void OnApplicationLook(UINT id);
    void OnUpdateApplicationLook(CCmdUI* pCmdUI);
    void OnViewMini();
    void OnViewColor();
    void OnCustomTool();
    void OnAppAbout();
    void OnAppExit();
    // The three pan sliders show the view translation in tenths (z from -50); moving one moves the
    // view.
    void UpdatePanSliders();
    void OnSliderTX();
    void OnSliderTY();
    void OnSliderTZ();

protected:
    // A modified document asks whether to save it before the window closes.
    void closeEvent(QCloseEvent* event) override;

private:
    // The recent-file items of the application menu: as many shown as there are files.
    void UpdateRecentFileItems();

    CHalvixView* m_view = nullptr;
    std::unique_ptr<CHalvixDoc> m_doc;
    CRecentFileList m_recentFiles;
    HxRibbon* m_wndRibbonBar = nullptr;
    HxStatusBar* m_wndStatusBar = nullptr;
    HxIdleHook* m_idleHook = nullptr;
    HxRibbonSlider* m_pSliderTX = nullptr;
    HxRibbonSlider* m_pSliderTY = nullptr;
    HxRibbonSlider* m_pSliderTZ = nullptr;
    UINT m_nAppLook;
};
