// The formula editing control driven by key and mouse events (offscreen), its clipboard through the
// private format, its refusal sound; the formula dialog's answers and resize rule; the format
// toolbar's size checks and recent faces; the symbol palette, the colour picker and menu; the
// node style and paragraph dialogs' conversions; the export through the program's file dialog.
#include "app/color_picker.h"
#include "app/format_para_dlg.h"
#include "app/format_toolbar.h"
#include "app/formula_ctrl.h"
#include "app/mtf_dlg_ui.h"
#include "app/node_style_dlg.h"
#include "app/symbol_palette.h"
#include "formula/box_node.h"
#include "formula/row_node.h"
#include "platform/beep.h"
#include "support/dialog_user.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

CRowNode* RowOf(CNode* box, int r) {
    auto* b = DYNAMIC_DOWNCAST(CContainerNode, box);
    return b ? DYNAMIC_DOWNCAST(CRowNode, b->GetChild(r)) : nullptr;
}

// Records what the control sends its owner.
class COwnerRecorder : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back({message, wParam, lParam});
        return 0;
    }
    bool Got(UINT message) const {
        return std::any_of(messages.begin(), messages.end(),
                           [message](const auto& m) { return m.message == message; });
    }
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Message> messages;
};

class FormulaCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        HxSetClipboardBackend(&m_clipboard);
        HxSetBeepHandler([this](UINT type) { m_beeps.push_back(type); });
        HxSetSleepHandler([this](DWORD ms) { m_sleeps.push_back(ms); });
        m_ctrl.resize(400, 200);
        m_ctrl.SetOwner(&m_owner);
        Load(HX_EMPTY_FORMULA);
        m_ctrl.show();
        m_ctrl.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_ctrl));
        m_ctrl.setFocus();
    }
    void TearDown() override {
        HxSetClipboardBackend(nullptr);
        HxSetBeepHandler(nullptr);
        HxSetSleepHandler(nullptr);
        HxSetDialogRunner(nullptr);
        HxSetMessageBoxHandler(nullptr);
    }
    void Load(const CString& markup) {
        ASSERT_TRUE(m_doc.SetMarkup(markup));
        m_ctrl.SetDocument(&m_doc);
        m_ctrl.Editor().m_undo.RemoveAll();
        m_ctrl.RecordUndo();
        Paint();
    }
    // A paint lays the formula out and computes the caret, as the window does.
    void Paint() { m_ctrl.grab(); }
    void Keys(const QString& text) {
        QTest::keyClicks(&m_ctrl, text);
        Paint();
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(&m_ctrl, key, mods);
        Paint();
    }
    CString Text() { return m_doc.GetMarkup(2); }
    QPoint RowPoint(double fraction) {
        const CRect r = m_doc.m_pRoot->m_rect;
        return QPoint(int(r.left + fraction * r.Width()), (r.top + r.bottom) / 2);
    }

    CBinTree m_doc;
    CFormulaCtrl m_ctrl;
    COwnerRecorder m_owner;
    CMemoryClipboard m_clipboard;
    std::vector<UINT> m_beeps;
    std::vector<DWORD> m_sleeps;
};

} // namespace

