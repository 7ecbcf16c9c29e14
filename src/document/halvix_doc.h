// CHalvixDoc: the document of the program: its pages and tools, its header (format version,
// author, description, screen size, flags), the ".hvx" document file and the older ".gf" copy,
// new and closed documents, the upgrade of older pages, and the file commands.
#pragma once

#include "document/tool_record.h"
#include "model/page.h"

// Command ids of the document's own file commands, the show-all command and the page commands.
constexpr UINT ID_FILE_SAVE_GF = 34150;
constexpr UINT ID_FILE_OPEN_ALL = 34151;
constexpr UINT ID_EDIT_SHOWOBJECT = 34160; // our own number: no table gives one
constexpr UINT ID_CREATE_PAGE = 34161;     // our own number: no table gives one
constexpr UINT ID_VIEW_PAGEUP = 32861;
constexpr UINT ID_VIEW_PAGEDOWN = 32862;
constexpr UINT ID_EDIT_DELETE = 32883;
constexpr UINT ID_EDIT_PROPERTY = 32851; // "属性"
constexpr UINT ID_EDIT_COPY = 57634;
constexpr UINT ID_EDIT_CUT = 57635;
constexpr UINT ID_EDIT_PASTE = 57637;
constexpr UINT ID_INK_ERASE = 33593; // the view's "擦除墨迹"

// How the object tree names the item it passes: by its value (page items 40000 + page number,
// anything below a cell id), or explicitly as a page or a cell, so that a cell id of 40000 or more
// is never taken for a page.
enum class HxTreeItemKind { ByValue, Page, Cell };

// The title of a new page: "第%s页" with the numeral of its number below 11, else "第%d页".
CString HxPageTitle(int number);

// What the properties command does with a selection, in the order its rules are tried: a relation
// report of two elements, the dialog of one point, line or face, one circle or curve, one button, one
// value, one solid or surface, one text, the page (no single other object), one other object.
enum class HxPropertiesRule {
    PointLine,
    PointPlane,
    Point,
    TwoPoints,
    LinePlane,
    Line,
    TwoLines,
    Face,
    TwoPlanes,
    Curve,
    Value,
    Solid,
    Text,
    Page,
    Other,
    Button
};
HxPropertiesRule HxFindPropertiesRule(const CGPage& page);

using CPageList = CTypedPtrList<CObList, CGPage*>;
class CGSubassembly;
class CGModel3ds;

class CGButton;
class CGMdfColor;
class CGSurface;
class CGCurve;
class CGLocus;
class CGIterate;
class CGTrack;

class CHalvixDoc : public CDocument {
    DECLARE_DYNCREATE(CHalvixDoc)
public:
    static constexpr int kCurrentVersion = 605;
    static constexpr int kGfVersion = 330;
    static constexpr int kFirstRefusedVersion = 606;

    CHalvixDoc();
    ~CHalvixDoc() override;
    CHalvixDoc(const CHalvixDoc&) = delete;
    CHalvixDoc& operator=(const CHalvixDoc&) = delete;

    // The document record (store and load).  Loading reads the whole record into a new set of
    // pages and tools and replaces the document's contents only when it has all been read and
    // checked; a damaged record throws CArchiveException and changes nothing.  A record of
    // version 606 or later is refused with a message (CUserException), also changing nothing.
    void Serialize(CArchive& ar) override;
    // Reads a file of a ".gf" name, from its present position: in the older layout, or in the
    // present one (a document saved again under the name of its copy).  A layout is taken only
    // when it reads the file to its end and every check passes, so a file is never opened as part
    // of what it holds; when both layouts read it so, the one the stored version names (330 the
    // older) is taken.  FALSE after an error, reported (the older layout's) unless report is FALSE.
    BOOL ReadGfDocument(CFile& file, const CString& pathForMessages, BOOL report = TRUE);
    // Reads a file of any other name, from its present position: in the present layout when it
    // reads the file to its end; else in the older layout when that reads it to its end (a ".gf"
    // copy under another name); else in the present layout when the record was read whole and
    // more bytes follow it (a document padded at its end).  FALSE after an error, reported (the
    // present layout's) unless report is FALSE.  Inside a CGfFormatScope the caller has chosen the
    // older layout, and the record is read in it alone, as Serialize reads it.
    BOOL ReadDocument(CFile& file, const CString& pathForMessages, BOOL report = TRUE) override;
    // Deletes the tools and pages; no page is current afterwards.
    void DeleteContents() override;
    // One page "第一页", version 605, the default header, the default view.
    BOOL OnNewDocument() override;
    // A ".gf" file (by its extension, in any case) is read in the older layout and the document
    // then takes the name of the ".hvx" file beside it.
    BOOL OpenDocumentFile(const CString& path, BOOL askToSave = TRUE) override;
    // The file's path is the last document path while it is read (so that what its cells find beside
    // it is found), and stays so when it opened; a failed open gives the earlier path back.
    BOOL OnOpenDocument(const CString& path) override;
    BOOL DoSave(const CString& path, BOOL replace = TRUE) override;
    // What the view's initial update does for the document: a first page when there is none, the
    // upgrade of pages of an older format, the undo items bound to the current page.
    void OnInitialUpdate() override;

