// Small ".pptx" presentations written by the tests (and the fuzzer's seed tool): zip archives of the
// parts a presentation program writes, with the slides' shape trees given as XML, and damaged
// variants of them.
#pragma once

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

namespace PptxFiles {

// A zip archive of the given entries (name, bytes), deflated; `stored` keeps them uncompressed.
QByteArray Zip(const std::vector<std::pair<QString, QByteArray>>& entries, bool stored = false);

// The entries of a presentation whose slides hold the given shapes (the children of p:spTree, in
// the p:, a: and r: namespaces), listed in presentation.xml in `order` (indices into `slides`; all
// in turn when empty).  The slides use one layout with a title placeholder at (36, 20) points,
// 648 x 90, and a body placeholder whose place is on the master only, (36, 130), 648 x 360; the
// master's text styles make titles 40 points and body text 24 (text boxes keep 18); its theme names
// dk1 000000, lt1 FFFFFF, dk2 44546A and accent1 4472C4.
std::vector<std::pair<QString, QByteArray>> Entries(const std::vector<QString>& slides,
                                                    const std::vector<int>& order = {});
QByteArray Presentation(const std::vector<QString>& slides, const std::vector<int>& order = {});

// The list styles of a presentation as Entries writes it, each the children of its list style
// (a:lvl1pPr to a:lvl9pPr, a:defPPr): the master's text styles for titles, other placeholders and
// text boxes (p:txStyles; empty ones keep those above), the list styles of the master's and the
// layout's title and body placeholders, and the presentation's default text style.
struct DeckStyles {
    QString title, body, other;
    QString masterTitle, masterBody;
    QString layoutTitle, layoutBody;
    QString defaults;
    // The text body settings (the whole a:bodyPr element) of the master's and the layout's title and
    // body placeholders; empty keeps "<a:bodyPr/>".
    QString masterTitleBody, masterBodyBody, layoutTitleBody, layoutBodyBody;
};
std::vector<std::pair<QString, QByteArray>> Entries(const std::vector<QString>& slides,
                                                    const DeckStyles& styles);
QByteArray Presentation(const std::vector<QString>& slides, const DeckStyles& styles);

// A presentation's entries without the one of that name, or with its bytes replaced.
std::vector<std::pair<QString, QByteArray>> Without(std::vector<std::pair<QString, QByteArray>> entries,
                                                    const QString& name);
std::vector<std::pair<QString, QByteArray>> Replacing(std::vector<std::pair<QString, QByteArray>> entries,
                                                      const QString& name, const QByteArray& bytes);
// A layout's or master's part (as Entries writes it) with `shapes` in place of its own shapes.
QByteArray WithShapes(const QByteArray& part, const QString& shapes);

// EMU of a length in points.
inline long long Emu(double points) {
    return (long long)(points * 12700.0 + (points < 0 ? -0.5 : 0.5));
}

// Shape XML: a text box at (left, top), width x height points holding `paragraphs` (the a:p
// elements); a run; a table frame of the given grid (column widths and row heights in points) and
// rows (the a:tr elements' cells); a group; a picture.
QString TextBox(int id, double left, double top, double width, double height, const QString& paragraphs);
QString Placeholder(int id, const QString& type, int idx, const QString& paragraphs);
QString TextRun(const QString& text, const QString& properties = QString());
QString Paragraph(const QString& runs, const QString& align = QString());
// A paragraph with its own properties: the attributes and children of its a:pPr.
QString StyledParagraph(const QString& attributes, const QString& properties, const QString& runs);
// A shape (a text box or placeholder above) with its text's own list style (the children of its
// a:lstStyle).
QString WithListStyle(const QString& shape, const QString& levels);
// A shape (a text box or placeholder above) whose text body's settings are `bodyPr` (a whole
// a:bodyPr element, with its attributes and children).
QString WithBodyProperties(const QString& shape, const QString& bodyPr);
QString Table(int id, double left, double top, const std::vector<double>& widths,
              const std::vector<double>& heights, const std::vector<QString>& rows);
QString Cell(const QString& text, const QString& attributes = QString());
// A cell holding `paragraphs` (a:p elements) whose properties (a:tcPr) have `properties` as attributes.
QString CellWithProperties(const QString& paragraphs, const QString& properties);
// A table frame at (0, 0) of rows x columns cells of 10 points a side, each holding `text`.
QString SquareCellTable(int rows, int columns, const QString& text);
QString Group(int id, double left, double top, double width, double height, double childLeft, double childTop,
              double childWidth, double childHeight, const QString& members);
QString Picture(int id, double left, double top, double width, double height);

// A run of type `points` high; a letter "a" under `marks` combining acute accents.
QString SizedRun(const QString& text, double points);
QString MarkedLetter(qsizetype marks);
// `count` text boxes of width x height points, each holding `letters` letters "a" in type 6 points
// high, in rows of 40 (15 points apart, rows 9 apart), ids from `firstId`.
QString LetterBoxes(int count, int firstId, qsizetype letters, double width, double height);

// A group of `width` x `height` points holding `count` text boxes as large as it, one on the other,
// each one "W" in type `points` high, ids from 3.
QString LargeLetterGroup(int count, double points, double width, double height);
// One paragraph of `runs` runs of the letter "a" whose sizes go 1.00, 1.01, ... 47.99 points in turn
// (one unbroken word whose letters change size one by one).
QString SizeSteppingParagraph(int runs);

// One paragraph of `runs` runs of two letters each of scripts that no installed face has, each run
// at a size and style of its own (the text layout searches the fallback faces again for each).
QString FallbackRunsParagraph(int runs);

// `sections` sections of a lesson, two slides each: a title of 44 points, then a slide of a heading
// of 40 points and five bullets of 24 points, every other one with a table of two rows of three cells.
QByteArray OrdinaryDeck(int sections);

// The largest side a place or size may have: 10^12 EMU, in points.
constexpr double kLargestSide = 1.0e12 / 12700.0 - 1.0e-3;

// Writes the seed files of the fuzzer (whole presentations and damaged ones) into a folder.
int WriteSeeds(const QString& folder);

} // namespace PptxFiles
