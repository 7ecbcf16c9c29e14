// The slide source's refusals and limits: every kind of refused archive with its reason, each limit
// read at its value and refused one past it, a slide part listed again read once, and files that
// are no regular files (pipes, devices, folders) refused at once.
#include "slides/pptx_reader.h"
#include "pptx_files.h"
#include "support/child_process.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstring>

#include <sys/stat.h>

using namespace PptxFiles;

namespace {

using EntryList = std::vector<std::pair<QString, QByteArray>>;

const QString kSlide1 = QStringLiteral("ppt/slides/slide1.xml");
const QString kPresentation = QStringLiteral("ppt/presentation.xml");

HxPptxError ReadBytes(const QByteArray& bytes) {
    HxSlideDeck deck;
    const HxPptxError error = HxReadPptx(bytes, deck);
    if (error) {
        EXPECT_TRUE(deck.slides.empty() && deck.slideCount == 0) << "a refused archive left slides";
    }
    return error;
}

HxSlideDeck ReadDeck(const QByteArray& bytes) {
    HxSlideDeck deck;
    EXPECT_EQ(HxReadPptx(bytes, deck), kPptxOk);
    return deck;
}

// The first shape of the first slide of a presentation that must be read (an empty shape when
// there is none), and the runs of its first paragraph.
HxSlideShape FirstShape(const QByteArray& bytes) {
    const HxSlideDeck deck = ReadDeck(bytes);
    if (deck.slides.empty() || deck.slides[0].shapes.empty()) {
        ADD_FAILURE() << "no shape read";
        return HxSlideShape();
    }
    return deck.slides[0].shapes[0];
}
std::vector<HxSlideRun> FirstRuns(const QByteArray& bytes) {
    const HxSlideShape shape = FirstShape(bytes);
    if (shape.text.paragraphs.empty()) {
        ADD_FAILURE() << "no paragraph read";
        return {};
    }
    return shape.text.paragraphs[0].runs;
}
HxSlideRun FirstRun(const QByteArray& bytes) {
    const std::vector<HxSlideRun> runs = FirstRuns(bytes);
    if (runs.empty()) {
        ADD_FAILURE() << "no run read";
        return HxSlideRun();
    }
    return runs[0];
}

// The entries with one part's bytes replaced (or added when missing), or one part left out.
EntryList Put(EntryList entries, const QString& name, const QByteArray& bytes) {
    for (auto& entry : entries)
        if (entry.first == name) {
            entry.second = bytes;
            return entries;
        }
    entries.emplace_back(name, bytes);
    return entries;
}
EntryList Drop(EntryList entries, const QString& name) {
    std::erase_if(entries, [&name](const auto& entry) { return entry.first == name; });
    return entries;
}
QByteArray PartOf(const EntryList& entries, const QString& name) {
    for (const auto& entry : entries)
        if (entry.first == name)
            return entry.second;
    return QByteArray();
}
// A part's text with one piece replaced.
EntryList Edit(const EntryList& entries, const QString& name, const QString& from, const QString& to) {
    QString text = QString::fromUtf8(PartOf(entries, name));
    EXPECT_TRUE(text.contains(from)) << from.toStdString();
    return Put(entries, name, text.replace(from, to).toUtf8());
}

QString OneBox() {
    return TextBox(3, 10, 10, 100, 40, Paragraph(TextRun(QStringLiteral("a"))));
}

// The presentation's list of slides replaced by `count` entries that all name the first slide.
EntryList ListingFirstSlide(const EntryList& entries, int count) {
    QString ids;
    for (int i = 0; i < count; ++i)
        ids += QStringLiteral("<p:sldId id=\"%1\" r:id=\"rId2\"/>").arg(256 + i);
    QString text = QString::fromUtf8(PartOf(entries, kPresentation));
    text.replace(QRegularExpression(QStringLiteral("<p:sldIdLst>.*</p:sldIdLst>")),
                 QStringLiteral("<p:sldIdLst>") + ids + QStringLiteral("</p:sldIdLst>"));
    return Put(entries, kPresentation, text.toUtf8());
}

// A slide part grown with white space after its root to exactly `size` bytes.
QByteArray PaddedTo(QByteArray part, qint64 size) {
    EXPECT_LE(part.size(), size);
    part.append(QByteArray(qsizetype(size - part.size()), ' '));
    return part;
}

// A text box whose one run has the given properties.
QString RunWith(const QString& properties) {
    return TextBox(3, 0, 0, 10, 10, Paragraph(TextRun(QStringLiteral("a"), properties)));
}

QString Rows(int rows, const QString& row) {
    QString out;
    for (int i = 0; i < rows; ++i)
        out += row;
    return out;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Refusals

TEST(PptxRefusals, WhatIsNoPresentationArchive) {
    const QByteArray compound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    EXPECT_EQ(ReadBytes(compound), kPptxOldBinary);
    EXPECT_EQ(ReadBytes(compound.left(7)), kPptxNotArchive) << "the whole signature makes an old file";
    QByteArray other = compound;
    other[7] = 'x';
    EXPECT_EQ(ReadBytes(other + QByteArray(100, 0)), kPptxNotArchive);
    EXPECT_EQ(ReadBytes(QByteArray("PK\x03\x04", 4)), kPptxNotArchive);
    // A well-formed archive without a single entry: its end record alone.
    EXPECT_EQ(ReadBytes(QByteArray("PK\x05\x06", 4) + QByteArray(18, 0)), kPptxNotArchive);
    // An archive of other things.
    EXPECT_EQ(ReadBytes(Zip({{QStringLiteral("readme.txt"), QByteArray("hello")}})), kPptxMissingPart);
}

TEST(PptxRefusals, BadRelationshipsAndMissingParts) {
    const EntryList entries = Entries({OneBox()});
    const QString presentationRels = QStringLiteral("ppt/_rels/presentation.xml.rels");
    const QString slideRels = QStringLiteral("ppt/slides/_rels/slide1.xml.rels");
    const struct {
        const char* what;
        EntryList entries;
        HxPptxError error;
    } cases[] = {
        {"the presentation's relationships missing", Drop(entries, presentationRels), kPptxMissingPart},
        {"a slide naming no relationship",
         Edit(entries, kPresentation, QStringLiteral("r:id=\"rId2\""), QStringLiteral("r:id=\"rId9\"")),
         kPptxMissingPart},
        {"a slide's relationship id outside the relationships namespace",
         Edit(entries, kPresentation, QStringLiteral("r:id=\"rId2\""), QStringLiteral("rid=\"rId2\"")),
         kPptxMissingPart},
        {"a slide outside the archive",
         Edit(entries, presentationRels, QStringLiteral("Target=\"slides/slide1.xml\""),
              QStringLiteral("Target=\"../../ppt/slides/slide1.xml\"")),
         kPptxMissingPart},
        {"no slides and no relationships to find them", Drop(Entries({}), presentationRels),
         kPptxMissingPart},
        {"a slide that lies outside the package",
         Edit(entries, presentationRels, QStringLiteral("Target=\"slides/slide1.xml\""),
              QStringLiteral("Target=\"slides/slide1.xml\" TargetMode=\"External\"")),
         kPptxMissingPart},
        {"a slide named by a relationship to a part not in the archive",
         Edit(entries, presentationRels, QStringLiteral("Target=\"slides/slide1.xml\""),
              QStringLiteral("Target=\"slides/slide7.xml\"")),
         kPptxMissingPart},
        {"the presentation's relationships not XML", Put(entries, presentationRels, "<Relationships>"),
         kPptxBadXml},
        {"the package's relationships with a DTD",
         Put(entries, QStringLiteral("_rels/.rels"),
             "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY e \"x\">]><Relationships>&e;</Relationships>"),
         kPptxBadXml},
        {"a slide's relationships not XML", Put(entries, slideRels, "<Relationships><x>"), kPptxBadXml},
        {"the presentation not XML", Put(entries, kPresentation, "<p:presentation"), kPptxBadXml},
        {"the master's theme not XML",
         Put(entries, QStringLiteral("ppt/theme/theme1.xml"), "<a:theme><a:clrScheme>"), kPptxBadXml},
        {"a master that is no XML", Put(entries, QStringLiteral("ppt/slideMasters/slideMaster1.xml"), "<"),
         kPptxBadXml},
        {"a layout that is no XML", Put(entries, QStringLiteral("ppt/slideLayouts/slideLayout1.xml"), "<"),
         kPptxBadXml},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadBytes(Zip(c.entries)), c.error) << c.what;

    // Parts that may be missing: the package's relationships (the presentation then lies where it
    // usually does), a slide's relationships, its layout, the master's theme.
    for (const QString& name :
         {QStringLiteral("_rels/.rels"), slideRels, QStringLiteral("ppt/slideLayouts/slideLayout1.xml"),
          QStringLiteral("ppt/theme/theme1.xml")})
        EXPECT_EQ(ReadDeck(Zip(Drop(entries, name))).slides.size(), 1u) << name.toStdString();
    // Targets with "." and "..", percent-encoded, and part names in another case lead to the parts.
    const EntryList roundabout =
        Edit(entries, presentationRels, QStringLiteral("Target=\"slides/slide1.xml\""),
             QStringLiteral("Target=\"./x/../Slides/slide%31.xml\""));
    EXPECT_EQ(ReadDeck(Zip(roundabout)).slides.size(), 1u);
}

TEST(PptxRefusals, ValuesThatAreNoNumbersOrOutOfRange) {
    const EntryList entries = Entries({OneBox()});
    const struct {
        const char* what;
        EntryList entries;
    } cases[] = {
        {"the slide size",
         Edit(entries, kPresentation, QStringLiteral("cx=\"9144000\""), QStringLiteral("cx=\"wide\""))},
        {"a column width",
         Entries({Table(4, 0, 0, {10}, {10}, {Cell(QStringLiteral("a"))})
                      .replace(QStringLiteral("w=\"127000\""), QStringLiteral("w=\"1e5\""))})},
        {"a row height", Entries({Table(4, 0, 0, {10}, {10}, {Cell(QStringLiteral("a"))})
                                      .replace(QStringLiteral("h=\"127000\""), QStringLiteral("h=\"x\""))})},
        {"a placeholder's index", Entries({Placeholder(2, QStringLiteral("title"), -1, QString())
                                               .replace(QStringLiteral("type=\"title\""),
                                                        QStringLiteral("type=\"title\" idx=\"-\""))})},
        {"a text size", Entries({RunWith(QStringLiteral("<a:rPr sz=\"big\"/>"))})},
        {"a baseline", Entries({RunWith(QStringLiteral("<a:rPr baseline=\"up\"/>"))})},
        {"a master's text size", Edit(entries, QStringLiteral("ppt/slideMasters/slideMaster1.xml"),
                                      QStringLiteral("sz=\"4000\""), QStringLiteral("sz=\"4000.5\""))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadBytes(Zip(c.entries)), kPptxBadValue) << c.what;
}

// ---------------------------------------------------------------------------------------------
// Limits, each at its value and one past it

TEST(PptxLimits, PlacesAndSizesUpToATrillionEmu) {
    auto box = [](const char* x) {
        return Presentation({TextBox(3, 1, 1, 1, 1, QString())
                                 .replace(QStringLiteral("x=\"12700\""), QStringLiteral("x=\"%1\"").arg(x))});
    };
    EXPECT_DOUBLE_EQ(FirstShape(box("1000000000000")).box.left, 1e12 / 12700);
    EXPECT_DOUBLE_EQ(FirstShape(box("-1000000000000")).box.left, -1e12 / 12700);
    EXPECT_EQ(ReadBytes(box("1000000000001")), kPptxBadValue);
    EXPECT_EQ(ReadBytes(box("-1000000000001")), kPptxBadValue);
    auto slideWidth = [](const char* cx) {
        return Zip(Edit(Entries({OneBox()}), kPresentation, QStringLiteral("cx=\"9144000\""),
                        QStringLiteral("cx=\"%1\"").arg(cx)));
    };
    EXPECT_DOUBLE_EQ(ReadDeck(slideWidth("1000000000000")).width, 1e12 / 12700);
    EXPECT_EQ(ReadBytes(slideWidth("1000000000001")), kPptxBadValue);
}

TEST(PptxLimits, TextSizesBaselinesAndPlaceholderIndices) {
    auto run = [](const QString& properties) { return FirstRun(Presentation({RunWith(properties)})); };
    // Sizes in hundredths of a point up to 400,000, kept within 1 to 4,000 points.
    EXPECT_DOUBLE_EQ(run(QStringLiteral("<a:rPr sz=\"400000\"/>")).points, 4000.0);
    EXPECT_DOUBLE_EQ(run(QStringLiteral("<a:rPr sz=\"399900\"/>")).points, 3999.0);
    EXPECT_DOUBLE_EQ(run(QStringLiteral("<a:rPr sz=\"101\"/>")).points, 1.01);
    EXPECT_DOUBLE_EQ(run(QStringLiteral("<a:rPr sz=\"99\"/>")).points, 1.0);
    EXPECT_EQ(ReadBytes(Presentation({RunWith(QStringLiteral("<a:rPr sz=\"400001\"/>"))})), kPptxBadValue);
    // Baselines up to ten million either way.
    EXPECT_EQ(run(QStringLiteral("<a:rPr baseline=\"10000000\"/>")).baseline, 1);
    EXPECT_EQ(run(QStringLiteral("<a:rPr baseline=\"-10000000\"/>")).baseline, -1);
    EXPECT_EQ(run(QStringLiteral("<a:rPr baseline=\"0\"/>")).baseline, 0);
    EXPECT_EQ(ReadBytes(Presentation({RunWith(QStringLiteral("<a:rPr baseline=\"10000001\"/>"))})),
              kPptxBadValue);
    // The master's text sizes have the same bound.
    auto master = [](const char* size) {
        return Zip(Edit(Entries({Placeholder(2, QStringLiteral("title"), -1, QString())}),
                        QStringLiteral("ppt/slideMasters/slideMaster1.xml"), QStringLiteral("sz=\"4000\""),
                        QStringLiteral("sz=\"%1\"").arg(QLatin1String(size))));
    };
    EXPECT_DOUBLE_EQ(FirstShape(master("400000")).text.defaultPoints, 4000.0);
    EXPECT_EQ(ReadBytes(master("400001")), kPptxBadValue);
    // Placeholder indices are 32-bit.
    auto indexed = [](const char* idx) {
        return Presentation(
            {Placeholder(2, QString(), 1, QString())
                 .replace(QStringLiteral("idx=\"1\""), QStringLiteral("idx=\"%1\"").arg(idx))});
    };
    EXPECT_EQ(ReadDeck(indexed("4294967295")).slides.size(), 1u);
    EXPECT_EQ(ReadBytes(indexed("4294967296")), kPptxBadValue);
}

TEST(PptxLimits, SixtyFourThemeColoursAndFaceNamesOfSixtyFourCharacters) {
    // The theme names four colours; sixty more make the most that are kept.
    QString more;
    for (int i = 0; i <= 60; ++i)
        more += QStringLiteral("<a:x%1><a:srgbClr val=\"%2\"/></a:x%1>").arg(i).arg(0x100000 + i, 6, 16);
    auto scheme = [](int i) {
        return TextRun(
            QStringLiteral("a"),
            QStringLiteral("<a:rPr><a:solidFill><a:schemeClr val=\"x%1\"/></a:solidFill></a:rPr>").arg(i));
    };
    const QString face64(64, u'f');
    auto faced = [](const QString& face) {
        return TextRun(QStringLiteral("b"),
                       QStringLiteral("<a:rPr><a:ea typeface=\"%1\"/></a:rPr>").arg(face));
    };
    const EntryList entries =
        Edit(Entries({TextBox(3, 0, 0, 10, 10,
                              Paragraph(scheme(59) + scheme(60) + faced(face64) + faced(face64 + u'g')))}),
             QStringLiteral("ppt/theme/theme1.xml"), QStringLiteral("</a:clrScheme>"),
             more + QStringLiteral("</a:clrScheme>"));
    const std::vector<HxSlideRun> runs = FirstRuns(Zip(entries));
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_TRUE(runs[0].hasColor);
    EXPECT_EQ(runs[0].color, qRgb(0x10, 0x00, 59));
    EXPECT_FALSE(runs[1].hasColor) << "the theme's 65th colour";
    EXPECT_EQ(runs[2].face, face64);
    EXPECT_EQ(runs[3].face, face64);
}

TEST(PptxLimits, TwoThousandShapesOnASlideGroupsIncluded) {
    QString shapes;
    for (int i = 0; i < 1999; ++i)
        shapes += TextBox(10 + i, 0, 0, 10, 10, QString());
    const HxSlideDeck deck = ReadDeck(Presentation({shapes + TextBox(9, 0, 0, 1, 1, QString())}));
    ASSERT_EQ(deck.slides.size(), 1u);
    EXPECT_EQ(deck.slides[0].shapes.size(), 2000u);
    // A group is a shape as well as its members.
    EXPECT_EQ(ReadBytes(Presentation(
                  {shapes + Group(9, 0, 0, 1, 1, 0, 0, 1, 1, TextBox(8, 0, 0, 1, 1, QString()))})),
              kPptxPastLimits);
    // The count is each slide's own.
    EXPECT_EQ(ReadDeck(Presentation({shapes, shapes})).slides.size(), 2u);
}

TEST(PptxLimits, GroupsThirtyTwoDeep) {
    auto nested = [](int depth) {
        QString shapes = TextBox(100, 0, 0, 10, 10, Paragraph(TextRun(QStringLiteral("深"))));
        for (int i = 0; i < depth; ++i)
            shapes = Group(200 + i, 0, 0, 10, 10, 0, 0, 10, 10, shapes);
        return Presentation({shapes});
    };
    const HxSlideDeck deck = ReadDeck(nested(32));
    ASSERT_EQ(deck.slides.size(), 1u);
    ASSERT_EQ(deck.slides[0].shapes.size(), 1u);
    const HxSlideShape* shape = &deck.slides[0].shapes[0];
    int depth = 0;
    while (shape->kind == HxSlideShape::kGroup && shape->members.size() == 1) {
        shape = &shape->members[0];
        ++depth;
    }
    EXPECT_EQ(depth, 32);
    EXPECT_EQ(shape->kind, HxSlideShape::kText);
    EXPECT_EQ(ReadBytes(nested(33)), kPptxPastLimits);
}

TEST(PptxLimits, TablesOfTwoHundredRowsAndColumns) {
    auto table = [](int columns, int rows, int cellsPerRow, const QString& cellAttributes = QString()) {
        return Presentation(
            {Table(4, 0, 0, std::vector<double>(size_t(columns), 1.0), std::vector<double>(size_t(rows), 1.0),
                   std::vector<QString>(size_t(rows), Rows(cellsPerRow, Cell(QString(), cellAttributes))))});
    };
    EXPECT_EQ(FirstShape(table(200, 1, 200)).columns, 200);
    EXPECT_EQ(FirstShape(table(1, 200, 1)).rows, 200);
    EXPECT_EQ(ReadBytes(table(201, 1, 1)), kPptxPastLimits) << "columns";
    EXPECT_EQ(ReadBytes(table(1, 201, 1)), kPptxPastLimits) << "rows";
    EXPECT_EQ(ReadBytes(table(200, 1, 201)), kPptxPastLimits) << "cells of a row";
    // Merged areas of up to 200 columns or rows.
    EXPECT_EQ(ReadDeck(table(2, 2, 2, QStringLiteral("gridSpan=\"200\" rowSpan=\"200\""))).slides.size(), 1u);
    EXPECT_EQ(ReadBytes(table(2, 2, 2, QStringLiteral("gridSpan=\"201\""))), kPptxBadValue);
    EXPECT_EQ(ReadBytes(table(2, 2, 2, QStringLiteral("rowSpan=\"201\""))), kPptxBadValue);
}

TEST(PptxLimits, TenThousandParagraphsInAText) {
    auto text = [](int paragraphs) {
        return Presentation({TextBox(3, 0, 0, 10, 10, Rows(paragraphs, QStringLiteral("<a:p/>")))});
    };
    EXPECT_EQ(FirstShape(text(10000)).text.paragraphs.size(), 10000u);
    EXPECT_EQ(ReadBytes(text(10001)), kPptxPastLimits);
}

TEST(PptxLimits, AHundredSlidesReadOfTwentyThousandListed) {
    const EntryList entries = Entries({OneBox()});
    auto listing = [&entries](int count) { return ReadDeck(Zip(ListingFirstSlide(entries, count))); };
    const HxSlideDeck hundred = listing(100);
    EXPECT_EQ(hundred.slideCount, 100);
    EXPECT_EQ(hundred.slides.size(), 100u);
    const HxSlideDeck more = listing(101);
    EXPECT_EQ(more.slideCount, 101);
    EXPECT_EQ(more.slides.size(), 100u);
    EXPECT_EQ(listing(20000).slideCount, 20000);
    EXPECT_EQ(ReadBytes(Zip(ListingFirstSlide(entries, 20001))), kPptxPastLimits);
}

TEST(PptxLimits, TwentyThousandEntriesInTheArchive) {
    EntryList entries = Entries({OneBox()});
    const size_t parts = entries.size();
    for (size_t i = parts; i < 20000; ++i)
        entries.emplace_back(QStringLiteral("ppt/media/pad%1.bin").arg(i), QByteArray());
    EXPECT_EQ(ReadDeck(Zip(entries, true)).slides.size(), 1u);
    entries.emplace_back(QStringLiteral("ppt/media/last.bin"), QByteArray());
    EXPECT_EQ(ReadBytes(Zip(entries, true)), kPptxPastLimits);
}

TEST(PptxLimits, SixteenMebibytesAPartUnpacked) {
    const EntryList entries = Entries({OneBox()});
    const QByteArray slide = PartOf(entries, kSlide1);
    const qint64 limit = 16LL * 1024 * 1024;
    EXPECT_EQ(FirstShape(Zip(Put(entries, kSlide1, PaddedTo(slide, limit)))).kind, HxSlideShape::kText);
    EXPECT_EQ(ReadBytes(Zip(Put(entries, kSlide1, PaddedTo(slide, limit + 1)))), kPptxTooLarge);
    EXPECT_EQ(ReadBytes(Zip(Put(entries, kSlide1, PaddedTo(slide, limit + 1)), true)), kPptxTooLarge);
}

TEST(PptxLimits, NinetySixMebibytesOfPartsInAll) {
    // Six slides without layouts: the parts read are the package's and the presentation's
    // relationships, the presentation, and each slide with its relationships.
    const std::vector<QString> slides(6, OneBox());
    EntryList entries = Entries(slides);
    for (int i = 1; i <= 6; ++i)
        entries =
            Put(entries, QStringLiteral("ppt/slides/_rels/slide%1.xml.rels").arg(i),
                "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"/>");
    qint64 others = 0;
    for (const auto& [name, bytes] : entries)
        if (name.startsWith(QLatin1String("ppt/slides/_rels/")) || name == QLatin1String("_rels/.rels") ||
            name == kPresentation || name == QLatin1String("ppt/_rels/presentation.xml.rels"))
            others += bytes.size();
    const qint64 part = 16LL * 1024 * 1024, all = 96LL * 1024 * 1024;
    for (int i = 1; i <= 5; ++i) {
        const QString name = QStringLiteral("ppt/slides/slide%1.xml").arg(i);
        entries = Put(entries, name, PaddedTo(PartOf(entries, name), part));
    }
    const QString last = QStringLiteral("ppt/slides/slide6.xml");
    const QByteArray lastSlide = PartOf(entries, last);
    EXPECT_EQ(
        ReadDeck(Zip(Put(entries, last, PaddedTo(lastSlide, all - 5 * part - others)), true)).slides.size(),
        6u);
    EXPECT_EQ(ReadBytes(Zip(Put(entries, last, PaddedTo(lastSlide, all - 5 * part - others + 1)), true)),
              kPptxTooLarge);
}

// ---------------------------------------------------------------------------------------------
// A slide part listed more than once

TEST(PptxRepeatedSlides, APartListedAgainIsReadOnceAndStandsForEachListing) {
    const EntryList entries =
        Entries({OneBox(), TextBox(3, 0, 0, 10, 10, Paragraph(TextRun(QStringLiteral("b"))))});
    // The first slide, then the second, then the first again.
    QString text = QString::fromUtf8(PartOf(entries, kPresentation));
    text.replace(QStringLiteral("</p:sldIdLst>"),
                 QStringLiteral("<p:sldId id=\"300\" r:id=\"rId2\"/></p:sldIdLst>"));
    const HxSlideDeck deck = ReadDeck(Zip(Put(entries, kPresentation, text.toUtf8())));
    ASSERT_EQ(deck.slideCount, 3);
    ASSERT_EQ(deck.slides.size(), 3u);
    EXPECT_EQ(deck.slides[0].sameAs, -1);
    EXPECT_EQ(deck.slides[1].sameAs, -1);
    EXPECT_EQ(deck.slides[2].sameAs, 0);
    EXPECT_TRUE(deck.slides[2].shapes.empty()) << "the shapes are held once";
    EXPECT_EQ(&deck.Slide(2), &deck.slides[0]);
    EXPECT_EQ(&deck.Slide(1), &deck.slides[1]);
    ASSERT_EQ(deck.Slide(2).shapes.size(), 1u);
    EXPECT_EQ(deck.Slide(2).shapes[0].text.paragraphs[0].runs[0].text, QStringLiteral("a"));

    // A slide part of 14 MiB listed seven times is read once: 98 MiB read would pass the limit
    // of all parts.
    const EntryList big =
        ListingFirstSlide(Put(entries, kSlide1, PaddedTo(PartOf(entries, kSlide1), 14LL * 1024 * 1024)), 7);
    const HxSlideDeck seven = ReadDeck(Zip(big));
    EXPECT_EQ(seven.slides.size(), 7u);
    for (size_t n = 0; n < seven.slides.size(); ++n)
        EXPECT_EQ(seven.Slide(n).shapes.size(), 1u) << n;

    // Names differing in case name one part.
    QString cased = QString::fromUtf8(PartOf(entries, QStringLiteral("ppt/_rels/presentation.xml.rels")));
    cased.replace(QStringLiteral("Target=\"slides/slide2.xml\""),
                  QStringLiteral("Target=\"Slides/SLIDE1.xml\""));
    const HxSlideDeck same =
        ReadDeck(Zip(Put(entries, QStringLiteral("ppt/_rels/presentation.xml.rels"), cased.toUtf8())));
    ASSERT_EQ(same.slides.size(), 2u);
    EXPECT_EQ(same.slides[1].sameAs, 0);
}

// ---------------------------------------------------------------------------------------------
// The file

class PptxFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString Path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    // The file read in a child that may map `memory` bytes more than it has: the reason's last
    // byte, 100 when the child ran out of memory, or -1 when it blocked.
    static int ReadInChild(const QString& path, long long memory = 1LL << 30) {
        return HxRunInChild(
            [&] {
                HxCapChildMemory(memory);
                try {
                    HxSlideDeck deck;
                    const HxPptxError error = HxReadPptxFile(CString::FromQString(path), deck);
                    return error == kPptxOk ? 0 : int(error & 0xFF);
                } catch (...) {
                    return 100; // out of memory
                }
            },
            -1, 10);
    }
    QTemporaryDir m_dir;
};

TEST_F(PptxFileTest, PipesDevicesAndFoldersAreRefusedAtOnce) {
    const QString pipe = Path("pipe.pptx");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), Path("zero.pptx")));
    ASSERT_TRUE(QFile::link(pipe, Path("link-to-pipe.pptx")));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("folder.pptx")));
    const int notRegular = int(kPptxNotRegular & 0xFF);
    for (const QString& path : {pipe, Path("zero.pptx"), Path("link-to-pipe.pptx"), Path("folder.pptx"),
                                QStringLiteral("/dev/zero")})
        EXPECT_EQ(ReadInChild(path), notRegular) << path.toStdString();
    EXPECT_EQ(ReadInChild(Path("none.pptx")), int(kPptxCannotOpen & 0xFF));
    // A link to a presentation will do.
    QFile file(Path("real.pptx"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Presentation({OneBox()}));
    file.close();
    ASSERT_TRUE(QFile::link(Path("real.pptx"), Path("link.pptx")));
    HxSlideDeck deck;
    EXPECT_EQ(HxReadPptxFile(CString::FromQString(Path("link.pptx")), deck), kPptxOk);
    EXPECT_EQ(deck.slides.size(), 1u);
}

TEST_F(PptxFileTest, FilesUpToFiveHundredTwelveMebibytes) {
    const qint64 limit = 512LL * 1024 * 1024;
    // Files of holes: one past the limit is refused without being read (the child could not hold
    // it); one at the limit is read, and is no archive.
    QFile past(Path("past.pptx"));
    ASSERT_TRUE(past.open(QIODevice::WriteOnly) && past.resize(limit + 1));
    past.close();
    EXPECT_EQ(ReadInChild(Path("past.pptx"), 256LL << 20), int(kPptxTooLarge & 0xFF));
    QFile at(Path("at.pptx"));
    ASSERT_TRUE(at.open(QIODevice::WriteOnly) && at.resize(limit));
    at.close();
    EXPECT_EQ(ReadInChild(Path("at.pptx"), 2LL << 30), int(kPptxNotArchive & 0xFF));
    // The same bound on bytes already in memory (their start makes them look like an archive).
    QByteArray bytes(qsizetype(limit + 1), Qt::Uninitialized);
    std::memcpy(bytes.data(), "PK\x03\x04", 4);
    EXPECT_EQ(ReadBytes(bytes), kPptxTooLarge);
}
