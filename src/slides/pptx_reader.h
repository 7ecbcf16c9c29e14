// Our own slide source: reads a ".pptx" presentation (a zip archive of XML parts) into the slides'
// text frames, tables, groups and other shapes, with their places in points; no window involved.
#pragma once

#include "platform/afx.h"

#include <QByteArray>
#include <QColor>
#include <QString>

#include <vector>

// Limits of the reader: an archive past them is refused whole, so that a damaged or hostile file
// never makes the program inflate, allocate or recurse without bound.
struct HxPptxLimits {
    static constexpr qint64 kMaxFileBytes = 512LL * 1024 * 1024; // the archive file itself
    static constexpr qint64 kMaxEntries = 20000;                 // entries in the archive
    static constexpr qint64 kMaxPartBytes = 16LL * 1024 * 1024;  // one XML part, unpacked
    static constexpr qint64 kMaxTotalBytes = 96LL * 1024 * 1024; // all parts read, unpacked
    static constexpr int kMaxSlides = 100;                       // slides read (the dialog's range)
    static constexpr int kMaxShapes = 2000;                      // shapes of one slide, nested ones too
    static constexpr int kMaxGroupDepth = 32;                    // groups within groups
    static constexpr int kMaxTableSide = 200;                    // rows or columns of a table
    static constexpr int kMaxParagraphs = 10000;                 // paragraphs of one text
    static constexpr int kMaxLevels = 9;                         // paragraph levels of a list style
    static constexpr int kMaxNumber = 32767;                     // the first number of a numbered list
    static constexpr qint64 kMaxCoordinate = 1000000000000LL;    // |EMU| of a place or size
};

// Why a file was refused (the import tells the user in words, HxPptxErrorText).
enum HxPptxError : DWORD {
    kPptxOk = 0,
    kPptxCannotOpen = 0xA0C10001,  // the file cannot be read
    kPptxOldBinary = 0xA0C10002,   // an old binary ".ppt" (a compound document, not an archive)
    kPptxNotArchive = 0xA0C10003,  // not a zip archive, or a damaged one
    kPptxMissingPart = 0xA0C10004, // a part the presentation names is not in the archive
    kPptxDamagedPart = 0xA0C10005, // a part cannot be unpacked (bad data, wrong checksum)
    kPptxBadXml = 0xA0C10006,      // a part is not well-formed XML, or holds a DTD
    kPptxPastLimits = 0xA0C10007,  // past one of HxPptxLimits
    kPptxNoSlides = 0xA0C10008,    // a presentation without slides
    kPptxBadValue = 0xA0C10009,    // a number that is not one, or out of range
    kPptxNotRegular = 0xA0C1000A,  // a folder, pipe, device or socket, not a regular file
    kPptxTooLarge = 0xA0C1000B,    // the file, one part or all parts read past their byte limits
    // The presentation lists fewer slides than the import asks for: it was saved again after its
    // slides were counted for the import's dialog (said by the drawing program, not the reader).
    kPptxFewerSlides = 0xA0C1000C,
};

// One run of text with its character format.
struct HxSlideRun {
    QString text;      // "\n" for a line break within the paragraph
    QString face;      // empty: the default face
    double points = 0; // 0: the default size
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int baseline = 0; // > 0 superscript, < 0 subscript
    bool hasColor = false;
    QRgb color = 0;
};

// A paragraph's format as the presentation resolves it through its list styles, its layout's and
// master's placeholders and text styles, and the presentation's default text style.
struct HxSlideParagraphFormat {
    int align = 0;          // 0 left, 1 centre, 2 right, 3 justified
    double margin = 0;      // the left margin of its lines, points
    double indent = 0;      // where its first line starts from the margin, points (< 0: hanging)
    double spaceBefore = 0; // points
    double spaceAfter = 0;  // points
    // The line spacing: 0 single; else a percentage of single, or points with lineSpacingPoints.
    double lineSpacing = 0;
    bool lineSpacingPoints = false;
    // The first run is the paragraph's bullet or number followed by a tab: the text after it starts
    // at the margin.
    bool bulleted = false;
};

