// CMtfDlgWindow: the formula editor dialog's toolbars, its editor, the messages between them, the
// resize rule and OK; and the window of CDlgMatrix.
#include "app/mtf_dlg_ui.h"

#include "app/color_picker.h"
#include "app/format_toolbar.h"
#include "app/formula_icons.h"
#include "app/symbol_palette.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

CString HxFormulaCommandPrompt(UINT id) {
    struct Prompt {
        UINT id;
        const char16_t* text;
    };
    static const Prompt kPrompts[] = {
        {33540, u"添加行文本编辑结构\n编辑框"},
        {33541, u"添加分式结构\n分式"},
        {33542, u"添加平方根结构\n平方根"},
        {33543, u"添加n次方根结构\n方根"},
        {33544, u"添加上标结构\n上标"},
        {33545, u"添加下标结构\n下标"},
        {33546, u"添加上下标结构\n上下标"},
        {33547, u"添加向量结构\n向量"},
        {33548, u"添加有向直线结构\n直线"},
        {33549, u"添加圆弧结构\n圆弧"},
        {33550, u"添加求和结构\n求和"},
        {33551, u"添加求积结构\n求积"},
        {33552, u"添加积分结构\n积分"},
        {33553, u"添加小括号结构\n小括号"},
        {33554, u"添加中括号结构\n中括号"},
        {33555, u"添加大括号结构\n大括号"},
        {33556, u"添加绝对值结构\n绝对值"},
        {33557, u"添加左大括号结构\n左大括号"},
        {33558, u"添加右大括号结构\n右大括号"},
        {33559, u"添加矩阵结构\n矩阵"},
        {ID_MTF_COLOR, u"为选择的结构设置颜色\n颜色"},
        {ID_MTF_SYMBOL, u"插入常用符号\n插入符号"},
        {33570, u"插入内置的常用数学公式\n内置公式"},
        {33356, u"字体\n字体"},
        {33357, u"字号\n字号"},
        {ID_CHAR_BOLD, u"粗体\n粗体"},
        {ID_CHAR_ITALIC, u"斜体\n斜体"},
        {ID_CHAR_UNDERLINE, u"下划线\n下划线"},
        {ID_EDIT_CUT, u"剪切选择的内容\n剪切"},
        {ID_EDIT_COPY, u"复制选择的内容\n复制"},
        {ID_EDIT_PASTE, u"粘贴\n粘贴"},
        {ID_EDIT_UNDO, u"撤消\n撤消"},
        {ID_EDIT_REDO, u"重做\n重做"},
        {UINT(IDOK), u"完成编辑\n确定"},
    };
    for (const Prompt& p : kPrompts)
        if (p.id == id)
            return p.text;
    return CString();
}

namespace {

// The tool tip of a command: the part of its prompt after the first newline.
QString ToolTipOf(UINT id) {
    const QString prompt = HxFormulaCommandPrompt(id).ToQString();
    const qsizetype nl = prompt.indexOf(QLatin1Char('\n'));
    return nl < 0 ? prompt : prompt.mid(nl + 1);
}

} // namespace

CMtfDlgWindow::CMtfDlgWindow(CMtfDlg& fields, QWidget* parent) : QDialog(parent), m_fields(fields) {
    setWindowTitle(QStringLiteral("MTF彩色数学格式文本编辑"));
    setObjectName(QStringLiteral("259"));
    m_editor = new CFormulaCtrl(this);
    m_editor->setObjectName(QStringLiteral("1245"));
    m_editor->SetOwner(this);
    OnMessageId(UM_FORMULA_SIZE, &CMtfDlgWindow::OnFormulaSize);
    OnMessageId(UM_INSERT_SYMBOL, &CMtfDlgWindow::OnInsertSymbol);
    for (UINT message : {UM_FORMAT_FONTNAME, UM_FORMAT_FONTSIZE, UM_INSERT_TEMPLATE, UM_FORMAT_FOCUS}) {
        m_messagesToEditor.push_back(message);
    }
    OnMessageId(UM_FORMULA_OK, &CMtfDlgWindow::OnFormulaOK);
    OnMessageId(WM_CLOSE, &CMtfDlgWindow::OnCloseMessage);
    resize(620, 314);
}

