// Small ".pptx" presentations written by the tests and the fuzzer's seed tool.
#include "pptx_files.h"

#include <QDir>
#include <QFile>

#include <zip.h>

#include <list>

namespace PptxFiles {

namespace {

const char* const kNamespaces =
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\"";
const char* const kRelsNamespace = "http://schemas.openxmlformats.org/package/2006/relationships";
const char* const kRelType = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

QString Head() {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n");
}

QString Xfrm(double left, double top, double width, double height) {
    return QStringLiteral("<a:xfrm><a:off x=\"%1\" y=\"%2\"/><a:ext cx=\"%3\" cy=\"%4\"/></a:xfrm>")
        .arg(Emu(left))
        .arg(Emu(top))
        .arg(Emu(width))
        .arg(Emu(height));
}

QString Tree(const QString& root, const QString& shapes) {
    return Head() +
           QStringLiteral("<p:%1 %2><p:cSld><p:spTree><p:nvGrpSpPr><p:cNvPr id=\"1\" name=\"\"/>"
                          "<p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr><p:grpSpPr/>%3</p:spTree></p:cSld></p:%1>")
               .arg(root, QLatin1String(kNamespaces), shapes);
}

QString Rels(const std::vector<std::pair<QString, QString>>& rels) {
    QString out = Head() + QStringLiteral("<Relationships xmlns=\"%1\">").arg(QLatin1String(kRelsNamespace));
    int n = 1;
    for (const auto& [type, target] : rels)
        out += QStringLiteral("<Relationship Id=\"rId%1\" Type=\"%2%3\" Target=\"%4\"/>")
                   .arg(n++)
                   .arg(QLatin1String(kRelType), type, target);
    return out + QStringLiteral("</Relationships>");
}

QString ShapeHead(const QString& element, int id, const QString& kindProps, const QString& nvPr = QString()) {
    return QStringLiteral(
               "<p:%1><p:nv%2Pr><p:cNvPr id=\"%3\" name=\"Shape %3\"/>%4<p:nvPr>%5</p:nvPr></p:nv%2Pr>")
        .arg(element, element == QLatin1String("sp")    ? QStringLiteral("Sp")
                      : element == QLatin1String("pic") ? QStringLiteral("Pic")
                                                        : QStringLiteral("GrpSp"))
        .arg(id)
        .arg(kindProps, nvPr);
}

} // namespace

QByteArray Zip(const std::vector<std::pair<QString, QByteArray>>& entries, bool stored) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer)
        return QByteArray();
    zip_source_keep(buffer);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_source_free(buffer);
        return QByteArray();
    }
    std::list<QByteArray> kept; // the data must live until the archive is written
    for (const auto& [name, bytes] : entries) {
        kept.push_back(bytes);
        zip_source_t* source =
            zip_source_buffer(archive, kept.back().constData(), zip_uint64_t(kept.back().size()), 0);
        const zip_int64_t index =
            zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
        if (index < 0) {
            zip_source_free(source);
            continue;
        }
        if (stored)
            zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
    }
    QByteArray out;
    if (zip_close(archive) != 0) {
        zip_discard(archive);
    } else if (zip_source_open(buffer) == 0) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_source_stat(buffer, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE)) {
            out.resize(qsizetype(stat.size));
            if (zip_source_read(buffer, out.data(), stat.size) != zip_int64_t(stat.size))
                out.clear();
        }
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    return out;
}

// The entries of a presentation of the slides listed in `order`, with `styles`.
std::vector<std::pair<QString, QByteArray>> Entries(const std::vector<QString>& slides,
                                                    const std::vector<int>& order, const DeckStyles& styles);

std::vector<std::pair<QString, QByteArray>> Entries(const std::vector<QString>& slides,
                                                    const std::vector<int>& order) {
    return Entries(slides, order, DeckStyles());
}

std::vector<std::pair<QString, QByteArray>> Entries(const std::vector<QString>& slides,
                                                    const DeckStyles& styles) {
    return Entries(slides, {}, styles);
}

QByteArray Presentation(const std::vector<QString>& slides, const DeckStyles& styles) {
    return Zip(Entries(slides, styles));
}

