// libFuzzer target of the rich-text reader: arbitrary bytes read as RTF, rendered to the one-bit
// picture, written and read back (rich_text_checks.h); a broken invariant stops the run.
#include "rich_text_checks.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QGuiApplication app(*argc, *argv);
    // Font look-ups fill fontconfig's caches once: do that before the first input, so that the
    // leak check of the runs sees only what an input allocates.
    hx_rich_text_checks::CheckInput(
        "{\\rtf1{\\fonttbl{\\f0\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}{\\f1 Times New Roman;}"
        "{\\f2 Arial;}}\\f0 \\'d6\\'d0\\b\\i\\f1 x\\f2 y\\u945?\\par}",
        [](const char*) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    hx_rich_text_checks::CheckInput(input, [](const char* what) {
        std::fprintf(stderr, "rich text invariant broken: %s\n", what);
        std::abort();
    });
    return 0;
}
