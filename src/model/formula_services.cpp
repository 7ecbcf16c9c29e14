// Stand-in for the formula engine's markup conversion, weak so that the engine's own definition
// replaces it when it is linked.
#include "model/formula_services.h"

__attribute__((weak)) CString ConvertFormulaMarkup(CString markup) {
    return markup;
}