TEST_F(FormulaCtrlTest, TypingKeysAndTheCaretPathWithEnterAndEscInsideTheControl) {
    Keys("x+1");
    EXPECT_EQ(Text(), CString(u"x+1"));
    EXPECT_EQ(m_ctrl.Caret().m_mode, 1);
    Key(Qt::Key_Left);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Text(), CString(u"x1"));
    Key(Qt::Key_Return); // a new row, not the dialog's default button
    Keys("y");
    EXPECT_EQ(m_doc.GetRootBox()->GetChildCount(), 2);
    Key(Qt::Key_Tab); // the focus stays
    EXPECT_TRUE(m_ctrl.hasFocus());
    EXPECT_EQ(Text(), CString(u"xy1"));
    // Every paint tells the owner the formula's size.
    EXPECT_TRUE(m_owner.Got(UM_FORMULA_SIZE));
    Key(Qt::Key_Escape);
    HxPumpPostedMessages();
    EXPECT_TRUE(m_owner.Got(WM_CLOSE));
    EXPECT_TRUE(m_beeps.empty());

    // A refused key sounds and pauses half a second; nothing is recorded.
    Load(u"<#><l><e>q</e></l></#>");
    Key(Qt::Key_Home);
    const int records = m_ctrl.Editor().m_undo.Count();
    Key(Qt::Key_Backspace);
    EXPECT_EQ(m_beeps, std::vector<UINT>{0});
    EXPECT_EQ(m_sleeps, std::vector<DWORD>{500});
    EXPECT_EQ(m_ctrl.Editor().m_undo.Count(), records);
    // The caret blinks by the timer while no button is held.
    const bool on = m_ctrl.Caret().m_on;
    m_ctrl.OnTimer(1);
    EXPECT_NE(m_ctrl.Caret().m_on, on);
}

TEST_F(FormulaCtrlTest, TheMouseSelectsAcrossNodesAndTheHighlightIsPainted) {
    Load(u"<#><l><e>ab</e><f><#><l><e>1</e></l></#><#><l><e>2</e></l></#></f><e>cd</e></l></#>");
    QTest::mousePress(&m_ctrl, Qt::LeftButton, Qt::NoModifier, RowPoint(0.02));
    EXPECT_TRUE(m_ctrl.IsButtonHeld());
    QMouseEvent move(QEvent::MouseMove, QPointF(RowPoint(0.98)), QPointF(m_ctrl.mapToGlobal(RowPoint(0.98))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&m_ctrl, &move);
    QTest::mouseRelease(&m_ctrl, Qt::LeftButton, Qt::NoModifier, RowPoint(0.98));
    Paint();
    EXPECT_FALSE(m_ctrl.IsButtonHeld());
    EXPECT_EQ(m_ctrl.Caret().m_mode, 2);
    EXPECT_EQ(m_doc.GetMarkup(3), CString(u"ab1/2cd"));
    // The highlight colour fills the selection in the painted bitmap.
    const CRect box = m_ctrl.Editor().m_region.GetRgnBox();
    const QColor hl = m_ctrl.palette().color(QPalette::Highlight);
    int lit = 0;
    for (int x = box.left; x < box.right; ++x)
        lit += m_ctrl.PaintedImage().pixelColor(x, box.top + 1) == hl;
    EXPECT_GT(lit, box.Width() / 4);
    // Typing replaces the selection.
    Keys("z");
    EXPECT_EQ(Text(), CString(u"z"));
}

TEST_F(FormulaCtrlTest, CopyCutAndPasteGoThroughThePrivateFormatTextAndAPicture) {
    Keys("ab");
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_C, Qt::ControlModifier);
    std::vector<BYTE> bytes;
    ASSERT_TRUE(m_clipboard.GetData(HxFormulaClipboardFormat(), bytes));
    EXPECT_EQ(HxFormulaFromClipboardBytes(bytes), m_doc.GetMarkup(1));
    CString text;
    ASSERT_TRUE(m_clipboard.GetText(text));
    EXPECT_EQ(text, CString(u"ab"));
    EXPECT_TRUE(m_clipboard.HasBitmap());
    EXPECT_TRUE(m_clipboard.IsFormatAvailable(HxFormulaMetafileFormat()));

    // Ctrl+X records an undo step; the menu's Cut does not.
    int records = m_ctrl.Editor().m_undo.Count();
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Text(), CString(u""));
    EXPECT_EQ(m_ctrl.Editor().m_undo.Count(), records + 1);
    Key(Qt::Key_V, Qt::ControlModifier);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(), CString(u"abab"));
    Key(Qt::Key_A, Qt::ControlModifier);
    records = m_ctrl.Editor().m_undo.Count();
    m_ctrl.OnCmdMsg(ID_EDIT_CUT, CN_COMMAND, nullptr);
    EXPECT_EQ(m_ctrl.Editor().m_undo.Count(), records);
    // Undo goes to the record before the current one (the last paste's): one "ab".
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(), CString(u"ab"));

    // Plain text (two lines) when the private format is absent; Ctrl+T copies plain text.
    m_clipboard.SetText(u"p\nq");
    Key(Qt::Key_End);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(), CString(u"abpq"));
    Key(Qt::Key_T, Qt::ControlModifier);
    ASSERT_TRUE(m_clipboard.GetText(text));
    EXPECT_EQ(text, CString(u"abpq"));
    EXPECT_FALSE(m_clipboard.IsFormatAvailable(HxFormulaClipboardFormat()));
    // A clipboard that cannot be opened changes nothing.
    m_clipboard.m_openFails = true;
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(), CString(u"abpq"));
    // Keys that follow one another without a paint between them act on the selection they made.
    m_clipboard.m_openFails = false;
    m_clipboard.SetText(u"w");
    QTest::keyClick(&m_ctrl, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&m_ctrl, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(), CString(u"w"));
}