CMtfDlgWindow::~CMtfDlgWindow() {
    // The editor goes first: its document is this dialog's.
    delete m_editor;
    m_editor = nullptr;
}

LRESULT CMtfDlgWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (std::find(m_messagesToEditor.begin(), m_messagesToEditor.end(), message) != m_messagesToEditor.end())
        return OnToEditorWithFocus(message, wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}

QAction* CMtfDlgWindow::AddCommand(QToolBar* bar, UINT id) {
    QAction* action = bar->addAction(QString());
    action->setData(id);
    const QIcon icon = id >= ID_MTF_STRUCT_FIRST && id <= ID_MTF_STRUCT_LAST
                           ? HxStructureIcon(int(id - ID_MTF_STRUCT_FIRST) + 1)
                           : HxFormatToolIcon(id);
    action->setIcon(icon);
    action->setToolTip(ToolTipOf(id));
    action->setStatusTip(HxFormulaCommandPrompt(id).ToQString().section(QLatin1Char('\n'), 0, 0));
    if (id == ID_CHAR_BOLD || id == ID_CHAR_ITALIC || id == ID_CHAR_UNDERLINE)
        action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, id] {
        // A checkable button's own toggling is undone: the update handler sets its state.
        if (id == ID_MTF_COLOR)
            OnColorButton();
        else if (id == ID_MTF_SYMBOL)
            OnSymbolButton();
        else
            OnCmdMsg(id, CN_COMMAND, nullptr);
        UpdateToolbars();
    });
    return action;
}

int CMtfDlgWindow::OnInitDialog() {
    // The format toolbar (243) with its combos, and the template toolbar (245).
    m_formatBar = new CFormatToolBar(this, this);
    m_formatBar->setObjectName(QStringLiteral("格式工具栏"));
    m_formatBar->setWindowTitle(QStringLiteral("格式工具栏"));
    const UINT format[] = {IDOK,
                           0,
                           ID_FORMAT_FONTNAME,
                           ID_FORMAT_FONTSIZE,
                           ID_MTF_COLOR,
                           0,
                           ID_CHAR_BOLD,
                           ID_CHAR_ITALIC,
                           ID_CHAR_UNDERLINE,
                           0,
                           ID_MTF_SYMBOL,
                           ID_FORMAT_FORMULA,
                           0,
                           ID_EDIT_CUT,
                           ID_EDIT_COPY,
                           ID_EDIT_PASTE,
                           0,
                           ID_EDIT_UNDO,
                           ID_EDIT_REDO,
                           0,
                           IDOK};
    for (UINT id : format) {
        if (id == 0)
            m_formatBar->addSeparator();
        else if (id == ID_FORMAT_FONTNAME || id == ID_FORMAT_FONTSIZE || id == ID_FORMAT_FORMULA)
            m_formatBar->addAction(QString())->setData(id); // the combos' slots
        else
            AddCommand(m_formatBar, id);
    }
    m_formatBar->CreateCombos(true);
    // Compact buttons, so that both toolbars fit the dialog's least width.
    const QString compact =
        QStringLiteral("QToolBar { spacing: 0px; padding: 0px; } QToolButton { padding: 1px; }");
    m_formatBar->setStyleSheet(compact);

    m_templateBar = new QToolBar(this);
    m_templateBar->setObjectName(QStringLiteral("模板工具栏"));
    m_templateBar->setWindowTitle(QStringLiteral("模板工具栏"));
    m_templateBar->setIconSize(QSize(21, 20));
    m_templateBar->setMovable(false);
    m_templateBar->setStyleSheet(compact);
    const UINT templates[] = {33541, 33542, 33543, 0,     33544, 33545, 33546, 0,     33547,
                              33548, 33549, 0,     33550, 33551, 33552, 0,     33553, 33554,
                              33555, 33556, 0,     33557, 33558, 0,     33559};
    for (UINT id : templates) {
        if (id == 0)
            m_templateBar->addSeparator();
        else
            AddCommand(m_templateBar, id);
    }
    if (!m_formatBar || !m_templateBar)
        return -1;

    // The caller's colours, and the dialog's own font unless the caller keeps the document's.
    m_doc.m_color = m_fields.m_textColor;
    m_doc.m_backColor = m_fields.m_backColor;
    if (m_fields.m_fontMode < 2) {
        HxSetFaceName(m_doc.m_defaultFont, u"宋体");
        m_doc.m_defaultFont.lfCharSet = GB2312_CHARSET;
        m_doc.m_defaultFont.lfHeight = 35;
    }
    m_doc.SetMarkup(m_fields.m_markup);
    m_editor->SetDocument(&m_doc);
    m_editor->RecordUndo();
    m_editor->SetTimer(1, 500);
    m_editor->Relayout(2);
    LayoutEditor();
    m_editor->setFocus();

    m_idle = new QTimer(this);
    connect(m_idle, &QTimer::timeout, this, [this] { UpdateToolbars(); });
    m_idle->start(150);
    UpdateToolbars();
    return 0;
}

