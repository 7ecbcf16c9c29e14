// The ".pptx" reader: the archive opened with libzip within the reader's limits, the parts found
// through their relationships, and the slides' shape trees read with QXmlStreamReader.
#include "slides/pptx_reader.h"

#include "platform/file.h"

#include <QFile>
#include <QHash>
#include <QStringList>
#include <QUrl>
#include <QXmlStreamReader>

#include <zip.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <utility>

bool HxSlideText::HasText() const {
    for (const HxSlideParagraph& p : paragraphs)
        for (const HxSlideRun& r : p.runs)
            for (QChar c : r.text)
                if (!c.isSpace())
                    return true;
    return false;
}

qsizetype HxSlideText::Length() const {
    qsizetype length = paragraphs.empty() ? 0 : qsizetype(paragraphs.size()) - 1;
    for (const HxSlideParagraph& p : paragraphs)
        for (const HxSlideRun& r : p.runs)
            length += r.text.size();
    return length;
}

HxSlideText HxSlideText::Beginning(qsizetype length, bool* cut) const {
    HxSlideText part;
    part.defaultPoints = defaultPoints;
    qsizetype left = std::max<qsizetype>(length, 0);
    bool whole = true;
    for (size_t i = 0; i < paragraphs.size() && whole; ++i) {
        if (i > 0) {
            if (left == 0) {
                whole = false;
                break;
            }
            --left; // the paragraph end before it
        }
        const HxSlideParagraph& paragraph = paragraphs[i];
        HxSlideParagraph& taken = part.paragraphs.emplace_back();
        taken.align = paragraph.align;
        for (const HxSlideRun& run : paragraph.runs) {
            if (run.text.size() <= left) {
                taken.runs.push_back(run);
                left -= run.text.size();
                continue;
            }
            whole = false;
            qsizetype end = left;
            if (end > 0 && run.text[end - 1].isHighSurrogate() && run.text[end].isLowSurrogate())
                --end;
            if (end > 0) {
                HxSlideRun& first = taken.runs.emplace_back(run);
                first.text = run.text.left(end);
            }
            break;
        }
    }
    if (cut)
        *cut = !whole;
    return part;
}

namespace {

// ---------------------------------------------------------------------------------------------
// The archive

class CZipParts {
public:
    CZipParts() = default;
    CZipParts(const CZipParts&) = delete;
    CZipParts& operator=(const CZipParts&) = delete;
    ~CZipParts() {
        if (m_zip)
            zip_discard(m_zip);
    }

    HxPptxError Open(const QByteArray& bytes) {
        static const char kCompound[8] = {'\xD0', '\xCF', '\x11', '\xE0', '\xA1', '\xB1', '\x1A', '\xE1'};
        if (bytes.startsWith(QByteArray(kCompound, 8)))
            return kPptxOldBinary;
        if (bytes.size() > HxPptxLimits::kMaxFileBytes)
            return kPptxTooLarge;
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source =
            zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
        if (!source) {
            zip_error_fini(&error);
            return kPptxNotArchive;
        }
        m_zip = zip_open_from_source(source, ZIP_RDONLY, &error);
        zip_error_fini(&error);
        if (!m_zip) {
            zip_source_free(source);
            return kPptxNotArchive;
        }
        const zip_int64_t entries = zip_get_num_entries(m_zip, 0);
        if (entries <= 0)
            return kPptxNotArchive; // an empty file opens as an empty archive

        if (entries > HxPptxLimits::kMaxEntries)
            return kPptxPastLimits;
        return kPptxOk;
    }

    bool Has(const QString& name) const { return Locate(name) >= 0; }
    // The entry holding a part (names compared without regard to case), or -1.
    zip_int64_t Entry(const QString& name) const { return Locate(name); }

    // A part unpacked whole, within the limits of one part and of all parts read.
    HxPptxError Read(const QString& name, QByteArray& out) {
        out.clear();
        const zip_int64_t index = Locate(name);
        if (index < 0)
            return kPptxMissingPart;
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(m_zip, zip_uint64_t(index), 0, &stat) != 0)
            return kPptxDamagedPart;
        if ((stat.valid & ZIP_STAT_SIZE) && stat.size > zip_uint64_t(HxPptxLimits::kMaxPartBytes))
            return kPptxTooLarge;
        zip_file_t* file = zip_fopen_index(m_zip, zip_uint64_t(index), 0);
        if (!file)
            return kPptxDamagedPart;
        std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> closer(file, zip_fclose);
        char chunk[65536];
        for (;;) {
            const zip_int64_t n = zip_fread(file, chunk, sizeof chunk);
            if (n < 0)
                return kPptxDamagedPart;
            if (n == 0)
                break;
            // A size in the directory that lies does not let a part grow past the limits.
            if (out.size() + n > HxPptxLimits::kMaxPartBytes || m_total + n > HxPptxLimits::kMaxTotalBytes)
                return kPptxTooLarge;
            out.append(chunk, qsizetype(n));
            m_total += n;
        }
        return kPptxOk;
    }

private:
    zip_int64_t Locate(const QString& name) const {
        if (!m_zip || name.isEmpty())
            return -1;
        // Part names are compared without regard to case.
        return zip_name_locate(m_zip, name.toUtf8().constData(), ZIP_FL_NOCASE | ZIP_FL_ENC_GUESS);
    }

    zip_t* m_zip = nullptr;
    qint64 m_total = 0;
};