std::vector<std::pair<QString, QByteArray>> Entries(const std::vector<QString>& slides,
                                                    const std::vector<int>& order, const DeckStyles& styles) {
    std::vector<std::pair<QString, QByteArray>> e;
    e.emplace_back(
        QStringLiteral("[Content_Types].xml"),
        (Head() + QStringLiteral("<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                                 "content-types\"><Default Extension=\"xml\" ContentType=\"application/"
                                 "xml\"/></Types>"))
            .toUtf8());
    e.emplace_back(
        QStringLiteral("_rels/.rels"),
        Rels({{QStringLiteral("officeDocument"), QStringLiteral("ppt/presentation.xml")}}).toUtf8());
    std::vector<int> listed = order;
    if (listed.empty())
        for (int i = 0; i < int(slides.size()); ++i)
            listed.push_back(i);
    QString ids;
    int id = 256;
    for (int i : listed)
        ids += QStringLiteral("<p:sldId id=\"%1\" r:id=\"rId%2\"/>").arg(id++).arg(i + 2);
    e.emplace_back(
        QStringLiteral("ppt/presentation.xml"),
        (Head() +
         QStringLiteral("<p:presentation %1><p:sldMasterIdLst><p:sldMasterId id=\"2147483648\" "
                        "r:id=\"rId1\"/></p:sldMasterIdLst><p:sldIdLst>%2</p:sldIdLst><p:sldSz "
                        "cx=\"9144000\" cy=\"6858000\"/><p:notesSz cx=\"6858000\" "
                        "cy=\"9144000\"/>%3</p:presentation>")
             .arg(QLatin1String(kNamespaces), ids,
                  styles.defaults.isEmpty()
                      ? QString()
                      : QStringLiteral("<p:defaultTextStyle>%1</p:defaultTextStyle>").arg(styles.defaults)))
            .toUtf8());
    std::vector<std::pair<QString, QString>> rels{
        {QStringLiteral("slideMaster"), QStringLiteral("slideMasters/slideMaster1.xml")}};
    for (size_t i = 0; i < slides.size(); ++i)
        rels.emplace_back(QStringLiteral("slide"), QStringLiteral("slides/slide%1.xml").arg(i + 1));
    e.emplace_back(QStringLiteral("ppt/_rels/presentation.xml.rels"), Rels(rels).toUtf8());
    for (size_t i = 0; i < slides.size(); ++i) {
        e.emplace_back(QStringLiteral("ppt/slides/slide%1.xml").arg(i + 1),
                       Tree(QStringLiteral("sld"), slides[i]).toUtf8());
        e.emplace_back(
            QStringLiteral("ppt/slides/_rels/slide%1.xml.rels").arg(i + 1),
            Rels({{QStringLiteral("slideLayout"), QStringLiteral("../slideLayouts/slideLayout1.xml")},
                  {QStringLiteral("image"), QStringLiteral("../media/image1.png")}})
                .toUtf8());
    }
    const QString title = Placeholder(2, QStringLiteral("title"), -1, QString());
    QString layoutTitle = title;
    layoutTitle.replace(QStringLiteral("<p:spPr/>"),
                        QStringLiteral("<p:spPr>") + Xfrm(36, 20, 648, 90) + QStringLiteral("</p:spPr>"));
    e.emplace_back(
        QStringLiteral("ppt/slideLayouts/slideLayout1.xml"),
        Tree(QStringLiteral("sldLayout"),
             WithBodyProperties(WithListStyle(layoutTitle, styles.layoutTitle), styles.layoutTitleBody) +
                 WithBodyProperties(WithListStyle(Placeholder(3, QString(), 1, QString()), styles.layoutBody),
                                    styles.layoutBodyBody))
            .toUtf8());
    e.emplace_back(
        QStringLiteral("ppt/slideLayouts/_rels/slideLayout1.xml.rels"),
        Rels({{QStringLiteral("slideMaster"), QStringLiteral("../slideMasters/slideMaster1.xml")}}).toUtf8());
    QString body = Placeholder(3, QStringLiteral("body"), 1, QString());
    body.replace(QStringLiteral("<p:spPr/>"),
                 QStringLiteral("<p:spPr>") + Xfrm(36, 130, 648, 360) + QStringLiteral("</p:spPr>"));
    QString master =
        Tree(QStringLiteral("sldMaster"),
             WithBodyProperties(WithListStyle(layoutTitle, styles.masterTitle), styles.masterTitleBody) +
                 WithBodyProperties(WithListStyle(body, styles.masterBody), styles.masterBodyBody));
    auto style = [](const QString& given, const char* standard) {
        return given.isEmpty() ? QLatin1String(standard) : given;
    };
    master.replace(
        QStringLiteral("</p:cSld>"),
        QStringLiteral("</p:cSld><p:txStyles><p:titleStyle>%1</p:titleStyle><p:bodyStyle>%2</p:bodyStyle>"
                       "<p:otherStyle>%3</p:otherStyle></p:txStyles>")
            .arg(style(styles.title, "<a:lvl1pPr algn=\"ctr\"><a:defRPr sz=\"4000\"/></a:lvl1pPr>"),
                 style(styles.body, "<a:lvl1pPr><a:defRPr sz=\"2400\"/></a:lvl1pPr><a:lvl2pPr><a:defRPr "
                                    "sz=\"2000\"/></a:lvl2pPr>"),
                 style(styles.other, "<a:defPPr><a:defRPr lang=\"zh-CN\"/></a:defPPr>")));
    e.emplace_back(QStringLiteral("ppt/slideMasters/slideMaster1.xml"), master.toUtf8());
    e.emplace_back(QStringLiteral("ppt/slideMasters/_rels/slideMaster1.xml.rels"),
                   Rels({{QStringLiteral("slideLayout"), QStringLiteral("../slideLayouts/slideLayout1.xml")},
                         {QStringLiteral("theme"), QStringLiteral("../theme/theme1.xml")}})
                       .toUtf8());
    e.emplace_back(
        QStringLiteral("ppt/theme/theme1.xml"),
        (Head() + QStringLiteral(
                      "<a:theme %1 name=\"Office\"><a:themeElements><a:clrScheme name=\"Office\"><a:dk1>"
                      "<a:sysClr val=\"windowText\" lastClr=\"000000\"/></a:dk1><a:lt1><a:sysClr "
                      "val=\"window\" lastClr=\"FFFFFF\"/></a:lt1><a:dk2><a:srgbClr val=\"44546A\"/></a:dk2>"
                      "<a:accent1><a:srgbClr val=\"4472C4\"/></a:accent1></a:clrScheme></a:themeElements>"
                      "</a:theme>")
                      .arg(QLatin1String(kNamespaces)))
            .toUtf8());
    e.emplace_back(QStringLiteral("ppt/media/image1.png"), QByteArray("\x89PNG\r\n\x1a\n", 8));
    return e;
}

