// The windows of the tool dialogs: "新建工具", the modeless script view "工具脚本" and "工具属性",
// and the tool menu of the ribbon's custom-tool button as the document's tool commands see it.
#include "app/tool_dialogs_ui.h"

#include "app/dialog_window.h"
#include "app/object_icons.h"
#include "app/ribbon_elements.h"
#include "app/ribbon_icons.h"
#include "document/tool_commands.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using HxDialogUi::Text;

QIcon StepIcon(int icon) {
    return icon == CDlgToolView::kRootIcon ? HxRibbonIcon(QStringLiteral("custom-tool")) : HxObjectIcon(icon);
}

void AddSteps(QTreeWidgetItem* parent, const CDlgToolView::CStep& step) {
    auto* item = new QTreeWidgetItem(parent, QStringList(step.m_text.ToQString()));
    item->setIcon(0, StepIcon(step.m_icon));
    for (const CDlgToolView::CStep& below : step.m_parents)
        AddSteps(item, below);
}

// The script view's one window, made on first use with the main window as its parent.
QPointer<CToolScriptWindow> g_scriptWindow;

const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgTool), [](CDialog& dialog) -> INT_PTR {
        auto* fields = dynamic_cast<CDlgTool*>(&dialog);
        if (!fields)
            return IDCANCEL;
        CNewToolWindow window(*fields, QApplication::activeWindow());
        return window.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
    });
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgPropertyTool), [](CDialog& dialog) -> INT_PTR {
        auto* fields = dynamic_cast<CDlgPropertyTool*>(&dialog);
        if (!fields)
            return IDCANCEL;
        CToolOptionsWindow window(*fields, QApplication::activeWindow());
        return window.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
    });
    CDlgToolView::SetWindow([](CDlgToolView& view, CDlgToolView::Action action) {
        if (action == CDlgToolView::Action::Destroy) {
            delete g_scriptWindow.data();
            return;
        }
        if (action == CDlgToolView::Action::Hide) {
            if (g_scriptWindow)
                g_scriptWindow->hide();
            return;
        }
        if (!g_scriptWindow)
            g_scriptWindow = new CToolScriptWindow(dynamic_cast<QWidget*>(AfxGetMainWnd()));
        g_scriptWindow->Fill(view);
        g_scriptWindow->show();
        g_scriptWindow->raise();
    });
    return true;
}();

} // namespace

CToolScriptWindow* HxToolScriptWindow() {
    return g_scriptWindow.data();
}

// ---------------------------------------------------------------------------------------------
// "新建工具"

CNewToolWindow::CNewToolWindow(CDlgTool& fields, QWidget* parent)
    : CHxExchangeDialog(u"新建工具", parent), m_fields(fields) {
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(Text(u"工具名称："), this));
    m_name = Add(CDlgTool::kName, new QLineEdit(fields.m_name.ToQString(), this));
    m_name->selectAll();
    row->addWidget(m_name, 1);
    layout->addLayout(row);
    m_showScript = Add(CDlgTool::kShowScript, new QCheckBox(Text(u"显示脚本视图"), this));
    m_showScript->setChecked(fields.m_showScript != FALSE);
    layout->addWidget(m_showScript);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = Add(IDOK, new QPushButton(Text(u"确定"), this));
    ok->setDefault(true);
    auto* cancel = Add(IDCANCEL, new QPushButton(Text(u"取消"), this));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

void CNewToolWindow::accept() {
    m_fields.m_name = CString::FromQString(m_name->text());
    m_fields.m_showScript = m_showScript->isChecked() ? TRUE : FALSE;
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// "工具脚本"

CToolScriptWindow::CToolScriptWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ToolScriptView"));
    setWindowTitle(Text(u"工具脚本"));
    setModal(false);
    m_comment = new QPlainTextEdit(this);
    m_comment->setObjectName(QStringLiteral("1000"));
    m_comment->setReadOnly(true);
    m_conditionsLabel = new QLabel(Text(u"先决条件："), this);
    m_conditions = new QListWidget(this);
    m_conditions->setObjectName(QStringLiteral("1115"));
    m_stepsLabel = new QLabel(Text(u"生成步骤："), this);
    m_steps = new QTreeWidget(this);
    m_steps->setObjectName(QStringLiteral("1100"));
    m_steps->setHeaderHidden(true);
    m_steps->setIconSize(QSize(16, 18));
    resize(320, 460);
    PlaceControls(width(), height());
}

