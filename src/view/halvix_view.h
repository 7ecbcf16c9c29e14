// The drawing view: an OpenGL widget (compatibility profile) that shows the current page.
#pragma once

#include "dynamics/ink.h"
#include "platform/afx.h"
#include "view/scene_renderer.h"

#include <QImage>
#include <QMetaObject>
#include <QOpenGLWidget>

#include <functional>
#include <memory>
#include <vector>

class CCmd;
class CGCell;
class CGPage;
class CGVertex;
class CHalvixDoc;
class CPrintJob;
class CPrintSheet;
class QPrinter;

// Command ids of the view's picture commands.
constexpr UINT ID_EDIT_PRINTSCR = 33601; // F7: the cropped figure to the clipboard

// Key and button bits of the mouse handlers.
constexpr UINT MK_LBUTTON = 0x0001;
constexpr UINT MK_RBUTTON = 0x0002;
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;
constexpr UINT MK_MBUTTON = 0x0010;

using CStrokeArray = CTypedPtrArray<CObArray, CStroke*>;

class CHalvixView : public QOpenGLWidget, public CWnd, public CSceneRenderer {
    Q_OBJECT
public:
    explicit CHalvixView(QWidget* parent = nullptr);
    ~CHalvixView() override;

    // The surface format every view asks for: OpenGL with the fixed-function pipeline, 24-bit depth.
    static QSurfaceFormat RequiredFormat();
    // Whether a context of that kind can be made here and made current (off the screen, before any
    // window): a desktop OpenGL one, not OpenGL ES, whose fixed-function calls work (no core
    // profile).  Without one the view's first paint would take the program down.
    static bool CanCreateContext();

    // Asks for the whole frame again: it is drawn with the next paint, once for any number of
    // requests before it (mouse moves come faster than frames are shown).  The camera matrices
    // the mouse works with are those of the coming frame at once.
    void RenderScene();
    // Draws the whole frame at once into the view's framebuffer (when its context exists), for
    // reading its pixels back; shown with the next paint.
    void RenderSceneNow();
    // Adds the traced cells to the kept background image (with the view's context).
    void RedrawBackground();
    // Makes this view's context current for GL work outside painting; false before it exists.
    bool MakeContextCurrent();
    // False when the OpenGL set-up failed (an installation image missing, no display lists): the
    // view then shows only its background.
    bool IsCreated() const { return !m_creationFailed; }

    // The first update of a new document: the first page when there is none, the page's view
    // animation mode, the status text of the page, the glyph lists.
    void OnInitialUpdate();

    // Camera commands.
    void ResetView();
    void SetProjectionCentral();
    void SetProjectionOrthographic();
    void SetProjectionOblique();
    void OnUpdateProjection(CCmdUI* ui);
    void OnZoomOut();
    void OnZoomIn();
    void OnPanDown();
    void OnPanUp();
    void OnPanLeft();
    void OnPanRight();
    // Shows or hides the coloured rings (Ctrl+Alt+C).
    void OnToggleColorRings();
    // The mouse ray at a client pixel (g_pickRayNear, g_pickRayFar, g_viewDir*).
    void ComputePickRay(int x, int y);

    // The document the view shows (the frame sets it); the mouse does nothing without one.
    void SetDocument(CHalvixDoc* doc) { m_pDocument = doc; }
    CHalvixDoc* GetDocument() const { return m_pDocument; }

    // ---- Picking and unprojection (client pixels) ----
    // The cell under the mouse, chosen by the current tool (pick_pass.h): FALSE when nothing at all
    // lies there (nothing written).  The arrow tool picks labels and value texts only with
    // labelsOnly, and toggles and cycles the selection of stacked objects.
    BOOL PickAt(int x, int y, int* pClass, WORD* pId, BOOL labelsOnly);
    // The cell of the current page whose name, as the last frame drew it, covers the window point
    // (the nearest middle of overlapping names); null when none does.
    CGCell* LabelUnder(int x, int y) const;
    // The mouse on a coordinate plane, or the height on a vertical line (unprojection.h).
    void UnprojectToPlane(int x, int y, BOOL vertical, double* pX, double* pY, double* pZ);
    // The mouse on the plane of m_planePoints, with its plane coordinates (unprojection.h).
    BOOL DragOnPlane(int x, int y, double* pX, double* pY, double* pZ, float* pS, float* pT);

    // ---- Mouse handlers (client pixels; nFlags holds MK_ bits) ----
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    // The right button: finishes a flat circle or a face, ends a drawing or a custom tool, opens
    // the label dialog of a label or the context menu of what lies under the mouse.
    void OnRButtonDown(UINT nFlags, CPoint point);
    // Erases traces and ink, or opens the label dialog, presses a button, opens the properties of
    // the cell under the mouse, or goes to the next page (view_tool_commands.cpp).
    void OnLButtonDblClk(UINT nFlags, CPoint point);