QByteArray Presentation(const std::vector<QString>& slides, const std::vector<int>& order) {
    return Zip(Entries(slides, order));
}

QString TextBox(int id, double left, double top, double width, double height, const QString& paragraphs) {
    return ShapeHead(QStringLiteral("sp"), id, QStringLiteral("<p:cNvSpPr txBox=\"1\"/>")) +
           QStringLiteral("<p:spPr>") + Xfrm(left, top, width, height) +
           QStringLiteral("<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></p:spPr><p:txBody><a:bodyPr "
                          "wrap=\"square\"/><a:lstStyle/>%1</p:txBody></p:sp>")
               .arg(paragraphs.isEmpty() ? QStringLiteral("<a:p><a:endParaRPr lang=\"zh-CN\"/></a:p>")
                                         : paragraphs);
}

QString Placeholder(int id, const QString& type, int idx, const QString& paragraphs) {
    QString ph = QStringLiteral("<p:ph");
    if (!type.isEmpty())
        ph += QStringLiteral(" type=\"%1\"").arg(type);
    if (idx >= 0)
        ph += QStringLiteral(" idx=\"%1\"").arg(idx);
    ph += QStringLiteral("/>");
    return ShapeHead(QStringLiteral("sp"), id,
                     QStringLiteral("<p:cNvSpPr><a:spLocks noGrp=\"1\"/></p:cNvSpPr>"), ph) +
           QStringLiteral("<p:spPr/><p:txBody><a:bodyPr/><a:lstStyle/>%1</p:txBody></p:sp>")
               .arg(paragraphs.isEmpty() ? QStringLiteral("<a:p><a:endParaRPr lang=\"zh-CN\"/></a:p>")
                                         : paragraphs);
}

QString TextRun(const QString& text, const QString& properties) {
    return QStringLiteral("<a:r>%1<a:t>%2</a:t></a:r>")
        .arg(properties.isEmpty() ? QStringLiteral("<a:rPr lang=\"zh-CN\"/>") : properties,
             text.toHtmlEscaped());
}

