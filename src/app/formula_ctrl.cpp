// CFormulaCtrl: painting, keys, the mouse, the context menu, the clipboard, files and dialogs of
// the formula editing control.
#include "app/formula_ctrl.h"

#include "app/format_toolbar.h"
#include "app/node_style_dlg.h"
#include "formula/box_node.h"
#include "formula/formula_templates.h"
#include "formula/mtf_dialogs.h"
#include "platform/beep.h"
#include "platform/dc_painter.h"
#include "platform/font_dialog.h"

#include <QContextMenuEvent>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

#include <cstdlib>

struct CFormulaCtrl::Painted {
    QImage image;
};

UINT HxFormulaClipboardFormat() {
    return HxRegisterClipboardFormat(HX_FORMULA_CLIPBOARD_FORMAT);
}

UINT HxFormulaMetafileFormat() {
    return HxRegisterClipboardFormat(u"image/emf");
}

CFormulaCtrl::CFormulaCtrl(QWidget* parent) : QWidget(parent), m_painted(std::make_unique<Painted>()) {
    HxFormulaClipboardFormat();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    setCursor(Qt::ArrowCursor);
    const QColor highlight = palette().color(QPalette::Highlight);
    m_caret.m_highlight = RGB(highlight.red(), highlight.green(), highlight.blue());

    OnCommandRange(ID_MTF_STRUCT_FIRST, ID_MTF_STRUCT_LAST, &CFormulaCtrl::OnInsertStructure);
    OnUpdateRange(ID_MTF_STRUCT_FIRST, ID_MTF_STRUCT_LAST, &CFormulaCtrl::OnUpdateHasCaret);
    OnCommandId(ID_EDIT_CUT, &CFormulaCtrl::OnEditCut);
    OnUpdateId(ID_EDIT_CUT, &CFormulaCtrl::OnUpdateHasSelection);
    OnCommandId(ID_EDIT_COPY, &CFormulaCtrl::OnEditCopy);
    OnUpdateId(ID_EDIT_COPY, &CFormulaCtrl::OnUpdateHasSelection);
    OnCommandId(ID_EDIT_PASTE, &CFormulaCtrl::OnEditPaste);
    OnUpdateId(ID_EDIT_PASTE, &CFormulaCtrl::OnUpdatePaste);
    OnCommandId(ID_EDIT_CLEAR, &CFormulaCtrl::OnEditClear);
    OnUpdateId(ID_EDIT_CLEAR, &CFormulaCtrl::OnUpdateHasSelection);
    OnCommandId(ID_EDIT_SELECT_ALL, &CFormulaCtrl::OnEditSelectAll);
    OnCommandId(ID_EDIT_UNDO, &CFormulaCtrl::OnEditUndo);
    OnUpdateId(ID_EDIT_UNDO, &CFormulaCtrl::OnUpdateUndo);
    OnCommandId(ID_EDIT_REDO, &CFormulaCtrl::OnEditRedo);
    OnUpdateId(ID_EDIT_REDO, &CFormulaCtrl::OnUpdateRedo);
    OnCommandId(ID_CHAR_BOLD, &CFormulaCtrl::OnCharBold);
    OnUpdateId(ID_CHAR_BOLD, &CFormulaCtrl::OnUpdateBold);
    OnCommandId(ID_CHAR_ITALIC, &CFormulaCtrl::OnCharItalic);
    OnUpdateId(ID_CHAR_ITALIC, &CFormulaCtrl::OnUpdateItalic);
    OnCommandId(ID_CHAR_UNDERLINE, &CFormulaCtrl::OnCharUnderline);
    OnUpdateId(ID_CHAR_UNDERLINE, &CFormulaCtrl::OnUpdateUnderline);
    OnCommandId(ID_MTF_FONT, &CFormulaCtrl::OnFont);
    OnCommandId(ID_MTF_IMPORT, &CFormulaCtrl::OnImport);
    OnCommandId(ID_MTF_EXPORT, &CFormulaCtrl::OnExport);
    OnCommandRange(ID_MTF_COLOR_FIRST, ID_MTF_COLOR_RANGE_LAST, &CFormulaCtrl::OnColor);
    OnCommandId(UINT(IDOK), &CFormulaCtrl::OnOK);
    OnCommandId(ID_MTF_EXIT, &CFormulaCtrl::OnExit);
    OnMessageId(UM_FORMAT_FONTNAME, &CFormulaCtrl::OnFontName);
    OnMessageId(UM_FORMAT_FONTSIZE, &CFormulaCtrl::OnFontSize);
    OnMessageId(UM_INSERT_TEMPLATE, &CFormulaCtrl::OnInsertTemplate);
    OnMessageId(WM_CHAR, &CFormulaCtrl::OnChar);
}

