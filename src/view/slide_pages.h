// The window's side of a slide import: how the drawing of the slides ended, and the pages built of
// what it handed back, with what is said after them.
#pragma once

#include "slides/slide_records.h"

#include <QElapsedTimer>
#include <QStringList>

#include <functional>

class CHalvixDoc;
class QProcess;

// Starts the drawing program (HxSlideDrawer's, with its arguments first) in `process` with the
// import's arguments (the file, the first and last slide, 1 to convert or 0, the milliseconds past
// which texts are drawn from short beginnings, the length of the lesson's file), or a count's
// ("--count" and the file): on no screen, with the window's font resolution, its address space
// bounded, in a process group of its own, and ending with the window however the window ends.  The
// process id (its group's), or 0 when it could not be started.
qint64 HxStartSlideDrawer(QProcess& process, const QStringList& importArguments);
// Ends the drawing program started so, and every process it started (its group), whatever they do.
void HxEndSlideDrawer(QProcess& process, qint64 group);

// How the drawing of an import's slides ended.
enum class HxSlideDrawingEnd {
    kWhole,       // every slide came back whole
    kTimeUp,      // the import's time ran out: the slides that came back whole keep their pages
    kCancelled,   // the user pressed 取消
    kNotStarted,  // the drawing program could not be started
    kCrashed,     // it ended without finishing: a signal, an exit, or output that stopped
    kFaulty,      // it handed back a malformed record, or one past the import's bounds
    kOutOfMemory, // it ran out of memory
    kRefused,     // it could not read the presentation (the reader's refusal)
    kTooCostly,   // its price passes one of the import's bounds (the reader's price refusal)
    kNoMemory,    // memory ran out in this process while what it handed back was read
};

// The time building a slide's page takes here, estimated from what its records hold (objects, rich
// text and pixels) with room for a loaded machine, in microseconds: the drawing stops early enough
// that the pages of the slides handed back can be built within the import's time.
qint64 HxSlideBuildMicroseconds(const HxDrawnSlide& slide);
qint64 HxSlideBuildMicroseconds(const HxDrawnShape& shape);
// What the end of an import keeps of its time after the last page is built: the last page taken
// back, the message put together and shown.
constexpr qint64 kSlideMessageMilliseconds = 100;

// When an import's pages must be built by: `milliseconds` after `started` (the dialog's OK), less
// kSlideMessageMilliseconds.  Without `started`, the pages are built whatever the time.
struct HxSlideBuildDeadline {
    const QElapsedTimer* started = nullptr;
    qint64 milliseconds = 0;
};

// g_slideDrawerMissing with the drawing program's name (HxSlideDrawer's, else g_slideDrawerName).
CString HxSlideDrawerMissingText();

// The length a save of the document would write now (what an import's price is refused with); 0
// when it cannot be counted (the save would say why).
qint64 HxStoredLengthOf(CHalvixDoc& doc);

// Ends an import of the slides from..to of the presentation at `path` whose drawing ended so, with
// what `reader` read of it: builds the pages of the slides that came back whole when the drawing
// ended whole or its time ran out (`seconds` the import's time), says what it left out and why
// (`softSeconds` the time past which the drawing drew short beginnings), and changes nothing otherwise
// (every end but 取消 says why).  The pages are built by `deadline`: the clock is looked at before each
// page and each shape, and when the next would pass it the page being built is taken back and the
// slides not built are named with those not drawn (g_slideTimeUp, or g_slideTimeUpNothing when none
// was built).  Memory running out while the pages are built takes back every page made and says
// g_slideOutOfMemory: the lesson is as it was.  False when it made no page.
bool HxFinishSlideImport(CHalvixDoc* doc, const CString& path, int from, int to, HxSlideDrawingEnd end,
                         HxSlideRecordReader& reader, const std::function<void()>& afterNewPage, int seconds,
                         int softSeconds, const HxSlideBuildDeadline& deadline = HxSlideBuildDeadline());