QString SizedRun(const QString& text, double points) {
    return TextRun(text, QStringLiteral("<a:rPr lang=\"en-US\" sz=\"%1\"/>").arg(qRound(points * 100)));
}

QString LetterBoxes(int count, int firstId, qsizetype letters, double width, double height) {
    QString out;
    const QString run = SizedRun(QString(letters, u'a'), 6);
    for (int i = 0; i < count; ++i)
        out += TextBox(firstId + i, (i % 40) * 15.0, (i / 40) * 9.0, width, height, Paragraph(run));
    return out;
}

QString LargeLetterGroup(int count, double points, double width, double height) {
    QString members;
    const QString letter = Paragraph(SizedRun(QStringLiteral("W"), points));
    for (int i = 0; i < count; ++i)
        members += TextBox(3 + i, 0, 0, width, height, letter);
    return Group(2, 0, 0, width, height, 0, 0, width, height, members);
}

QString SizeSteppingParagraph(int runs) {
    QString text;
    for (int i = 0; i < runs; ++i)
        text += TextRun(QStringLiteral("a"),
                        QStringLiteral("<a:rPr lang=\"en-US\" sz=\"%1\"/>").arg(100 + i % 4700));
    return Paragraph(text);
}

QString FallbackRunsParagraph(int runs) {
    // Ethiopic, Cherokee, Tibetan, Sinhala, Mongolian and Tamil: no face installed here has them.
    static const char16_t kLetters[][3] = {u"\u1200\u1208", u"\u13a0\u13a1", u"\u0f40\u0f41",
                                           u"\u0d85\u0d86", u"\u1820\u1821", u"\u0b85\u0b86"};
    QString text;
    for (int i = 0; i < runs; ++i)
        text += TextRun(QString::fromUtf16(kLetters[i % 6]),
                        QStringLiteral("<a:rPr lang=\"en-US\" sz=\"%1\" b=\"%2\" i=\"%3\"/>")
                            .arg(800 + (i * 700) % 5300)
                            .arg(i % 2)
                            .arg((i / 2) % 2));
    return Paragraph(text);
}

QByteArray OrdinaryDeck(int sections) {
    std::vector<QString> slides;
    for (int i = 0; i < sections; ++i) {
        slides.push_back(TextBox(
            3, 36, 200, 648, 90,
            Paragraph(SizedRun(QStringLiteral("第%1节 棱柱的体积").arg(i + 1), 44), QStringLiteral("ctr"))));
        QString bullets;
        for (int b = 0; b < 5; ++b)
            bullets += Paragraph(SizedRun(QStringLiteral("要点%1：底面积乘以高 V = Sh").arg(b + 1), 24));
        QString slide = TextBox(3, 36, 20, 648, 60, Paragraph(SizedRun(QStringLiteral("要点"), 40))) +
                        TextBox(4, 36, 100, 648, 380, bullets);
        if (i % 2 == 0)
            slide += Table(
                5, 60, 400, {120, 120, 120}, {30, 30},
                {Cell(QStringLiteral("底面积")) + Cell(QStringLiteral("高")) + Cell(QStringLiteral("体积")),
                 Cell(QStringLiteral("S")) + Cell(QStringLiteral("h")) + Cell(QStringLiteral("Sh"))});
        slides.push_back(slide);
    }
    return Presentation(slides);
}

QString MarkedLetter(qsizetype marks) {
    return QStringLiteral("a") + QString(marks, QChar(0x0301));
}

QString Paragraph(const QString& runs, const QString& align) {
    return QStringLiteral("<a:p>%1%2</a:p>")
        .arg(align.isEmpty() ? QString() : QStringLiteral("<a:pPr algn=\"%1\"/>").arg(align), runs);
}

QString StyledParagraph(const QString& attributes, const QString& properties, const QString& runs) {
    return QStringLiteral("<a:p><a:pPr %1>%2</a:pPr>%3</a:p>").arg(attributes, properties, runs);
}

QString WithListStyle(const QString& shape, const QString& levels) {
    if (levels.isEmpty())
        return shape;
    QString styled = shape;
    styled.replace(QStringLiteral("<a:lstStyle/>"),
                   QStringLiteral("<a:lstStyle>%1</a:lstStyle>").arg(levels));
    return styled;
}