TEST_F(FormulaCtrlTest, EveryStructureCommandAndTheMenuOfTheControl) {
    int matrices = 0;
    HxSetDialogRunner([&](CDialog& d) {
        auto* m = dynamic_cast<CDlgMatrix*>(&d);
        EXPECT_NE(m, nullptr);
        EXPECT_EQ(m->m_rows, 2);
        m->m_rows = 3;
        ++matrices;
        return INT_PTR(IDOK);
    });
    for (UINT id = ID_MTF_STRUCT_FIRST; id <= ID_MTF_STRUCT_LAST; ++id) {
        Load(HX_EMPTY_FORMULA);
        CCmdUI ui;
        ui.m_nID = id;
        m_ctrl.OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui);
        EXPECT_TRUE(ui.m_enabled);
        m_ctrl.OnCmdMsg(id, CN_COMMAND, nullptr);
        Paint();
        EXPECT_FALSE(m_doc.IsEmpty() && id != ID_MTF_STRUCT_FIRST) << id;
        EXPECT_EQ(m_ctrl.Editor().m_undo.Count(), 2) << id;
    }
    EXPECT_EQ(matrices, 1);
    EXPECT_EQ(RowOf(m_doc.m_pRoot, 0)->GetChild(0)->m_kind, NK_MATRIX);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CContainerNode, RowOf(m_doc.m_pRoot, 0)->GetChild(0))->GetChildCount(), 6);

    QMenu* menu = m_ctrl.BuildContextMenu();
    QStringList texts;
    for (QAction* a : menu->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texts.join(u'|'),
              QStringLiteral("撤消(&U)\tCtrl+Z|重做(&R)\tCtrl+R|-|字体(&F)\tCtrl+F|剪切(&T)\tCtrl+X|"
                             "复制(&C)\tCtrl+C|粘贴(&P)\tCtrl+V|删除(&D)\tDelete|-|全选(&A)\tCtrl+A|-|"
                             "导出(&E)\tCtrl+E|导入(&I)\tCtrl+I|-|确定(&K)|退出(&X)    \tESC  Alt+F4 "));
    EXPECT_TRUE(menu->actions()[0]->isEnabled());  // undo: two records
    EXPECT_FALSE(menu->actions()[4]->isEnabled()); // cut: no selection
    delete menu;
}