CFormulaCtrl::~CFormulaCtrl() {
    KillTimer(1);
}

const QImage& CFormulaCtrl::PaintedImage() const {
    return m_painted->image;
}

void CFormulaCtrl::Relayout(int state) {
    m_editor.Invalidate(state);
    // Something changed: the caret shows at once and blinks from there.
    m_caret.m_on = true;
    update();
}

void CFormulaCtrl::EnsureLayout() {
    if (m_editor.m_layoutState == 0)
        return;
    QImage probe(1, 1, QImage::Format_RGB32);
    CPainterDC dc(&probe);
    PrepareDC(dc);
    m_editor.RefreshLayout(&dc);
    m_caret.m_mode = m_editor.m_caretMode;
}

BOOL CFormulaCtrl::OnCmdMsg(UINT id, int code, CCmdUI* ui) {
    EnsureLayout();
    return CWnd::OnCmdMsg(id, code, ui);
}

void CFormulaCtrl::PrepareDC(CDC& dc) const {
    const CBinTree* doc = GetDocument();
    const LOGFONT font = doc ? doc->m_defaultFont : HxEditorDefaultFont();
    const COLORREF color = doc ? doc->m_color : 0;
    dc.SelectPen(HxPen{PS_SOLID, int(std::labs(long(font.lfHeight)) / 32 + 1), color});
    dc.SetTextColor(color);
    dc.SelectFont(font);
}

CRect CFormulaCtrl::PaintStatic() {
    CNode* root = m_editor.Root();
    if (!root)
        return CRect();
    QImage probe(1, 1, QImage::Format_RGB32);
    CPainterDC dc(&probe);
    PrepareDC(dc);
    root->Layout(&dc);
    root->Offset(0, 0);
    return root->m_rect;
}

// ---------------------------------------------------------------------------------------------
// Painting

void CFormulaCtrl::paintEvent(QPaintEvent*) {
    // The layout is measured with the painter's metrics, whatever the target.
    EnsureLayout();
    m_caret.m_mode = m_editor.m_caretMode;
    const CRect box = m_editor.FormulaBox();
    if (m_pOwner)
        m_pOwner->SendMessage(UM_FORMULA_SIZE, WPARAM(box.Width()), LPARAM(box.Height()));

    // The bitmap covers the client area and the formula together.
    const int w = std::max(width(), int(box.right)), h = std::max(height(), int(box.bottom));
    QImage& image = m_painted->image;
    if (image.width() != w || image.height() != h)
        image = QImage(std::max(1, w), std::max(1, h), QImage::Format_RGB32);
    const CBinTree* doc = GetDocument();
    const COLORREF back = doc ? doc->m_backColor : RGB(255, 255, 255);
    image.fill(QColor(GetRValue(back), GetGValue(back), GetBValue(back)));
    {
        CPainterDC dc(&image);
        PrepareDC(dc);
        dc.SetWindowOrg(0, 0);
        if (m_caret.m_mode == 2 && m_caret.m_show)
            dc.FillRgn(m_editor.m_region, m_caret.m_highlight);
        dc.SetBkMode(TRANSPARENT);
        if (CNode* root = m_editor.Root())
            root->Draw(&dc);
    }
    QPainter p(this);
    p.drawImage(QPoint(0, 0), image, QRect(m_origin.x, m_origin.y, width(), height()));
    // The caret inverts what lies under it, so that it shows on any colour.
    if (!m_displayOnly && m_caret.m_mode == 1 && m_caret.m_show && (m_buttonHeld || m_caret.m_on)) {
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QPen(Qt::white, 1));
        const QPoint o(m_origin.x, m_origin.y);
        const CPoint& t = m_editor.m_caretTop;
        const CPoint& b = m_editor.m_caretBottom;
        p.drawLine(QPoint(t.x, t.y) - o, QPoint(b.x, b.y - 1) - o);
        if (m_caret.m_underline && m_editor.m_lineStart != m_editor.m_lineEnd) {
            const CPoint& s = m_editor.m_lineStart;
            const CPoint& e = m_editor.m_lineEnd;
            p.drawLine(QPoint(s.x, s.y) - o, QPoint(e.x - 1, e.y) - o);
        }
    }
}