    // Commands.
    void OnFileSaveGf();  // 34150: a copy in the ".gf" layout
    void OnFileOpenAll(); // 34151: open a ".hvx" or ".gf" file
    void OnShowAllObjects();
    void OnUpdateShowAllObjects(CCmdUI* pCmdUI);

    // The preference colours on the current page only (non-zero) or on every page.
    void ApplyBackgroundColor(BOOL currentPageOnly);
    // Text items render their pictures again (the fonts changed).
    void RefreshAllPages();
    // Every page upgraded from the stored format version; then version 605, modified.
    void UpgradePagesToCurrentVersion();

    // ---- Pages and the object tree ----
    // ID_CREATE_PAGE: a new page after the current one, made current (no undo step).
    void OnNewPage();
    // Takes back the page OnNewPage made last while it is current and holds nothing (or, with
    // `holdingObjects`, whatever it holds, its undo history with it): the page before it becomes
    // current again and its number goes to the next new page.  FALSE, changing nothing, when the
    // current page is not such a page.
    bool TakeBackNewPage(bool holdingObjects = false);
    // Makes page current: the old page keeps its camera and loses its selection and running
    // buttons; the new page's camera, colours, locks and projection take over.  Null does nothing.
    void SetCurrentPage(CGPage* page);
    // Printing: makes page current as a page switch does, without leaving the page before, and
    // presses its start button at once; and the view's camera kept in the current page.
    void ShowPageForPrinting(CGPage* page);
    void KeepCurrentPageView();
    // The page after (before) the current one becomes current; nothing at the end (start).
    void GoToNextPage();
    void GoToPrevPage();
    void OnUpdateNextPage(CCmdUI* pCmdUI);
    void OnUpdatePrevPage(CCmdUI* pCmdUI);
    // Switches to the page of that number (nothing when it is current).  With report, a number that
    // names no page is reported ("链接无效！").  FALSE when there is no such page.
    BOOL GoToPageById(WORD pageId, BOOL report);
    // Selects what a tree item names.  Returns 0 nothing, 1 the cell is the only selection, 2 added,
    // 3 removed, 4 already so, 5 switched to the item's page, 7 every object of the current page
    // selected, 8 the current page's selection cleared.
    int SelectTreeItem(UINT itemId, BOOL fromCheckBox, BOOL checked,
                       HxTreeItemKind kind = HxTreeItemKind::ByValue);
    // The page numbered `number` and its 1-based place in the page list; null (place = the number
    // of pages) when there is none.
    CGPage* FindPageByNumber(WORD number, int& position) const;
    // The bare name of a tree item: a page's title or a current-page cell's name ("" for none).
    CString GetTreeItemName(UINT itemId, HxTreeItemKind kind = HxTreeItemKind::ByValue) const;
    // Renames a cell of the current page (its descendants' labels follow) or a page.  FALSE when
    // there is no such item or a cell keeps its name.
    BOOL RenameTreeItem(UINT itemId, const CString& name, HxTreeItemKind kind = HxTreeItemKind::ByValue);
    // Moves the current page `places` positions back (negative) or forward in the page list.
    // FALSE, changing nothing, for 0 places or a walk past either end.
    bool MoveCurrentPage(int places);
    // ID_EDIT_DELETE: the selected objects with their descendants as one undo step, or the
    // current page itself when it is selected as a whole (after asking).
    void OnEditDelete();
    void OnUpdateHasSelection(CCmdUI* pCmdUI);

    // ---- The clipboard ----
    // ID_EDIT_COPY: the selected page, or the selected objects with their ancestors, onto the
    // clipboard.  ID_EDIT_CUT: the same, then the delete command (nothing is deleted when the copy
    // could not be made).
    void OnEditCopy();
    void OnEditCut();
    // ID_EDIT_PASTE: the clipboard's picture as a picture item, else a copied page as a new page after
    // the current one, or copied objects into the current page as one undo step.  A damaged block is
    // refused with a message and changes nothing.
    void OnEditPaste();
    void OnUpdateEditPaste(CCmdUI* pCmdUI);
    // The clipboard's picture as a new picture item of the current page, scaled down to fit the
    // drawing area; one undo step.  Failures are reported ("粘贴图片") and add nothing.
    void PasteClipboardBitmap();
    // Pictures are pasted only while picture items can be stored with the document: a picture that a
    // save could not write back would make the file unreadable.
    static bool CanPastePictures();
    // A page record read from the archive as a new page after the current one, made current (no
    // undo step).  A damaged record throws CArchiveException and changes nothing.
    void PastePage(CArchive& ar);
    // The object tree filled again from the whole document (the frame's tree, when it has one).
    std::function<void()> m_onFillObjectTree;

    // The page after which the document's view and undo items follow: the current page.
    CGPage* GetCurrentPage() const { return g_pCurPage; }
    int GetPageCount() const { return m_pages.GetCount(); }
    CGPage* GetPage(int index) const;
    // Appends a new page numbered from the page counter and titled for its number; it does not
    // become current.
    CGPage* AppendPage(const CString& title);