// ---------------------------------------------------------------------------------------------
// Part names and relationships

// The folder of a part, with its closing "/".
QString FolderOf(const QString& part) {
    const qsizetype slash = part.lastIndexOf(u'/');
    return slash < 0 ? QString() : part.left(slash + 1);
}

// A relationship's target as a part name: absolute targets from the archive's root, relative ones
// from the source part's folder, "." and ".." resolved; empty when it climbs out of the archive.
QString ResolveTarget(const QString& sourcePart, QString target) {
    target = QUrl::fromPercentEncoding(target.toUtf8());
    QString path = target.startsWith(u'/') ? target.mid(1) : FolderOf(sourcePart) + target;
    QStringList out;
    for (const QString& piece : path.split(u'/', Qt::SkipEmptyParts)) {
        if (piece == QLatin1String("."))
            continue;
        if (piece == QLatin1String("..")) {
            if (out.isEmpty())
                return QString();
            out.removeLast();
            continue;
        }
        out.append(piece);
    }
    return out.join(u'/');
}

// The relationships part of a part: "dir/_rels/name.rels".
QString RelsOf(const QString& part) {
    const qsizetype slash = part.lastIndexOf(u'/');
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

struct CRel {
    QString type; // the last segment of the relationship type ("slide", "slideLayout", ...)
    QString target;
};

// Starts a reader on a part and refuses a DTD (no part of a presentation has one).
bool NextToken(QXmlStreamReader& x, HxPptxError& error) {
    const QXmlStreamReader::TokenType t = x.readNext();
    if (t == QXmlStreamReader::DTD || t == QXmlStreamReader::EntityReference) {
        error = kPptxBadXml;
        return false;
    }
    if (t == QXmlStreamReader::Invalid) {
        error = kPptxBadXml;
        return false;
    }
    return !x.atEnd();
}

HxPptxError ReadRels(CZipParts& zip, const QString& part, QHash<QString, CRel>& rels, bool required) {
    rels.clear();
    QByteArray bytes;
    const QString name = RelsOf(part);
    if (!zip.Has(name))
        return required ? kPptxMissingPart : kPptxOk;
    if (HxPptxError e = zip.Read(name, bytes))
        return e;
    QXmlStreamReader x(bytes);
    HxPptxError error = kPptxOk;
    while (NextToken(x, error)) {
        if (!x.isStartElement() || x.name() != QLatin1String("Relationship"))
            continue;
        const QXmlStreamAttributes a = x.attributes();
        if (a.value(QLatin1String("TargetMode")).compare(QLatin1String("External"), Qt::CaseInsensitive) == 0)
            continue;
        const QString type = a.value(QLatin1String("Type")).toString();
        CRel rel{type.mid(type.lastIndexOf(u'/') + 1),
                 ResolveTarget(part, a.value(QLatin1String("Target")).toString())};
        rels.insert(a.value(QLatin1String("Id")).toString(), rel);
    }
    if (error || x.hasError())
        return kPptxBadXml;
    return kPptxOk;
}

QString FirstTargetOfType(const QHash<QString, CRel>& rels, QLatin1String type) {
    QString found;
    for (auto it = rels.cbegin(); it != rels.cend(); ++it)
        if (it->type == type && (found.isEmpty() || it->target < found))
            found = it->target;
    return found;
}

// ---------------------------------------------------------------------------------------------
// Numbers

bool ReadLong(QStringView text, qint64 limit, qint64& value) {
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    if (!ok || v < -limit || v > limit)
        return false;
    value = v;
    return true;
}

// An optional attribute: absent keeps `value`; present and bad is an error.
bool Attribute(const QXmlStreamAttributes& a, QLatin1String name, qint64 limit, qint64& value) {
    if (!a.hasAttribute(name))
        return true;
    return ReadLong(a.value(name), limit, value);
}

bool OnOff(QStringView v) {
    return v == QLatin1String("1") || v == QLatin1String("true") || v == QLatin1String("on");
}

// ---------------------------------------------------------------------------------------------
// Shapes

// Where a shape's EMU land on the slide, in points: x = ax + bx emu, y = ay + by emu.
struct CMap {
    double ax = 0, bx = 1.0 / 12700.0, ay = 0, by = 1.0 / 12700.0;
};

struct CXfrm {
    bool found = false;
    qint64 x = 0, y = 0, cx = 0, cy = 0;
    bool child = false;
    qint64 chx = 0, chy = 0, chcx = 0, chcy = 0;
};

// What a slide's text takes from its master: the sizes of text without one of its own, from the
// master's text styles (first level: titles, other placeholders, text boxes), and the colours of
// its theme's colour scheme by name ("dk1", "accent1", ...).
struct CTextSizes {
    double title = 44, body = 28, other = 18;
    QHash<QString, QRgb> scheme;
};

// An RGB colour from six hex digits.
bool HexColor(QStringView v, QRgb& color) {
    bool ok = false;
    const uint rgb = v.toUInt(&ok, 16);
    if (!ok || v.size() != 6)
        return false;
    color = qRgb(int(rgb >> 16) & 255, int(rgb >> 8) & 255, int(rgb) & 255);
    return true;
}

// A preset colour's name as colour names go: "dk", "lt" and "med" before a capital letter stand for
// "dark", "light" and "medium" ("ltCyan" is light cyan, "medSeaGreen" medium sea green).
QString PresetColorName(QStringView name) {
    static const std::pair<QLatin1String, QLatin1String> kShort[] = {
        {QLatin1String("dk"), QLatin1String("dark")},
        {QLatin1String("lt"), QLatin1String("light")},
        {QLatin1String("med"), QLatin1String("medium")},
    };
    for (const auto& [brief, whole] : kShort)
        if (name.size() > brief.size() && name.startsWith(brief) && name[brief.size()].isUpper())
            return QString(whole).append(name.mid(brief.size()));
    return name.toString();
}

// The colour scheme of a theme part (a:clrScheme): each named colour's srgbClr or sysClr.
HxPptxError ReadTheme(const QByteArray& bytes, QHash<QString, QRgb>& scheme);

struct CPlaceholder {
    QString type;
    qint64 idx = -1;
    HxSlideBox box;
};

// The placeholder types that stand for one another when a slide's placeholder is looked up in
// its layout and master.
QString PlaceholderFamily(const QString& type) {
    if (type == QLatin1String("ctrTitle") || type == QLatin1String("title"))
        return QStringLiteral("title");
    if (type.isEmpty() || type == QLatin1String("obj") || type == QLatin1String("subTitle") ||
        type == QLatin1String("body"))
        return QStringLiteral("body");
    return type;
}

class CShapeReader {
public:
    CShapeReader(QXmlStreamReader& x) : m_x(x) {}

    // Placeholders of the layout and the master, for shapes of the slide that take their place
    // from there; and, when reading a layout or a master, where its own placeholders go.
    const std::vector<CPlaceholder>* m_layout = nullptr;
    const std::vector<CPlaceholder>* m_master = nullptr;
    std::vector<CPlaceholder>* m_collect = nullptr;
    CTextSizes m_sizes;

    HxPptxError m_error = kPptxOk;
    int m_shapeCount = 0;

    // Reads the children of the current element (spTree or grpSp) up to its end.
    void ReadShapes(std::vector<HxSlideShape>& out, const CMap& map, int depth) {
        if (depth > HxPptxLimits::kMaxGroupDepth)
            return Fail(kPptxPastLimits);
        while (NextChild()) {
            ReadMember(out, map, depth);
            if (m_error)
                return;
        }
    }

    bool Next() {
        if (m_error)
            return false;
        if (!NextToken(m_x, m_error)) {
            if (!m_error)
                m_error = kPptxBadXml; // the part ended inside an element
            return false;
        }
        return true;
    }

    // Moves to the next child element of the current one; false at the current element's end or
    // on an error.
    bool NextChild() {
        while (Next()) {
            if (m_x.isEndElement())
                return false;
            if (m_x.isStartElement())
                return true;
        }
        return false;
    }

    void Fail(HxPptxError e) {
        if (!m_error)
            m_error = e;
    }

    // Skips the current element with everything inside it.
    void Skip() {
        int depth = 1;
        while (depth > 0 && Next()) {
            if (m_x.isStartElement())
                ++depth;
            else if (m_x.isEndElement())
                --depth;
        }
    }

    bool Count() {
        if (++m_shapeCount > HxPptxLimits::kMaxShapes) {
            Fail(kPptxPastLimits);
            return false;
        }
        return true;
    }

    static HxSlideBox Place(const CMap& map, const CXfrm& f) {
        HxSlideBox b;
        b.left = map.ax + map.bx * double(f.x);
        b.top = map.ay + map.by * double(f.y);
        b.width = map.bx * double(std::max<qint64>(f.cx, 0));
        b.height = map.by * double(std::max<qint64>(f.cy, 0));
        return b;
    }

    // The current element is an xfrm: off, ext, chOff, chExt.
    void ReadXfrm(CXfrm& f) {
        f.found = true;
        constexpr qint64 limit = HxPptxLimits::kMaxCoordinate;
        while (NextChild()) {
            const QXmlStreamAttributes a = m_x.attributes();
            const QStringView name = m_x.name();
            bool ok = true;
            if (name == QLatin1String("off"))
                ok = Attribute(a, QLatin1String("x"), limit, f.x) &&
                     Attribute(a, QLatin1String("y"), limit, f.y);
            else if (name == QLatin1String("ext"))
                ok = Attribute(a, QLatin1String("cx"), limit, f.cx) &&
                     Attribute(a, QLatin1String("cy"), limit, f.cy);
            else if (name == QLatin1String("chOff"))
                ok = Attribute(a, QLatin1String("x"), limit, f.chx) &&
                     Attribute(a, QLatin1String("y"), limit, f.chy);
            else if (name == QLatin1String("chExt")) {
                ok = Attribute(a, QLatin1String("cx"), limit, f.chcx) &&
                     Attribute(a, QLatin1String("cy"), limit, f.chcy);
                f.child = true;
            }
            if (!ok)
                return Fail(kPptxBadValue);
            Skip();
        }
    }

    // A run's properties (rPr, endParaRPr, defRPr).
    void ReadRunProperties(HxSlideRun& run) {
        const QXmlStreamAttributes a = m_x.attributes();
        if (a.hasAttribute(QLatin1String("b")))
            run.bold = OnOff(a.value(QLatin1String("b")));
        if (a.hasAttribute(QLatin1String("i")))
            run.italic = OnOff(a.value(QLatin1String("i")));
        if (a.hasAttribute(QLatin1String("u")))
            run.underline = a.value(QLatin1String("u")) != QLatin1String("none");
        qint64 size = 0, baseline = 0;
        if (!Attribute(a, QLatin1String("sz"), 400000, size) ||
            !Attribute(a, QLatin1String("baseline"), 10000000, baseline))
            return Fail(kPptxBadValue);
        if (size > 0)
            run.points = std::clamp(double(size) / 100.0, 1.0, 4000.0);
        if (baseline != 0)
            run.baseline = baseline > 0 ? 1 : -1;
        int depth = 1;
        bool inFill = false;
        int fillDepth = 0;
        while (depth > 0 && Next()) {
            if (m_x.isEndElement()) {
                if (inFill && depth == fillDepth)
                    inFill = false;
                --depth;
                continue;
            }
            if (!m_x.isStartElement())
                continue;
            ++depth;
            const QStringView name = m_x.name();
            const QXmlStreamAttributes e = m_x.attributes();
            if (name == QLatin1String("solidFill") && depth == 2) {
                inFill = true;
                fillDepth = depth;
            } else if (inFill && depth == fillDepth + 1) {
                ReadColor(name, e, run);
            } else if ((name == QLatin1String("latin") || name == QLatin1String("ea")) && depth == 2) {
                const QString face = e.value(QLatin1String("typeface")).toString();
                // Theme fonts ("+mn-lt", "+mj-ea") take the default face; an East Asian face wins
                // over a Latin one, since the texts here are Chinese.
                if (!face.isEmpty() && !face.startsWith(u'+') &&
                    (run.face.isEmpty() || name == QLatin1String("ea")))
                    run.face = face.left(64);
            }
        }
    }

    void ReadColor(QStringView name, const QXmlStreamAttributes& e, HxSlideRun& run) const {
        QRgb color = 0;
        bool found = false;
        if (name == QLatin1String("srgbClr")) {
            found = HexColor(e.value(QLatin1String("val")), color);
        } else if (name == QLatin1String("sysClr")) {
            found = HexColor(e.value(QLatin1String("lastClr")), color);
        } else if (name == QLatin1String("prstClr")) {
            QColor c;
            c.setNamedColor(PresetColorName(e.value(QLatin1String("val"))));
            found = c.isValid();
            color = c.rgb();
        } else if (name == QLatin1String("schemeClr")) {
            // The theme's colour by name; text and background names stand for the dark and light
            // colours.  Colour changes (lumMod, tint, ...) are not applied.
            QString key = e.value(QLatin1String("val")).toString();
            if (key == QLatin1String("tx1"))
                key = QStringLiteral("dk1");
            else if (key == QLatin1String("tx2"))
                key = QStringLiteral("dk2");
            else if (key == QLatin1String("bg1"))
                key = QStringLiteral("lt1");
            else if (key == QLatin1String("bg2"))
                key = QStringLiteral("lt2");
            const auto it = m_sizes.scheme.constFind(key);
            found = it != m_sizes.scheme.cend();
            if (found)
                color = *it;
        }
        if (found) {
            run.hasColor = true;
            run.color = color;
        }
    }

    // The current element is a text body (txBody): its paragraphs.
    void ReadTextBody(HxSlideText& text) {
        while (NextChild()) {
            if (m_x.name() != QLatin1String("p")) {
                Skip();
                continue;
            }
            if (int(text.paragraphs.size()) >= HxPptxLimits::kMaxParagraphs)
                return Fail(kPptxPastLimits);
            text.paragraphs.emplace_back();
            ReadParagraph(text.paragraphs.back());
            if (m_error)
                return;
        }
    }

    void ReadParagraph(HxSlideParagraph& p) {
        HxSlideRun defaults;
        while (NextChild()) {
            const QStringView name = m_x.name();
            if (name == QLatin1String("pPr")) {
                const QStringView align = m_x.attributes().value(QLatin1String("algn"));
                p.align = align == QLatin1String("ctr")                                      ? 1
                          : align == QLatin1String("r")                                      ? 2
                          : align == QLatin1String("just") || align == QLatin1String("dist") ? 3
                                                                                             : 0;
                Skip();
            } else if (name == QLatin1String("r") || name == QLatin1String("fld") ||
                       name == QLatin1String("br")) {
                const bool lineBreak = name == QLatin1String("br");
                HxSlideRun run = defaults;
                ReadRun(run);
                if (lineBreak)
                    run.text = QStringLiteral("\n");
                if (!run.text.isEmpty())
                    p.runs.push_back(std::move(run));
            } else {
                Skip();
            }
            if (m_error)
                return;
        }
    }

    // r, fld or br: its properties and its text.
    void ReadRun(HxSlideRun& run) {
        while (NextChild()) {
            const QStringView name = m_x.name();
            if (name == QLatin1String("rPr")) {
                ReadRunProperties(run);
            } else if (name == QLatin1String("t")) {
                const QString t = m_x.readElementText(QXmlStreamReader::SkipChildElements);
                if (m_x.hasError())
                    return Fail(kPptxBadXml);
                // Tabs and vertical tabs (soft breaks) as the text program shows them.
                QString clean = t;
                clean.replace(u'\v', u'\n');
                run.text += clean;
            } else {
                Skip();
            }
            if (m_error)
                return;
        }
        // The text as long as it is: the reader's string grows by doubling, and a deck holds many.
        run.text.squeeze();
    }

    // The current element is a table (a:tbl) in a frame placed at `frame`.
    void ReadTable(HxSlideShape& shape, const CMap& map, const CXfrm& frame) {
        std::vector<qint64> widths, heights;
        struct CRawCell {
            qint64 gridSpan = 1, rowSpan = 1;
            bool merged = false;
            HxSlideText text;
        };
        std::vector<std::vector<CRawCell>> raw;
        constexpr qint64 limit = HxPptxLimits::kMaxCoordinate;
        while (NextChild()) {
            const QStringView name = m_x.name();
            if (name == QLatin1String("tblGrid")) {
                while (NextChild()) {
                    if (m_x.name() == QLatin1String("gridCol")) {
                        if (int(widths.size()) >= HxPptxLimits::kMaxTableSide)
                            return Fail(kPptxPastLimits);
                        qint64 w = 0;
                        if (!Attribute(m_x.attributes(), QLatin1String("w"), limit, w))
                            return Fail(kPptxBadValue);
                        widths.push_back(std::max<qint64>(w, 0));
                    }
                    Skip();
                }
            } else if (name == QLatin1String("tr")) {
                if (int(raw.size()) >= HxPptxLimits::kMaxTableSide)
                    return Fail(kPptxPastLimits);
                qint64 h = 0;
                if (!Attribute(m_x.attributes(), QLatin1String("h"), limit, h))
                    return Fail(kPptxBadValue);
                heights.push_back(std::max<qint64>(h, 0));
                raw.emplace_back();
                while (NextChild()) {
                    if (m_x.name() != QLatin1String("tc")) {
                        Skip();
                        continue;
                    }
                    if (int(raw.back().size()) >= HxPptxLimits::kMaxTableSide)
                        return Fail(kPptxPastLimits);
                    CRawCell cell;
                    const QXmlStreamAttributes a = m_x.attributes();
                    if (!Attribute(a, QLatin1String("gridSpan"), HxPptxLimits::kMaxTableSide,
                                   cell.gridSpan) ||
                        !Attribute(a, QLatin1String("rowSpan"), HxPptxLimits::kMaxTableSide, cell.rowSpan))
                        return Fail(kPptxBadValue);
                    cell.merged =
                        OnOff(a.value(QLatin1String("hMerge"))) || OnOff(a.value(QLatin1String("vMerge")));
                    while (NextChild()) {
                        if (m_x.name() == QLatin1String("txBody"))
                            ReadTextBody(cell.text);
                        else
                            Skip();
                        if (m_error)
                            return;
                    }
                    raw.back().push_back(std::move(cell));
                    if (m_error)
                        return;
                }
            } else {
                Skip();
            }
            if (m_error)
                return;
        }
        if (m_error)
            return;
        const int rows = int(raw.size()), columns = int(widths.size());
        shape.kind = HxSlideShape::kTable;
        if (rows == 0 || columns == 0) {
            shape.kind = HxSlideShape::kOther; // a table without cells draws nothing
            return;
        }
        shape.rows = rows;
        shape.columns = columns;
        // The grid lines, in the frame's EMU.
        std::vector<qint64> x(size_t(columns) + 1, frame.x), y(size_t(rows) + 1, frame.y);
        for (int c = 0; c < columns; ++c)
            x[size_t(c) + 1] = std::min(x[size_t(c)] + widths[size_t(c)], 4 * limit);
        for (int r = 0; r < rows; ++r)
            y[size_t(r) + 1] = std::min(y[size_t(r)] + heights[size_t(r)], 4 * limit);
        auto box = [&](int r0, int c0, int r1, int c1) {
            CXfrm f;
            f.x = x[size_t(c0)];
            f.y = y[size_t(r0)];
            f.cx = x[size_t(c1)] - f.x;
            f.cy = y[size_t(r1)] - f.y;
            return Place(map, f);
        };
        // Each cell that starts a merged area claims it; a cell that none claims stands alone.
        std::vector<int> owner(size_t(rows) * size_t(columns), -1);
        shape.cells.assign(size_t(rows) * size_t(columns), HxSlideCell());
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns && c < int(raw[size_t(r)].size()); ++c) {
                CRawCell& cell = raw[size_t(r)][size_t(c)];
                if (cell.merged || owner[size_t(r * columns + c)] >= 0)
                    continue;
                const int r1 = std::min<qint64>(rows, r + std::max<qint64>(cell.rowSpan, 1));
                const int c1 = std::min<qint64>(columns, c + std::max<qint64>(cell.gridSpan, 1));
                const HxSlideBox merged = box(r, c, r1, c1);
                for (int i = r; i < r1; ++i)
                    for (int j = c; j < c1; ++j) {
                        const size_t k = size_t(i * columns + j);
                        if (owner[k] >= 0)
                            continue;
                        owner[k] = r * columns + c;
                        shape.cells[k].box = merged;
                        shape.cells[k].text = cell.text;
                    }
            }
        }
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                const size_t k = size_t(r * columns + c);
                if (owner[k] >= 0)
                    continue;
                shape.cells[k].box = box(r, c, r + 1, c + 1);
                if (c < int(raw[size_t(r)].size()))
                    shape.cells[k].text = raw[size_t(r)][size_t(c)].text;
            }
    }

    // sp, pic, cxnSp or graphicFrame: its place, placeholder, text, table or embedded object.
    void ReadShape(std::vector<HxSlideShape>& out, const CMap& map, HxSlideShape::Kind kind) {
        if (!Count())
            return;
        HxSlideShape shape;
        shape.kind = kind;
        CXfrm xfrm;
        bool placeholder = false;
        CPlaceholder ph;
        int depth = 1;
        while (depth > 0 && Next()) {
            if (m_x.isEndElement()) {
                --depth;
                continue;
            }
            if (!m_x.isStartElement())
                continue;
            const QStringView name = m_x.name();
            if (name == QLatin1String("xfrm") && !xfrm.found) {
                ReadXfrm(xfrm);
            } else if (name == QLatin1String("ph")) {
                placeholder = true;
                const QXmlStreamAttributes a = m_x.attributes();
                ph.type = a.value(QLatin1String("type")).toString().left(32);
                if (!Attribute(a, QLatin1String("idx"), 0xFFFFFFFFLL, ph.idx))
                    return Fail(kPptxBadValue);
                Skip();
            } else if (name == QLatin1String("txBody") && kind == HxSlideShape::kText) {
                ReadTextBody(shape.text);
            } else if (name == QLatin1String("tbl") && kind == HxSlideShape::kOther) {
                ReadTable(shape, map, xfrm);
            } else if (name == QLatin1String("oleObj") && kind == HxSlideShape::kOther) {
                shape.kind = HxSlideShape::kOle;
                Skip();
            } else {
                ++depth;
            }
            if (m_error)
                return;
        }
        if (m_error)
            return;
        if (xfrm.found)
            shape.box = Place(map, xfrm);
        else if (placeholder)
            shape.box = Inherited(ph);
        if (placeholder && m_collect) {
            ph.box = shape.box;
            m_collect->push_back(ph);
        }
        shape.text.defaultPoints = !placeholder                                           ? m_sizes.other
                                   : PlaceholderFamily(ph.type) == QLatin1String("title") ? m_sizes.title
                                                                                          : m_sizes.body;
        out.push_back(std::move(shape));
    }

    // A placeholder without a place of its own takes the layout's, else the master's.
    HxSlideBox Inherited(const CPlaceholder& ph) const {
        for (const std::vector<CPlaceholder>* list : {m_layout, m_master}) {
            if (!list)
                continue;
            if (ph.idx >= 0 && list == m_layout)
                for (const CPlaceholder& p : *list)
                    if (p.idx == ph.idx)
                        return p.box;
            for (const CPlaceholder& p : *list)
                if (PlaceholderFamily(p.type) == PlaceholderFamily(ph.type))
                    return p.box;
        }
        return HxSlideBox();
    }

    void ReadGroup(std::vector<HxSlideShape>& out, const CMap& map, int depth) {
        // Checked here too: the first member of a group is read before the rest of its tree.
        if (depth >= HxPptxLimits::kMaxGroupDepth)
            return Fail(kPptxPastLimits);
        if (!Count())
            return;
        HxSlideShape group;
        group.kind = HxSlideShape::kGroup;
        CMap inner = map;
        CXfrm xfrm;
        while (NextChild()) {
            if (m_x.name() == QLatin1String("grpSpPr")) {
                while (NextChild()) {
                    if (m_x.name() == QLatin1String("xfrm") && !xfrm.found)
                        ReadXfrm(xfrm);
                    else
                        Skip();
                    if (m_error)
                        return;
                }
                if (xfrm.found) {
                    group.box = Place(map, xfrm);
                    // Members are placed in the group's child space, mapped onto its box.
                    const double sx = xfrm.child && xfrm.chcx > 0 ? double(xfrm.cx) / double(xfrm.chcx) : 1.0;
                    const double sy = xfrm.child && xfrm.chcy > 0 ? double(xfrm.cy) / double(xfrm.chcy) : 1.0;
                    inner.ax = map.ax + map.bx * (double(xfrm.x) - double(xfrm.chx) * sx);
                    inner.bx = map.bx * sx;
                    inner.ay = map.ay + map.by * (double(xfrm.y) - double(xfrm.chy) * sy);
                    inner.by = map.by * sy;
                }
            } else if (m_x.name() == QLatin1String("nvGrpSpPr")) {
                Skip();
            } else {
                // The first member: the rest of the group is read as a shape tree.
                ReadMember(group.members, inner, depth + 1);
                ReadShapes(group.members, inner, depth + 1);
                break;
            }
            if (m_error)
                return;
        }
        if (!m_error)
            out.push_back(std::move(group));
    }

    // One shape at the current start element, as ReadShapes reads each of its children.
    void ReadMember(std::vector<HxSlideShape>& out, const CMap& map, int depth) {
        const QStringView name = m_x.name();
        if (name == QLatin1String("sp"))
            ReadShape(out, map, HxSlideShape::kText);
        else if (name == QLatin1String("pic"))
            ReadShape(out, map, HxSlideShape::kPicture);
        else if (name == QLatin1String("cxnSp") || name == QLatin1String("graphicFrame") ||
                 name == QLatin1String("contentPart"))
            ReadShape(out, map, HxSlideShape::kOther);
        else if (name == QLatin1String("grpSp"))
            ReadGroup(out, map, depth);
        else if (name == QLatin1String("AlternateContent"))
            ReadAlternate(out, map, depth);
        else
            Skip();
    }

    // mc:AlternateContent: the fallback's shapes when it has any, else the first choice's.
    void ReadAlternate(std::vector<HxSlideShape>& out, const CMap& map, int depth) {
        std::vector<HxSlideShape> choice, fallback;
        bool haveChoice = false;
        while (NextChild()) {
            if (m_x.name() == QLatin1String("Choice") && !haveChoice) {
                haveChoice = true;
                ReadShapes(choice, map, depth + 1);
            } else if (m_x.name() == QLatin1String("Fallback")) {
                ReadShapes(fallback, map, depth + 1);
            } else {
                Skip();
            }
            if (m_error)
                return;
        }
        std::vector<HxSlideShape>& chosen = fallback.empty() ? choice : fallback;
        for (HxSlideShape& s : chosen)
            out.push_back(std::move(s));
    }