struct HxSlideParagraph : HxSlideParagraphFormat {
    std::vector<HxSlideRun> runs;
};

// Where a text lies in its box: its distances from the box's sides (insets, points; the
// presentation's defaults when nothing states them) and where its lines sit between the top and
// bottom insets when they take less or more room than the box has.
struct HxSlideTextFrame {
    enum Anchor { kTop, kMiddle, kBottom };
    int anchor = kTop;
    double left = 7.2, top = 3.6, right = 7.2, bottom = 3.6;
};

struct HxSlideText {
    std::vector<HxSlideParagraph> paragraphs;
    double defaultPoints = 18; // the size of runs without one (titles 44)
    HxSlideTextFrame frame;
    // Whether any run holds a visible character.
    bool HasText() const;
    // The characters of the text as a rich-text document holds them: those of the runs (a line
    // break one) and one between each two paragraphs.
    qsizetype Length() const;
    // The text's first `length` characters (counted as Length counts them), the paragraphs' and
    // runs' formats kept; a character in two halves is not cut in the middle.  `cut` tells whether
    // anything was left out.
    HxSlideText Beginning(qsizetype length, bool* cut = nullptr) const;
};

// A place on the slide, in points, the top left corner first.
struct HxSlideBox {
    double left = 0, top = 0, width = 0, height = 0;
};

// The size of a presentation's slides, in points: 720 x 540 for 4:3, 960 x 540 for 16:9.
struct HxSlideSize {
    double width = 720, height = 540;
};

// One cell of a table's grid: the box and text of the cell it belongs to, so that every cell of a
// merged area tells the merged cell's box, as the presentation program tells it.
struct HxSlideCell {
    HxSlideBox box;
    HxSlideText text;
};

struct HxSlideShape {
    enum Kind {
        kText,    // a shape with a text frame (its text may be empty)
        kTable,   // a table
        kGroup,   // a group of shapes
        kPicture, // a picture
        kOle,     // an embedded object
        kOther,   // connectors, charts, diagrams, media and the rest
    };
    Kind kind = kOther;
    HxSlideBox box;
    HxSlideText text;                  // kText
    int rows = 0, columns = 0;         // kTable
    std::vector<HxSlideCell> cells;    // kTable: rows x columns, row by row
    std::vector<HxSlideShape> members; // kGroup, with their boxes on the slide
    const HxSlideCell& Cell(int row, int column) const { return cells[size_t(row * columns + column)]; }
};

struct HxSlide {
    std::vector<HxSlideShape> shapes; // in drawing order
    // A slide part the presentation lists more than once is read once: each later listing holds no
    // shapes and the index of the first listing here.
    int sameAs = -1;
};

struct HxSlideDeck {
    int slideCount = 0;               // slides the presentation lists
    std::vector<HxSlide> slides;      // the first min(slideCount, kMaxSlides) of them
    double width = 720, height = 540; // the slide size, points
    HxSlideSize Size() const { return {width, height}; }
    // Listed slide n (from 0) with its shapes, a repeated part's through its first listing.
    const HxSlide& Slide(size_t n) const {
        return slides[n].sameAs >= 0 ? slides[size_t(slides[n].sameAs)] : slides[n];
    }
};

// Reads a presentation from its bytes or its file.  The whole archive's relevant parts are read
// and checked; on refusal `deck` is left empty and the reason returned.
HxPptxError HxReadPptx(const QByteArray& bytes, HxSlideDeck& deck);
HxPptxError HxReadPptxFile(const CString& path, HxSlideDeck& deck);
// Counts the slides a presentation lists (HxSlideDeck::slideCount) reading only the package's
// relationships, the presentation part and its relationships: refused as the reading refuses a file
// whose archive, those parts or the slides listed (looked up in the archive, not opened) are amiss;
// what only the slides, layouts and masters tell is found when they are read.  0 on refusal.
HxPptxError HxCountPptx(const QByteArray& bytes, int& count);
HxPptxError HxCountPptxFile(const CString& path, int& count);

// Points from the file's English Metric Units: 12,700 to the point.
constexpr double HxEmuToPoints(qint64 emu) {
    return double(emu) / 12700.0;
}