    // ---- Transform marks and transform commands (points/transform_commands.cpp) ----
    // The marks take their cells from the current page's selection, in selection order.
    void OnMarkCenter();
    void OnMarkAxis();
    void OnMarkRatio();
    void OnMarkVector();
    void OnMarkAngle();
    void OnMarkMirror();
    // Each runs its dialog and turns the selected points, lines, faces and circles into tied copies
    // as one undo step, which then become the selection.
    void OnTransTranslate();
    void OnTransRotate();
    void OnTransScale();
    void OnTransReflect();
    // Exactly one point (line, face) selected; shared with construction commands.
    void OnUpdateOnePoint(CCmdUI* pCmdUI);
    void OnUpdateOneLine(CCmdUI* pCmdUI);
    void OnUpdateOneFace(CCmdUI* pCmdUI);
    void OnUpdateMarkRatio(CCmdUI* pCmdUI);
    void OnUpdateMarkVector(CCmdUI* pCmdUI);
    void OnUpdateMarkAngle(CCmdUI* pCmdUI);
    // A point, line or face selected, or a circle built on points.
    void OnUpdateTransTranslate(CCmdUI* pCmdUI);
    void OnUpdateTransRotateScaleReflect(CCmdUI* pCmdUI);

    // ---- Action buttons (dynamics/button_commands.cpp) ----
    // Each adds one button to the current page from its selection, through the button's dialog (none
    // for the show/hide button), as one undo step.
    void OnButtonHideShow();  // the selected objects as targets
    void OnButtonAnimation(); // the one selected point, value, net or cut
    void OnButtonMove();      // the first selected point towards the second
    void OnButtonSeries();    // the selected buttons as members
    void OnButtonLink();      // a page of the document, or a file or address
    void OnUpdateButtonAnimation(CCmdUI* pCmdUI);
    void OnUpdateButtonMove(CCmdUI* pCmdUI);
    void OnUpdateButtonSeries(CCmdUI* pCmdUI);
    // The properties of one button through its dialog (the button rule of the properties command):
    // on OK its caption and settings are written back.  FALSE after Cancel.  The document is marked
    // modified and the views updated either way.
    BOOL EditButtonProperties(CGButton& button);

    // ---- Edit commands (dynamics/edit_commands.cpp, view_button_commands.cpp, surface_commands.cpp) ----
    // Lighting of the selected points, lines, faces, circles, solids and surfaces switched on or off;
    // selected lines, faces, circles and surfaces reversed; selected points, circles and solids of
    // revolution separated from their parents as one undo step; every page and cell renumbered from 1
    // (Ctrl+Alt+Z) with the undo histories emptied; the selected buttons, values or texts aligned.
    void OnRenderSolid();
    void OnEditReverse();
    void OnEditSplit();
    void OnCompactDocument();
    void OnAlignPlanarObjects();
    void OnUpdateRenderSolid(CCmdUI* pCmdUI);
    void OnUpdateEditReverse(CCmdUI* pCmdUI);
    void OnUpdateEditSplit(CCmdUI* pCmdUI);
    void OnUpdateAlignPlanarObjects(CCmdUI* pCmdUI);
    // F8 and F9: the view as it is kept as the start or target of view buttons; the pan, turn and
    // zoom buttons made from the two through their dialogs.
    void OnMarkViewStart();
    void OnMarkViewTarget();
    void OnAddViewTranslateButton();
    void OnAddViewRotateButton();
    void OnAddViewZoomButton();
    // A surface over the selected values from the surface dialog; the properties of one surface.
    void OnCreateSurface();
    BOOL EditSurfaceProperties(CGSurface& surface);

    // ---- The properties command (document/halvix_doc_properties.cpp) ----
    // ID_EDIT_PROPERTY: by the first rule of HxFindPropertiesRule that the current page's selection
    // meets, the relation report of two elements or the dialog of one object (the first entry of its
    // selection list), else the page's dialog.  The document is marked modified and the views updated
    // afterwards, after Cancel too, but not when a report's element is not valid.
    void OnEditProperties();
    void OnUpdateEditProperties(CCmdUI* pCmdUI);
    // "页属性": the page's title, background (into the preference globals and the page), unit length
    // in pixels (with the projection) and dashed lines behind lit solids.  FALSE after Cancel.
    BOOL EditPageProperties(CGPage& page);

