// CMtfDlg and CDlgMatrix: run-time classes and the dialog's size rule.
#include "formula/mtf_dialogs.h"

IMPLEMENT_DYNAMIC(CMtfDlg, CDialog)
IMPLEMENT_DYNAMIC(CDlgMatrix, CDialog)

CSize CMtfDlg::SizeForFormula(CSize formula, CPoint topLeft, CSize screen) {
    long long w = (long long)formula.cx + 40;
    long long h = (long long)formula.cy + 120;
    w = std::min<long long>(w, (long long)screen.cx - 12 - topLeft.x);
    h = std::min<long long>(h, (long long)screen.cy - 64 - topLeft.y);
    w = std::max<long long>(w, 600);
    h = std::max<long long>(h, 256);
    return CSize(LONG(std::min<long long>(w, 1 << 20)), LONG(std::min<long long>(h, 1 << 20)));
}
