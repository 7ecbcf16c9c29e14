// Slides keep their bullets, numbers and inherited paragraph formats: the reader's chain of styles
// (a paragraph's own, its text's list style, its placeholder's on the layout and the master, the
// master's text styles, the presentation's default text style), the numbers of numbered lists and
// where they start again, hostile values clamped or refused; and the import of bulleted, numbered,
// nested and centred texts, drawn as pictures and made editable alike.
#include "measure/rich_text.h"
#include "measure/text_items.h"
#include "pptx_files.h"
#include "slide_deck_fixture.h"
#include "slide_shapes.h"
#include "slides/slide_text.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextDocument>

#include <cmath>
#include <utility>
#include <vector>

using namespace PptxFiles;

namespace {

constexpr double kPixelsPerPoint = 4.0 / 3.0;
// How much further than its paragraph's margins a text's lines lie from a document's sides: a box's
// default inset (7.2 points) less the document's own margin (3 points).
constexpr double kInsetPixels = (7.2 - 3.0) * kPixelsPerPoint;

HxSlideDeck Read(const QByteArray& bytes) {
    HxSlideDeck deck;
    EXPECT_EQ(HxReadPptx(bytes, deck), kPptxOk);
    return deck;
}

// The text of the first shape of the first slide (an empty one when there is none).
HxSlideText FirstText(const HxSlideDeck& deck) {
    if (deck.slides.empty() || deck.slides[0].shapes.empty()) {
        ADD_FAILURE() << "no shape read";
        return HxSlideText();
    }
    return deck.slides[0].shapes[0].text;
}

// A paragraph's characters, its runs' texts one after the other.
QString Plain(const HxSlideParagraph& p) {
    QString out;
    for (const HxSlideRun& r : p.runs)
        out += r.text;
    return out;
}

// A bullet's paragraph properties: a hanging indent of `points` at the margin `margin`, and the
// bullet element(s).
QString Hanging(double margin, double points, const QString& bullet) {
    return QStringLiteral("<a:lvl1pPr marL=\"%1\" indent=\"-%2\">%3</a:lvl1pPr>")
        .arg(Emu(margin))
        .arg(Emu(points))
        .arg(bullet);
}

QString Level(int level, const QString& attributes, const QString& children = QString()) {
    return QStringLiteral("<a:lvl%1pPr %2>%3</a:lvl%1pPr>").arg(level).arg(attributes, children);
}

// A body placeholder without a place of its own (the master's) holding the paragraphs.
QString Body(const QString& paragraphs) {
    return Placeholder(3, QString(), 1, paragraphs);
}

HxSlideRun SlideRun(const QString& text) {
    HxSlideRun run;
    run.text = text;
    return run;
}

// A run of type 24 points high.
QString Run24(const QString& text) {
    return TextRun(text, QStringLiteral("<a:rPr lang=\"zh-CN\" sz=\"2400\"/>"));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The chain of styles

TEST(PptxStyles, TheNearestStyleThatSetsAPropertyWins) {
    // Each property is set by the paragraph's own properties and the places below it down to one
    // place fewer each time: the margin by all six, the indent from the text's list style down, the
    // space before from the layout down, the space after from the master's placeholder down, the
    // line spacing from the master's text style down, bold by the default text style alone.
    auto props = [](int margin, int indent, int before, int after, int line, const char* more) {
        QString a, c;
        if (margin)
            a += QStringLiteral(" marL=\"%1\"").arg(Emu(margin));
        if (indent)
            a += QStringLiteral(" indent=\"%1\"").arg(Emu(indent));
        if (before)
            c += QStringLiteral("<a:spcBef><a:spcPts val=\"%1\"/></a:spcBef>").arg(before * 100);
        if (after)
            c += QStringLiteral("<a:spcAft><a:spcPts val=\"%1\"/></a:spcAft>").arg(after * 100);
        if (line)
            c += QStringLiteral("<a:lnSpc><a:spcPct val=\"%1\"/></a:lnSpc>").arg(line * 1000);
        return Level(1, a, c + QLatin1String(more));
    };
    DeckStyles styles;
    styles.defaults = props(60, 6, 16, 26, 150, "<a:defRPr sz=\"1000\" b=\"1\" i=\"1\"/>");
    styles.body = props(50, 5, 15, 25, 140, "<a:defRPr sz=\"2400\" i=\"0\"/>");
    styles.masterBody = props(40, 4, 14, 24, 0, "");
    styles.layoutBody = props(30, 3, 13, 0, 0, "");
    const QString own = props(20, 2, 0, 0, 0, "");
    const QString mine = StyledParagraph(QStringLiteral("marL=\"%1\"").arg(Emu(10)), QString(), Run24("甲"));
    const HxSlideDeck deck = Read(Presentation({WithListStyle(Body(mine), own)}, styles));
    const HxSlideText text = FirstText(deck);
    ASSERT_EQ(text.paragraphs.size(), 1u);
    const HxSlideParagraph& p = text.paragraphs[0];
    EXPECT_DOUBLE_EQ(p.margin, 10.0) << "the paragraph's own";
    EXPECT_DOUBLE_EQ(p.indent, 2.0) << "the text's list style";
    EXPECT_DOUBLE_EQ(p.spaceBefore, 13.0) << "the layout's placeholder";
    EXPECT_DOUBLE_EQ(p.spaceAfter, 24.0) << "the master's placeholder";
    EXPECT_DOUBLE_EQ(p.lineSpacing, 140.0) << "the master's body style";
    EXPECT_FALSE(p.lineSpacingPoints);
    ASSERT_EQ(p.runs.size(), 1u);
    EXPECT_TRUE(p.runs[0].bold) << "the default text style";
    EXPECT_FALSE(p.runs[0].italic) << "the body style's italic turned off beats the default's";
    EXPECT_DOUBLE_EQ(text.defaultPoints, 24.0);
}

TEST(PptxStyles, EachKindOfTextTakesItsOwnTextStyle) {
    // Titles the title style, other placeholders the body style, text boxes and table cells the
    // other style; the default text style under all of them, and a list's defPPr under its levels.
    DeckStyles styles;
    styles.title = Level(1, QStringLiteral("algn=\"ctr\""), QStringLiteral("<a:defRPr sz=\"4000\"/>"));
    styles.body = Level(1, QStringLiteral("algn=\"just\""), QStringLiteral("<a:defRPr sz=\"2800\"/>"));
    styles.other = QStringLiteral("<a:defPPr algn=\"r\"><a:defRPr sz=\"1400\"/></a:defPPr>");
    styles.defaults =
        Level(1, QStringLiteral("marL=\"%1\"").arg(Emu(7)), QStringLiteral("<a:defRPr b=\"1\"/>"));
    const QString paragraph = Paragraph(TextRun(QStringLiteral("字")));
    const HxSlideDeck deck = Read(Presentation({Placeholder(2, QStringLiteral("ctrTitle"), -1, paragraph) +
                                                Body(paragraph) + TextBox(4, 0, 0, 100, 40, paragraph) +
                                                Table(5, 0, 100, {100}, {30}, {Cell(QStringLiteral("格"))})},
                                               styles));
    ASSERT_EQ(deck.slides[0].shapes.size(), 4u);
    const HxSlideShape& table = deck.slides[0].shapes[3];
    ASSERT_EQ(table.kind, HxSlideShape::kTable);
    const struct {
        const char* what;
        HxSlideText text;
        int align;
        double points;
    } kinds[] = {
        {"a title", deck.slides[0].shapes[0].text, 1, 40},
        {"a body", deck.slides[0].shapes[1].text, 3, 28},
        {"a text box", deck.slides[0].shapes[2].text, 2, 14},
        {"a table cell", table.Cell(0, 0).text, 2, 14},
    };
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.what);
        ASSERT_EQ(k.text.paragraphs.size(), 1u);
        const HxSlideParagraph& p = k.text.paragraphs[0];
        EXPECT_EQ(p.align, k.align);
        EXPECT_DOUBLE_EQ(k.text.defaultPoints, k.points);
        EXPECT_DOUBLE_EQ(p.margin, 7.0);
        ASSERT_EQ(p.runs.size(), 1u);
        EXPECT_TRUE(p.runs[0].bold);
        EXPECT_FALSE(p.bulleted);
    }
}

