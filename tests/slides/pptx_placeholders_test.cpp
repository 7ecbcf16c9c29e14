// A slide's placeholder finds the one it stands for on its layout (the first of its index, else the
// first of its family) and on its master (the first of its family; a master's indices match nothing),
// and takes its place from the layout's, else the master's, and its text styles from both.
#include "pptx_files.h"
#include "slides/pptx_reader.h"

#include <gtest/gtest.h>

#include <optional>

using namespace PptxFiles;

namespace {

// A placeholder of a layout or a master at (left, 0), 100 x 50 points, whose list style's first level
// has `attributes` and `children`.
QString Placed(int id, const QString& type, int idx, double left, const QString& attributes,
               const QString& children = QString()) {
    QString shape = Placeholder(id, type, idx, QString());
    shape.replace(QStringLiteral("<p:spPr/>"),
                  QStringLiteral("<p:spPr><a:xfrm><a:off x=\"%1\" y=\"0\"/><a:ext cx=\"%2\" cy=\"%3\"/></a:xfrm>"
                                 "</p:spPr>")
                      .arg(Emu(left))
                      .arg(Emu(100))
                      .arg(Emu(50)));
    return WithListStyle(shape, QStringLiteral("<a:lvl1pPr %1>%2</a:lvl1pPr>").arg(attributes, children));
}

// A presentation of one slide of `slide` shapes whose layout and master hold the given placeholders
// (the master keeps its text styles).
QByteArray Deck(const QString& slide, const QString& layout, const QString& master) {
    std::vector<std::pair<QString, QByteArray>> entries = Entries({slide});
    for (auto& [name, bytes] : entries) {
        if (name == QLatin1String("ppt/slideLayouts/slideLayout1.xml"))
            bytes = WithShapes(bytes, layout);
        else if (name == QLatin1String("ppt/slideMasters/slideMaster1.xml"))
            bytes = WithShapes(bytes, master);
    }
    return Zip(entries);
}

} // namespace

TEST(PptxPlaceholders, EachTakesTheFirstMatchOfItsLayoutAndOfItsMaster) {
    // Layout placeholder k lies 10 k points from the left and gives its text a margin of k points;
    // master placeholder k lies 300 + 10 k points from the left and gives a space of k points before.
    auto layout = [](int k, const char* type, int idx) {
        return Placed(10 + k, QLatin1String(type), idx, 10.0 * k, QStringLiteral("marL=\"%1\"").arg(Emu(k)));
    };
    auto master = [](int k, const char* type, int idx) {
        return Placed(20 + k, QLatin1String(type), idx, 300.0 + 10.0 * k, QString(),
                      QStringLiteral("<a:spcBef><a:spcPts val=\"%1\"/></a:spcBef>").arg(100 * k));
    };
    const QString layoutShapes = layout(1, "body", 5) + layout(2, "body", 1) +
                                 layout(3, "obj", 1) + // the index of 2 again
                                 layout(4, "title", -1) +
                                 layout(5, "ctrTitle", -1) + // a title again
                                 layout(6, "dt", 7);
    const QString masterShapes = master(1, "dt", 1) + master(2, "title", -1) +
                                 master(3, "ctrTitle", -1) + // a title again
                                 master(4, "subTitle", 1) +
                                 master(5, "body", -1) + // of the body's family again
                                 master(6, "pic", -1) + master(7, "pic", -1);
    const struct {
        const char* what;
        const char* type;
        int idx;
        int layout; // the layout's placeholder it stands for (0 none)
        int master; // the master's
    } cases[] = {
        {"an index on the layout, a family on the master", "", 1, 2, 4},
        {"an index the layout lacks: the family", "body", 3, 1, 4},
        {"a title: the first title on each", "ctrTitle", -1, 4, 2},
        {"a family on the master alone", "pic", 9, 0, 6},
        {"nothing anywhere", "sldNum", 8, 0, 0},
        {"the index of another family on the layout", "title", 5, 1, 2},
        {"an index whose family the master has under another index", "dt", 7, 6, 1},
    };
    QString slide;
    int id = 100;
    for (const auto& c : cases)
        slide += Placeholder(id++, QLatin1String(c.type), c.idx, Paragraph(TextRun(QStringLiteral("字"))));
    HxSlideDeck deck;
    ASSERT_EQ(HxReadPptx(Deck(slide, layoutShapes, masterShapes), deck), kPptxOk);
    ASSERT_EQ(deck.slides.size(), 1u);
    const std::vector<HxSlideShape>& shapes = deck.slides[0].shapes;
    ASSERT_EQ(shapes.size(), std::size(cases));
    for (size_t i = 0; i < shapes.size(); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.what);
        const HxSlideShape& shape = shapes[i];
        // The place: the layout's placeholder's, else the master's, else none.
        const double left = c.layout ? 10.0 * c.layout : c.master ? 300.0 + 10.0 * c.master : 0.0;
        const bool placed = c.layout || c.master;
        EXPECT_DOUBLE_EQ(shape.box.left, left);
        EXPECT_DOUBLE_EQ(shape.box.top, 0.0);
        EXPECT_DOUBLE_EQ(shape.box.width, placed ? 100.0 : 0.0);
        EXPECT_DOUBLE_EQ(shape.box.height, placed ? 50.0 : 0.0);
        ASSERT_EQ(shape.text.paragraphs.size(), 1u);
        EXPECT_DOUBLE_EQ(shape.text.paragraphs[0].margin, double(c.layout));
        EXPECT_DOUBLE_EQ(shape.text.paragraphs[0].spaceBefore, double(c.master));
    }
}