    // ---- Tools (view_tool_commands.cpp) ----
    // Ends the custom tool being applied: the cells its finished applications made become one undo
    // step "使用工具：" + the tool's name.  Nothing without a running tool.
    void CloseRunningTool();
    // Closes a running custom tool and stops the animation timer: what every tool button does first.
    void ResetToolState();
    // Ends the drawing in progress without building anything more: no stage, no further face
    // vertices, the arrow tool; what the drawing made so far keeps its undo steps.
    void CancelDrawing();
    // Whether a drawing tool has points of a figure in progress, or a custom tool runs.
    bool IsConstructionInProgress() const;
    void OnArrowTool();
    void OnUpdateArrowTool(CCmdUI* pCmdUI);
    void OnPointTool();
    void OnLineTool();
    void OnFaceTool();
    void OnCircleTool();
    // Action buttons from the selection; with nothing that fits, the media player.
    void OnAnimationOrMedia();
    void OnUpdateToolButton(CCmdUI* pCmdUI); // point, line, face and circle, and the custom tool
    void OnBoxSelect();
    void OnUpdateBoxSelect(CCmdUI* pCmdUI);
    void OnRegionScreenshot();
    void OnToggleGrid();
    void OnUpdateToggleGrid(CCmdUI* pCmdUI);
    void OnEraseTraces();
    void OnUpdateEraseTraces(CCmdUI* pCmdUI);
    void OnSnapshot();
    // Deletes the ink strokes on the view (the document runs it before every page switch).
    void OnEraseInk();
    void OnUpdateEraseInk(CCmdUI* pCmdUI);
    // The pen tool (tool 9): its point buffer of kInkBufferPoints points is made the first time.
    void OnInkTool();
    void OnUpdateInkTool(CCmdUI* pCmdUI);
    // "保存墨迹": the pending strokes become ink cells of the page (HxSaveInk).
    void OnSaveInk();
    // Room of the pen's point buffer: a stroke keeps at most kInkBufferPoints - 1 points.
    static constexpr int kInkBufferPoints = 10001;
    LRESULT OnGoToPage(WPARAM wParam, LPARAM lParam);

    // ---- Undo routing and messages (view_undo.cpp) ----
    void OnEditUndo();
    void OnEditRedo();
    void OnUpdateEditUndo(CCmdUI* pCmdUI);
    void OnUpdateEditRedo(CCmdUI* pCmdUI);
    LRESULT OnApplyColor(WPARAM wParam, LPARAM lParam);
    // Plane axes as one undo step ("添加2维坐标轴"): the one selected point (else a new point at the
    // origin) named "O", the ends of the axes, the two arrows and their ticks and numbers; then
    // the plane view.
    void OnCreateAxes2D();
    // UM_MATERIAL_CHANGED: the one selected other object, when it is a component, takes the current
    // material as its own; any other selection changes nothing.
    LRESULT OnMaterialChanged(WPARAM wParam, LPARAM lParam);

    // ---- Animation and view options (view_animation.cpp) ----
    void OnTimer(UINT_PTR id) override;
    void ToggleAnimation();
    void OnUpdateAnimation(CCmdUI* pCmdUI);
    // Commands 3024 to 13024 and the message UM_PRESS_BUTTON: the press of the button with that id,
    // which starts it (and the animation timer) or stops it.
    void OnActionButton(UINT id);
    LRESULT OnPressButton(WPARAM wParam, LPARAM lParam);
    void PressButton(WORD cellId);
    void OnRotateAxis(UINT id);
    void OnUpdateRotateAxis(CCmdUI* pCmdUI);
    void OnKeyLeft();
    void OnKeyRight();
    void OnKeyUp();
    void OnKeyDown();
    void OnCtrlKeyLeft();
    void OnCtrlKeyRight();
    void OnCtrlKeyUp();
    void OnCtrlKeyDown();
    void OnToggleCoordSystem();
    void OnUpdateCoordSystem(CCmdUI* pCmdUI);
    void OnToggleSnap();
    void OnUpdateSnap(CCmdUI* pCmdUI);
    void OnToggleCoordLines();
    void OnUpdateCoordLines(CCmdUI* pCmdUI);
    void OnThreeView();
    void OnUpdateThreeView(CCmdUI* pCmdUI);
    void OnFrontView();
    void OnLeftView();
    void OnTopView();
    void OnView2D();
    void OnThreeViewDirect();
    void OnUpdateThreeViewDirect(CCmdUI* pCmdUI);
    void OnViewLock();
    void OnUpdateViewLock(CCmdUI* pCmdUI);
    void OnDragLock();
    void OnUpdateDragLock(CCmdUI* pCmdUI);
    void OnToggleTrackball();
    void OnUpdateTrackball(CCmdUI* pCmdUI);
    void OnToggleBorders();
    void OnUpdateBorders(CCmdUI* pCmdUI);
    void OnColorImageText();
    void OnUpdateColorImageText(CCmdUI* pCmdUI);
    // The picture commands (picture_commands.h): a document texture replaced, a picture file
    // inserted, the clipboard's picture pasted as a bitmap text.
    void OnReplaceTexture();
    void OnInsertPicture();
    void OnPasteBitmapText();
    void OnImportSlides(); // view_slide_import.cpp
    void OnUpdatePasteBitmapText(CCmdUI* pCmdUI);
    void OnEditPreferences();
    void OnUpdateEditPreferences(CCmdUI* pCmdUI);
    // The cursor of the current tool: a cross for box select and screenshots, a pen for ink.
    void UpdateToolCursor();

