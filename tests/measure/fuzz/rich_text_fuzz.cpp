// libFuzzer target of the rich-text reader: arbitrary bytes read as RTF, rendered to the one-bit
// picture, written and read back (rich_text_checks.h); a broken invariant stops the run.
#include "rich_text_checks.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QGuiApplication app(*argc, *argv);
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