QAction* CMtfDlgWindow::ToolAction(UINT id) const {
    for (QToolBar* bar : {static_cast<QToolBar*>(m_formatBar), m_templateBar})
        if (bar)
            for (QAction* a : bar->actions())
                if (!a->isSeparator() && a->data().toUInt() == id)
                    return a;
    return nullptr;
}

void CMtfDlgWindow::UpdateToolbars() {
    for (QToolBar* bar : {static_cast<QToolBar*>(m_formatBar), m_templateBar}) {
        if (!bar)
            continue;
        for (QAction* a : bar->actions()) {
            const UINT id = a->data().toUInt();
            if (a->isSeparator() || id == 0)
                continue;
            CCmdUI ui;
            ui.m_nID = id;
            OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui);
            a->setEnabled(ui.m_enabled);
            if (a->isCheckable())
                a->setChecked(ui.m_check != 0);
        }
    }
    if (m_formatBar && m_editor) {
        // The editor's face, and its size in twentieths of a point.
        const LOGFONT& f = m_editor->Editor().m_font;
        const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
        const int twips = int(std::lround(double(f.lfHeight) * 1440.0 / dpi));
        m_formatBar->SyncFont(HxGetFaceName(f), twips);
    }
}

BOOL CMtfDlgWindow::OnCmdMsg(UINT id, int code, CCmdUI* ui) {
    if (m_editor && m_editor->OnCmdMsg(id, code, ui))
        return TRUE;
    return CWnd::OnCmdMsg(id, code, ui);
}

LRESULT CMtfDlgWindow::OnToEditorWithFocus(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_editor)
        return 0;
    if (message != UM_INSERT_TEMPLATE)
        m_editor->setFocus();
    if (message == UM_FORMAT_FOCUS)
        return 0;
    return m_editor->SendMessage(message, wParam, lParam);
}

LRESULT CMtfDlgWindow::OnInsertSymbol(WPARAM, LPARAM index) {
    if (!m_editor || index < 0 || index >= HX_FORMULA_SYMBOL_COUNT)
        return 0;
    m_editor->PostMessage(WM_CHAR, WPARAM(HxFormulaSymbol(int(index))), 1);
    return 0;
}

LRESULT CMtfDlgWindow::OnFormulaOK(WPARAM, LPARAM) {
    OnOK();
    return 0;
}

LRESULT CMtfDlgWindow::OnCloseMessage(WPARAM, LPARAM) {
    reject();
    return 0;
}

LRESULT CMtfDlgWindow::OnFormulaSize(WPARAM width, LPARAM height) {
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1920, 1080);
    // The window's place (pos(), where its frame starts) stays; the rule gives the size that
    // resize() sets, so that the window is never smaller than the least size and its right edge,
    // x() + width(), stays the margin inside the screen.
    const QPoint topLeft = pos() - area.topLeft();
    const CSize wanted =
        CMtfDlg::SizeForFormula(CSize(LONG(width), LONG(height)), CPoint(topLeft.x(), topLeft.y()),
                                CSize(area.width(), area.height()));
    const QSize size(wanted.cx, wanted.cy);
    if (size == this->size() || size == m_pendingSize)
        return 0;
    // The size changes after the paint that asked for it.
    m_pendingSize = size;
    QTimer::singleShot(0, this, [this] {
        if (m_pendingSize.isValid() && m_pendingSize != this->size())
            resize(m_pendingSize);
        m_pendingSize = QSize();
    });
    return 0;
}