void CFormulaCtrl::OnTimer(UINT_PTR id) {
    if (id != 1 || m_buttonHeld)
        return;
    m_caret.m_on = !m_caret.m_on;
    update();
}

// ---------------------------------------------------------------------------------------------
// Keys and characters

bool CFormulaCtrl::event(QEvent* e) {
    // Every key belongs to the editor: no shortcut of the dialog or the window takes it first.
    if (e->type() == QEvent::ShortcutOverride && !m_displayOnly) {
        e->accept();
        return true;
    }
    return QWidget::event(e);
}

void CFormulaCtrl::Refuse() {
    MessageBeep(0);
    Sleep(500);
}

void CFormulaCtrl::HandleCtrlKey(int key) {
    switch (key) {
    case Qt::Key_Left:
        m_editor.CycleStyle(-1);
        break;
    case Qt::Key_Right:
        m_editor.CycleStyle(1);
        break;
    case Qt::Key_A:
        OnEditSelectAll();
        break;
    case Qt::Key_C:
        OnEditCopy();
        break;
    case Qt::Key_E:
        OnExport();
        break;
    case Qt::Key_F:
        OnFont();
        break;
    case Qt::Key_I:
        OnImport();
        break;
    case Qt::Key_P:
        ShowStyleDialog();
        RecordUndo();
        break;
    case Qt::Key_R:
        OnEditRedo();
        break;
    case Qt::Key_T:
        CopyAsText();
        break;
    case Qt::Key_V:
        OnEditPaste();
        break;
    case Qt::Key_X:
        OnEditCut();
        RecordUndo();
        break;
    case Qt::Key_Z:
        OnEditUndo();
        break;
    default:
        break;
    }
}

void CFormulaCtrl::keyPressEvent(QKeyEvent* event) {
    if (m_displayOnly) {
        event->ignore();
        return;
    }
    event->accept();
    EnsureLayout();
    if (event->modifiers() & Qt::ControlModifier) {
        HandleCtrlKey(event->key());
        Relayout(2);
        return;
    }
    int code = 0;
    switch (event->key()) {
    case Qt::Key_Home:
        code = FKEY_HOME;
        break;
    case Qt::Key_End:
        code = FKEY_END;
        break;
    case Qt::Key_Delete:
        code = FKEY_DELETE;
        break;
    case Qt::Key_Backspace:
        code = FKEY_BACK;
        break;
    case Qt::Key_Left:
        code = FKEY_LEFT;
        break;
    case Qt::Key_Right:
        code = FKEY_RIGHT;
        break;
    case Qt::Key_Up:
        code = FKEY_UP;
        break;
    case Qt::Key_Down:
        code = FKEY_DOWN;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        code = FKEY_ENTER;
        break;
    case Qt::Key_Escape:
        OnExit();
        return;
    default:
        break;
    }
    if (code) {
        if (!m_editor.HandleKey(code))
            Refuse();
        Relayout(2);
        return;
    }
    for (QChar c : event->text())
        OnChar(WPARAM(c.unicode()), 0);
}

void CFormulaCtrl::inputMethodEvent(QInputMethodEvent* event) {
    if (!m_displayOnly)
        for (QChar c : event->commitString())
            OnChar(WPARAM(c.unicode()), 0);
    event->accept();
}

