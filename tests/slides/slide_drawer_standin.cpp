// A stand-in for the slide import's drawing program, for the tests of what the window does when the
// drawing misbehaves.  Run as the drawing program is, with a mode (and its argument) first:
//   slide_drawer_standin MODE [ARG] FILE FROM TO CONVERT MILLISECONDS STORED
//   slide_drawer_standin MODE [ARG] --count FILE
// A count is the drawing program's (in modes "slow-count" after a while); the drawing, once priced
// (at nothing but its pages, or as the drawing program prices it where it reads the file), is:
//   hang           says hello, then waits for ever (unpriced)
//   crash          draws the first slide as the drawing program does, then dies by a signal
//   garbage        says hello, begins the first slide, then writes bytes of no record
//   huge-record    begins the first slide, then a record that claims 2 GB
//   huge-picture   begins the first slide, then a picture record whose fields claim a 2 GB picture
//   slow MS        draws each slide as a small picture, MS milliseconds a slide
//   slow-count MS  counts after MS milliseconds; draws each slide at once
//   late MS        says hello, then waits MS milliseconds (as it would read), then draws each slide
//                  in 400 ms
//   price KIND     hands back a price that is wrong: "negative" (a negative number of objects),
//                  "unbalanced" (causes that do not add up to the work), "pages" (a page too many),
//                  "after" (after the first slide begins) or "twice"; or past a bound: "costly"
//                  (20,001 objects) or "lesson" (a file as large as the largest lesson); then draws
//                  each slide at once
//   texts SxN      hands back S slides at once (at most those asked for), each N small editable
//                  texts, then stops itself (SIGSTOP) without saying that it finished
//   full           hands back, converted, what the import's bounds let through and just under them:
//                  the first slide holds 29 texts of 4,096 pixels a side sharing the rich text's
//                  128 MiB and 19,971 texts of a pixel, the others nothing (some 198 MB in all)
//   memory         asks for 6 GB of address space: says memory ran out when it cannot have it
//   fork-hang FILE starts a process that waits for ever and writes its id into FILE, then waits for
//                  ever itself (priced)
//   fork-done FILE the same, then draws each slide at once and ends
//   pid FILE       writes its process id into FILE, then waits for ever
//   window FILE    acts as a window: starts the drawing program as the import does, itself in mode
//                  "pid FILE", and waits for ever
#include "slides/pptx_reader.h"
#include "slides/slide_cost.h"
#include "slides/slide_deck_draw.h"
#include "slides/slide_place.h"
#include "slides/slide_records.h"
#include "view/slide_import.h"
#include "view/slide_pages.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QtEndian>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <sys/mman.h>
#include <unistd.h>

namespace {

void Write(const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(STDOUT_FILENO, p, size_t(left));
        if (n <= 0)
            std::_Exit(3);
        p += n;
        left -= n;
    }
}

[[noreturn]] void WaitForEver() {
    for (;;)
        pause();
}

QByteArray Header(quint32 type, quint32 length) {
    QByteArray header(8, '\0');
    qToLittleEndian(type, header.data());
    qToLittleEndian(length, header.data() + 4);
    return header;
}

// A price of nothing but its pages.
HxSlideImportCost PagesOnly(int pages) {
    HxSlideImportCost cost;
    cost.pages = pages;
    return cost;
}

void WritePidInto(const char* path) {
    QFile file(QString::fromLocal8Bit(path));
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray::number(qint64(getpid())));
    file.close();
}

// Each slide as a small picture, `milliseconds` a slide, then done.
int DrawSlowly(int from, int to, int milliseconds) {
    const int count = to - from + 1;
    HxSlideBox box;
    box.width = box.height = 30;
    for (int n = from; n <= to; ++n) {
        Write(HxSlideRecords::SlideBegin(n, count));
        usleep(useconds_t(milliseconds) * 1000);
        Write(HxSlideRecords::Picture(box, 8, 1, 0, 0, {0x80, 0, 0, 0}));
        HxDrawnSlide counts;
        counts.number = n;
        Write(HxSlideRecords::SlideEnd(counts));
    }
    Write(HxSlideRecords::Done());
    return 0;
}