    // ---- Selection, visibility, labels, fill and traces (document/selection_commands.cpp) ----
    // None records an undo step; each works on the current page.
    // The selected cells hidden and the selection cleared.
    void OnHideObjects();
    void OnUpdateHideObjects(CCmdUI* pCmdUI);
    // Labels of the selected cells shown or hidden, the opposite of the first selected cell met in
    // the page's map.
    void OnShowLabels();
    void OnUpdateShowLabels(CCmdUI* pCmdUI);
    // Every object; every shown and valid point, line or face; the parents or the children of the
    // selection; the page itself.  Each tells the object tree.
    void OnEditSelectAll();
    void OnSelectVisiblePoints();
    void OnSelectVisibleLines();
    void OnSelectVisibleFaces();
    void OnSelectParents();
    void OnSelectChildren();
    void OnSelectPage();
    // Fills or empties the selected faces and circles.
    void OnFillColor();
    void OnUpdateFillColor(CCmdUI* pCmdUI);
    // The selected points renamed in selection order from the letter and suffix chosen in the
    // label dialog.
    void OnEditBatchLabels();
    // Traces of the selected cells switched on or off (the opposite of the first met); the trace
    // picture thrown away.
    void OnTraceObjects();
    void OnUpdateTraceObjects(CCmdUI* pCmdUI);
    void OnEraseTraces();
    void OnUpdateEraseTraces(CCmdUI* pCmdUI);
    // The page's "hidden lines dashed behind lit objects" switch; labels scaled with the view or not.
    void OnToggleDashedBehindLit();
    void OnUpdateDashedBehindLit(CCmdUI* pCmdUI);
    void OnLabelAutoScaleOff();
    void OnLabelAutoScaleOn();
    // The text of one element of the status bar (0 the information pane).
    void SetStatusText(const CString& text, int index);

    // ---- Colour commands (dynamics/color_commands.cpp) ----
    // 2000-2015 named colours, 2026 random colours, 2027 the custom colour, 2028 transparency,
    // 2029 the parameter colour (a colour modifier driven by the selected values).
    void OnColor(UINT id);
    void OnUpdateParametricColor(CCmdUI* pCmdUI);
    // The colour modifier's dialog filled from it; after OK its name, range and mode written back and
    // its colours applied again.  The document is marked modified and the views updated either way.
    BOOL EditColorModifier(CGMdfColor& modifier);

    // ---- Polygons (construct/polygon_commands.cpp) ----
    // With no point selected a default figure in the horizontal plane; with two points (three for
    // the parallelogram) the figure on them in any plane through them.
    void OnTriangleEquilateral();
    void OnSquare();
    void OnRectangle();
    void OnPentagon();
    void OnHexagon();
    void OnTriangleIsosceles();
    void OnParallelogram();
    // A regular polygon inscribed in the selected circle (its side count asked), else a triangle in
    // a default circle.
    void OnPolygonInscribed();
    void OnUpdateNoneOrTwoPoints(CCmdUI* pCmdUI);
    void OnUpdateParallelogram(CCmdUI* pCmdUI);

    // ---- Construct from selection (construct/construct_from_selection.cpp) ----
    // What the selection fits for a tool button or gallery of `kind`: 1 point, 2 line, 3 face,
    // 4 circle tool; 5 prism, 6 pyramid, 7 frustum, 8 sphere, 9 measure-and-calculate,
    // 10 text-and-label, 11 curve-and-locus galleries; 12 the play command.  Kind 1 returns the
    // number of new points, kinds 2-4 and 12 whether a row fired, the galleries 0.
    int ConstructFromSelection(int kind);
    // The seven gallery commands: each runs its kind and drops the result.
    void OnCreatePrismGallery();
    void OnCreatePyramidGallery();
    void OnCreateFrustumGallery();
    void OnCreateSphereGallery();
    void OnCreateMeasCalcGallery();
    void OnCreateTextLabelGallery();
    void OnCreateCurveLocusGallery();

