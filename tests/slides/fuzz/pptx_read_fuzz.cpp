// libFuzzer target of the slide source: arbitrary bytes read as a ".pptx" archive and the import's
// reading steps run on what it gives (pptx_checks.h); a broken invariant stops the run.
#include "pptx_checks.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QGuiApplication app(*argc, *argv);
    // Fill fontconfig's caches before the first input, so that the leak check sees only what an
    // input allocates.
    HxSlideText text;
    text.paragraphs.resize(1);
    text.paragraphs[0].runs.push_back({QStringLiteral("正方体 x"), QString(), 18, true});
    HxSlideShape shape;
    shape.kind = HxSlideShape::kText;
    shape.box = {0, 0, 100, 40};
    shape.text = text;
    hx_pptx_checks::Drawing drawing;
    hx_pptx_checks::CheckShape(shape, 0, drawing, [](const char*) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    hx_pptx_checks::CheckInput(input, [](const char* what) {
        std::fprintf(stderr, "slide source invariant broken: %s\n", what);
        std::abort();
    });
    return 0;
}