LRESULT CFormulaCtrl::OnChar(WPARAM wParam, LPARAM) {
    if (m_displayOnly || m_buttonHeld || wParam < 0x20 || wParam > 0xFFFF)
        return 0;
    EnsureLayout();
    if (m_editor.TypeChar(char16_t(wParam)))
        Relayout(2);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// The mouse and the context menu

void CFormulaCtrl::mousePressEvent(QMouseEvent* event) {
    if (m_displayOnly || event->button() != Qt::LeftButton)
        return;
    m_buttonHeld = true;
    setFocus(Qt::MouseFocusReason);
    const CPoint p = FormulaPoint(event->position().toPoint());
    m_mousePoint = p;
    if (CNode* root = m_editor.Root())
        root->SetCaretFromPoint(p.x, p.y);
    Relayout(1);
}

void CFormulaCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (m_displayOnly || !(event->buttons() & Qt::LeftButton))
        return;
    const CPoint p = FormulaPoint(event->position().toPoint());
    if (CNode* root = m_editor.Root())
        root->ExtendSelectionToPoint(p.x, p.y);
    Relayout(1);
}

void CFormulaCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (m_displayOnly || event->button() != Qt::LeftButton)
        return;
    m_buttonHeld = false;
    Relayout(1);
}

QMenu* CFormulaCtrl::BuildContextMenu() {
    struct Item {
        const char16_t* text;
        UINT id;
    };
    static const Item kItems[] = {
        {u"撤消(&U)\tCtrl+Z", ID_EDIT_UNDO},
        {u"重做(&R)\tCtrl+R", ID_EDIT_REDO},
        {nullptr, 0},
        {u"字体(&F)\tCtrl+F", ID_MTF_FONT},
        {u"剪切(&T)\tCtrl+X", ID_EDIT_CUT},
        {u"复制(&C)\tCtrl+C", ID_EDIT_COPY},
        {u"粘贴(&P)\tCtrl+V", ID_EDIT_PASTE},
        {u"删除(&D)\tDelete", ID_EDIT_CLEAR},
        {nullptr, 0},
        {u"全选(&A)\tCtrl+A", ID_EDIT_SELECT_ALL},
        {nullptr, 0},
        {u"导出(&E)\tCtrl+E", ID_MTF_EXPORT},
        {u"导入(&I)\tCtrl+I", ID_MTF_IMPORT},
        {nullptr, 0},
        {u"确定(&K)", UINT(IDOK)},
        {u"退出(&X)    \tESC  Alt+F4 ", ID_MTF_EXIT},
    };
    auto* menu = new QMenu(QStringLiteral("弹出(&P)"), this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const Item& item : kItems) {
        if (!item.text) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromUtf16(item.text));
        action->setData(item.id);
        CCmdUI ui;
        ui.m_nID = item.id;
        if (HasUpdateHandler(item.id))
            OnCmdMsg(item.id, CN_UPDATE_COMMAND_UI, &ui);
        action->setEnabled(ui.m_enabled);
        const UINT id = item.id;
        connect(action, &QAction::triggered, this, [this, id] { OnCmdMsg(id, CN_COMMAND, nullptr); });
    }
    return menu;
}

void CFormulaCtrl::contextMenuEvent(QContextMenuEvent* event) {
    if (m_displayOnly)
        return;
    const QPoint at =
        event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(QPoint(5, 5)) : event->globalPos();
    BuildContextMenu()->popup(at);
}

// ---------------------------------------------------------------------------------------------
// Commands

void CFormulaCtrl::OnInsertStructure(UINT id) {
    const int code = int(id) - int(ID_MTF_STRUCT_FIRST) + 1;
    int rows = 2, columns = 2;
    if (code == 20) {
        CDlgMatrix dlg;
        dlg.m_rows = 2;
        dlg.m_columns = 2;
        if (dlg.DoModal() != IDOK)
            return;
        rows = dlg.m_rows;
        columns = dlg.m_columns;
    }
    m_editor.InsertStructure(code, rows, columns);
    Relayout(2);
}

void CFormulaCtrl::OnEditCut() {
    if (!m_editor.HasSelection())
        return;
    OnEditCopy();
    m_editor.DeleteSelection();
    Relayout(2);
}