// The drawing program's count.
int Count(const char* file) {
    Write(HxSlideRecords::Hello());
    int count = 0;
    const HxPptxError error = HxCountPptxFile(CString::FromQString(QString::fromLocal8Bit(file)), count);
    Write(error != kPptxOk ? HxSlideRecords::Refused(error) : HxSlideRecords::Count(count));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4)
        return 2;
    const QByteArray mode = argv[1];
    const bool withArgument = mode == "slow" || mode == "pid" || mode == "window" || mode == "slow-count" ||
                              mode == "late" || mode == "price" || mode == "fork-hang" ||
                              mode == "fork-done" || mode == "texts";
    const int base = withArgument ? 3 : 2;
    const char* argument = withArgument ? argv[2] : "";
    if (mode == "pid") {
        WritePidInto(argument);
        WaitForEver();
    }
    if (argc == base + 2 && std::strcmp(argv[base], "--count") == 0) {
        if (mode == "slow-count")
            usleep(useconds_t(std::atoi(argument)) * 1000);
        return Count(argv[base + 1]);
    }
    if (argc != base + 6)
        return 2;
    const int from = std::atoi(argv[base + 1]), to = std::atoi(argv[base + 2]);
    const int count = to - from + 1;

    if (mode == "window") {
        QCoreApplication application(argc, argv);
        HxSlideDrawer().program = QCoreApplication::applicationFilePath();
        HxSlideDrawer().arguments = {QStringLiteral("pid"), QString::fromLocal8Bit(argument)};
        QProcess process;
        HxStartSlideDrawer(process,
                           {QString::fromLocal8Bit(argv[base]), QString::fromLocal8Bit(argv[base + 1]),
                            QString::fromLocal8Bit(argv[base + 2]), QString::fromLocal8Bit(argv[base + 3]),
                            QString::fromLocal8Bit(argv[base + 4]), QString::fromLocal8Bit(argv[base + 5])});
        process.waitForStarted();
        WaitForEver();
    }

    Write(HxSlideRecords::Hello());
    if (mode == "late")
        usleep(useconds_t(std::atoi(argument)) * 1000);
    if (mode == "hang")
        WaitForEver();
    if (mode == "crash") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication application(argc, argv);
        HxSlideDeck deck;
        if (HxReadPptxFile(CString::FromQString(QString::fromLocal8Bit(argv[base])), deck) != kPptxOk)
            return 4;
        Write(HxSlideRecords::Price(HxSlideImportCostOf(deck, from, to, std::atoi(argv[base + 3]) == 1)));
        int begun = 0;
        HxDrawSlideDeck(deck, from, to, std::atoi(argv[base + 3]) == 1, HxSlideImportBounds(),
                        [&begun](const QByteArray& record) {
                            if (qFromLittleEndian<quint32>(record.constData()) ==
                                    HxSlideRecords::kSlideBegin &&
                                ++begun == 2)
                                raise(SIGSEGV);
                            Write(record);
                        });
        raise(SIGSEGV);
    }
    if (mode == "memory") {
        void* block =
            mmap(nullptr, size_t(6) << 30, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block == MAP_FAILED) {
            Write(HxSlideRecords::OutOfMemory());
            return 0;
        }
        Write(QByteArray(64, '\x7f')); // not a record: the limit did not hold
        return 0;
    }
    if (mode == "price") {
        const QByteArray kind = argument;
        HxSlideImportCost cost = PagesOnly(count);
        cost.items = 3;
        cost.work = 10;
        cost.workOf = {4, 3, 2, 1};
        if (kind == "negative")
            cost.items = -1;
        else if (kind == "unbalanced")
            cost.workOf[2] = 3;
        else if (kind == "pages")
            cost.pages = count + 1;
        else if (kind == "costly")
            cost.items = 20001;
        else if (kind == "lesson")
            cost.storedBytes = qint64(kHxMaxDocumentBytes);
        if (kind == "after")
            Write(HxSlideRecords::SlideBegin(from, count));
        Write(HxSlideRecords::Price(cost));
        if (kind == "twice")
            Write(HxSlideRecords::Price(cost));
        return DrawSlowly(kind == "after" ? from + 1 : from, to, 0);
    }
    Write(HxSlideRecords::Price(PagesOnly(count)));
    if (mode == "slow" || mode == "late" || mode == "slow-count")
        return DrawSlowly(from, to, mode == "slow" ? std::atoi(argument) : mode == "late" ? 400 : 0);
    if (mode == "fork-hang" || mode == "fork-done") {
        const pid_t child = fork();
        if (child == 0)
            WaitForEver();
        if (child < 0)
            return 5;
        // Written before anything more is said: the window may end it all as soon as it is told.
        QFile file(QString::fromLocal8Bit(argument));
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray::number(qint64(child)));
        file.close();
        if (mode == "fork-hang")
            WaitForEver();
        return DrawSlowly(from, to, 0);
    }
    Write(HxSlideRecords::SlideBegin(from, count));
    if (mode == "garbage") {
        QByteArray bytes(4096, '\0');
        unsigned state = 12345;
        for (char& c : bytes) {
            state = state * 214013u + 2531011u;
            c = char(state >> 16);
        }
        Write(bytes);
        return 0;
    }
    if (mode == "huge-record") {
        Write(Header(HxSlideRecords::kPicture, 0x80000000u));
        Write(QByteArray(1 << 20, '\0'));
        return 0;
    }
    if (mode == "huge-picture") {
        // A box of a point, a picture of 46,341 x 46,341 pixels, its bits said to take 2 GB.
        QByteArray fields;
        auto put32 = [&fields](quint32 v) {
            char b[4];
            qToLittleEndian(v, b);
            fields.append(b, 4);
        };
        auto put64 = [&fields](double v) {
            quint64 bits = 0;
            std::memcpy(&bits, &v, 8);
            char b[8];
            qToLittleEndian(bits, b);
            fields.append(b, 8);
        };
        for (double v : {0.0, 0.0, 1.0, 1.0})
            put64(v);
        for (quint32 v : {46341u, 46341u, 0u, 0u, 0x80000000u})
            put32(v);
        Write(Header(HxSlideRecords::kPicture, quint32(fields.size())) + fields);
        return 0;
    }
    if (mode == "texts") {
        int slides = 0, texts = 0;
        if (std::sscanf(argument, "%dx%d", &slides, &texts) != 2)
            return 2;
        HxSlideBox box;
        box.width = 90;
        box.height = 30;
        HxDrawnText text;
        text.pictureWidth = text.editorWidth = 120;
        text.pictureHeight = text.editorHeight = 40;
        text.picture.assign(size_t(4 * 4 * 40), 0x55);
        text.name = u"正方体";
        text.rtf = u"{\\rtf1\\ansi{\\fonttbl{\\f0 SimSun;}}\\f0\\fs48 \\u27491?\\u26041?\\u20307?\\par}";
        for (int n = from; n <= to && n < from + slides; ++n) {
            if (n != from)
                Write(HxSlideRecords::SlideBegin(n, count));
            QByteArray slide;
            for (int i = 0; i < texts; ++i)
                slide += HxSlideRecords::Text(box, text);
            HxDrawnSlide counts;
            counts.number = n;
            Write(slide + HxSlideRecords::SlideEnd(counts));
        }
        raise(SIGSTOP);
        WaitForEver();
    }
    if (mode == "full") {
        const HxSlideImportBounds bounds;
        auto textOf = [](double points, qsizetype units) {
            HxDrawnText text;
            text.pictureWidth = text.pictureHeight = HxSlidePixelSide(points);
            text.editorWidth = text.editorHeight = text.pictureWidth;
            text.picture.assign(size_t((text.pictureWidth + 31) / 32 * 4 * text.pictureHeight), 0x11);
            text.name = u"文本";
            text.rtf = CString(std::u16string(size_t(units), u'x'));
            return text;
        };
        HxSlideBox large, small;
        large.width = large.height = 3072; // 4,096 pixels
        small.width = small.height = 0.75; // a pixel
        const qint64 largeTexts = 29;      // 486.5 million pixels
        const HxDrawnText largeText = textOf(large.width, qsizetype(bounds.textBytes / 2 / largeTexts));
        for (int i = 0; i < largeTexts; ++i)
            Write(HxSlideRecords::Text(large, largeText));
        const QByteArray smallRecord = HxSlideRecords::Text(small, textOf(small.width, 0));
        QByteArray smallRecords;
        for (qint64 i = largeTexts; i < bounds.items; ++i)
            smallRecords += smallRecord;
        Write(smallRecords);
        for (int n = from; n <= to; ++n) {
            if (n != from)
                Write(HxSlideRecords::SlideBegin(n, count));
            HxDrawnSlide counts;
            counts.number = n;
            Write(HxSlideRecords::SlideEnd(counts));
        }
        Write(HxSlideRecords::Done());
        return 0;
    }
    return 2;
}
