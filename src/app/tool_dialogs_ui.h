// The windows of the tool dialogs ("新建工具", the script view "工具脚本", "工具属性") and the
// ribbon's tool menu handed to the document's tool commands.
#pragma once

#include "app/exchange_dialog.h"
#include "document/tool_dialogs.h"

#include <QDialog>

class HxRibbonButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

// "新建工具": the name and "显示脚本视图".
class CNewToolWindow : public CHxExchangeDialog {
public:
    explicit CNewToolWindow(CDlgTool& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    CDlgTool& m_fields;
    QLineEdit* m_name;
    QCheckBox* m_showScript;
};

// "工具脚本": the comment, the inputs and the tree of steps, laid out by the view's rule.
class CToolScriptWindow : public QDialog {
public:
    explicit CToolScriptWindow(QWidget* parent = nullptr);
    void Fill(const CDlgToolView& view);
    QPlainTextEdit* Comment() const { return m_comment; }
    QListWidget* Conditions() const { return m_conditions; }
    QTreeWidget* Steps() const { return m_steps; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceControls(int width, int height);
    QPlainTextEdit* m_comment;
    QLabel* m_conditionsLabel;
    QListWidget* m_conditions;
    QLabel* m_stepsLabel;
    QTreeWidget* m_steps;
};

// "工具属性": every change goes to the document's tool at once.
class CToolOptionsWindow : public CHxExchangeDialog {
public:
    explicit CToolOptionsWindow(CDlgPropertyTool& fields, QWidget* parent = nullptr);
    void ShowFields();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CDlgPropertyTool& m_fields;
    QComboBox* m_tools;
    QComboBox* m_conditions;
    QLineEdit* m_name;
    QPlainTextEdit* m_comment;
    QLineEdit* m_conditionComment;
    QCheckBox* m_defaultColors;
    QPushButton* m_copy;
    QPushButton* m_delete;
};

// The script view's window once it has been shown, else null.
CToolScriptWindow* HxToolScriptWindow();
// The sub-items of the custom-tool button become the document's tool menu (null: none).
void HxInstallRibbonToolMenu(HxRibbonButton* button);