void CMtfDlgWindow::LayoutEditor() {
    int top = 0;
    for (QToolBar* bar : {static_cast<QToolBar*>(m_formatBar), m_templateBar}) {
        if (!bar)
            continue;
        const QSize hint = bar->sizeHint();
        bar->setGeometry(0, top, width(), hint.height());
        top += hint.height();
    }
    // The editor keeps its left edge and top; it takes the rest of the width (less the same
    // margin on the right) and the rest of the height.
    const int left = 0;
    m_editor->setGeometry(left, top, std::max(0, width() - 2 * left), std::max(0, height() - top));
}

void CMtfDlgWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (m_editor)
        LayoutEditor();
}

void CMtfDlgWindow::OnColorButton() {
    CColorMenu menu(this);
    QWidget* button = m_formatBar ? m_formatBar->widgetForAction(ToolAction(ID_MTF_COLOR)) : nullptr;
    const QPoint at = button ? button->mapToGlobal(QPoint(0, button->height())) : QCursor::pos();
    const UINT id = menu.Track(at);
    if (id >= ID_COLOR_FIRST && id <= ID_COLOR_LAST)
        OnCmdMsg(id, CN_COMMAND, nullptr);
}

void CMtfDlgWindow::OnSymbolButton() {
    QWidget* button = m_formatBar ? m_formatBar->widgetForAction(ToolAction(ID_MTF_SYMBOL)) : nullptr;
    const QPoint at = button ? button->mapToGlobal(QPoint(0, button->height())) : QCursor::pos();
    CToolBarPopupWnd::Create(this, HxSymbolImages(), at, this);
}

void CMtfDlgWindow::OnOK() {
    m_fields.m_markup = m_doc.GetMarkup(0);
    const QPoint pos = m_editor->mapToGlobal(QPoint(0, 0));
    m_fields.m_editorLeft = pos.x();
    m_fields.m_editorTop = pos.y();
    m_fields.m_empty = m_doc.IsEmpty() != FALSE;
    accept();
}

INT_PTR HxShowMtfDialog(CMtfDlg& dlg) {
    CMtfDlgWindow window(dlg, QApplication::activeWindow());
    if (window.OnInitDialog() == -1)
        return IDCANCEL;
    if (dlg.m_openAt.x >= 0 && dlg.m_openAt.y >= 0)
        window.move(int(dlg.m_openAt.x), int(dlg.m_openAt.y));
    return window.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

// ---------------------------------------------------------------------------------------------
// The matrix size dialog

namespace {

INT_PTR RunMatrixDialog(CDialog& base) {
    auto& dlg = static_cast<CDlgMatrix&>(base);
    QDialog window(QApplication::activeWindow());
    window.setWindowTitle(QStringLiteral("矩阵"));
    auto* form = new QFormLayout(&window);
    auto* rows = new QLineEdit(QString::number(dlg.m_rows));
    rows->setObjectName(QStringLiteral("1000"));
    auto* columns = new QLineEdit(QString::number(dlg.m_columns));
    columns->setObjectName(QStringLiteral("1001"));
    form->addRow(QStringLiteral("行数"), rows);
    form->addRow(QStringLiteral("列数"), columns);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    form->addRow(buttons);
    int r = 0, c = 0;
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, [&] {
        // Each count is checked in turn; a refused one keeps the dialog open with its edit chosen.
        for (auto [edit, value] : {std::pair{rows, &r}, std::pair{columns, &c}}) {
            bool ok = false;
            *value = edit->text().trimmed().toInt(&ok);
            if (!ok || !CDlgMatrix::IsValidCount(*value)) {
                AfxMessageBox(ok ? u"请输入一个 1 到 10 之间的整数。" : u"请输入一个整数。",
                              MB_OK | MB_ICONEXCLAMATION);
                edit->setFocus();
                edit->selectAll();
                return;
            }
        }
        window.accept();
    });
    if (window.exec() != QDialog::Accepted)
        return IDCANCEL;
    dlg.m_rows = r;
    dlg.m_columns = c;
    return IDOK;
}

const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CMtfDlg),
                              [](CDialog& d) { return HxShowMtfDialog(static_cast<CMtfDlg&>(d)); });
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgMatrix), RunMatrixDialog);
    return true;
}();

} // namespace
