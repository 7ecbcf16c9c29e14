// The windows of the document-option, weight, table, command-button, formula-label and texture
// dialogs: each shows the fields of its dialog class, keeps its controls consistent and writes the
// fields back on OK.  They are the presenters of their classes.
#pragma once

#include "app/exchange_dialog.h"
#include "document/options_dialogs.h"
#include "dynamics/button_dialogs.h"
#include "view/label_dialog.h"
#include "view/picture_commands.h"

class QButtonGroup;
class QComboBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// "文档选项": the page list, the author, the description and the two options; only "确定".
class CPageOptionsWindow : public CHxExchangeDialog {
public:
    explicit CPageOptionsWindow(CDlgPage& fields, QWidget* parent = nullptr);
    void accept() override;
    QPlainTextEdit* Description() const { return m_description; }
    QListWidget* Pages() const { return m_pages; }

private:
    CDlgPage& m_fields;
    QListWidget* m_pages;
    QPlainTextEdit* m_description;
};

// "线宽、点大小、值精度": one number, 0.000001 to 20.
class CWeightWindow : public CHxExchangeDialog {
public:
    explicit CWeightWindow(CDlgWeight& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    CDlgWeight& m_fields;
};

// "添加表格": rows and columns, 1 to 20 each.
class CTableWindow : public CHxExchangeDialog {
public:
    explicit CTableWindow(CDlgTable& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    CDlgTable& m_fields;
};

// "命令按钮": the caption, the delay, the commands offered and the sequence with its editing buttons;
// OK only while the sequence holds a command.
class CCmdBtnWindow : public CHxExchangeDialog {
public:
    explicit CCmdBtnWindow(CDlgCmdBtn& fields, QWidget* parent = nullptr);
    void accept() override;
    QListWidget* Available() const { return m_available; }
    QListWidget* Sequence() const { return m_sequence; }
    QPushButton* OkButton() const { return m_ok; }
    // A double click on the available command of that row.
    void AppendRow(int row);

private:
    // The sequence list and the buttons' states from the fields' sequence and selection.
    void Refresh();
    CDlgCmdBtn& m_fields;
    QListWidget* m_available;
    QListWidget* m_sequence;
    QPushButton* m_ok = nullptr;
};

// "标签属性" of a measurement or text line: text or formula, automatic or the user's label; the
// name shows for the user's text label, "编辑" for the user's formula label.
class CLabelMtfWindow : public CHxExchangeDialog {
public:
    explicit CLabelMtfWindow(CDlgLabelMtf& fields, QWidget* parent = nullptr);
    void accept() override;
    // The display and label-type choices applied to the fields and the visibility rule.
    void ApplyRule();

private:
    CDlgLabelMtf& m_fields;
    QButtonGroup* m_display;
    QButtonGroup* m_labelType;
};

// "更换纹理图": the texture number, the image path and the two buttons that choose it.
class CReTextextWindow : public CHxExchangeDialog {
public:
    explicit CReTextextWindow(CDlgReTextext& fields, QWidget* parent = nullptr);
    void accept() override;
    // "恢复内置图" on the texture chosen in the list.
    void RestoreBuiltIn();

private:
    CDlgReTextext& m_fields;
    QComboBox* m_texture;
};