    // ---- Construct commands (construct/) ----
    // Each reads the current page's selection in selection order and builds as one undo step.
    // Lines of one kind through the selected points (closed when more than two); else the selected
    // lines turned into that kind; with nothing selected the line tool.
    void OnCreateLineSegment();
    void OnCreateLineHalf();
    void OnCreateLineStraight();
    void OnCreateLineVector();
    // Perpendiculars from points to lines or faces: a foot and a line of the line tool's kind each.
    void OnCreateLinePerpendicular();
    // A point on the perpendicular through the first point: free, or at the distance of the first
    // two points.
    void OnCreatePointPerSc();
    void OnCreatePointPerEq();
    // A point on the parallel to an axis through the point; a point that follows it in space, and
    // one that follows it keeping its height.
    void OnCreatePointParX();
    void OnCreatePointParY();
    void OnCreatePointParZ();
    void OnCreatePointVector();
    void OnCreatePoint2dz();
    // A point on the parallel through a point to a line of two points or to a typed direction;
    // parallel lines; the common perpendicular of two lines; the parallel copy of a face through a
    // point; the square face perpendicular to a line.
    void OnCreatePointParL();
    void OnCreatePointParV();
    void OnCreateLineParallel();
    void OnCreateLineCommon();
    void OnCreateFaceParface();
    void OnCreateFacePerline();
    // The centres of the triangle of the three selected points.
    void OnCreatePointTriangleG();
    void OnCreatePointTriangleO();
    void OnCreatePointTriangleI();
    void OnCreatePointTriangleH();
    void OnCreatePointTriangleE();
    // Points by typed, pasted or measured coordinates; a point turned on a circle by a typed angle.
    void OnCreatePointCoordinates();
    void OnCreatePointRotIncircle();
    // The arc of the selected circle between two selected points, the internal and external
    // bisectors of the angle at the second of three selected points (a point and a ray each), and
    // the rich-text item typed in the rich-text editor (free, or following the first selected point).
    void OnCreateCircleArc();
    void OnCreateLineAngle();
    void OnCreateLineAngleE();
    void OnCreateText2();
    void OnUpdateCircleArc(CCmdUI* pCmdUI);
    void OnUpdateCreateLine(CCmdUI* pCmdUI);
    void OnUpdateLinePerpendicular(CCmdUI* pCmdUI);
    void OnUpdateTwoOrThreePoints(CCmdUI* pCmdUI);
    void OnUpdateThreePoints(CCmdUI* pCmdUI);
    void OnUpdateLineParallel(CCmdUI* pCmdUI);
    void OnUpdateTwoLines(CCmdUI* pCmdUI);
    void OnUpdatePointAndFace(CCmdUI* pCmdUI);
    void OnUpdatePointCoordinates(CCmdUI* pCmdUI);
    void OnUpdatePointRotIncircle(CCmdUI* pCmdUI);
    // A cylinder, cone or frustum on the selected right triangle (P1 top centre or apex, P2 bottom
    // centre, P3 on the bottom circle) or right trapezium (P4 on the top circle), completed from two
    // points, or a default figure; refused with a message when the angle is not right.
    // ID_CREATE_LOCUS: the locus of the traced point while the driver runs over its range (the two
    // selected points, in either order).  ID_CREATE_CURVE: a curve from the curve dialog over the
    // selected values.  ID_CREATE_POINT_ONOBJECT: a free point at a random place of the first selected
    // line, circle, locus or curve, face, or of the plane of three selected points.
    void OnCreateLocus();
    void OnCreateCurve();
    void OnCreatePointOnObject();
    void OnUpdateCreateLocus(CCmdUI* pCmdUI);
    void OnUpdatePointOnObject(CCmdUI* pCmdUI);
    // The properties of a locus and of a curve through their dialogs; FALSE after Cancel.  The
    // document is marked modified and the views updated either way.
    BOOL EditLocusProperties(CGLocus& locus);
    BOOL EditCurveProperties(CGCurve& curve);
    void OnCylinder();
    void OnCone();
    void OnFrustum();
    void OnUpdateCylinderCone(CCmdUI* pCmdUI);
    void OnUpdateFrustum(CCmdUI* pCmdUI);
    // A hidden-surface face through the selected points in selection order.
    void OnCreateFace();
    // Circles on the first three points: through them, about the first through the others, about
    // the first through the second square to the line to the third.
    void OnCreateCircle3p();
    void OnCreateCircleCp();
    void OnCreateCirclePn();
    // Three points: as OnCreateCirclePn; else the horizontal circle.
    void OnCreateCirclePnz2();
    // The horizontal circle about the first point through the second (or through a point sliding
    // parallel to x); with nothing selected, about a new centre.
    void OnCreateCircleHorizontal();
    // The circle about the first point (or a new centre) whose radius is the selected value (or a new
    // parameter "r" with its slider).
    void OnCreateCircleCr();
    // The sphere on a centre and north pole with its equator, meridian, parallel and right triangle;
    // the sphere with its equator only; the coordinate frame on the selected point (or a new "O").
    void OnCreateBall();
    void OnCreateGeo();
    void OnCreateBase();
    void OnUpdateThreeOrMorePoints(CCmdUI* pCmdUI);
    void OnUpdateThreePointsOnly(CCmdUI* pCmdUI);
    void OnUpdateCreateBall(CCmdUI* pCmdUI);
    void OnUpdateCreateGeo(CCmdUI* pCmdUI);
    // Intersection points of the two selected objects; midpoints, trisection and N-division points
    // of the selected segments or of two points.
    void OnPointIntersection();
    void OnPointMiddle();
    void OnPointDiv3();
    void OnPointDivN();
    void OnUpdatePointIntersection(CCmdUI* pCmdUI);
    void OnUpdatePointDivision(CCmdUI* pCmdUI);
    // Prisms: on a parallelogram base (cuboid, cube, parallelepiped), along the axes from an origin
    // point (a new one for an id that names no point), on a selected top vertex and base face or the
    // default triangular prism, the regular pentagonal prism.
    void OnCuboid();
    void OnCube();
    void OnParallelepiped();
    void OnCuboidAxis(WORD originId);
    void OnPrism();
    void OnPrismPentagonRegular();
    // Pyramids and frustums: on a selected apex and base face or the default triangular ones, the
    // regular square pyramid, the regular triangular pyramid on a point (a new one for an id that
    // names no point), the regular hexagonal frustum, the regular tetrahedron (the id is not used).
    void OnPyramid();
    void OnPyramidFrustum();
    void OnPyramidSquareRegular();
    void OnPyramidTriangleRegular(WORD pointId);
    void OnFrustumHexagonRegular();
    void OnTetrahedronRegular(WORD unused);

