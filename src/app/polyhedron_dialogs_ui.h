// The windows of the hull, net and cut dialogs: each shows the fields of its dialog class, applies
// the opening rules (title, which controls can be changed) and writes the fields back on OK once every
// number reads.  They are the presenters of their classes.
#pragma once

#include "app/exchange_dialog.h"
#include "solids/polyhedron_dialogs.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;

// The label, hidden check box and style radio buttons the three windows share.
class CPolyhedronWindowBase : public CHxExchangeDialog {
public:
    using CHxExchangeDialog::CHxExchangeDialog;
    QButtonGroup* StyleGroup() const { return m_style; }

protected:
    // Adds the controls under the layout and fills them.
    void AddCommonControls(QBoxLayout* layout, const CString& label, int style, BOOL hidden);
    void ReadCommonControls(CString& label, int& style, BOOL& hidden) const;

    QButtonGroup* m_style = nullptr;
    QCheckBox* m_hidden = nullptr;
};

class CPolyhedronWindow : public CPolyhedronWindowBase {
public:
    explicit CPolyhedronWindow(CDlgPolyhedron& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    CDlgPolyhedron& m_fields;
    QComboBox* m_vertexSet;
};

class CFoldWindow : public CPolyhedronWindowBase {
public:
    explicit CFoldWindow(CDlgFold& fields, QWidget* parent = nullptr);
    void accept() override;
    QButtonGroup* UnfoldGroup() const { return m_unfold; }

private:
    CDlgFold& m_fields;
    QButtonGroup* m_unfold;
};

class CSplitWindow : public CPolyhedronWindowBase {
public:
    explicit CSplitWindow(CDlgSplit& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    CDlgSplit& m_fields;
};

// The presenters: run the window modally over the active window; IDOK or IDCANCEL.
INT_PTR HxShowPolyhedronDialog(CDialog& dialog);
INT_PTR HxShowFoldDialog(CDialog& dialog);
INT_PTR HxShowSplitDialog(CDialog& dialog);