void CToolScriptWindow::Fill(const CDlgToolView& view) {
    setWindowTitle(view.m_title.ToQString());
    m_comment->setPlainText(view.m_comment.ToQString());
    m_conditions->clear();
    for (const CString& line : view.m_conditions)
        m_conditions->addItem(line.ToQString());
    m_steps->clear();
    auto* root = new QTreeWidgetItem(m_steps, QStringList(view.m_root.m_text.ToQString()));
    root->setIcon(0, StepIcon(view.m_root.m_icon));
    for (const CDlgToolView::CStep& step : view.m_root.m_parents)
        AddSteps(root, step);
    root->setExpanded(true);
}

void CToolScriptWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    PlaceControls(event->size().width(), event->size().height());
}

void CToolScriptWindow::PlaceControls(int width, int height) {
    int comment[4], conditions[4], steps[4];
    CDlgToolView::Layout(width, height, comment, conditions, steps);
    m_comment->setGeometry(comment[0], comment[1], comment[2], comment[3]);
    m_conditionsLabel->setGeometry(conditions[0], conditions[1] - 20, conditions[2], 18);
    m_conditions->setGeometry(conditions[0], conditions[1], conditions[2], conditions[3]);
    m_stepsLabel->setGeometry(steps[0], steps[1] - 20, steps[2], 18);
    m_steps->setGeometry(steps[0], steps[1], steps[2], steps[3]);
}

// ---------------------------------------------------------------------------------------------
// "工具属性"