private:
    QXmlStreamReader& m_x;
};

// Reads the shape tree (p:cSld/p:spTree) of a slide, layout or master part, with the text sizes
// given; for a master, `styles` receives the sizes of its text styles (p:txStyles).
HxPptxError ReadTree(const QByteArray& bytes, std::vector<HxSlideShape>& shapes,
                     const std::vector<CPlaceholder>* layout, const std::vector<CPlaceholder>* master,
                     std::vector<CPlaceholder>* collect, const CTextSizes& sizes,
                     CTextSizes* styles = nullptr) {
    QXmlStreamReader x(bytes);
    CShapeReader reader(x);
    reader.m_layout = layout;
    reader.m_master = master;
    reader.m_collect = collect;
    reader.m_sizes = sizes;
    HxPptxError error = kPptxOk;
    bool found = false;
    while (!found && NextToken(x, error)) {
        if (x.isStartElement() && x.name() == QLatin1String("spTree")) {
            found = true;
            reader.ReadShapes(shapes, CMap(), 0);
            if (reader.m_error)
                return reader.m_error;
        }
    }
    if (error)
        return error;
    // The rest of the part must be well formed too; a master's text styles follow its tree.
    QString style;
    bool firstLevel = false;
    while (NextToken(x, error)) {
        if (!styles)
            continue;
        const QStringView name = x.name();
        if (x.isStartElement()) {
            if (name == QLatin1String("titleStyle") || name == QLatin1String("bodyStyle") ||
                name == QLatin1String("otherStyle"))
                style = name.toString();
            else if (name == QLatin1String("lvl1pPr"))
                firstLevel = true;
            else if (name == QLatin1String("defRPr") && firstLevel && !style.isEmpty()) {
                qint64 size = 0;
                if (!Attribute(x.attributes(), QLatin1String("sz"), 400000, size))
                    return kPptxBadValue;
                if (size > 0) {
                    double& target = style == QLatin1String("titleStyle")  ? styles->title
                                     : style == QLatin1String("bodyStyle") ? styles->body
                                                                           : styles->other;
                    target = std::clamp(double(size) / 100.0, 1.0, 4000.0);
                }
            }
        } else if (x.isEndElement()) {
            if (name == style)
                style.clear();
            else if (name == QLatin1String("lvl1pPr"))
                firstLevel = false;
        }
    }
    if (error || x.hasError())
        return kPptxBadXml;
    return kPptxOk;
}

