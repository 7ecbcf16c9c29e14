// The windows of the iteration dialogs and the trace dialog: the mappings of a new iteration built
// with the source and image lists, the properties of an iteration applied as they change, and the
// figures, range and modes of a trace.  They are the presenters of their classes.
#pragma once

#include "app/exchange_dialog.h"
#include "dynamics/iterate_dialogs.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;

class CIterateWindow : public CHxExchangeDialog {
public:
    explicit CIterateWindow(CDlgIterate& fields, QWidget* parent = nullptr);
    void accept() override;

    // The user's choices, as the controls report them.
    void ChooseSource(int row);
    void ChooseImage(int row);
    void ChooseMapping(int index);
    void AddMapping();
    void DeleteMapping();
    // The depth's up-down control: one up or down within 0..1000.
    void StepDepth(int delta);

private:
    // The table, the chosen source and image and the OK button from the fields.
    void Refresh();
    void FillMappings();

    CDlgIterate& m_fields;
    QComboBox* m_mappings;
    QComboBox* m_sources;
    QComboBox* m_images;
    QListWidget* m_table;
};

class CPropertyIterateWindow : public CHxExchangeDialog {
public:
    explicit CPropertyIterateWindow(CDlgPropertyIterate& fields, QWidget* parent = nullptr);
    void accept() override;
    // The depth typed (when it reads as 0..1000) goes into the iteration.
    void ApplyDepth();

private:
    void SyncChecks();

    CDlgPropertyIterate& m_fields;
    QListWidget* m_created;
    QCheckBox* m_showTable;
    QCheckBox* m_showFull;
    QCheckBox* m_solidOnly;
    QButtonGroup* m_colorMode;
    QString m_lastDepth;
};

class CTrackWindow : public CHxExchangeDialog {
public:
    explicit CTrackWindow(CDlgTrack& fields, QWidget* parent = nullptr);
    void accept() override;

private:
    CDlgTrack& m_fields;
    QListWidget* m_list;
    QButtonGroup* m_colorMode;
    QButtonGroup* m_displayMode;
};

INT_PTR HxShowIterateDialog(CDialog& dialog);
INT_PTR HxShowPropertyIterateDialog(CDialog& dialog);
INT_PTR HxShowTrackDialog(CDialog& dialog);