TEST(PptxStyles, LevelsTakeTheirOwnStylesAndHostileLevelsAreClamped) {
    DeckStyles styles;
    styles.body =
        Level(1, QStringLiteral("marL=\"%1\"").arg(Emu(10)), QStringLiteral("<a:defRPr sz=\"2400\"/>")) +
        Level(2, QStringLiteral("marL=\"%1\"").arg(Emu(20)), QStringLiteral("<a:defRPr sz=\"2000\"/>")) +
        Level(9, QStringLiteral("marL=\"%1\"").arg(Emu(90)), QStringLiteral("<a:defRPr sz=\"1000\"/>"));
    QString paragraphs;
    for (const char* lvl : {"0", "1", "8", "99", "-3", "2"})
        paragraphs += StyledParagraph(QStringLiteral("lvl=\"%1\"").arg(QLatin1String(lvl)), QString(),
                                      TextRun(QStringLiteral("字")));
    const HxSlideText text = FirstText(Read(Presentation({Body(paragraphs)}, styles)));
    ASSERT_EQ(text.paragraphs.size(), 6u);
    // Levels 1, 2, 9, 9 (past the last), 1 (below the first) and 3 (which the style leaves unset).
    const double margins[] = {10, 20, 90, 90, 10, 0};
    const double points[] = {24, 20, 10, 10, 24, 0};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_DOUBLE_EQ(text.paragraphs[i].margin, margins[i]) << i;
        ASSERT_EQ(text.paragraphs[i].runs.size(), 1u);
        EXPECT_DOUBLE_EQ(text.paragraphs[i].runs[0].points, points[i]) << i;
    }
    EXPECT_DOUBLE_EQ(text.defaultPoints, 24.0);
}

// ---------------------------------------------------------------------------------------------
// Bullets and numbers

TEST(PptxBullets, ABulletTakesItsFaceColourAndSizeOrItsTexts) {
    DeckStyles styles;
    styles.body =
        Hanging(27, 27,
                QStringLiteral("<a:buClr><a:schemeClr val=\"accent1\"/></a:buClr><a:buSzPct "
                               "val=\"50000\"/><a:buFont typeface=\"Arial\"/><a:buChar char=\"•\"/>")) +
        Level(2, QStringLiteral("marL=\"%1\" indent=\"-%2\"").arg(Emu(54)).arg(Emu(27)),
              QStringLiteral("<a:buFont typeface=\"Wingdings\"/><a:buChar char=\"§\"/>"));
    const QString red =
        QStringLiteral("<a:rPr lang=\"zh-CN\" sz=\"3000\" b=\"1\"><a:solidFill><a:srgbClr "
                       "val=\"C00000\"/></a:solidFill><a:latin typeface=\"Georgia\"/></a:rPr>");
    const QString paragraphs =
        Paragraph(TextRun(QStringLiteral("甲"), red)) +
        // Its own properties follow the text in colour, size and face, the bullet itself inherited.
        StyledParagraph(QString(), QStringLiteral("<a:buClrTx/><a:buSzTx/><a:buFontTx/>"),
                        TextRun(QStringLiteral("乙"), red)) +
        StyledParagraph(QStringLiteral("lvl=\"1\""), QString(), TextRun(QStringLiteral("丙"), red)) +
        // Sizes in points, a character of two halves, the first character alone of a longer one.
        StyledParagraph(QString(), QStringLiteral("<a:buSzPts val=\"1200\"/><a:buChar char=\"😀x\"/>"),
                        TextRun(QStringLiteral("丁"), red));
    const HxSlideText text = FirstText(Read(Presentation({Body(paragraphs)}, styles)));
    ASSERT_EQ(text.paragraphs.size(), 4u);
    for (const HxSlideParagraph& p : text.paragraphs) {
        EXPECT_TRUE(p.bulleted);
        ASSERT_EQ(p.runs.size(), 2u);
        EXPECT_TRUE(p.runs[0].text.endsWith(u'\t'));
        EXPECT_TRUE(p.runs[0].bold) << "a bullet is as bold as its text";
    }
    const HxSlideRun& own = text.paragraphs[0].runs[0];
    EXPECT_EQ(own.text, QStringLiteral("•\t"));
    EXPECT_EQ(own.face, QStringLiteral("Arial"));
    EXPECT_TRUE(own.hasColor);
    EXPECT_EQ(own.color, qRgb(0x44, 0x72, 0xC4));
    EXPECT_DOUBLE_EQ(own.points, 15.0);
    const HxSlideRun& follows = text.paragraphs[1].runs[0];
    EXPECT_EQ(follows.text, QStringLiteral("•\t"));
    EXPECT_EQ(follows.face, QStringLiteral("Georgia"));
    EXPECT_EQ(follows.color, qRgb(0xC0, 0, 0));
    EXPECT_DOUBLE_EQ(follows.points, 30.0);
    // Wingdings' square bullet as the character it pictures, in the default face.
    const HxSlideRun& square = text.paragraphs[2].runs[0];
    EXPECT_EQ(square.text, QStringLiteral("\u25AA\t"));
    EXPECT_TRUE(square.face.isEmpty());
    EXPECT_DOUBLE_EQ(text.paragraphs[2].margin, 54.0);
    EXPECT_DOUBLE_EQ(text.paragraphs[2].indent, -27.0);
    const HxSlideRun& points = text.paragraphs[3].runs[0];
    EXPECT_EQ(points.text, QStringLiteral("😀\t"));
    EXPECT_DOUBLE_EQ(points.points, 12.0);
    // The text's colour is its text's, not its bullets'.
    EXPECT_EQ(HxSlideTextColor(text, true), qRgb(0xC0, 0, 0));
}

