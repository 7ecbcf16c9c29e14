// The editor's built-in formula templates, by number.
#pragma once

#include "platform/cstring.h"

constexpr int HX_FORMULA_TEMPLATE_COUNT = 28;

// The markup of template `index`; empty for a number outside 0..27 (such numbers are ignored).
CString GetFormulaTemplate(int index);