    // ---- Printing (view_print.cpp) ----
    // Each page of the document made current in turn, drawn and read back into m_printImages with
    // its title; the page current before comes back (with its selection cleared, a running tool
    // closed, the ink and the kept trace picture erased).  FALSE without a document.
    BOOL RenderPagesForPrinting();
    void OnBeginPrinting();
    // Sheet n (from 1) of the job, on the drawing rectangle pageRect.
    void OnPrint(CPrintSheet& sheet, const QRect& pageRect, int n);
    void OnEndPrinting();
    // The sheets from to to (from 1) of the document on a job; the number of sheets printed.
    int PrintDocument(CPrintJob& job, int from, int to);
    // The document on a printer (its page range, else every page); false when it failed.
    bool PrintTo(QPrinter& printer);
    // ID_FILE_PRINT (with the print dialog), ID_FILE_PRINT_DIRECT (the default printer),
    // ID_FILE_PRINT_PREVIEW ("显示整页", the preview window with its own print and close buttons).
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();
    void OnUpdateFilePrint(CCmdUI* pCmdUI);
    // The pictures and titles of the pages while a job prints.
    std::vector<QImage> m_printImages;
    std::vector<CString> m_printTitles;

    // ---- The media player (view_media.cpp) ----
    // "影音播放": the page's media file (or one chosen, which becomes the page's) played over the
    // drawing, in music mode for music files, else in video mode.
    void OnMediaPlay();
    // "播放设置": the player in full screen with its control bar, or the bar taken away again.
    void OnMediaSettings();
    // "切换播放控制": the mouse for the player (video mode, the player in sight) or the figure.
    void OnToggleMediaControl();
    void OnUpdateMediaControl(CCmdUI* pCmdUI);
    // "关闭影音": the player closed and gone.
    void CloseMedia();
    void OnUpdateMediaClose(CCmdUI* pCmdUI);
    // The poll of timer 2: the player closes when its playback has stopped or ended.
    void PollMedia();
    // A key pressed on the player's full-screen window.
    void OnMediaKey(int key);
    // Video mode (1, the mouse operates the player) or music mode (0); 1 when the view is made.
    int m_mediaShown = 1;
    static constexpr UINT_PTR kMediaTimer = 2;

    // ---- Pictures ----
    // Draws the frame and finds the box of the figure in it (picture_export.h), in read-back
    // coordinates; false when the frame shows only background or cannot be read.
    bool GrabViewImage(int* left, int* right, int* top, int* bottom);
    // The pixels of a box of the current frame (left and bottom from the window's bottom-left).
    QImage ReadFrameBox(int left, int bottom, int width, int height);
    // What the screen shows in a rectangle of client pixels: the view's own frame where the
    // rectangle lies inside the view, else a grab of the screen.
    QImage CaptureClientRect(const CRect& rect);
    // Save As: the document, or the figure as a picture (BMP, JPEG, GIF, PNG).
    void OnFileSaveAs();
    void OnUpdateFileSaveAs(CCmdUI* ui);
    // F7: the cropped figure onto the clipboard.
    void OnCopyFullImage();
    void OnUpdateCopyFullImage(CCmdUI* ui);

    // The step of the tool in progress (0 idle).
    int m_toolStage = 0;
    // The size of the last screenshot rectangle.
    int m_grabWidth = 200;
    int m_grabHeight = 200;
    // The stroke being drawn: room for 10000 points (and one spare), three floats each.
    std::vector<float> m_inkPoints;
    int m_inkPointCount = 0;
    // Finished ink strokes (owned).
    CStrokeArray m_inkStrokes;
    // The first three points of the drawing in progress.
    double m_planePoints[3][3] = {};
    // The drawing tools (view_drawing_tools.cpp): the ids of the first, second and third point of
    // the figure in progress, and the further face vertices clicked after the third (x, y, z and
    // their plane coordinates s, t).
    static constexpr int kMaxPolyVertices = 32;
    WORD m_toolPointIds[3] = {0, 0, 0};
    int m_polyVertexCount = 0;
    double m_polyVertices[kMaxPolyVertices][5] = {};