HxPptxError ReadTheme(const QByteArray& bytes, QHash<QString, QRgb>& scheme) {
    QXmlStreamReader x(bytes);
    HxPptxError error = kPptxOk;
    int depth = 0, schemeDepth = -1;
    QString current;
    while (NextToken(x, error)) {
        if (x.isStartElement()) {
            ++depth;
            if (x.name() == QLatin1String("clrScheme") && schemeDepth == -1)
                schemeDepth = depth;
            else if (schemeDepth > 0 && depth == schemeDepth + 1)
                current = x.name().toString().left(16);
            else if (schemeDepth > 0 && depth == schemeDepth + 2 && !current.isEmpty() &&
                     scheme.size() < 64) {
                QRgb color = 0;
                const QXmlStreamAttributes a = x.attributes();
                if ((x.name() == QLatin1String("srgbClr") &&
                     HexColor(a.value(QLatin1String("val")), color)) ||
                    (x.name() == QLatin1String("sysClr") &&
                     HexColor(a.value(QLatin1String("lastClr")), color)))
                    scheme.insert(current, color);
            }
        } else if (x.isEndElement()) {
            if (depth == schemeDepth)
                schemeDepth = -2; // the first scheme only
            --depth;
        }
    }
    if (error || x.hasError())
        return kPptxBadXml;
    return kPptxOk;
}