TEST(PptxBullets, ParagraphsWithoutTextOrWithBulletsTurnedOffShowNone) {
    DeckStyles styles;
    styles.body = Hanging(27, 27, QStringLiteral("<a:buChar char=\"•\"/>"));
    const QString paragraphs = Paragraph(Run24("甲")) + QStringLiteral("<a:p><a:endParaRPr/></a:p>") +
                               Paragraph(Run24("  ")) + Paragraph(QStringLiteral("<a:br/>")) +
                               StyledParagraph(QString(), QStringLiteral("<a:buNone/>"), Run24("乙")) +
                               Paragraph(Run24("丙"));
    const HxSlideText text = FirstText(Read(Presentation({Body(paragraphs)}, styles)));
    ASSERT_EQ(text.paragraphs.size(), 6u);
    const bool bulleted[] = {true, false, false, false, false, true};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(text.paragraphs[i].bulleted, bulleted[i]) << i;
        EXPECT_EQ(Plain(text.paragraphs[i]).startsWith(QStringLiteral("•")), bulleted[i]) << i;
        // The margin and indent stay the level's, bullet or not.
        EXPECT_DOUBLE_EQ(text.paragraphs[i].margin, 27.0) << i;
        EXPECT_DOUBLE_EQ(text.paragraphs[i].indent, -27.0) << i;
    }
    // A text box takes no bullet from the body style.
    const HxSlideText box =
        FirstText(Read(Presentation({TextBox(3, 0, 0, 100, 40, Paragraph(Run24("甲")))}, styles)));
    ASSERT_EQ(box.paragraphs.size(), 1u);
    EXPECT_FALSE(box.paragraphs[0].bulleted);
    EXPECT_EQ(Plain(box.paragraphs[0]), QStringLiteral("甲"));
}

TEST(PptxBullets, NumbersCountByLevelAndStartAgainAsPowerPointDoes) {
    auto numbered = [](int level, const char* type, int start, const QString& text) {
        return StyledParagraph(QStringLiteral("lvl=\"%1\"").arg(level),
                               QStringLiteral("<a:buAutoNum type=\"%1\"%2/>")
                                   .arg(QLatin1String(type),
                                        start > 0 ? QStringLiteral(" startAt=\"%1\"").arg(start) : QString()),
                               Run24(text));
    };
    const QString paragraphs =
        numbered(0, "arabicPeriod", 0, QStringLiteral("a")) +
        numbered(0, "arabicPeriod", 0, QStringLiteral("b")) +
        numbered(1, "alphaLcParenR", 0, QStringLiteral("c")) +
        numbered(1, "alphaLcParenR", 0, QStringLiteral("d")) +
        // A paragraph of a lower level goes on with its count and starts the deeper ones again.
        numbered(0, "arabicPeriod", 0, QStringLiteral("e")) +
        numbered(1, "alphaLcParenR", 0, QStringLiteral("f")) +
        // An empty paragraph neither shows a number nor breaks the count.
        StyledParagraph(QStringLiteral("lvl=\"1\""), QStringLiteral("<a:buAutoNum type=\"alphaLcParenR\"/>"),
                        QString()) +
        numbered(1, "alphaLcParenR", 0, QStringLiteral("g")) +
        // Another type, or the same type from another start, starts its own count.
        numbered(0, "romanUcPeriod", 0, QStringLiteral("h")) +
        numbered(0, "arabicPeriod", 0, QStringLiteral("i")) +
        numbered(0, "arabicPeriod", 5, QStringLiteral("j")) +
        numbered(0, "arabicPeriod", 5, QStringLiteral("k")) +
        // A paragraph without a number ends the count at its level.
        StyledParagraph(QString(), QStringLiteral("<a:buNone/>"), Run24(QStringLiteral("l"))) +
        numbered(0, "arabicPeriod", 0, QStringLiteral("m"));
    const HxSlideDeck deck =
        Read(Presentation({TextBox(3, 0, 0, 300, 300, paragraphs) +
                           TextBox(4, 0, 0, 300, 300, numbered(0, "arabicPeriod", 0, QStringLiteral("n")))}));
    const HxSlideText& text = deck.slides[0].shapes[0].text;
    const QStringList expected{"1.\ta", "2.\tb", "a)\tc", "b)\td", "3.\te", "a)\tf", "",
                               "b)\tg", "I.\th", "1.\ti", "5.\tj", "6.\tk", "l",     "1.\tm"};
    ASSERT_EQ(text.paragraphs.size(), size_t(expected.size()));
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(Plain(text.paragraphs[size_t(i)]), expected[i]) << i;
    // Each text counts its own.
    ASSERT_EQ(deck.slides[0].shapes[1].text.paragraphs.size(), 1u);
    EXPECT_EQ(Plain(deck.slides[0].shapes[1].text.paragraphs[0]), QStringLiteral("1.\tn"));
}