    // Glyph lists of the label and text fonts built again after the fonts change.
    void BuildFontLists();
    void BuildCaptionFontLists();

signals:
    // The OpenGL set-up failed when the window was first shown.
    void creationFailed();

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void DrawToolOverlays() override;
    void DrawScreenOverlays() override;

private:
    void ChangeProjection(int type);
    void OnDestroy();
    int DevicePixels(int logical) const;
    CPoint ClientPoint(const QPointF& logical) const;

    // The parts of the mouse handlers.
    bool MouseBlocked() const;
    void ArrowPress(UINT nFlags, CPoint point);
    void ArrowDrag(UINT nFlags, CPoint point);
    void TurnView(UINT nFlags, CPoint point);
    void PanView(UINT nFlags);
    void SelectInBox(CPoint point);
    void FinishScreenshot();
    void InkPress(CPoint point);
    void InkMove(CPoint point);
    void InkRelease();
    void SetModified();
    void DeleteInkStrokes();

    // The drawing tools (2 to 5) and the custom tool (6).
    void DrawingPress(CPoint point);
    void DrawingMove(UINT nFlags, CPoint point);
    void DrawingRelease();
    void DrawingPressOnEmpty(CPoint point);
    void DrawingPressOnPoint(CGVertex* p);
    void DrawingPressOnCarrier(CGCell* carrier, CPoint point);
    // Forgets a figure in progress whose points are no longer points of the current page (a page
    // switch, an undo or a deletion in between), and a stage the current tool never reaches.
    void CheckDrawingState();
    void SetFirstPoint(const CGVertex& p);
    void Hover(CPoint point);
    void ClearHover();
    void CustomToolPress(CPoint point);
    void CustomToolMove(UINT nFlags, CPoint point);
    void CustomToolRelease();
    void FinishCustomToolMatch(int n);
    void MoveFloatingCell(bool vertical, CPoint point);
    // Makes sure that `count` new points get ids and room in the vertex array; false (nothing
    // made) when they cannot.
    bool PrepareNewPoints(int count);
    // Records an edit of the current page as one undo step and marks the document modified.
    void RecordStep(CCmd* cmd);
    // The right button's face and circle.
    void FinishFlatCircle();
    bool FinishFace();
    void DrawRubberBand();
    // The label dialog of a cell, applied on OK.
    void EditLabel(CGCell& cell);
    void ShowViewContextMenu(UINT menuId, CPoint clientPoint);
    void ArrowKey(int key, bool ctrl);
    // The media player's part of the mouse and the arrow keys: false when no player takes them.
    bool MediaClick();
    bool MediaArrowKey(bool left, bool right, bool up);
    // Where the player's window goes: the view's area in its top-level window (host).
    QRect MediaRect(QWidget** host) const;
    void MoveMediaWindow();
    void StopAnimationTimer();
    void StartAnimationTimer();
    void SetStandardView(const double* angles, bool planeView);

    CHalvixDoc* m_pDocument = nullptr;

    // Until the document owns the pages, the view keeps the first page of a new document itself.
    std::unique_ptr<CGPage> m_ownPage;
    QMetaObject::Connection m_contextGone;
    bool m_frameFresh = false; // drawn by RenderSceneNow since the last request and paint
    bool m_creationFailed = false;
    // The page the drawing in progress belongs to (with its page id, as the page may be gone).
    const CGPage* m_drawingPage = nullptr;
    WORD m_drawingPageId = 0;
    bool m_inTimer = false; // a tick is being handled
};

// The drawing view, null while there is none.
extern CHalvixView* g_pView;

// How the print commands reach printers and their windows (tests replace them).
struct HxPrintServices {
    // The printer of a job: the default one (no name) or the one named.
    std::function<std::unique_ptr<QPrinter>(const CString& name)> makePrinter;
    // The print dialog with the pages minPage to maxPage offered; false when cancelled.
    std::function<bool(QPrinter& printer, QWidget* parent, int minPage, int maxPage)> runPrintDialog;
    // The preview window, which asks paint for its pages.
    std::function<void(QPrinter& printer, QWidget* parent, const std::function<void(QPrinter*)>& paint)>
        runPreview;
};
HxPrintServices& HxGetPrintServices();
void HxResetPrintServices();

// Shows the view's context menus as menus of `owner` (the view does this when it is made).
void HxInstallViewContextMenus(QWidget* owner);