QString WithBodyProperties(const QString& shape, const QString& bodyPr) {
    if (bodyPr.isEmpty())
        return shape;
    QString changed = shape;
    const qsizetype at = changed.indexOf(QStringLiteral("<a:bodyPr"));
    const qsizetype end = changed.indexOf(QStringLiteral("/>"), at);
    return changed.replace(at, end + 2 - at, bodyPr);
}

QString Table(int id, double left, double top, const std::vector<double>& widths,
              const std::vector<double>& heights, const std::vector<QString>& rows) {
    double width = 0, height = 0;
    QString grid;
    for (double w : widths) {
        grid += QStringLiteral("<a:gridCol w=\"%1\"/>").arg(Emu(w));
        width += w;
    }
    QString body;
    for (size_t r = 0; r < rows.size(); ++r) {
        const double h = r < heights.size() ? heights[r] : 30.0;
        body += QStringLiteral("<a:tr h=\"%1\">%2</a:tr>").arg(Emu(h)).arg(rows[r]);
        height += h;
    }
    return QStringLiteral(
               "<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr id=\"%1\" name=\"Table %1\"/>"
               "<p:cNvGraphicFramePr><a:graphicFrameLocks noGrp=\"1\"/></p:cNvGraphicFramePr><p:nvPr/>"
               "</p:nvGraphicFramePr><p:xfrm><a:off x=\"%2\" y=\"%3\"/><a:ext cx=\"%4\" cy=\"%5\"/>"
               "</p:xfrm><a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/"
               "table\"><a:tbl><a:tblPr firstRow=\"1\" bandRow=\"1\"/><a:tblGrid>%6</a:tblGrid>%7</a:tbl>"
               "</a:graphicData></a:graphic></p:graphicFrame>")
        .arg(id)
        .arg(Emu(left))
        .arg(Emu(top))
        .arg(Emu(width))
        .arg(Emu(height))
        .arg(grid, body);
}

QString SquareCellTable(int rows, int columns, const QString& text) {
    std::vector<QString> body(static_cast<size_t>(rows));
    for (QString& row : body)
        for (int c = 0; c < columns; ++c)
            row += Cell(text);
    return Table(4, 0, 0, std::vector<double>(size_t(columns), 10), std::vector<double>(size_t(rows), 10),
                 body);
}

QString Cell(const QString& text, const QString& attributes) {
    const QString paragraph = text.isEmpty() ? QStringLiteral("<a:p><a:endParaRPr lang=\"zh-CN\"/></a:p>")
                                             : Paragraph(TextRun(text));
    return QStringLiteral("<a:tc%1><a:txBody><a:bodyPr/><a:lstStyle/>%2</a:txBody><a:tcPr/></a:tc>")
        .arg(attributes.isEmpty() ? QString() : QStringLiteral(" ") + attributes, paragraph);
}

QString CellWithProperties(const QString& paragraphs, const QString& properties) {
    return QStringLiteral("<a:tc><a:txBody><a:bodyPr/><a:lstStyle/>%1</a:txBody><a:tcPr %2/></a:tc>")
        .arg(paragraphs, properties);
}

QString Group(int id, double left, double top, double width, double height, double childLeft, double childTop,
              double childWidth, double childHeight, const QString& members) {
    return ShapeHead(QStringLiteral("grpSp"), id, QStringLiteral("<p:cNvGrpSpPr/>")) +
           QStringLiteral(
               "<p:grpSpPr><a:xfrm><a:off x=\"%1\" y=\"%2\"/><a:ext cx=\"%3\" cy=\"%4\"/><a:chOff x=\"%5\" "
               "y=\"%6\"/><a:chExt cx=\"%7\" cy=\"%8\"/></a:xfrm></p:grpSpPr>")
               .arg(Emu(left))
               .arg(Emu(top))
               .arg(Emu(width))
               .arg(Emu(height))
               .arg(Emu(childLeft))
               .arg(Emu(childTop))
               .arg(Emu(childWidth))
               .arg(Emu(childHeight)) +
           members + QStringLiteral("</p:grpSp>");
}

QString Picture(int id, double left, double top, double width, double height) {
    return ShapeHead(QStringLiteral("pic"), id, QStringLiteral("<p:cNvPicPr/>")) +
           QStringLiteral(
               "<p:blipFill><a:blip r:embed=\"rId2\"/><a:stretch><a:fillRect/></a:stretch></p:blipFill>"
               "<p:spPr>") +
           Xfrm(left, top, width, height) +
           QStringLiteral("<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></p:spPr></p:pic>");
}