CToolOptionsWindow::CToolOptionsWindow(CDlgPropertyTool& fields, QWidget* parent)
    : CHxExchangeDialog(u"工具属性", parent), m_fields(fields) {
    using D = CDlgPropertyTool;
    auto* grid = new QGridLayout(this);
    m_tools = Add(D::kTools, new QComboBox(this));
    m_conditions = Add(D::kConditions, new QComboBox(this));
    m_name = Add(D::kName, new QLineEdit(this));
    m_comment = Add(D::kComment, new QPlainTextEdit(this));
    m_conditionComment = Add(D::kConditionComment, new QLineEdit(this));
    m_defaultColors = Add(D::kDefaultColors, new QCheckBox(Text(u"自动使用默认颜色"), this));
    m_copy = Add(D::kCopy, new QPushButton(this));
    m_delete = Add(D::kDelete, new QPushButton(Text(u"删除工具"), this));
    auto* ok = Add(IDOK, new QPushButton(Text(u"确定"), this));
    ok->setDefault(true);
    int row = 0;
    grid->addWidget(new QLabel(Text(u"文档中的工具："), this), row, 0);
    grid->addWidget(m_tools, row++, 1, 1, 2);
    grid->addWidget(new QLabel(Text(u"工具名称："), this), row, 0);
    grid->addWidget(m_name, row++, 1, 1, 2);
    grid->addWidget(new QLabel(Text(u"工具注释："), this), row, 0, Qt::AlignTop);
    grid->addWidget(m_comment, row++, 1, 1, 2);
    grid->addWidget(new QLabel(Text(u"先决条件："), this), row, 0);
    grid->addWidget(m_conditions, row++, 1, 1, 2);
    grid->addWidget(new QLabel(Text(u"条件注释："), this), row, 0);
    grid->addWidget(m_conditionComment, row++, 1, 1, 2);
    grid->addWidget(m_defaultColors, row++, 1, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_copy);
    buttons->addWidget(m_delete);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    grid->addLayout(buttons, row, 0, 1, 3);

    ShowFields();
    connect(m_tools, &QComboBox::activated, this, [this](int index) {
        m_fields.ChooseTool(index);
        ShowFields();
    });
    connect(m_conditions, &QComboBox::activated, this, [this](int index) {
        m_fields.ChooseCondition(index);
        const QSignalBlocker block(m_conditionComment);
        m_conditionComment->setText(m_fields.m_conditionComment.ToQString());
    });
    connect(m_name, &QLineEdit::editingFinished, this, [this] {
        m_fields.SetName(CString::FromQString(m_name->text()));
        if (m_fields.m_toolRow >= 0 && m_fields.m_toolRow < m_tools->count())
            m_tools->setItemText(m_fields.m_toolRow, m_name->text());
    });
    m_comment->installEventFilter(this);
    connect(m_conditionComment, &QLineEdit::editingFinished, this,
            [this] { m_fields.SetConditionComment(CString::FromQString(m_conditionComment->text())); });
    connect(m_defaultColors, &QCheckBox::clicked, this,
            [this](bool on) { m_fields.SetDefaultColors(on ? TRUE : FALSE); });
    connect(m_copy, &QPushButton::clicked, this, [this] {
        m_fields.OnCopy();
        ShowFields();
    });
    connect(m_delete, &QPushButton::clicked, this, [this] {
        m_fields.OnDelete();
        ShowFields();
    });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

bool CToolOptionsWindow::eventFilter(QObject* watched, QEvent* event) {
    // Leaving the comment edit stores the comment.
    if (watched == m_comment && event->type() == QEvent::FocusOut && m_fields.m_pTool)
        m_fields.SetComment(CString::FromQString(m_comment->toPlainText()));
    return CHxExchangeDialog::eventFilter(watched, event);
}

void CToolOptionsWindow::ShowFields() {
    const QSignalBlocker blockTools(m_tools);
    const QSignalBlocker blockConditions(m_conditions);
    m_tools->clear();
    for (const CString& name : m_fields.m_toolNames)
        m_tools->addItem(name.ToQString());
    m_tools->setCurrentIndex(m_fields.m_toolRow);
    m_conditions->clear();
    for (const CString& text : m_fields.m_conditionTexts)
        m_conditions->addItem(text.ToQString());
    m_conditions->setCurrentIndex(m_fields.m_conditionRow);
    m_name->setText(m_fields.m_name.ToQString());
    m_comment->setPlainText(m_fields.m_comment.ToQString());
    m_conditionComment->setText(m_fields.m_conditionComment.ToQString());
    m_defaultColors->setChecked(m_fields.m_useDefaultColors != FALSE);
    m_copy->setText(m_fields.m_copyText.ToQString());
    m_delete->setEnabled(m_fields.m_pTool != nullptr);
    if (m_fields.m_focusComment) {
        m_fields.m_focusComment = false;
        m_comment->setFocus();
        m_comment->selectAll();
    }
}

// ---------------------------------------------------------------------------------------------
// The tool menu of the ribbon

namespace {

class CRibbonToolMenu : public HxToolMenu {
public:
    explicit CRibbonToolMenu(HxRibbonButton* button) : m_button(button) {}
    int GetCount() const override { return m_button->GetSubItemCount(); }
    void InsertLabel(int index, const CString& text) override {
        m_button->AddSubItem(new HxRibbonLabel(text), index);
    }
    void InsertButton(int index, UINT id, const CString& text, const CString& description) override {
        auto* button = new HxRibbonButton(id, text);
        button->SetToolTipText(text);
        button->SetDescription(description);
        m_button->AddSubItem(button, index);
    }
    void RemoveItem(int index) override { m_button->RemoveSubItem(index); }
    void SetItemText(int index, const CString& text) override {
        if (HxRibbonBaseElement* item = m_button->GetSubItem(index)) {
            item->SetText(text);
            item->SetToolTipText(text);
        }
    }
    void SetItemDescription(int index, const CString& description) override {
        if (HxRibbonBaseElement* item = m_button->GetSubItem(index))
            item->SetDescription(description);
    }

private:
    HxRibbonButton* m_button;
};

std::unique_ptr<CRibbonToolMenu> g_ribbonToolMenu;

} // namespace

void HxInstallRibbonToolMenu(HxRibbonButton* button) {
    g_pToolMenu = nullptr;
    g_ribbonToolMenu.reset(button ? new CRibbonToolMenu(button) : nullptr);
    g_pToolMenu = g_ribbonToolMenu.get();
}
