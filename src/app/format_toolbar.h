// The character-format toolbar of the formula editor (and of the rich-text editor to come): the
// font-name combo with the recently used faces on top, the size combo with its checks of typed
// sizes, and the built-in formula combo.  The combos report to the toolbar's owner window by the
// messages UM_FORMAT_FONTNAME, UM_FORMAT_FONTSIZE, UM_FORMAT_DONE and UM_INSERT_TEMPLATE.
#pragma once

#include "platform/afx.h"

#include <QComboBox>
#include <QToolBar>

#include <map>

constexpr UINT UM_FORMAT_FONTNAME = 0x800;
constexpr UINT UM_FORMAT_FONTSIZE = 0x801;
constexpr UINT UM_FORMAT_DONE = 0x803;
constexpr UINT UM_INSERT_TEMPLATE = 0x80A;

// The slots of the combos among the toolbar's buttons.
constexpr UINT ID_FORMAT_FONTNAME = 33356;
constexpr UINT ID_FORMAT_FONTSIZE = 33357;
constexpr UINT ID_FORMAT_FORMULA = 33570;

// What UM_FORMAT_FONTNAME carries (lParam points to it): a face name and its character set.
struct HxFormatFontRecord {
    CString face;
    int charset = 0;
};
// What UM_FORMAT_FONTSIZE carries: an empty name and the height in twentieths of a point.
struct HxFormatSizeRecord {
    CString name;
    int twips = 0;
};

class CFontComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CFontComboBox(QWidget* parent = nullptr);

    // Fills the list with the installed families and the Windows faces drawn by their substitutes,
    // puts the usual faces and `selected` on top as recently used (at most `maxRecent`), and
    // selects `selected`.
    void FillFontList(const CString& selected, int maxRecent);
    // Moves a face to the top of the recently used ones and selects it; an unknown name is not
    // added.
    void AddRecent(const CString& face);
    // Selects an entry of that exact name (none: no selection and an empty text); nothing while
    // the combo has the focus.
    void SelectFontName(const CString& face);
    int RecentCount() const { return m_recentCount; }
    // The character set of a face (0 when it is not a font here).
    int CharsetOf(const CString& face) const;
    bool IsSymbolFont(const CString& face) const;
    // The face shown: the selected entry, else the typed text.
    CString CurrentFace() const;

signals:
    // Enter in the edit (the face was sent already); the editor takes the focus back, and the
    // dialog around the toolbar does not take the key as its OK.
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct FontRecord {
        int charset = 0;
        bool symbol = false;
        bool recent = false;
    };
    std::map<QString, FontRecord> m_fonts;
    int m_recentCount = 0;
    int m_maxRecent = 10;
};

class CSizeComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CSizeComboBox(QWidget* parent = nullptr);
    // Shows a size in twips as whole points ((twips + 10) / 20), selecting the matching entry or
    // showing the number; nothing while the combo has the focus.
    void SelectSize(int twips);
    // The twips of a typed size: -1 for an empty text (nothing to do), -2 when it is refused with
    // `message` ("字号必须是数字。" or "字号必须在 1-1638 之间。").
    static int ParseSize(const QString& text, CString* message);
    int m_lastTwips = 0; // the last height shown

signals:
    // Enter in the edit.
    void enterPressed();
    // The edit lost the focus.
    void editingDone();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

class CMtfFmlComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CMtfFmlComboBox(QWidget* parent = nullptr);
    // Shows "内置公式" again after a choice.
    void ResetText();
};

class CFormatToolBar : public QToolBar {
    Q_OBJECT
public:
    // The toolbar of `owner`, which gets the combos' messages.
    CFormatToolBar(CWnd* owner, QWidget* parent = nullptr);

    // Makes the combos in their slots (the actions of ids 33356, 33357 and, in the formula
    // editor, 33570): the font combo 96 pixels wide with "宋体" selected and at most 10 recent
    // faces, the size combo 52 wide with "26" selected, and the built-in formula combo 72 wide.
    void CreateCombos(bool formulaEditor);
    // Shows the editor's face and size (twips) in the combos.
    void SyncFont(const CString& face, int twips);

    CFontComboBox* FontCombo() const { return m_font; }
    CSizeComboBox* SizeCombo() const { return m_size; }
    CMtfFmlComboBox* FormulaCombo() const { return m_formula; }
    int m_lastTwips = 0; // the last size sent

private:
    void SendFont();
    void SendSize(int twips);
    void SizeTyped();

    CWnd* m_owner;
    CFontComboBox* m_font = nullptr;
    CSizeComboBox* m_size = nullptr;
    CMtfFmlComboBox* m_formula = nullptr;
};

// The sizes offered (points).
const std::vector<int>& HxFormatSizes();