TEST(PptxBullets, EachTypeOfNumberWritesItsNumbers) {
    const struct {
        const char* type;
        int start;
        const char16_t* first;
        const char16_t* second;
    } types[] = {
        {"arabicPeriod", 1, u"1.", u"2."},
        {"arabicParenR", 9, u"9)", u"10)"},
        {"arabicParenBoth", 1, u"(1)", u"(2)"},
        {"arabicPlain", 1, u"1", u"2"},
        {"alphaLcPeriod", 26, u"z.", u"aa."},
        {"alphaUcPeriod", 3, u"C.", u"D."},
        {"alphaLcParenR", 1, u"a)", u"b)"},
        {"alphaUcParenR", 52, u"ZZ)", u"AAA)"},
        {"alphaLcParenBoth", 1, u"(a)", u"(b)"},
        {"romanLcPeriod", 3, u"iii.", u"iv."},
        {"romanUcPeriod", 1994, u"MCMXCIV.", u"MCMXCV."},
        {"romanUcParenR", 3999, u"MMMCMXCIX)", u"4000)"},
        {"ea1ChsPeriod", 10, u"十．", u"十一．"},
        {"ea1ChsPlain", 20, u"二十", u"二十一"},
        {"circleNumDbPlain", 19, u"⑲", u"⑳"},
        // Types not written here number in arabic with their enclosing signs.
        {"thaiAlphaParenBoth", 7, u"(7)", u"(8)"},
        {"hindiNumPeriod", 1, u"1.", u"2."},
        {"", 1, u"1.", u"2."},
    };
    for (const auto& t : types) {
        SCOPED_TRACE(t.type);
        const QString bullet = QStringLiteral("<a:buAutoNum type=\"%1\" startAt=\"%2\"/>")
                                   .arg(QLatin1String(t.type))
                                   .arg(t.start);
        const HxSlideText text = FirstText(Read(
            Presentation({TextBox(3, 0, 0, 300, 100,
                                  StyledParagraph(QString(), bullet, Run24(QStringLiteral("x"))) +
                                      StyledParagraph(QString(), bullet, Run24(QStringLiteral("y"))))})));
        ASSERT_EQ(text.paragraphs.size(), 2u);
        EXPECT_EQ(Plain(text.paragraphs[0]), QString::fromUtf16(t.first) + QStringLiteral("\tx"));
        EXPECT_EQ(Plain(text.paragraphs[1]), QString::fromUtf16(t.second) + QStringLiteral("\ty"));
    }
}

TEST(PptxBullets, HostileValuesAreClampedOrRefused) {
    auto text = [](const QString& attributes, const QString& children) {
        return FirstText(Read(Presentation({TextBox(
            3, 0, 0, 300, 100, StyledParagraph(attributes, children, Run24(QStringLiteral("x"))))})));
    };
    // Margins from 0 to 22 inches, the first line no further left than the box's edge.
    EXPECT_DOUBLE_EQ(text(QStringLiteral("marL=\"-5000000\""), QString()).paragraphs[0].margin, 0.0);
    EXPECT_DOUBLE_EQ(text(QStringLiteral("marL=\"999999999999\""), QString()).paragraphs[0].margin, 1584.0);
    const HxSlideText hanging = text(QStringLiteral("marL=\"127000\" indent=\"-999999999\""), QString());
    EXPECT_DOUBLE_EQ(hanging.paragraphs[0].margin, 10.0);
    EXPECT_DOUBLE_EQ(hanging.paragraphs[0].indent, -10.0);
    // Numbers start from 1 to 32,767.
    const QString huge = QStringLiteral("<a:buAutoNum type=\"arabicPlain\" startAt=\"2147483647\"/>");
    EXPECT_EQ(Plain(text(QString(), huge).paragraphs[0]), QStringLiteral("32767\tx"));
    const QString negative = QStringLiteral("<a:buAutoNum type=\"arabicPlain\" startAt=\"-5\"/>");
    EXPECT_EQ(Plain(text(QString(), negative).paragraphs[0]), QStringLiteral("1\tx"));
    // Bullets from a quarter to four times their text; spacing up to 22 inches; lines from a tenth
    // to ten times single, percentages written either way.
    const HxSlideText large =
        text(QString(), QStringLiteral("<a:buSzPct val=\"999999999\"/><a:buChar char=\"-\"/>"
                                       "<a:spcBef><a:spcPts val=\"999999999\"/></a:spcBef>"
                                       "<a:lnSpc><a:spcPct val=\"0\"/></a:lnSpc>"));
    EXPECT_DOUBLE_EQ(large.paragraphs[0].runs[0].points, 4 * 24.0);
    EXPECT_DOUBLE_EQ(large.paragraphs[0].spaceBefore, 1584.0);
    EXPECT_DOUBLE_EQ(large.paragraphs[0].lineSpacing, 10.0);
    const HxSlideText small = text(QString(), QStringLiteral("<a:buSzPct val=\"1%\"/><a:buChar char=\"-\"/>"
                                                             "<a:lnSpc><a:spcPct val=\"150%\"/></a:lnSpc>"
                                                             "<a:spcAft><a:spcPct val=\"50%\"/></a:spcAft>"));
    EXPECT_DOUBLE_EQ(small.paragraphs[0].runs[0].points, 6.0);
    EXPECT_DOUBLE_EQ(small.paragraphs[0].lineSpacing, 150.0);
    EXPECT_DOUBLE_EQ(small.paragraphs[0].spaceAfter, 12.0) << "half of the text's 24 points";
    const HxSlideText exact = text(QString(), QStringLiteral("<a:lnSpc><a:spcPts val=\"3600\"/></a:lnSpc>"));
    EXPECT_TRUE(exact.paragraphs[0].lineSpacingPoints);
    EXPECT_DOUBLE_EQ(exact.paragraphs[0].lineSpacing, 36.0);

    // What is no number is refused, the deck whole.
    for (const auto& [attributes, children] : std::vector<std::pair<QString, QString>>{
             {QStringLiteral("lvl=\"x\""), QString()},
             {QStringLiteral("marL=\"12pt\""), QString()},
             {QStringLiteral("indent=\"99999999999999999999\""), QString()},
             {QString(), QStringLiteral("<a:buAutoNum type=\"arabicPlain\" startAt=\"one\"/>")},
             {QString(), QStringLiteral("<a:buSzPct val=\"big\"/>")},
             {QString(), QStringLiteral("<a:lnSpc><a:spcPct val=\"1e400%\"/></a:lnSpc>")},
             {QString(), QStringLiteral("<a:spcBef><a:spcPts val=\"-\"/></a:spcBef>")},
             {QString(), QStringLiteral("<a:defRPr sz=\"400001\"/>")},
         }) {
        HxSlideDeck deck;
        EXPECT_EQ(HxReadPptx(Presentation({TextBox(
                                 3, 0, 0, 300, 100,
                                 StyledParagraph(attributes, children, Run24(QStringLiteral("x"))))}),
                             deck),
                  kPptxBadValue)
            << attributes.toStdString() << children.toStdString();
        EXPECT_TRUE(deck.slides.empty());
    }
    // So is a master's text style with such a value.
    DeckStyles styles;
    styles.body = Level(1, QStringLiteral("marL=\"ten\""));
    HxSlideDeck deck;
    EXPECT_EQ(HxReadPptx(Presentation({Body(Paragraph(Run24("x")))}, styles), deck), kPptxBadValue);
}