void CFormulaCtrl::OnEditCopy() {
    if (!m_editor.HasSelection() || !GetDocument())
        return;
    CBinTree& doc = *GetDocument();
    HxClipboardOffer offer;
    offer.data.emplace_back(HxFormulaClipboardFormat(), HxFormulaClipboardBytes(m_editor.SelectionMarkup()));
    std::vector<BYTE> metafile = doc.MakeMetafile(true);
    if (!metafile.empty())
        offer.data.emplace_back(HxFormulaMetafileFormat(), std::move(metafile));
    const QImage picture = doc.RenderSelectionPicture();
    if (!picture.isNull())
        offer.picture = std::make_shared<const QImage>(picture);
    offer.hasText = true;
    offer.text = doc.GetMarkup(3);
    CClipboardBackend& clipboard = HxGetClipboard();
    if (!clipboard.Open())
        return;
    clipboard.SetOffer(offer);
    clipboard.Close();
}

void CFormulaCtrl::CopyAsText() {
    CClipboardBackend& clipboard = HxGetClipboard();
    if (!GetDocument() || !clipboard.Open())
        return;
    clipboard.SetText(m_editor.CopyText());
    clipboard.Close();
}

void CFormulaCtrl::OnEditPaste() {
    CClipboardBackend& clipboard = HxGetClipboard();
    if (!clipboard.Open())
        return;
    std::vector<BYTE> bytes;
    CString text;
    if (clipboard.IsFormatAvailable(HxFormulaClipboardFormat()) &&
        clipboard.GetData(HxFormulaClipboardFormat(), bytes))
        m_editor.PastePrivate(bytes);
    else if (clipboard.GetText(text))
        m_editor.PasteText(text);
    clipboard.Close();
    Relayout(2);
}

void CFormulaCtrl::OnEditClear() {
    if (!m_editor.HasSelection())
        return;
    m_editor.DeleteSelection();
    Relayout(2);
}

void CFormulaCtrl::OnEditSelectAll() {
    m_editor.SelectAll();
    Relayout(1);
}

void CFormulaCtrl::OnEditUndo() {
    m_editor.Undo();
    Relayout(2);
}

void CFormulaCtrl::OnEditRedo() {
    m_editor.Redo();
    Relayout(2);
}

void CFormulaCtrl::OnCharBold() {
    m_editor.ToggleBold();
    Relayout(2);
}

void CFormulaCtrl::OnCharItalic() {
    m_editor.ToggleItalic();
    Relayout(2);
}

void CFormulaCtrl::OnCharUnderline() {
    m_editor.ToggleUnderline();
    Relayout(2);
}

void CFormulaCtrl::OnFont() {
    CFontDialog dlg(&m_editor.m_font, CF_SCREENFONTS | CF_EFFECTS);
    dlg.m_color = m_editor.m_color;
    if (dlg.DoModal() != IDOK)
        return;
    m_editor.SetFontAndColor(dlg.m_lf, dlg.GetColor());
    Relayout(2);
}

void CFormulaCtrl::OnImport() {
    CFileDialog dlg(TRUE, u"mtf", u"*.mtf", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    u"Halvix Mtf file (*.mtf)|*.mtf||");
    dlg.m_strTitle = u"导入";
    if (dlg.DoModal() != IDOK)
        return;
    setFocus();
    if (!m_editor.Import(dlg.GetPathName())) {
        // The formula stays as it was; the reason is told.
        if (GetDocument() && !GetDocument()->GetLastError().IsEmpty())
            AfxMessageBox(GetDocument()->GetLastError(), MB_OK | MB_ICONWARNING);
        return;
    }
    Relayout(2);
}