TEST_F(FormulaCtrlTest, TheExportWritesTheFileTypeChosenAfterTheName) {
    // "f" typed as a path beside f.mtf, then "Windows Bitmap (*.bmp)" chosen: f.bmp is written as a
    // bitmap, unasked, and f.mtf is left as it was.
    Keys("x+1");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile formula(dir.filePath(QStringLiteral("f.mtf")));
    ASSERT_TRUE(formula.open(QIODevice::WriteOnly));
    formula.write("an older formula");
    formula.close();
    CDialogUser user;
    user.Type(dir.filePath(QStringLiteral("f")));
    user.ChooseType(2);
    user.Save();
    user.Start();
    Key(Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(user.Done());
    user.Stop();
    EXPECT_TRUE(user.m_questions.empty()) << user.m_questions.front().toStdString();
    QFile bitmap(dir.filePath(QStringLiteral("f.bmp")));
    ASSERT_TRUE(bitmap.open(QIODevice::ReadOnly));
    EXPECT_EQ(bitmap.read(2), QByteArray("BM"));
    ASSERT_TRUE(formula.open(QIODevice::ReadOnly));
    EXPECT_EQ(formula.readAll(), QByteArray("an older formula"));
}

TEST_F(FormulaCtrlTest, TheExportKeepsTheNameTypedAndRefusesAnExtensionOfNoType) {
    Keys("x+1");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::vector<CString> messages;
    HxSetMessageBoxHandler([&messages](const CString& text, const CString&, UINT) {
        messages.push_back(text);
        return IDOK;
    });
    auto path = [&dir](const char* name) { return dir.filePath(QString::fromUtf8(name)); };
    // The name typed as a path, with the bitmap type chosen before or after it, then 保存.
    auto exportAs = [&](const char* name, bool typeChosenFirst) {
        CDialogUser user;
        if (typeChosenFirst)
            user.ChooseType(2);
        user.Type(path(name));
        if (!typeChosenFirst)
            user.ChooseType(2);
        user.Save();
        user.Start();
        Key(Qt::Key_E, Qt::ControlModifier);
        const bool done = user.Done();
        user.Stop();
        return done && user.m_questions.empty();
    };
    auto isBitmap = [](const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) && f.read(2) == QByteArray("BM");
    };
    // The files of the folder, in the order of their names.
    auto files = [&dir] {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name).join(u'|').toStdString();
    };

    // "a.txt" with the bitmap type chosen: nothing is written, and the message says why.
    EXPECT_TRUE(exportAs("a.txt", true));
    EXPECT_EQ(messages,
              std::vector<CString>{CString::FromQString(
                  QStringLiteral("“%1”未导出：文件扩展名应为 mtf、bmp 或 emf。").arg(path("a.txt")))});
    EXPECT_EQ(files(), "");

    // "第1.2节", then the bitmap type: the whole name gets the extension.
    EXPECT_TRUE(exportAs("第1.2节", false));
    EXPECT_TRUE(isBitmap(path("第1.2节.bmp")));
    EXPECT_EQ(files(), "第1.2节.bmp");

    // ".公式", a hidden name without an extension, before or after the type: .公式.bmp, once.
    for (const bool typeChosenFirst : {false, true}) {
        SCOPED_TRACE(typeChosenFirst);
        QFile::remove(path(".公式.bmp"));
        EXPECT_TRUE(exportAs(".公式", typeChosenFirst));
        EXPECT_TRUE(isBitmap(path(".公式.bmp")));
        EXPECT_EQ(files(), ".公式.bmp|第1.2节.bmp");
    }
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(FormulaCtrlTest, IndicesFromMessagesOutsideTheirTablesAreIgnored) {
    Keys("a");
    Key(Qt::Key_A, Qt::ControlModifier);
    const CString before = m_doc.GetMarkup(0);
    const int records = m_ctrl.Editor().m_undo.Count();
    for (UINT id : {2016u, 2029u})
        m_ctrl.OnCmdMsg(id, CN_COMMAND, nullptr);
    m_ctrl.SendMessage(UM_INSERT_TEMPLATE, 28);
    m_ctrl.SendMessage(UM_INSERT_TEMPLATE, WPARAM(-1));
    m_ctrl.SendMessage(WM_CHAR, 0x1F);
    EXPECT_EQ(m_doc.GetMarkup(0), before);
    EXPECT_EQ(m_ctrl.Editor().m_undo.Count(), records);
    m_ctrl.OnCmdMsg(2000, CN_COMMAND, nullptr);
    Paint();
    EXPECT_NE(m_doc.GetMarkup(0).Find(u"color=ff"), -1);
    // The format toolbar's face and size reach the selection.
    HxFormatFontRecord font{u"Arial", 0};
    m_ctrl.SendMessage(UM_FORMAT_FONTNAME, 0, LPARAM(&font));
    HxFormatSizeRecord size{u"", 240};
    m_ctrl.SendMessage(UM_FORMAT_FONTSIZE, 0, LPARAM(&size));
    Paint();
    EXPECT_NE(m_doc.GetMarkup(0).Find(u"name=Arial"), -1);
    EXPECT_NE(m_doc.GetMarkup(0).Find(u"size=16"), -1);
}