HxPptxError ReadDeck(CZipParts& zip, HxSlideDeck& deck) {
    // The presentation part, through the package's relationships (or where it usually lies).
    QHash<QString, CRel> rels;
    if (HxPptxError e = ReadRels(zip, QString(), rels, false))
        return e;
    QString main = FirstTargetOfType(rels, QLatin1String("officeDocument"));
    if (main.isEmpty())
        main = QStringLiteral("ppt/presentation.xml");
    QByteArray bytes;
    if (HxPptxError e = zip.Read(main, bytes))
        return e;
    if (HxPptxError e = ReadRels(zip, main, rels, true))
        return e;

    // The slide size and the slides in their order.
    QStringList slideParts;
    {
        QXmlStreamReader x(bytes);
        HxPptxError error = kPptxOk;
        while (NextToken(x, error)) {
            if (!x.isStartElement())
                continue;
            const QXmlStreamAttributes a = x.attributes();
            if (x.name() == QLatin1String("sldSz")) {
                qint64 cx = 9144000, cy = 6858000;
                if (!Attribute(a, QLatin1String("cx"), HxPptxLimits::kMaxCoordinate, cx) ||
                    !Attribute(a, QLatin1String("cy"), HxPptxLimits::kMaxCoordinate, cy))
                    return kPptxBadValue;
                deck.width = HxEmuToPoints(cx);
                deck.height = HxEmuToPoints(cy);
            } else if (x.name() == QLatin1String("sldId")) {
                // The relationship id is the "id" attribute in the relationships namespace.
                QString id;
                for (const QXmlStreamAttribute& attribute : a)
                    if (attribute.name() == QLatin1String("id") && !attribute.namespaceUri().isEmpty())
                        id = attribute.value().toString();
                const auto rel = rels.constFind(id);
                if (rel == rels.cend() || rel->target.isEmpty())
                    return kPptxMissingPart;
                if (slideParts.size() >= HxPptxLimits::kMaxEntries)
                    return kPptxPastLimits;
                slideParts.append(rel->target);
            }
        }
        if (error || x.hasError())
            return kPptxBadXml;
    }
    if (slideParts.isEmpty())
        return kPptxNoSlides;
    deck.slideCount = int(slideParts.size());

    // Layouts and masters are read once each.
    // (A map: the lists are pointed at while others are added.)
    std::map<QString, std::vector<CPlaceholder>> placeholders;
    std::map<QString, CTextSizes> textSizes; // of the masters
    auto placeholdersOf = [&](const QString& part, const std::vector<CPlaceholder>* master,
                              HxPptxError& error) -> const std::vector<CPlaceholder>* {
        if (part.isEmpty())
            return nullptr;
        const auto found = placeholders.find(part);
        if (found != placeholders.end())
            return &found->second;
        QByteArray b;
        if ((error = zip.Read(part, b)))
            return nullptr;
        std::vector<HxSlideShape> ignored;
        std::vector<CPlaceholder> list;
        CTextSizes styles;
        if ((error = ReadTree(b, ignored, nullptr, master, &list, CTextSizes(), master ? nullptr : &styles)))
            return nullptr;
        if (!master) {
            // A master's theme gives the colours its slides name.
            QHash<QString, CRel> masterRels;
            if ((error = ReadRels(zip, part, masterRels, false)))
                return nullptr;
            const QString theme = FirstTargetOfType(masterRels, QLatin1String("theme"));
            if (!theme.isEmpty() && zip.Has(theme)) {
                QByteArray t;
                if ((error = zip.Read(theme, t)) || (error = ReadTheme(t, styles.scheme)))
                    return nullptr;
            }
            textSizes[part] = styles;
        }
        return &placeholders.emplace(part, std::move(list)).first->second;
    };

    // A slide part listed again is read once; its later listings point at the first.
    std::map<zip_int64_t, int> firstListing;
    const int count = std::min<int>(int(slideParts.size()), HxPptxLimits::kMaxSlides);
    for (int n = 0; n < count; ++n) {
        const QString& part = slideParts[n];
        const zip_int64_t entry = zip.Entry(part); // a missing part is refused as it is read
        if (const auto first = firstListing.find(entry); first != firstListing.end()) {
            HxSlide again;
            again.sameAs = first->second;
            deck.slides.push_back(std::move(again));
            continue;
        }
        firstListing.emplace(entry, n);
        if (HxPptxError e = zip.Read(part, bytes))
            return e;
        QHash<QString, CRel> slideRels;
        if (HxPptxError e = ReadRels(zip, part, slideRels, false))
            return e;
        HxPptxError error = kPptxOk;
        const QString layoutPart = FirstTargetOfType(slideRels, QLatin1String("slideLayout"));
        const std::vector<CPlaceholder>* layout = nullptr;
        const std::vector<CPlaceholder>* master = nullptr;
        CTextSizes sizes;
        if (!layoutPart.isEmpty() && zip.Has(layoutPart)) {
            QHash<QString, CRel> layoutRels;
            if (HxPptxError e = ReadRels(zip, layoutPart, layoutRels, false))
                return e;
            const QString masterPart = FirstTargetOfType(layoutRels, QLatin1String("slideMaster"));
            if (!masterPart.isEmpty() && zip.Has(masterPart)) {
                master = placeholdersOf(masterPart, nullptr, error);
                if (error)
                    return error;
                sizes = textSizes[masterPart];
            }
            layout = placeholdersOf(layoutPart, master, error);
            if (error)
                return error;
        }
        HxSlide slide;
        if (HxPptxError e = ReadTree(bytes, slide.shapes, layout, master, nullptr, sizes))
            return e;
        deck.slides.push_back(std::move(slide));
    }
    return kPptxOk;
}

} // namespace

HxPptxError HxReadPptx(const QByteArray& bytes, HxSlideDeck& deck) {
    deck = HxSlideDeck();
    CZipParts zip;
    HxPptxError error = zip.Open(bytes);
    if (!error)
        error = ReadDeck(zip, deck);
    if (error)
        deck = HxSlideDeck();
    return error;
}

HxPptxError HxReadPptxFile(const CString& path, HxSlideDeck& deck) {
    deck = HxSlideDeck();
    // Only a regular file (or a link to one): a pipe would block, a device read without end.
    QFile file;
    switch (HxOpenRegularFile(file, path.ToQString())) {
    case CFileException::none:
        break;
    case CFileException::invalidFile:
        return kPptxNotRegular;
    default:
        return kPptxCannotOpen;
    }
    if (file.size() > HxPptxLimits::kMaxFileBytes)
        return kPptxTooLarge;
    const QByteArray bytes = file.readAll();
    if (bytes.size() != file.size())
        return kPptxCannotOpen;
    return HxReadPptx(bytes, deck);
}