    // ---- Hulls, nets, sections and cuts (construct/hull_commands.cpp) ----
    // A hull of the selected points or of a vertex set chosen in its dialog; fewer than four points
    // selected for the selection's set are refused with a message, and points that span no solid
    // make nothing.
    void OnPolyhedron();
    // The net of the selected hull and the button "折展" that folds it, as one undo step.
    void OnFold();
    // The section of the selected hull by the plane of the selected face.
    void OnSection();
    // The selected hull cut by the selected faces' planes (or by fixed planes when no face is
    // selected) and the button "切割" that applies them, as one undo step.
    void OnSplit();
    // One selected other object, a hull (and, for the section, one selected face).
    void OnUpdateFoldOrCut(CCmdUI* pCmdUI);
    void OnUpdateSection(CCmdUI* pCmdUI);
    // The properties of a hull, net or cut through its dialog (a section only tells what it is): a
    // changed name, the display style and the hidden flag, a net's way of unfolding, a cut's shift
    // and, when its planes do not follow faces, its number of planes.  FALSE when cancelled.
    BOOL EditHullFigure(CGCell* cell);

    // ---- The positioning figure (construct/static_figure_commands.cpp) ----
    // With one other object selected: a fixed copy of a hull or a section, or a message for anything
    // else; otherwise a fixed figure chosen in the dialog "添加定位图".
    void OnLocatorFigure();

    // ---- Calculation, parameter and step commands (measure/calc_commands.cpp) ----
    // ID_MEASURE_FUN: an expression over the selected values (every one a scalar, or none) typed
    // in the calculation dialog becomes a calculated value, as one undo step.
    void OnMeasureCalculate();
    void OnUpdateMeasureCalculate(CCmdUI* pCmdUI);
    // ID_MEASURE_PARAMETER: a parameter named, valued and ranged in the parameter dialog.
    void OnMeasureNewParameter();
    // The plus and minus keys: the single selected parameter one up or down (no undo step), the
    // single selected iteration one level deeper or shallower, or else the next or previous object
    // of the last pick selected.
    void OnParameterStepUp();
    void OnParameterStepDown();
    void StepParameter(int direction);
    // ---- Measurement commands (measure/measure_commands.cpp) ----
    // Each measures the current page's selection in selection order as one undo step; the
    // measurements take the page's next text positions.  x, y or z of the one selected point; the
    // position vector of every selected point; the path parameter of a point, or its place on the
    // selected line or circle; the vector of two points or of a line.
    void OnMeasureCoordX();
    void OnMeasureCoordY();
    void OnMeasureCoordZ();
    void OnMeasurePointXyz();
    void OnMeasurePointValue();
    void OnMeasureVectorXyz();
    // The lengths of the selected lines, or the sides of the path through the selected points;
    // point to line, point to plane, line to line.
    void OnMeasureDistancePP();
    void OnMeasureDistancePL();
    void OnMeasureDistancePF();
    void OnMeasureDistanceLL();
    // Line and line, face and face, line and face, and the angle of three points at the second.
    void OnMeasureAngleLL();
    void OnMeasureAngleFF();
    void OnMeasureAngleLF();
    void OnMeasureAngle();
    // A polygon's area, the tetrahedron of four points, a circle's length, area and radius.
    void OnMeasureArea();
    void OnMeasureVolume();
    void OnMeasureLengthC();
    void OnMeasureAreaC();
    void OnMeasureRadius();
    // The whole surface and the volume of a cylinder, cone, frustum or sphere.
    void OnMeasureAreaS();
    void OnMeasureVolumeS();
    // Every Measure command's rule on the selection counts, by the command id.
    void OnUpdateMeasure(CCmdUI* pCmdUI);
    // ---- Right triangle, components and 3D text (solids/component_commands.cpp) ----
    // A dynamic right triangle: with nothing selected A, B, C on the circle over AB and the face;
    // with two points the right angle at the first.
    void OnCreateRightTriangle();
    void OnUpdateRightTriangle(CCmdUI* pCmdUI);
    // A component described in its dialog; with one component selected, its properties instead.
    void OnCreateSuba();
    // The 3D text "Halvix" in "楷体", then the plane view.
    void OnCreate3DText();
    // The component's dialog filled from it; after OK the answer written back as one undo step.
    // FALSE when cancelled or when nothing changed.
    BOOL EditComponent(CGSubassembly* cell);
    // ---- 3DS models (construct/model_commands.cpp) ----
    // The folder of the last document path, up to and including its last "\" (or, without one, its
    // last "/"); "" when the path is shorter than 5 characters or has no separator after its first
    // character.
    static CString GetDocumentFolder();
    // ID_3DSMODEL: a model chosen in the file dialog (starting in the "Models" folder beside the
    // program), shown lit, and the animation button "旋转模型" that turns it once round, as one undo
    // step "添加3dsmax模型".
    void On3dsModel();
    // The model's dialog filled from it; after OK its centre, scale, display style and hidden flag
    // written back as one undo step (the model is not read again).  FALSE when cancelled or when
    // nothing changed.
    BOOL EditModel3ds(CGModel3ds* cell);