TEST(FormulaDialog, EmptyEditorAnswersTheEmptyFormulaAndTheDialogFollowsTheFormulasSize) {
    CMtfDlg fields;
    CMtfDlgWindow window(fields);
    ASSERT_EQ(window.OnInitDialog(), 0);
    EXPECT_EQ(window.Document().m_defaultFont.lfHeight, 35);
    EXPECT_EQ(HxGetFaceName(window.Document().m_defaultFont), CString(u"宋体"));
    window.show();
    window.Editor()->grab(); // a paint tells the dialog the formula's size
    QApplication::processEvents();
    // A tiny formula gives the least size, the window's own (its frame, if any, around it).
    EXPECT_EQ(window.size(), QSize(600, 256));
    // A formula larger than the screen: the window keeps its place, its right edge stays 12 pixels
    // and its bottom 64 pixels inside the screen.
    const QRect screen = window.screen()->geometry();
    window.move(screen.left() + 100, screen.top() + 50);
    QApplication::processEvents();
    window.SendMessage(UM_FORMULA_SIZE, 3000, 2000);
    QApplication::processEvents();
    EXPECT_EQ(window.pos(), screen.topLeft() + QPoint(100, 50));
    EXPECT_EQ(window.x() + window.width(), screen.right() + 1 - 12);
    EXPECT_EQ(window.y() + window.height(), screen.bottom() + 1 - 64);
    // And small again: the least size once more.
    window.SendMessage(UM_FORMULA_SIZE, 10, 10);
    QApplication::processEvents();
    EXPECT_EQ(window.size(), QSize(600, 256));
    ASSERT_NE(window.ToolAction(ID_MTF_STRUCT_FIRST + 1), nullptr);
    EXPECT_EQ(window.ToolAction(ID_MTF_STRUCT_FIRST + 1)->toolTip(), QStringLiteral("分式"));
    window.OnOK();
    EXPECT_EQ(fields.m_markup, CString(HX_EMPTY_FORMULA));
    EXPECT_TRUE(fields.m_empty);

    // The symbol palette's index reaches the editor as a typed character; 128 is ignored.
    window.SendMessage(UM_INSERT_SYMBOL, 0, 128);
    window.SendMessage(UM_INSERT_SYMBOL, 0, 0);
    HxPumpPostedMessages();
    EXPECT_EQ(window.Document().GetMarkup(2), CString(u"α"));

    // Font mode 2 keeps the caller's default font.
    CMtfDlg keep;
    keep.m_fontMode = 2;
    keep.m_markup = u"<#><l><e>k</e></l></#>";
    CMtfDlgWindow other(keep);
    ASSERT_EQ(other.OnInitDialog(), 0);
    EXPECT_EQ(HxGetFaceName(other.Document().m_defaultFont), CString(u"Times New Roman"));
    other.OnOK();
    EXPECT_EQ(keep.m_markup, CString(u"<#><l><e>k</e></l></#>"));
    EXPECT_FALSE(keep.m_empty);

    struct Case {
        CSize formula;
        CPoint at;
        CSize expected;
    } cases[] = {{{10, 10}, {0, 0}, {600, 256}},
                 {{3000, 900}, {100, 50}, {1920 - 12 - 100, 1080 - 64 - 50}},
                 {{700, 300}, {0, 0}, {740, 420}}};
    for (const Case& c : cases) {
        const CSize s = CMtfDlg::SizeForFormula(c.formula, c.at, CSize(1920, 1080));
        EXPECT_EQ(s.cx, c.expected.cx);
        EXPECT_EQ(s.cy, c.expected.cy);
    }
    EXPECT_FALSE(CDlgMatrix::IsValidCount(0));
    EXPECT_FALSE(CDlgMatrix::IsValidCount(11));
    EXPECT_TRUE(CDlgMatrix::IsValidCount(10));
}

