// libFuzzer target for the expression parser: every input goes through the checks of
// expression_checks.h (declared variables, the check before caret positions and of the whole text,
// compilation, evaluation, markup); a broken invariant stops the run.
#include "expression_checks.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    hx_expression_checks::CheckInput(std::string_view(reinterpret_cast<const char*>(data), size),
                                     [](const char* what, const CString& text) {
                                         std::fprintf(stderr, "expression invariant broken: %s\ntext: %s\n",
                                                      what, text.ToUtf8().c_str());
                                         std::abort();
                                     });
    return 0;
}