// ---------------------------------------------------------------------------------------------
// The slide's text as a document

TEST(SlideBulletText, ABulletedParagraphHangsItsBulletAndStartsItsTextAtTheMargin) {
    HxSlideText text;
    HxSlideParagraph& p = text.paragraphs.emplace_back();
    p.margin = 27;
    p.indent = -27;
    p.spaceBefore = 6;
    p.spaceAfter = 3;
    p.lineSpacing = 90;
    p.bulleted = true;
    p.runs.push_back(SlideRun(QStringLiteral("•\t")));
    p.runs.push_back(SlideRun(QStringLiteral("正文")));
    HxSlideParagraph& exact = text.paragraphs.emplace_back();
    exact.lineSpacing = 30;
    exact.lineSpacingPoints = true;
    exact.runs.push_back(SlideRun(QStringLiteral("行")));
    QTextDocument doc;
    HxSlideTextToDocument(text, true, doc);
    const QTextBlockFormat f = doc.begin().blockFormat();
    // The margin, and the box's left inset (7.2 points) less the document's own margin (3 points).
    EXPECT_NEAR(f.leftMargin(), 36.0 + kInsetPixels, 1e-9);
    EXPECT_NEAR(f.rightMargin(), kInsetPixels, 1e-9);
    EXPECT_DOUBLE_EQ(f.textIndent(), -36.0);
    EXPECT_DOUBLE_EQ(f.topMargin(), 8.0);
    EXPECT_DOUBLE_EQ(f.bottomMargin(), 4.0);
    EXPECT_EQ(f.lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
    EXPECT_DOUBLE_EQ(f.lineHeight(), 90.0);
    ASSERT_EQ(f.tabPositions().size(), 1);
    EXPECT_DOUBLE_EQ(f.tabPositions()[0].position, 36.0);
    const QTextBlockFormat g = doc.begin().next().blockFormat();
    EXPECT_EQ(g.lineHeightType(), int(QTextBlockFormat::FixedHeight));
    EXPECT_DOUBLE_EQ(g.lineHeight(), 40.0);
    EXPECT_TRUE(g.tabPositions().isEmpty());
    EXPECT_EQ(doc.characterCount() - 1, text.Length());

    // A beginning keeps its paragraphs' formats.
    const HxSlideText part = text.Beginning(3);
    ASSERT_EQ(part.paragraphs.size(), 1u);
    EXPECT_TRUE(part.paragraphs[0].bulleted);
    EXPECT_DOUBLE_EQ(part.paragraphs[0].margin, 27.0);
    EXPECT_DOUBLE_EQ(part.paragraphs[0].lineSpacing, 90.0);
}

// ---------------------------------------------------------------------------------------------
// The import, drawn as pictures and made editable

namespace {

// An imported text's one-bit picture, and where it lies on the slide: its left edge and bottom, in
// pixels from the slide's centre.
struct Shown {
    int width = 0, height = 0;
    std::vector<BYTE> bits;
    double left = 0, bottom = 0;
    QString rtf; // an editable text's rich text

    // Whether the pixel `x` across and `y` down from the top left corner is dark.
    bool Dark(int x, int y) const {
        const long long row = CGTextbit::BitmapRowBytes(width);
        return (bits[size_t((height - 1 - y) * row + x / 8)] & (0x80 >> (x % 8))) != 0;
    }
    // The rows holding dark pixels, from the top, in bands that white rows part: [first, end).
    std::vector<std::pair<int, int>> Bands() const {
        std::vector<std::pair<int, int>> bands;
        for (int y = 0; y < height; ++y) {
            bool dark = false;
            for (int x = 0; x < width && !dark; ++x)
                dark = Dark(x, y);
            if (dark && !bands.empty() && bands.back().second == y)
                bands.back().second = y + 1;
            else if (dark)
                bands.emplace_back(y, y + 1);
        }
        return bands;
    }
    // The columns holding dark pixels within a band's rows, in spans that `gap` or more white
    // columns part, on the slide: [first, end) pixels from its centre.
    std::vector<std::pair<double, double>> Spans(std::pair<int, int> band, int gap = 4) const {
        std::vector<std::pair<double, double>> spans;
        int lastDark = -gap - 1;
        for (int x = 0; x < width; ++x) {
            bool dark = false;
            for (int y = band.first; y < band.second && !dark; ++y)
                dark = Dark(x, y);
            if (!dark)
                continue;
            if (x - lastDark > gap)
                spans.emplace_back(left + x, left + x + 1);
            else
                spans.back().second = left + x + 1;
            lastDark = x;
        }
        return spans;
    }
};

// Where a box of the slide lies, in pixels from the slide's centre: left, right.
std::pair<double, double> Across(const HxSlideBox& box) {
    const HxSlidePlace place = HxPlaceSlideBox(box);
    const double left = double(place.x) / double(g_unitLength);
    return {left, left + place.pixelWidth};
}

} // namespace

class SlideBulletImportTest : public SlideDeckTest, public ::testing::WithParamInterface<bool> {
protected:
    bool Converting() const { return GetParam(); }
    // The texts the import of a presentation of one slide made: editable texts (with their rich
    // text) when converting, pictures otherwise.
    std::vector<Shown> Imported(const QByteArray& bytes) {
        std::vector<Shown> out;
        EXPECT_TRUE(Import(bytes, Converting()));
        for (CGTextbit* item : SlideShapes::CellsOf<CGTextbit>(g_pCurPage)) {
            EXPECT_EQ(item->m_kind, Converting() ? 1 : 0);
            Shown& shown = out.emplace_back();
            shown.width = item->m_width;
            shown.height = item->m_height;
            shown.bits = item->m_bits;
            shown.left = double(item->m_labelPos[0]) / double(g_unitLength);
            shown.bottom = double(item->m_labelPos[1]) / double(g_unitLength);
            if (Converting()) {
                QTextDocument doc;
                EXPECT_TRUE(HxRtfToDocument(UnpackRtfBytes(item->m_text1), doc));
                shown.rtf = HxRichPlainText(doc);
                m_blocks.clear();
                for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
                    m_blocks.push_back(b.blockFormat());
            }
        }
        return out;
    }
    // The block formats of the last editable text imported.
    std::vector<QTextBlockFormat> m_blocks;
};

INSTANTIATE_TEST_SUITE_P(BothWays, SlideBulletImportTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Editable" : "Drawn");
                         });