TEST(FormatToolbar, TypedSizesAreCheckedAndRecentFacesComeFirst) {
    struct Case {
        const char* text;
        int twips;
        const char16_t* message;
    } cases[] = {{"12", 240, nullptr},
                 {" \t12\t", 240, nullptr},
                 {"0.5", -2, u"字号必须在 1-1638 之间。"},
                 {"1638", 32760, nullptr},
                 {"1639", -2, u"字号必须在 1-1638 之间。"},
                 {"12pt", -2, u"字号必须是数字。"},
                 {"-3", -2, u"字号必须在 1-1638 之间。"},
                 {"  ", -1, nullptr}};
    for (const Case& c : cases) {
        CString message;
        EXPECT_EQ(CSizeComboBox::ParseSize(QString::fromUtf8(c.text), &message), c.twips) << c.text;
        EXPECT_EQ(message, CString(c.message ? c.message : u"")) << c.text;
    }
    CFontComboBox fonts;
    fonts.FillFontList(u"宋体", 10);
    EXPECT_EQ(fonts.RecentCount(), 8);
    EXPECT_EQ(fonts.itemText(0), QStringLiteral("宋体"));
    EXPECT_EQ(fonts.itemText(1), QStringLiteral("Times New Roman"));
    EXPECT_EQ(fonts.itemText(2), QStringLiteral("Symbol"));
    EXPECT_EQ(fonts.CharsetOf(u"宋体"), 134);
    EXPECT_EQ(fonts.CharsetOf(u"Symbol"), 2);
    fonts.AddRecent(u"Arial");
    EXPECT_EQ(fonts.itemText(0), QStringLiteral("Arial"));
    EXPECT_EQ(fonts.RecentCount(), 8);
    CFontComboBox few;
    few.FillFontList(u"宋体", 3);
    EXPECT_EQ(few.RecentCount(), 3);
    EXPECT_EQ(few.itemText(2), QStringLiteral("Symbol"));
    few.SelectFontName(u"No Such Face");
    EXPECT_EQ(few.currentIndex(), -1);
    EXPECT_TRUE(few.currentText().isEmpty());
    CSizeComboBox sizes;
    sizes.SelectSize(250); // 13 points: not in the list
    EXPECT_EQ(sizes.currentIndex(), -1);
    EXPECT_EQ(sizes.currentText(), QStringLiteral("13"));
    EXPECT_EQ(sizes.findText(QStringLiteral("20")), -1);
}

