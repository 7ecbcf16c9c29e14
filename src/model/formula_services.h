// What the page code uses of the formula engine: the conversion of stored formula markup.
#pragma once

#include "platform/afx.h"

// Parses a formula markup into a formula tree and writes it out again in the current markup form.
// Until the formula engine is linked, the markup passes through unchanged.
CString ConvertFormulaMarkup(CString markup);
