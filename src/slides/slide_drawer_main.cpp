// The slide import's drawing program: reads a presentation, prices and draws the slides of an
// import, in a process of its own, handing back on its standard output what the window builds the
// pages of; or counts the slides a presentation lists, for the import's dialog.
//   halvix-slides FILE FROM TO CONVERT MILLISECONDS STORED
//   halvix-slides --count FILE
// CONVERT is 1 when the texts become editable; past MILLISECONDS the texts still to draw are drawn
// from short beginnings; STORED is the length of the lesson's file now.  The price comes before the
// first slide, and an import past one of the bounds is not drawn.  A presentation that now lists fewer
// slides than TO (saved again after the window counted them) is refused as changed.  It exits with 0 when it
// said all it had to say (done, priced past a bound, out of memory or the presentation refused), 2 on wrong
// arguments.
#include "slides/pptx_reader.h"
#include "slides/slide_cost.h"
#include "slides/slide_deck_draw.h"
#include "slides/slide_records.h"
#include "view/glyph_font.h"

#include <QGuiApplication>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include <unistd.h>

namespace {

// Writes a record whole to the standard output; a window that is gone ends the drawing.
void Write(const QByteArray& record) {
    const char* p = record.constData();
    qsizetype left = record.size();
    while (left > 0) {
        const ssize_t n = ::write(STDOUT_FILENO, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            std::_Exit(3);
        p += n;
        left -= n;
    }
}

bool Number(const char* text, long long low, long long high, long long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && value >= low && value <= high;
}

// The count: only what tells the number of slides is read.
int Count(const char* file) {
    Write(HxSlideRecords::Hello());
    try {
        int count = 0;
        const HxPptxError error = HxCountPptxFile(CString::FromQString(QString::fromLocal8Bit(file)), count);
        Write(error != kPptxOk ? HxSlideRecords::Refused(error) : HxSlideRecords::Count(count));
    } catch (const std::bad_alloc&) {
        Write(HxSlideRecords::OutOfMemory());
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--count") == 0)
        return Count(argv[2]);
    long long from = 0, to = 0, convert = 0, milliseconds = 0, stored = 0;
    if (argc != 7 || !Number(argv[2], 1, 100000, from) || !Number(argv[3], 1, 100000, to) ||
        !Number(argv[4], 0, 1, convert) || !Number(argv[5], 0, 1LL << 40, milliseconds) ||
        !Number(argv[6], 0, 1LL << 62, stored)) {
        std::fprintf(stderr, "usage: halvix-slides FILE FROM TO CONVERT MILLISECONDS STORED\n"
                             "       halvix-slides --count FILE\n");
        return 2;
    }
    // It draws on no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    // The faces the slides name ("宋体" and the like) are laid out in the fonts the program puts in
    // their place from the first text on: the first slide of a drawing is laid out as every other is.
    HxInstallFontSubstitutions();
    const CString path = CString::FromQString(QString::fromLocal8Bit(argv[1]));
    HxSlideImportBounds bounds;
    bounds.milliseconds = milliseconds;
    Write(HxSlideRecords::Hello());
    try {
        HxSlideDeck deck;
        const HxPptxError error = HxReadPptxFile(path, deck);
        if (error != kPptxOk) {
            Write(HxSlideRecords::Refused(error));
            return 0;
        }
        // All or nothing: an import past a bound is priced and not drawn.
        int first = int(from), last = int(to);
        HxCutSlideRange(deck, first, last);
        // The window asks for slides it counted when the file was chosen: a presentation saved again
        // since with fewer slides than the range is refused as changed, not drawn in part.
        if (last < std::max(from, to)) {
            Write(HxSlideRecords::Refused(kPptxFewerSlides));
            return 0;
        }
        const HxSlideImportCost cost = HxSlideImportCostOf(deck, first, last, convert == 1);
        Write(HxSlideRecords::Price(cost));
        if (!HxSlideRefusalOf(cost, qint64(stored), bounds).IsEmpty())
            return 0;
        HxDrawSlideDeck(deck, first, last, convert == 1, bounds, Write, qint64(stored));
    } catch (const std::bad_alloc&) {
        Write(HxSlideRecords::OutOfMemory());
    }
    return 0;
}