    // ---- Options, weights, display and insertions (document/options_commands.cpp) ----
    // ID_FILE_OPTIONS: the description, the formula-picture option and, when asked, the pages
    // renamed by their places ("第一页" ... "第十页", "第11页" ...).
    void OnFileOptions();
    // The line width, point size or value precision of every selected object: one step up or down,
    // the defaults, or a typed value taken from the first selected point, line, circle or value.
    void OnWeightIncrease();
    void OnWeightDecrease();
    void OnWeightDefault();
    void OnWeightInput();
    void OnUpdateWeight(CCmdUI* pCmdUI);
    // Selected faces, circles, solids and surfaces between translucent and opaque.
    void OnTranslucent();
    void OnUpdateTranslucent(CCmdUI* pCmdUI);
    // A table of the rows and columns asked for, as one undo step "添加表格".
    void OnCreateTable();
    // The button pressed when the page is entered: the one selected button, none on this page, none
    // on any page.
    void OnSetAutoButton();
    void OnUpdateSetAutoButton(CCmdUI* pCmdUI);
    void OnClearAutoButton();
    void OnUpdateClearAutoButton(CCmdUI* pCmdUI);
    void OnClearAllAutoButtons();
    // ID_EDIT_BTN_MEDIA: a command button of the sequence chosen in its dialog.
    void OnCommandButton();
    // ID_CREATE_CUBOIDXYZ: the axis cuboid on the first selected point (or a new origin).
    void OnCreateCuboidAxis();
    // The formula editor, then a colour formula text (texture mode `flag`) or one attached to the
    // first selected point, as one undo step; the editor opens at the screen point (x, y).
    void InsertMtfColourText(int flag, int x, int y);
    // A picture item of width x height pixels (rows of red, green, blue from the bottom up, padded
    // to 4 bytes), scaled down into 98% of the drawing area and centred, as one undo step.  FALSE
    // (nothing added) for pixels that do not fill the size or a page without ids left.
    BOOL InsertImage(int width, int height, std::vector<BYTE> pixels, const CString& undoName = u"插入图片");

    // ---- Vector commands and the label edit (measure/vector_commands.cpp) ----
    // The normal vector of three points or a face; sums, differences, multiples, cross and dot
    // products, lengths, mixed products and components of the selected vectors.
    void OnMeasureVectorNormal();
    void OnMeasureVectorSum();
    void OnMeasureVectorDifference();
    void OnMeasureVectorMultiple();
    void OnMeasureVectorCross();
    void OnMeasureVectorDot();
    void OnMeasureVectorLength();
    void OnMeasureVectorMixed();
    void OnMeasureVectorComponents();
    void OnUpdateVectorCommand(CCmdUI* pCmdUI);
    // ID_EDIT_LABELMOD: the label of the first selected point, else of the first selected object.
    void OnEditLabelModify();
    // ---- Points, iterations, traces and styles (document/halvix_doc_construct.cpp with
    // points/point_path_commands.cpp, dynamics/iterate_commands.cpp, dynamics/track_commands.cpp) ----
    // A full free point at the origin; the fixed point "O" at the origin.
    void OnCreateFree3Point();
    void OnCreatePointOrigin();
    // The point dividing a circle's way between two of its points in a typed ratio.
    void OnCreatePointScaleIncircle();
    void OnUpdatePointScaleIncircle(CCmdUI* pCmdUI);
    // The feet of every selected point on every selected line and face.
    void OnCreatePointTouying();
    void OnUpdatePointTouying(CCmdUI* pCmdUI);
    // A point on the selected path at a point's or value's parameter, or at a typed one.
    void OnCreatePointInobjFt();
    void OnUpdatePointInobjFt(CCmdUI* pCmdUI);
    // A free point on the compound path of the selected face, points or pieces.
    void OnCreatePointPath();
    void OnUpdateCreatePointPath(CCmdUI* pCmdUI);
    // An iteration of the selected points and values through its mappings.
    void OnTransIterate();
    void OnUpdateTransIterate(CCmdUI* pCmdUI);
    // A trace of the figures built on the selected path point or parameter.
    void OnCreateTrack();
    void OnUpdateCreateTrack(CCmdUI* pCmdUI);
    // The selected objects added to (or taken from) the selected show/hide button.
    void OnEditBtnAddobj();
    void OnUpdateEditBtnAddobj(CCmdUI* pCmdUI);
    // The style of the last selected point (line, face, circle) onto the others of its kind.
    void OnEditStyles();
    void OnUpdateEditStyles(CCmdUI* pCmdUI);
    // Texts, text items and buttons outside the screen moved back in, on every page.
    void OnBringFlatObjectsIn();
    // The properties of an iteration (with a selected value as its depth) and of a trace; TRUE when
    // something changed.
    BOOL EditIterateProperties(CGIterate& iterate);
    BOOL EditTrackProperties(CGTrack& track);

    // ---- User-defined tools (document/tool_commands.cpp) ----
    // 20000-20500: the tool of the command becomes current and the custom-tool mouse tool applies it
    // (an application running on the current page is finished first); 34000-34010 do nothing.
    void OnToolMenuCommand(UINT id);
    void OnUpdateToolMenuCommand(CCmdUI* pCmdUI);
    // ID_TOOL_CREATE: a tool from the selected construction, named in "新建工具", appended to the
    // document's tools and to the tool menu, and made current.
    void OnToolCreate();
    // The document's tools in the tool menu again (after new, open, copy and delete); a current tool
    // of the document is forgotten.
    void RebuildToolMenu();
    // ID_TOOL_SCRIPT: the script view of the current tool.
    void OnToolScriptView();
    // ID_TOOL_OPTION: "工具属性" on the document's tools.
    void OnToolOptions();
    void OnUpdateToolOptions(CCmdUI* pCmdUI);
    // ID_TOOL_AUTODO (F5): the current tool applied to the selection as one undo step.
    void OnToolApply();
    void OnUpdateToolApply(CCmdUI* pCmdUI);