TEST(SymbolPalette, CellsOfEightColumnsAndClicksThatCloseIt) {
    COwnerRecorder owner;
    std::vector<QPixmap> images(71, QPixmap(20, 20));
    auto* palette = CToolBarPopupWnd::Create(&owner, images, QPoint(10, 10));
    EXPECT_EQ(palette->Rows(), 9);
    EXPECT_EQ(palette->CellSize(), QSize(22, 22));
    EXPECT_EQ(palette->size(), QSize(8 * 22 + 2, 9 * 22 + 2));
    EXPECT_EQ(palette->CellRect(9), QRect(QPoint(23, 23), QPoint(43, 43)));
    EXPECT_EQ(palette->IndexAt(QPoint(23, 23)), 9);
    EXPECT_EQ(palette->IndexAt(QPoint(8 * 22, 0)), -1);
    QTest::mouseMove(palette, QPoint(30, 30));
    EXPECT_EQ(palette->Hovered(), 9);
    // The empty last cell closes the palette without a message.
    QPointer<CToolBarPopupWnd> watch(palette);
    QTest::mouseClick(palette, Qt::LeftButton, Qt::NoModifier, QPoint(7 * 22 + 5, 8 * 22 + 5));
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull());
    EXPECT_TRUE(owner.messages.empty());
    palette = CToolBarPopupWnd::Create(&owner, images, QPoint(10, 10));
    QTest::mouseClick(palette, Qt::LeftButton, Qt::NoModifier, QPoint(1 + 22 * 2 + 5, 1 + 22 + 5));
    ASSERT_EQ(owner.messages.size(), 1u);
    EXPECT_EQ(owner.messages[0].message, UM_INSERT_SYMBOL);
    EXPECT_EQ(owner.messages[0].lParam, 10);
}

TEST(ColorControls, PaletteCellsPickerTextAndMenu) {
    struct Cell {
        int index;
        COLORREF color;
    } cells[] = {{0, RGB(255, 255, 255)},
                 {19 * 9, RGB(48, 48, 48)},
                 {19 * 10, RGB(23, 23, 23)},
                 {19 * 11, 0},
                 {1, RGB(0, 0, 0)},
                 {19 + 1, RGB(0, 0, 51)},
                 {2, RGB(0, 51, 0)},
                 {7, RGB(51, 0, 0)},
                 {19 * 6 + 1, RGB(153, 0, 0)},
                 {19 * 11 + 18, RGB(255, 255, 255)}};
    for (const Cell& c : cells)
        EXPECT_EQ(HxPaletteCellColor(c.index), c.color) << c.index;
    struct Hover {
        int x, y, index;
    } hovers[] = {{5, 5, 0}, {15, 5, 1}, {10, 5, -1}, {15, 20, -1}, {189, 119, 18 + 19 * 11}, {15, 125, -1}};
    for (const Hover& h : hovers)
        EXPECT_EQ(HxPaletteCellAt(h.x, h.y), h.index) << h.x << "," << h.y;
    EXPECT_EQ(CColorPicker::PalettePosition(QRect(1900, 100, 40, 20), QRect(0, 0, 1920, 1080)),
              QPoint(1920 - 191, 119));
    EXPECT_EQ(CColorPicker::PalettePosition(QRect(10, 1000, 40, 20), QRect(0, 0, 1920, 1080)),
              QPoint(10, 1019 - 150));

    CColorPicker picker;
    QLabel text;
    picker.SetBuddy(&text);
    int changes = 0;
    QObject::connect(&picker, &CColorPicker::colorChanged, [&](COLORREF) { ++changes; });
    picker.SetColor(RGB(255, 0, 16));
    EXPECT_EQ(text.text(), QStringLiteral("#FF0010"));
    picker.OpenPalette();
    ASSERT_TRUE(picker.IsPaletteOpen());
    picker.OnPaletteResult(RGB(255, 0, 16)); // the same colour: no notice
    EXPECT_FALSE(picker.IsPaletteOpen());
    EXPECT_EQ(changes, 1);
    picker.OpenPalette();
    picker.Palette()->MoveTo(picker.Palette()->mapToGlobal(QPoint(15, 5)));
    EXPECT_EQ(picker.Palette()->ShownColor(), HxPaletteCellColor(1));
    picker.Palette()->Release(picker.Palette()->mapToGlobal(QPoint(15, 5)));
    EXPECT_EQ(picker.GetColor(), HxPaletteCellColor(1));
    EXPECT_EQ(changes, 2);
    CColorPicker::ColorDialog() = [](COLORREF& c, QWidget*) {
        c = RGB(1, 2, 3);
        return true;
    };
    picker.OpenPalette();
    picker.OnPaletteMore();
    EXPECT_EQ(text.text(), QStringLiteral("#010203"));

    CColorMenu menu;
    ASSERT_EQ(menu.actions().size(), 16);
    EXPECT_EQ(menu.actions()[0]->data().toUInt(), 2000u);
    EXPECT_EQ(menu.actions()[15]->data().toUInt(), 2015u);
}