TEST_P(SlideBulletImportTest, ABodysBulletsFromTheMasterHangAtItsIndent) {
    // The master's body style hangs a bullet 60 points left of the text; the body placeholder has
    // no place of its own, nor has the layout's: it lands in the master's.
    const QString size = QStringLiteral("<a:defRPr sz=\"2400\"/>");
    DeckStyles bulleted, plain;
    bulleted.body = Hanging(60, 60, QStringLiteral("<a:buChar char=\"•\"/>") + size);
    plain.body = Level(1, QStringLiteral("marL=\"%1\" indent=\"0\"").arg(Emu(60)), size);
    const QString body =
        Body(Paragraph(TextRun(QStringLiteral("正文一"))) + Paragraph(TextRun(QStringLiteral("正文二"))));
    const std::vector<Shown> a = Imported(Presentation({body}, bulleted));
    const std::vector<QTextBlockFormat> blocks = m_blocks;
    const std::vector<Shown> b = Imported(Presentation({body}, plain));
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(b.size(), 1u);
    const auto [boxLeft, boxRight] = Across({36, 130, 648, 360});
    EXPECT_GE(a[0].left, boxLeft);
    EXPECT_LE(a[0].left + a[0].width, boxRight);
    const std::vector<std::pair<int, int>> bands = a[0].Bands(), plainBands = b[0].Bands();
    ASSERT_EQ(bands.size(), 2u);
    ASSERT_EQ(plainBands.size(), 2u);
    for (size_t line = 0; line < 2; ++line) {
        SCOPED_TRACE(line);
        const auto spans = a[0].Spans(bands[line]);
        const auto text = b[0].Spans(plainBands[line]);
        ASSERT_GE(spans.size(), 2u);
        ASSERT_GE(text.size(), 1u);
        // The text starts at the margin, as it does without bullets; the bullet's dark pixels lie
        // left of it, where the hanging indent puts it, 60 points (80 pixels) left of the text.
        const auto first = std::find_if(spans.begin(), spans.end(),
                                        [&](const auto& s) { return s.first >= text[0].first - 1; });
        ASSERT_NE(first, spans.end());
        EXPECT_NEAR(first->first, text[0].first, 1.0);
        EXPECT_EQ(first - spans.begin(), 1) << "one mark before the text";
        EXPECT_LT(spans[0].second, text[0].first - 40);
        EXPECT_NEAR(spans[0].first, text[0].first - 80, 10.0);
    }
    if (Converting()) {
        EXPECT_EQ(a[0].rtf, QStringLiteral("•\t正文一\n•\t正文二"));
        EXPECT_EQ(b[0].rtf, QStringLiteral("正文一\n正文二"));
        ASSERT_EQ(blocks.size(), 2u);
        for (const QTextBlockFormat& f : blocks) {
            EXPECT_NEAR(f.leftMargin(), 80.0 + kInsetPixels, 1e-9);
            EXPECT_DOUBLE_EQ(f.textIndent(), -80.0);
            ASSERT_EQ(f.tabPositions().size(), 1);
            EXPECT_DOUBLE_EQ(f.tabPositions()[0].position, 80.0);
        }
    }
}