int WriteSeeds(const QString& folder) {
    QDir().mkpath(folder);
    const QString red = QStringLiteral("<a:rPr lang=\"zh-CN\" b=\"1\" sz=\"2400\"><a:solidFill><a:srgbClr "
                                       "val=\"FF0000\"/></a:solidFill><a:ea typeface=\"黑体\"/></a:rPr>");
    const std::vector<QString> slides{
        Placeholder(2, QStringLiteral("title"), -1, Paragraph(TextRun(QStringLiteral("标题")))) +
            TextBox(3, 100, 200, 300, 60,
                    Paragraph(TextRun(QStringLiteral("正方体"), red) + QStringLiteral("<a:br/>") +
                                  TextRun(QStringLiteral("x")) +
                                  TextRun(QStringLiteral("2"), QStringLiteral("<a:rPr baseline=\"30000\"/>")),
                              QStringLiteral("ctr"))),
        Table(4, 60, 100, {100, 80, 80}, {30, 30, 30},
              {Cell(QStringLiteral("A"), QStringLiteral("gridSpan=\"2\"")) +
                   Cell(QString(), QStringLiteral("hMerge=\"1\"")) + Cell(QStringLiteral("C")),
               Cell(QStringLiteral("D"), QStringLiteral("rowSpan=\"2\"")) + Cell(QStringLiteral("E")) +
                   Cell(QStringLiteral("F")),
               Cell(QString(), QStringLiteral("vMerge=\"1\"")) + Cell(QStringLiteral("H")) +
                   Cell(QStringLiteral("I"))}),
        Group(5, 100, 100, 200, 100, 0, 0, 400, 200,
              TextBox(6, 0, 0, 200, 100, Paragraph(TextRun(QStringLiteral("组")))) +
                  Picture(7, 200, 0, 200, 200)),
    };
    // Bullets and numbers from the master's body style and the default text style, a text box's own
    // list style and the paragraphs' own properties, at several levels.
    DeckStyles styles;
    styles.body = QStringLiteral(
        "<a:lvl1pPr marL=\"342900\" indent=\"-342900\"><a:lnSpc><a:spcPct val=\"90000\"/></a:lnSpc>"
        "<a:buFont typeface=\"Arial\"/><a:buChar char=\"•\"/><a:defRPr sz=\"2800\"/></a:lvl1pPr>"
        "<a:lvl2pPr marL=\"742950\" indent=\"-285750\"><a:buFont typeface=\"Wingdings\"/><a:buChar "
        "char=\"§\"/></a:lvl2pPr>");
    styles.defaults = QStringLiteral("<a:defPPr><a:spcBef><a:spcPts val=\"600\"/></a:spcBef><a:defRPr "
                                     "sz=\"1800\"/></a:defPPr>");
    const QString numbered = QStringLiteral("<a:buAutoNum type=\"arabicParenR\" startAt=\"3\"/>");
    const QString bulleted =
        Placeholder(
            3, QString(), 1,
            Paragraph(TextRun(QStringLiteral("一级"))) +
                StyledParagraph(QStringLiteral("lvl=\"1\""), QString(), TextRun(QStringLiteral("二级"))) +
                StyledParagraph(QString(), QStringLiteral("<a:buNone/>"), TextRun(QStringLiteral("无")))) +
        WithListStyle(TextBox(4, 100, 300, 400, 100,
                              StyledParagraph(QStringLiteral("marL=\"342900\" indent=\"-342900\""), numbered,
                                              TextRun(QStringLiteral("甲"))) +
                                  StyledParagraph(QString(), numbered, TextRun(QStringLiteral("乙")))),
                      QStringLiteral("<a:lvl1pPr algn=\"ctr\"><a:buClr><a:srgbClr val=\"FF0000\"/></a:buClr>"
                                     "<a:buSzPct val=\"75000\"/></a:lvl1pPr>"));
    std::vector<std::pair<QString, QByteArray>> files{
        {QStringLiteral("seed-whole.pptx"), Presentation(slides)},
        {QStringLiteral("seed-stored.pptx"), Zip(Entries(slides), true)},
        {QStringLiteral("seed-order.pptx"), Presentation(slides, {2, 0, 1})},
        {QStringLiteral("seed-text.pptx"), Presentation({slides[0]})},
        {QStringLiteral("seed-table.pptx"), Zip(Entries({slides[1]}), true)},
        {QStringLiteral("seed-group.pptx"), Zip(Entries({slides[2]}), true)},
        {QStringLiteral("seed-bullets.pptx"), Presentation({bulleted}, styles)},
    };
    const QByteArray whole = files[0].second;
    files.emplace_back(QStringLiteral("seed-cut.pptx"), whole.left(whole.size() / 2));
    QByteArray flipped = files[1].second;
    for (qsizetype i = 200; i < flipped.size(); i += 97)
        flipped[i] = char(flipped[i] ^ 0x5A);
    files.emplace_back(QStringLiteral("seed-flipped.pptx"), flipped);
    files.emplace_back(QStringLiteral("seed-old.ppt"),
                       QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0\0", 12));
    // The same slides as XML parts for the fuzzer's XML form ("X\n", parts separated by "\n====\n").
    QByteArray xml("X\n");
    for (const auto& [name, bytes] : Entries(slides))
        if (name.startsWith(QLatin1String("ppt/slides/slide")))
            xml += (xml.size() > 2 ? QByteArray("\n====\n") : QByteArray()) + bytes;
    files.emplace_back(QStringLiteral("seed-xml.bin"), xml);
    for (const auto& [name, bytes] : Entries({slides[1]}))
        if (name == QLatin1String("ppt/slides/slide1.xml"))
            files.emplace_back(QStringLiteral("seed-xml-table.bin"), "X\n" + bytes);
    for (const auto& [name, bytes] : Entries({bulleted}))
        if (name == QLatin1String("ppt/slides/slide1.xml"))
            files.emplace_back(QStringLiteral("seed-xml-bullets.bin"), "X\n" + bytes);
    for (const auto& [name, bytes] : Entries({slides[2]}))
        if (name == QLatin1String("ppt/slides/slide1.xml"))
            files.emplace_back(QStringLiteral("seed-xml-group.bin"), "X\n" + bytes);
    // Boxes that cost an import the most: narrower than a character, of type a point high, a letter
    // under marks, higher and wider than a picture, as large as a file allows.
    const QString hostile =
        TextBox(3, 0, 0, 2, 30, Paragraph(TextRun(QString(300, u'w')))) +
        TextBox(4, 0, 0, 90, 30, Paragraph(TextRun(MarkedLetter(100)))) +
        TextBox(5, 0, 0, 90, 9000, Paragraph(SizedRun(QStringLiteral("ab\n").repeated(100), 1))) +
        TextBox(6, 0, 0, 3072, 300, Paragraph(SizedRun(QString(3000, u'w'), 1))) +
        TextBox(7, 0, 0, 3072, 3072,
                Paragraph(TextRun(QStringLiteral("a"), QStringLiteral("<a:rPr sz=\"400000\"/>")))) +
        TextBox(8, 0, 0, kLargestSide, kLargestSide, Paragraph(TextRun(QStringLiteral("a"))));
    for (const auto& [name, bytes] : Entries({hostile}))
        if (name == QLatin1String("ppt/slides/slide1.xml"))
            files.emplace_back(QStringLiteral("seed-xml-hostile.bin"), "X\n" + bytes);
    int written = 0;
    for (const auto& [name, bytes] : files) {
        QFile file(folder + u'/' + name);
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
            ++written;
    }
    return written;
}

std::vector<std::pair<QString, QByteArray>> Without(std::vector<std::pair<QString, QByteArray>> entries,
                                                    const QString& name) {
    std::erase_if(entries, [&name](const auto& e) { return e.first == name; });
    return entries;
}

std::vector<std::pair<QString, QByteArray>> Replacing(std::vector<std::pair<QString, QByteArray>> entries,
                                                      const QString& name, const QByteArray& bytes) {
    for (auto& e : entries)
        if (e.first == name)
            e.second = bytes;
    return entries;
}

QByteArray WithShapes(const QByteArray& part, const QString& shapes) {
    const QByteArray open = "<p:grpSpPr/>";
    const qsizetype from = part.indexOf(open);
    const qsizetype to = part.indexOf("</p:spTree>");
    if (from < 0 || to < from)
        return QByteArray();
    return part.left(from + open.size()) + shapes.toUtf8() + part.mid(to);
}

} // namespace PptxFiles