void CFormulaCtrl::OnExport() {
    CFileDialog dlg(
        FALSE, u"mtf", u"*.mtf", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
        u"Halvix Mtf file (*.mtf)|*.mtf|Windows Bitmap (*.bmp)|*.bmp|Enhanced MetaFile (*.emf)|*.emf||");
    dlg.m_strTitle = u"导出";
    if (dlg.DoModal() != IDOK)
        return;
    const CString path = dlg.GetPathName();
    bool written = false;
    if (!m_editor.Export(path, &written)) {
        // The extension chooses the writer exactly; any other one writes nothing, and says so.
        AfxMessageBox(HxFormat(u"“%s”未导出：文件扩展名应为 mtf、bmp 或 emf。", path),
                      MB_OK | MB_ICONWARNING);
        return;
    }
    if (!written)
        AfxMessageBox(HxFormat(u"无法写入文件“%s”。", path), MB_OK | MB_ICONWARNING);
}

void CFormulaCtrl::OnColor(UINT id) {
    if (m_editor.SetColorIndex(int(id) - int(ID_MTF_COLOR_FIRST)))
        Relayout(2);
}

void CFormulaCtrl::OnOK() {
    if (m_pOwner)
        m_pOwner->PostMessage(UM_FORMULA_OK);
}

void CFormulaCtrl::OnExit() {
    if (m_pOwner)
        m_pOwner->PostMessage(WM_CLOSE);
}

void CFormulaCtrl::ShowStyleDialog() {
    HxNodeStyle style;
    if (!m_editor.GetNodeStyle(style))
        return;
    CDlgMtfNodeType dlg;
    dlg.m_mode = style.mode;
    if (style.mode == 0) {
        dlg.m_typeCount = CDlgMtfNodeType::kArrowTypeCount;
        dlg.m_typeIndex = style.type;
    } else {
        dlg.m_text = style.text;
    }
    if (dlg.DoModal() != IDOK)
        return;
    style.type = dlg.m_typeIndex;
    style.text = dlg.m_text;
    m_editor.ApplyNodeStyle(style);
    Relayout(2);
}

void CFormulaCtrl::OnUpdateHasCaret(CCmdUI* ui) {
    ui->Enable(m_editor.m_caretMode != 0);
}

void CFormulaCtrl::OnUpdateHasSelection(CCmdUI* ui) {
    ui->Enable(m_editor.HasSelection());
}

void CFormulaCtrl::OnUpdatePaste(CCmdUI* ui) {
    const CClipboardBackend& clipboard = HxGetClipboard();
    ui->Enable(clipboard.IsFormatAvailable(HxFormulaClipboardFormat()) || clipboard.HasText());
}

void CFormulaCtrl::OnUpdateUndo(CCmdUI* ui) {
    ui->Enable(m_editor.CanUndo());
}

void CFormulaCtrl::OnUpdateRedo(CCmdUI* ui) {
    ui->Enable(m_editor.CanRedo());
}

void CFormulaCtrl::OnUpdateBold(CCmdUI* ui) {
    ui->SetCheck(m_editor.m_font.lfWeight >= FW_BOLD ? 1 : 0);
}

void CFormulaCtrl::OnUpdateItalic(CCmdUI* ui) {
    ui->SetCheck(m_editor.m_font.lfItalic ? 1 : 0);
}

void CFormulaCtrl::OnUpdateUnderline(CCmdUI* ui) {
    ui->SetCheck(m_editor.m_font.lfUnderline ? 1 : 0);
}

// ---------------------------------------------------------------------------------------------
// Messages of the format toolbar

LRESULT CFormulaCtrl::OnFontName(WPARAM, LPARAM lParam) {
    const auto* rec = reinterpret_cast<const HxFormatFontRecord*>(lParam);
    if (!rec)
        return 0;
    m_editor.SetFace(rec->face, rec->charset);
    Relayout(2);
    return 0;
}

LRESULT CFormulaCtrl::OnFontSize(WPARAM, LPARAM lParam) {
    const auto* rec = reinterpret_cast<const HxFormatSizeRecord*>(lParam);
    if (!rec)
        return 0;
    const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    m_editor.SetSizeTwips(rec->twips, dpi);
    Relayout(2);
    return 0;
}

LRESULT CFormulaCtrl::OnInsertTemplate(WPARAM wParam, LPARAM) {
    if (wParam >= WPARAM(HX_FORMULA_TEMPLATE_COUNT))
        return 0;
    if (m_editor.InsertTemplate(int(wParam))) {
        setFocus();
        Relayout(2);
    }
    return 0;
}