// A paragraph with a hanging indent of 60 points (80 pixels, where the first tab stop of a paragraph
// without any lies), and the same text with its bullet or number written out and neither margin nor
// indent: the two show alike.
TEST_P(SlideBulletImportTest, ANumberedListShowsItsNumbers) {
    const QString hanging = QStringLiteral("marL=\"%1\" indent=\"-%1\"").arg(Emu(60));
    QString numbered, written;
    const QStringList texts{QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")};
    for (qsizetype i = 0; i < texts.size(); ++i) {
        numbered +=
            StyledParagraph(hanging, QStringLiteral("<a:buAutoNum type=\"arabicPeriod\"/>"), Run24(texts[i]));
        written += StyledParagraph(QString(), QStringLiteral("<a:buNone/>"),
                                   Run24(QStringLiteral("%1.\t").arg(i + 1) + texts[i]));
    }
    const std::vector<Shown> a = Imported(Presentation({TextBox(3, 100, 100, 400, 200, numbered)}));
    const std::vector<Shown> b = Imported(Presentation({TextBox(3, 100, 100, 400, 200, written)}));
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(a[0].Bands().size(), 3u);
    EXPECT_EQ(a[0].width, b[0].width);
    EXPECT_EQ(a[0].height, b[0].height);
    EXPECT_EQ(a[0].left, b[0].left);
    EXPECT_EQ(a[0].bottom, b[0].bottom);
    EXPECT_TRUE(a[0].bits == b[0].bits) << "the numbers show as the written ones do";
    if (Converting()) {
        EXPECT_EQ(a[0].rtf, QStringLiteral("1.\t甲\n2.\t乙\n3.\t丙"));
    }
}

TEST_P(SlideBulletImportTest, ABulletTurnedOffLeavesItsParagraphWithout) {
    DeckStyles bulleted, plain;
    bulleted.body = Hanging(60, 60, QStringLiteral("<a:buChar char=\"•\"/><a:defRPr sz=\"2400\"/>"));
    plain.body = Level(1, QString(), QStringLiteral("<a:buNone/><a:defRPr sz=\"2400\"/>"));
    const QString off =
        StyledParagraph(QString(), QStringLiteral("<a:buNone/>"), TextRun(QStringLiteral("乙")));
    const std::vector<Shown> a = Imported(Presentation(
        {Body(Paragraph(TextRun(QStringLiteral("甲"))) + off + Paragraph(TextRun(QStringLiteral("丙"))))},
        bulleted));
    const std::vector<Shown> b = Imported(Presentation(
        {Body(Paragraph(TextRun(QStringLiteral("•\t甲"))) + Paragraph(TextRun(QStringLiteral("乙"))) +
              Paragraph(TextRun(QStringLiteral("•\t丙"))))},
        plain));
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(b.size(), 1u);
    const std::vector<std::pair<int, int>> bands = a[0].Bands();
    ASSERT_EQ(bands.size(), 3u);
    EXPECT_EQ(a[0].Spans(bands[0]).size(), 2u) << "a bullet and its text";
    EXPECT_EQ(a[0].Spans(bands[1]).size(), 1u) << "the text alone, where the bullets hang";
    EXPECT_NEAR(a[0].Spans(bands[1])[0].first, a[0].Spans(bands[0])[0].first, 6.0);
    EXPECT_TRUE(a[0].bits == b[0].bits && a[0].left == b[0].left && a[0].width == b[0].width)
        << "the paragraphs show as the written ones do";
    if (Converting()) {
        EXPECT_EQ(a[0].rtf, QStringLiteral("•\t甲\n乙\n•\t丙"));
    }
}

TEST_P(SlideBulletImportTest, ASecondLevelTakesItsOwnBulletAndIndent) {
    DeckStyles styles;
    styles.body = Hanging(30, 30, QStringLiteral("<a:buChar char=\"•\"/><a:defRPr sz=\"2400\"/>")) +
                  Level(2, QStringLiteral("marL=\"%1\" indent=\"-%2\"").arg(Emu(60)).arg(Emu(30)),
                        QStringLiteral("<a:buChar char=\"–\"/><a:defRPr sz=\"2400\"/>"));
    const std::vector<Shown> shown = Imported(Presentation(
        {Body(Paragraph(TextRun(QStringLiteral("一级"))) +
              StyledParagraph(QStringLiteral("lvl=\"1\""), QString(), TextRun(QStringLiteral("二级"))))},
        styles));
    ASSERT_EQ(shown.size(), 1u);
    const std::vector<std::pair<int, int>> bands = shown[0].Bands();
    ASSERT_EQ(bands.size(), 2u);
    const auto first = shown[0].Spans(bands[0]), second = shown[0].Spans(bands[1]);
    ASSERT_GE(first.size(), 2u);
    ASSERT_GE(second.size(), 2u);
    // The second level's bullet hangs where the first level's text starts, 30 points (40 pixels)
    // further right than the first level's bullet, and its text starts 40 pixels further still.
    EXPECT_NEAR(second[0].first, first[0].first + 40, 8.0);
    EXPECT_NEAR(second[1].first, first[1].first + 40, 3.0);
    // A dot and a dash, narrower than the characters of the text.
    EXPECT_LT(first[0].second - first[0].first, 14.0);
    EXPECT_LT(second[0].second - second[0].first, 20.0);
    EXPECT_GT(second[0].second - second[0].first, first[0].second - first[0].first)
        << "a dash, wider than a dot";
    EXPECT_GT(first[1].second - first[1].first, 20.0);
    if (Converting()) {
        EXPECT_EQ(shown[0].rtf, QStringLiteral("•\t一级\n–\t二级"));
        ASSERT_EQ(m_blocks.size(), 2u);
        EXPECT_NEAR(m_blocks[0].leftMargin(), 40.0 + kInsetPixels, 1e-9);
        EXPECT_NEAR(m_blocks[1].leftMargin(), 80.0 + kInsetPixels, 1e-9);
        EXPECT_DOUBLE_EQ(m_blocks[1].textIndent(), -40.0);
        // The tab stop lies at the margin, 40 pixels from where the first line starts.
        ASSERT_EQ(m_blocks[1].tabPositions().size(), 1);
        EXPECT_DOUBLE_EQ(m_blocks[1].tabPositions()[0].position, 40.0);
    }
}

TEST_P(SlideBulletImportTest, ATitleCentredByItsMasterLandsInItsLayoutsPlace) {
    // The title placeholder has no place of its own and states no alignment: it lands in the
    // layout's place, (36, 20), 648 x 90 points, centred as the master's title style says; one that
    // states its own alignment keeps it.
    const std::vector<Shown> centred = Imported(Presentation(
        {Placeholder(2, QStringLiteral("title"), -1, Paragraph(TextRun(QStringLiteral("标题文字"))))}));
    const std::vector<QTextBlockFormat> blocks = m_blocks;
    const std::vector<Shown> left = Imported(
        Presentation({Placeholder(2, QStringLiteral("title"), -1,
                                  Paragraph(TextRun(QStringLiteral("标题文字")), QStringLiteral("l")))}));
    ASSERT_EQ(centred.size(), 1u);
    ASSERT_EQ(left.size(), 1u);
    const HxSlideBox box{36, 20, 648, 90};
    const auto [boxLeft, boxRight] = Across(box);
    const HxSlidePlace place = HxPlaceSlideBox(box);
    const double boxBottom = double(place.y) / double(g_unitLength);
    for (const Shown* s : {&centred[0], &left[0]}) {
        EXPECT_GE(s->left, boxLeft - 0.01);
        EXPECT_LE(s->left + s->width, boxRight + 0.01);
        EXPECT_GE(s->bottom, boxBottom - 0.01);
        EXPECT_LE(s->bottom + s->height, boxBottom + place.pixelHeight + 0.01);
    }
    const auto spans = centred[0].Spans(centred[0].Bands().at(0));
    ASSERT_FALSE(spans.empty());
    const double before = spans.front().first - boxLeft, after = boxRight - spans.back().second;
    EXPECT_GT(before, 200.0);
    EXPECT_NEAR(before, after, 4.0) << "centred";
    const auto leftSpans = left[0].Spans(left[0].Bands().at(0));
    ASSERT_FALSE(leftSpans.empty());
    EXPECT_LT(leftSpans.front().first - boxLeft, 20.0);
    EXPECT_NEAR(leftSpans.back().second - leftSpans.front().first, spans.back().second - spans.front().first,
                1.0);
    if (Converting()) {
        EXPECT_DOUBLE_EQ(centred[0].left, boxLeft);
        EXPECT_DOUBLE_EQ(centred[0].bottom, boxBottom);
        EXPECT_EQ(centred[0].width, place.pixelWidth);
        // The picture begins where the lines do, the top inset (4.8 pixels) less the document's own
        // margin (4) below the box's top: a pixel, rounded.
        EXPECT_EQ(centred[0].height, place.pixelHeight - 1);
        ASSERT_EQ(blocks.size(), 1u);
        EXPECT_EQ(blocks[0].alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        EXPECT_EQ(centred[0].rtf, QStringLiteral("标题文字"));
    }
}

// ---------------------------------------------------------------------------------------------
// A text's own list style, and where a count of numbers ends

TEST(PptxStyles, ATextBoxsOwnListStyleSetsItsParagraphsAlignmentAndSize) {
    // The master's style for text boxes right-aligns them in type of 14 points; the box's own list
    // style centres its first level in 32 points, justifies its second in 20 and, by its defPPr (under
    // each of its levels), aligns the third left in 10.  A paragraph's own alignment and a run's own
    // size win over it; a box without one takes the master's style.
    DeckStyles styles;
    styles.other = QStringLiteral("<a:defPPr algn=\"r\"><a:defRPr sz=\"1400\"/></a:defPPr>");
    const QString own = Level(1, QStringLiteral("algn=\"ctr\""), QStringLiteral("<a:defRPr sz=\"3200\"/>")) +
                        Level(2, QStringLiteral("algn=\"just\""), QStringLiteral("<a:defRPr sz=\"2000\"/>")) +
                        QStringLiteral("<a:defPPr algn=\"l\"><a:defRPr sz=\"1000\"/></a:defPPr>");
    auto at = [](int level, const QString& runs, const QString& align = QString()) {
        QString attributes = QStringLiteral("lvl=\"%1\"").arg(level);
        if (!align.isEmpty())
            attributes += QStringLiteral(" algn=\"%1\"").arg(align);
        return StyledParagraph(attributes, QString(), runs);
    };
    const QString paragraphs =
        at(0, TextRun(QStringLiteral("一"))) + at(1, TextRun(QStringLiteral("二"))) +
        at(2, TextRun(QStringLiteral("三"))) + at(0, TextRun(QStringLiteral("四")), QStringLiteral("r")) +
        at(0, TextRun(QStringLiteral("五"), QStringLiteral("<a:rPr lang=\"zh-CN\" sz=\"1200\"/>")));
    const HxSlideDeck deck = Read(Presentation(
        {WithListStyle(TextBox(3, 0, 0, 300, 200, paragraphs), own) + TextBox(4, 0, 200, 300, 100, paragraphs)},
        styles));
    ASSERT_EQ(deck.slides.size(), 1u);
    ASSERT_EQ(deck.slides[0].shapes.size(), 2u);
    const HxSlideText& styled = deck.slides[0].shapes[0].text;
    const HxSlideText& plain = deck.slides[0].shapes[1].text;
    const struct {
        int align;
        double points;
    } expected[] = {{1, 32}, {3, 20}, {0, 10}, {2, 32}, {1, 12}}, // own list style
        without[] = {{2, 14}, {2, 14}, {2, 14}, {2, 14}, {2, 12}}; // the master's alone
    for (const auto& [text, wanted] : {std::pair(&styled, expected), std::pair(&plain, without)}) {
        SCOPED_TRACE(text == &styled ? "its own list style" : "none");
        ASSERT_EQ(text->paragraphs.size(), std::size(expected));
        for (size_t i = 0; i < std::size(expected); ++i) {
            SCOPED_TRACE(i);
            const HxSlideParagraph& p = text->paragraphs[i];
            EXPECT_EQ(p.align, wanted[i].align);
            ASSERT_EQ(p.runs.size(), 1u);
            EXPECT_DOUBLE_EQ(p.runs[0].points, wanted[i].points);
        }
        EXPECT_DOUBLE_EQ(text->defaultPoints, wanted[0].points) << "its first level's";
    }
    // As a document, the first paragraph is centred in type of 32 points.
    QTextDocument doc;
    HxSlideTextToDocument(styled, false, doc);
    ASSERT_EQ(doc.blockCount(), 5);
    EXPECT_EQ(doc.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(doc.begin().next().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    EXPECT_DOUBLE_EQ(doc.begin().begin().fragment().charFormat().fontPointSize(), 32.0);
}

TEST(PptxBullets, AParagraphWithoutANumberEndsTheCountOfTheSameNumbers) {
    // The numbers on both sides of the paragraph without one are of one type and one start: the count
    // starts again all the same.  One at a deeper level, or an empty paragraph, leaves it going on.
    const QString number = QStringLiteral("<a:buAutoNum type=\"arabicPeriod\"/>");
    auto numbered = [&](const char* text, int level = 0) {
        return StyledParagraph(QStringLiteral("lvl=\"%1\"").arg(level), number, Run24(QLatin1String(text)));
    };
    auto unnumbered = [](const char* text, int level = 0) {
        return StyledParagraph(QStringLiteral("lvl=\"%1\"").arg(level), QStringLiteral("<a:buNone/>"),
                               Run24(QLatin1String(text)));
    };
    const QString paragraphs = numbered("a") + unnumbered("b") + numbered("c") + numbered("d") +
                               unnumbered("e", 1) + numbered("f") +
                               StyledParagraph(QString(), number, QString()) + numbered("g") +
                               // a paragraph of a text box states no bullet: none, and the count ends
                               Paragraph(Run24(QStringLiteral("h"))) + numbered("i");
    const HxSlideText text = FirstText(Read(Presentation({TextBox(3, 0, 0, 300, 300, paragraphs)})));
    const QStringList expected{"1.\ta", "b", "1.\tc", "2.\td", "e", "3.\tf", "", "4.\tg", "h", "1.\ti"};
    ASSERT_EQ(text.paragraphs.size(), size_t(expected.size()));
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(Plain(text.paragraphs[size_t(i)]), expected[i]) << i;
}