    CPageList m_pages;      // in display order (owned)
    CRecordList m_tools;    // the document's own tools (owned)
    WORD m_pageCounter = 0; // the number of the most recently created page
    int m_formatVersion = kCurrentVersion;
    CString m_author;
    CString m_description;
    int m_screenWidth = 0;
    int m_screenHeight = 0;
    int m_storeMtfImages = 0; // formula texts keep their rendered pictures in the file
    int m_reservedInt = 0;
    float m_reservedFloat = 0.0f;
    CString m_reservedText;

    // The default description of a new document.
    static const char16_t* const kDefaultDescription;

private:
    struct LoadedDocument;
    void Store(CArchive& ar);
    void Load(CArchive& ar);
    // Reads the record into `loaded`; throws (CArchiveException) when it is damaged, and changes
    // nothing of the document.  A record of a later version throws without a word, for the reader
    // to say so: a read in a layout the file was not written in may meet one.
    void ReadRecord(CArchive& ar, LoadedDocument& loaded);
    void Commit(LoadedDocument& loaded);
    // ReadGfDocument (gfName) and ReadDocument: the file read in each layout it may be in, and the
    // first of them that the name's order takes put in place of the document's contents.
    BOOL ReadInLayouts(CFile& file, const CString& pathForMessages, BOOL report, bool gfName);
    // The message map entries of the transform commands.
    void AddTransformCommands();
    // The message map entries of the construct commands.
    void AddConstructCommands();
    // The message map entries of the locus, curve and point-on-object commands.
    void AddCurveCommands();
    // The message map entries of the calculation, parameter and step commands.
    void AddCalculationCommands();
    // The message map entries of the measurement commands.
    void AddMeasureCommands();
    // The message map entries of the action-button commands.
    void AddButtonCommands();
    // The message map entries of the hull, net, section and cut commands.
    void AddHullCommands();
    // The message map entry of the positioning-figure command.
    void AddStaticFigureCommands();
    // The message map entries of the cylinder, cone and frustum commands.
    void AddRevolutionCommands();
    // The message map entries of the face, circle, sphere and frame commands, the point commands,
    // and the prism and pyramid commands.
    void AddFaceCircleCommands();
    void AddPointCommands();
    void AddPrismCommands();
    void AddPyramidCommands();
    // The message map entry of the 3DS model command.
    void AddModelCommands();
    // The message map entries of the right triangle, component and 3D text commands.
    void AddComponentCommands();
    // The message map entries of the selection, visibility, label and trace commands.
    void AddSelectionCommands();
    // The message map entries of the colour commands.
    void AddColorCommands();
    // The message map entries of the polygon commands.
    void AddPolygonCommands();
    // The message map entries of the construction galleries.
    void AddGalleryCommands();
    // The message map entries of the option, weight, display and insertion commands, and of the
    // vector and label commands.
    void AddOptionsCommands();
    void AddVectorCommands();
    // The message map entries of the edit commands, the view marks and buttons, and the surface.
    void AddEditCommands();
    // The message map entries of the point, iteration, trace and style commands.
    void AddDocumentConstructCommands();
    // The message map entries of the tool commands.
    void AddToolCommands();
    // The current tool is forgotten when it is one of the document's (before they go).
    void ForgetDocumentTools();
    // Opens and reads a ".gf" file (ReadGfDocument).  FALSE after an error, which has been reported.
    BOOL ReadGfFile(const CString& path);
    // Makes a page current: g_pCurPage, g_cellMap and the vertex array.
    void MakePageCurrent(CGPage* page);
    // What the switch to a page sets: the page current with its camera, look and projection, the
    // arrow tool, and its start button pressed (posted, or at once).
    void EnterPage(CGPage* page, bool pressStartNow);
    // After a load: the first page current with its camera, colours, locks, unit length and
    // projection.
    void RestoreFirstPageView();
    // The page's camera, background, locks, unit length and projection into the view globals: the
    // camera, then the rest.
    void ApplyPageView(const CGPage* page);
    static void ApplyPageCamera(const CGPage* page);
    void ApplyPageLook(const CGPage* page);
    // A custom tool in the middle of an application on the page being left: the cells it made
    // become one undo step of that page.
    void FinishToolOnPage(CGPage* page);
    // Gives the drawing view the focus before a page switch; false (after saying so) when a dialog
    // keeps it.
    bool FocusViewForPageSwitch();
    // The view globals' camera into the page.
    static void KeepPageView(CGPage* page);
    // The current page's place in the page list, or null.
    POSITION FindCurrentPagePosition() const;

    // The projection type into g_projectionType and the projection matrix (through OpenGL when a
    // context is current).
    void ReloadProjection(int type);
};