TEST(FormulaDialogs, NodeStyleTextsAndParagraphConversions) {
    EXPECT_EQ(HxSymbolTextShown(CString(u"\uF0E5a(")), CString(u"∑α("));
    EXPECT_EQ(HxSymbolTextCodes(u"∑α("), CString(u"\u00E5a("));
    EXPECT_EQ(CString(HxArrowTypeName(6)), CString(u"长等号"));

    CParaFormat pf;
    CFormatParaDlg dlg(pf);
    dlg.m_firstLine = 0.5;
    dlg.m_left = 0;
    CParaFormat out = dlg.StoreToFormat();
    EXPECT_EQ(out.offset, -282);
    EXPECT_EQ(out.startIndent, 283);
    pf.mask = PARA_LINESPACING | PARA_OFFSET | PARA_STARTINDENT;
    pf.lineSpacingRule = 5;
    pf.lineSpacing = 20;
    pf.offset = -282;
    pf.startIndent = 283;
    CFormatParaDlg back(pf);
    EXPECT_EQ(back.m_spacing, 0); // single spacing
    double value = 0;
    EXPECT_FALSE(CFormatParaDlg::SpacingValueFor(0, value));
    EXPECT_TRUE(CFormatParaDlg::SpacingValueFor(5, value));
    EXPECT_EQ(value, 3.0);
    EXPECT_NEAR(back.m_firstLine, 0.497, 0.001);
    EXPECT_NEAR(back.m_left, 0.0, 0.01); // one twip
    EXPECT_EQ(CFormatParaDlg::LeadingNumber(QStringLiteral("12 pt")), 12.0);
    EXPECT_EQ(CFormatParaDlg::LeadingNumber(QStringLiteral(" 1.5 cm")), 1.5);
    EXPECT_EQ(CFormatParaDlg::LeadingNumber(QStringLiteral("cm")), 0.0);
    // Typed texts: a number with its unit or none passes; anything else is refused, not read as 0.
    const struct {
        const char* text;
        const char* unit;
        bool ok;
        double value;
    } typed[] = {{"12 pt", "pt", true, 12.0}, {" 1.5cm ", "cm", true, 1.5}, {"-2", "cm", true, -2.0},
                 {"3 PT", "pt", true, 3.0},   {"abc", "cm", false, 0.0},    {"", "pt", false, 0.0},
                 {"1x", "cm", false, 0.0},    {"12 cm", "pt", false, 0.0},  {"1 2", "", false, 0.0},
                 {"cm", "cm", false, 0.0}};
    for (const auto& t : typed) {
        double v = 0;
        EXPECT_EQ(CFormatParaDlg::ReadNumber(QString::fromUtf8(t.text), QString::fromUtf8(t.unit), v), t.ok)
            << t.text;
        if (t.ok) {
            EXPECT_EQ(v, t.value) << t.text;
        }
    }
    bool s, t, f;
    CFormatParaDlg::NumberingControls(1, s, t, f);
    EXPECT_TRUE(!s && t && !f);
    CFormatParaDlg::NumberingControls(7, s, t, f);
    EXPECT_TRUE(!s && !t && !f);
    // Numbering with "(1)" and no offset takes the 1134-twip hanging indent.
    CFormatParaDlg num{CParaFormat()};
    num.m_numbering = 2;
    num.m_numberFormat = 1;
    num.m_numberTab = 40; // outside 0 to 30 cm: none
    out = num.StoreToFormat();
    EXPECT_EQ(out.offset, 1134);
    EXPECT_EQ(out.numberingStyle, 0x100);
    EXPECT_EQ(out.numberingTab, 0);
}
