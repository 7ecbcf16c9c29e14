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
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
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
    part.frame = frame;
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
        static_cast<HxSlideParagraphFormat&>(taken) = paragraph;
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

// An optional percentage: thousandths of a percent ("90000"), or a percent with its sign ("90%");
// absent keeps `percent`; present and bad, or past a million percent, is an error.
bool Percentage(const QXmlStreamAttributes& a, QLatin1String name, double& percent) {
    if (!a.hasAttribute(name))
        return true;
    const QStringView text = a.value(name).trimmed();
    if (text.endsWith(u'%')) {
        bool ok = false;
        const double v = text.chopped(1).toDouble(&ok);
        if (!ok || !std::isfinite(v) || std::abs(v) > 1000000.0)
            return false;
        percent = v;
        return true;
    }
    qint64 thousandths = 0;
    if (!ReadLong(text, 1000000000, thousandths))
        return false;
    percent = double(thousandths) / 1000.0;
    return true;
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

// ---------------------------------------------------------------------------------------------
// Text styles: what a paragraph and its runs leave unset is taken from the text's own list style,
// its placeholder's on the layout and then on the master, the master's text style for its kind and
// the presentation's default text style, the nearest that sets a property winning, property by
// property.

// A colour as a part states it: an RGB value, or the name of a colour of the master's theme, which
// is known only for the slide it lands on.
struct CColor {
    QRgb rgb = 0;
    QString scheme; // empty: rgb
};

// A run's properties as one place states them (rPr, defRPr): each one set or not.
struct CRunStyle {
    std::optional<double> points;
    std::optional<bool> bold, italic, underline;
    std::optional<int> baseline;
    std::optional<CColor> color;
    std::optional<QString> latin, ea; // typefaces as written ("+mn-lt" names a theme's)
};

// A spacing: a percentage (of single lines for line spacing, of the text's size before and after
// a paragraph) or points.
struct CSpacing {
    bool points = false;
    double value = 0;
};

// A paragraph's bullet: none, a character, or a number of a numbered list.
struct CBullet {
    enum Kind { kNone, kChar, kNumber };
    Kind kind = kNone;
    QString text;    // kChar: the character
    QString type;    // kNumber: how it numbers ("arabicPeriod", ...)
    int startAt = 1; // kNumber: its first number
};

// A bullet's colour, size or face: the text's (its first run's) or its own.
struct CBulletColor {
    bool text = true;
    CColor color;
};
struct CBulletSize {
    enum Kind { kText, kPercent, kPoints };
    Kind kind = kText;
    double value = 0;
};
struct CBulletFace {
    bool text = true;
    QString face;
};

// A paragraph's properties as one place states them (pPr, lvlNpPr, defPPr).
struct CParagraphStyle {
    std::optional<int> align;
    std::optional<qint64> margin, indent; // EMU
    std::optional<CSpacing> line, before, after;
    std::optional<CBullet> bullet;
    std::optional<CBulletColor> bulletColor;
    std::optional<CBulletSize> bulletSize;
    std::optional<CBulletFace> bulletFace;
    CRunStyle run; // defRPr: the runs' defaults
};

// A list style (lstStyle, a text style of the master, the default text style): lvl1pPr to
// lvl9pPr, then defPPr, which stands under each level of its list.
struct CListStyle {
    static constexpr int kDefault = HxPptxLimits::kMaxLevels;
    std::array<CParagraphStyle, HxPptxLimits::kMaxLevels + 1> levels;
};

// Fills what `near` leaves unset from `far`.
template <class T> void Under(std::optional<T>& near, const std::optional<T>& far) {
    if (!near && far)
        near = far;
}

void Under(CRunStyle& near, const CRunStyle& far) {
    Under(near.points, far.points);
    Under(near.bold, far.bold);
    Under(near.italic, far.italic);
    Under(near.underline, far.underline);
    Under(near.baseline, far.baseline);
    Under(near.color, far.color);
    Under(near.latin, far.latin);
    Under(near.ea, far.ea);
}

void Under(CParagraphStyle& near, const CParagraphStyle& far) {
    Under(near.align, far.align);
    Under(near.margin, far.margin);
    Under(near.indent, far.indent);
    Under(near.line, far.line);
    Under(near.before, far.before);
    Under(near.after, far.after);
    Under(near.bullet, far.bullet);
    Under(near.bulletColor, far.bulletColor);
    Under(near.bulletSize, far.bulletSize);
    Under(near.bulletFace, far.bulletFace);
    Under(near.run, far.run);
}

// A text body's own settings as one place states them (a:bodyPr): where its lines sit in the box
// and its insets, each set or not; and, stated by the shape itself only, how much the presentation
// program shrank its text to fit the box (normAutofit).
struct CBodyStyle {
    std::optional<int> anchor;                   // HxSlideTextFrame::Anchor
    std::array<std::optional<qint64>, 4> insets; // left, top, right, bottom, EMU
    double fontScale = 100;                      // percent of the sizes
    double lineReduction = 0;                    // percent taken from proportional line spacing
};

// An anchoring as written: the middle, the bottom, else the top (justified and distributed texts
// start at the top, as do values not known here).
int AnchorOf(QStringView anchor) {
    return anchor == QLatin1String("ctr") ? HxSlideTextFrame::kMiddle
           : anchor == QLatin1String("b") ? HxSlideTextFrame::kBottom
                                          : HxSlideTextFrame::kTop;
}

// What a slide's texts take from their master: its text styles by the kind of text (titles, other
// placeholders, text boxes and table cells), and the colours of its theme's colour scheme by name
// ("dk1", "accent1", ...).
struct CMasterStyles {
    CListStyle title, body, other;
    QHash<QString, QRgb> scheme;
};

// The size of text that no style gives one, by its kind.
constexpr double kTitlePoints = 44, kBodyPoints = 28, kOtherPoints = 18;

// The most a margin or indent reaches, and the most space before or after a paragraph and the
// tallest line, in points: 22 inches, as far as the rich text keeps them.
constexpr double kMaxIndentPoints = 1584;
// Line spacing as a percentage of single lines, and a bullet's size as one of its text's.
constexpr double kMinLinePercent = 10, kMaxLinePercent = 1000;
constexpr double kMinBulletPercent = 25, kMaxBulletPercent = 400;

// A number of a numbered list as its type writes it: arabic, letters (a .. z, then aa .. zz, ...),
// Roman, Chinese numerals or circled numbers, followed by a period, a parenthesis, within
// parentheses or alone.  A type not known here numbers in arabic, with the signs its name ends in
// (a period when it names none); a number past what a kind writes (Roman past 3999, letters past 26 x 30,
// Chinese numerals past 99, circled past 20) is written in arabic.
QString NumberText(const QString& type, int n) {
    QString digits = QString::number(n);
    const auto starts = [&type](const char* prefix) { return type.startsWith(QLatin1String(prefix)); };
    if ((starts("alphaLc") || starts("alphaUc")) && n >= 1 && n <= 26 * 30) {
        const QChar letter(char16_t((starts("alphaUc") ? u'A' : u'a') + (n - 1) % 26));
        digits = QString((n - 1) / 26 + 1, letter);
    } else if ((starts("romanLc") || starts("romanUc")) && n >= 1 && n <= 3999) {
        static const std::pair<int, const char*> kRoman[] = {
            {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
            {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
        digits.clear();
        for (int left = n; const auto& [value, letters] : kRoman)
            for (; left >= value; left -= value)
                digits += QLatin1String(letters);
        if (starts("romanLc"))
            digits = digits.toLower();
    } else if (starts("ea1Chs") && n >= 1 && n <= 99) {
        static const char16_t kDigits[] = u"零一二三四五六七八九";
        digits.clear();
        if (n >= 20)
            digits += QChar(kDigits[n / 10]);
        if (n >= 10)
            digits += QChar(u'十');
        if (n % 10 != 0 || n < 10)
            digits += QChar(kDigits[n % 10]);
    } else if (starts("circleNum") && n >= 1 && n <= 20) {
        return QString(QChar(char16_t(0x2460 + n - 1)));
    }
    if (type.endsWith(QLatin1String("ParenBoth")))
        return u'(' + digits + u')';
    if (type.endsWith(QLatin1String("ParenR")))
        return digits + u')';
    if (type.endsWith(QLatin1String("Plain")))
        return digits;
    // Chinese numerals take a full-width period.
    return digits + (starts("ea1Chs") ? QChar(u'\uFF0E') : QChar(u'.'));
}

// A bullet character as a face here draws it: the bullets of Wingdings and Symbol (written as the
// characters those faces draw them for, or in the private use area) as the Unicode characters they
// picture, `mapped` then set; any other character as it is, one character at most.
QString BulletCharacter(const QString& written, const QString& face, bool& mapped) {
    mapped = false;
    if (written.isEmpty())
        return QStringLiteral("\u2022");
    char16_t u = written[0].unicode();
    if (u >= 0xF020 && u <= 0xF0FF)
        u = char16_t(u - 0xF000);
    static const std::pair<char16_t, char16_t> kWingdings[] = {
        {0x6C, 0x25CF}, {0x6E, 0x25A0}, {0x6F, 0x25A1}, {0x71, 0x2751}, {0x75, 0x25C6},
        {0x76, 0x2756}, {0x77, 0x25C6}, {0x9F, 0x2022}, {0xA1, 0x25CB}, {0xA7, 0x25AA},
        {0xA8, 0x25FB}, {0xD8, 0x27A2}, {0xFC, 0x2714}};
    if (face.compare(QLatin1String("Wingdings"), Qt::CaseInsensitive) == 0)
        for (const auto& [from, to] : kWingdings)
            if (u == from) {
                mapped = true;
                return QString(QChar(to));
            }
    if (face.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0 && u == 0xB7) {
        mapped = true;
        return QStringLiteral("\u2022");
    }
    const bool pair = written.size() >= 2 && written[0].isHighSurrogate() && written[1].isLowSurrogate();
    return written.left(pair ? 2 : 1);
}

// The numbers of one text's numbered paragraphs, counted level by level.
class CNumbering {
public:
    // The number of a paragraph with text at `level` (0 for one without a number).  Deeper levels
    // start again after it; at its level, a number of the type and start of the count there goes
    // on with it, another starts a count of its own, and a paragraph without one ends the count.
    int Next(int level, const CBullet* number) {
        for (int deeper = level + 1; deeper < HxPptxLimits::kMaxLevels; ++deeper)
            m_count[size_t(deeper)] = 0;
        int& count = m_count[size_t(level)];
        if (!number) {
            count = 0;
            return 0;
        }
        if (count > 0 && m_type[size_t(level)] == number->type && m_start[size_t(level)] == number->startAt) {
            ++count; // at most the first number and one a paragraph
        } else {
            count = number->startAt;
            m_type[size_t(level)] = number->type;
            m_start[size_t(level)] = number->startAt;
        }
        return count;
    }

private:
    std::array<int, HxPptxLimits::kMaxLevels> m_count{};
    std::array<QString, HxPptxLimits::kMaxLevels> m_type;
    std::array<int, HxPptxLimits::kMaxLevels> m_start{};
};

// Where a text takes what its paragraphs, runs and own list style leave unset, nearest first: the
// list styles of its placeholder on the layout and on the master, the master's text style for its
// kind and the presentation's default text style; and its size when none of them gives one.
struct CTextChain {
    std::array<const CListStyle*, 4> lists{};
    double points = kOtherPoints;
    // The body settings of its placeholder on the layout and on the master, nearest first.
    std::array<const CBodyStyle*, 2> bodies{};
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
    QString family; // PlaceholderFamily(type), worked out once
    qint64 idx = -1;
    HxSlideBox box;
    CListStyle style; // its text's list style
    CBodyStyle body;  // its text body's settings
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

// The placeholders of a layout or a master in the order they were read, with the first one of each
// index and of each family kept as they are added: a slide of thousands of placeholders finds each
// one's match at once instead of searching the list.
class CPlaceholders {
public:
    void Add(CPlaceholder ph) {
        const size_t at = m_list.size();
        if (ph.idx >= 0 && !m_byIndex.contains(ph.idx))
            m_byIndex.insert(ph.idx, at);
        if (!m_byFamily.contains(ph.family))
            m_byFamily.insert(ph.family, at);
        m_list.push_back(std::move(ph));
    }
    // The first placeholder of an index, or of a family; none when there is none.
    const CPlaceholder* OfIndex(qint64 idx) const {
        const auto it = m_byIndex.constFind(idx);
        return it == m_byIndex.cend() ? nullptr : &m_list[*it];
    }
    const CPlaceholder* OfFamily(const QString& family) const {
        const auto it = m_byFamily.constFind(family);
        return it == m_byFamily.cend() ? nullptr : &m_list[*it];
    }

private:
    std::vector<CPlaceholder> m_list;
    QHash<qint64, size_t> m_byIndex;
    QHash<QString, size_t> m_byFamily;
};

class CShapeReader {
public:
    CShapeReader(QXmlStreamReader& x) : m_x(x) {}

    // Placeholders of the layout and the master, for shapes of the slide that take their place
    // from there; and, when reading a layout or a master, where its own placeholders go.
    const CPlaceholders* m_layout = nullptr;
    const CPlaceholders* m_master = nullptr;
    CPlaceholders* m_collect = nullptr;
    // The master's text styles and theme colours, and the presentation's default text style.
    CMasterStyles m_styles;
    const CListStyle* m_defaults = nullptr;

    HxPptxError m_error = kPptxOk;
    int m_shapeCount = 0;
    // The shrinking to fit of the text body being read.
    CBodyStyle m_fit;

    // A size as the text body's shrinking to fit makes it.
    double Fitted(double points) const {
        return m_fit.fontScale < 100 ? std::clamp(points * m_fit.fontScale / 100.0, 1.0, 4000.0) : points;
    }

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

    // A run's properties (rPr, defRPr) at the current element.
    void ReadRunStyle(CRunStyle& run) {
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
        if (a.hasAttribute(QLatin1String("baseline")))
            run.baseline = baseline > 0 ? 1 : baseline < 0 ? -1 : 0;
        while (NextChild()) {
            const QStringView name = m_x.name();
            if (name == QLatin1String("solidFill")) {
                while (NextChild()) {
                    if (std::optional<CColor> color = ReadColor())
                        run.color = color;
                    Skip();
                }
                continue;
            }
            if (name == QLatin1String("latin") || name == QLatin1String("ea")) {
                const QString face = m_x.attributes().value(QLatin1String("typeface")).toString().left(64);
                if (!face.isEmpty())
                    (name == QLatin1String("ea") ? run.ea : run.latin) = face;
            }
            Skip();
        }
    }

    // The colour at the current element (srgbClr, sysClr, prstClr or schemeClr); none for another
    // element or a value that names no colour.
    std::optional<CColor> ReadColor() const {
        const QStringView name = m_x.name();
        const QXmlStreamAttributes e = m_x.attributes();
        CColor color;
        bool found = false;
        if (name == QLatin1String("srgbClr")) {
            found = HexColor(e.value(QLatin1String("val")), color.rgb);
        } else if (name == QLatin1String("sysClr")) {
            found = HexColor(e.value(QLatin1String("lastClr")), color.rgb);
        } else if (name == QLatin1String("prstClr")) {
            QColor c;
            c.setNamedColor(PresetColorName(e.value(QLatin1String("val"))));
            found = c.isValid();
            color.rgb = c.rgb();
        } else if (name == QLatin1String("schemeClr")) {
            // The theme's colour by name; text and background names stand for the dark and light
            // colours.  Colour changes (lumMod, tint, ...) are not applied.
            QString key = e.value(QLatin1String("val")).toString().left(16);
            if (key == QLatin1String("tx1"))
                key = QStringLiteral("dk1");
            else if (key == QLatin1String("tx2"))
                key = QStringLiteral("dk2");
            else if (key == QLatin1String("bg1"))
                key = QStringLiteral("lt1");
            else if (key == QLatin1String("bg2"))
                key = QStringLiteral("lt2");
            found = !key.isEmpty();
            color.scheme = key;
        }
        if (!found)
            return std::nullopt;
        return color;
    }

    // A colour as the slide's master has it; false for a name its theme does not have.
    bool Resolve(const CColor& color, QRgb& rgb) const {
        if (color.scheme.isEmpty()) {
            rgb = color.rgb;
            return true;
        }
        const auto it = m_styles.scheme.constFind(color.scheme);
        if (it == m_styles.scheme.cend())
            return false;
        rgb = *it;
        return true;
    }

    // A spacing element (lnSpc, spcBef, spcAft) at the current element: its spcPct or spcPts.
    void ReadSpacing(std::optional<CSpacing>& spacing) {
        while (NextChild()) {
            const QStringView name = m_x.name();
            const QXmlStreamAttributes a = m_x.attributes();
            if (name == QLatin1String("spcPct")) {
                double percent = 0;
                if (!Percentage(a, QLatin1String("val"), percent))
                    return Fail(kPptxBadValue);
                spacing = CSpacing{false, percent};
            } else if (name == QLatin1String("spcPts")) {
                qint64 hundredths = 0;
                if (!Attribute(a, QLatin1String("val"), 1000000000, hundredths))
                    return Fail(kPptxBadValue);
                spacing = CSpacing{true, double(hundredths) / 100.0};
            }
            Skip();
        }
    }

    // A paragraph's properties (pPr, lvlNpPr, defPPr) at the current element; `level` receives its
    // level (lvl, 0 to 8) when it states one.
    void ReadParagraphStyle(CParagraphStyle& style, int* level = nullptr) {
        const QXmlStreamAttributes a = m_x.attributes();
        if (a.hasAttribute(QLatin1String("algn"))) {
            const QStringView align = a.value(QLatin1String("algn"));
            style.align = align == QLatin1String("ctr") ? 1
                          : align == QLatin1String("r") ? 2
                          : align == QLatin1String("just") || align == QLatin1String("justLow") ||
                                  align == QLatin1String("dist") || align == QLatin1String("thaiDist")
                              ? 3
                              : 0;
        }
        constexpr qint64 limit = HxPptxLimits::kMaxCoordinate;
        qint64 margin = 0, indent = 0, lvl = 0;
        if (!Attribute(a, QLatin1String("marL"), limit, margin) ||
            !Attribute(a, QLatin1String("indent"), limit, indent) ||
            !Attribute(a, QLatin1String("lvl"), limit, lvl))
            return Fail(kPptxBadValue);
        if (a.hasAttribute(QLatin1String("marL")))
            style.margin = margin;
        if (a.hasAttribute(QLatin1String("indent")))
            style.indent = indent;
        if (level && a.hasAttribute(QLatin1String("lvl")))
            *level = int(std::clamp<qint64>(lvl, 0, HxPptxLimits::kMaxLevels - 1));
        while (NextChild()) {
            const QStringView name = m_x.name();
            const QXmlStreamAttributes e = m_x.attributes();
            if (name == QLatin1String("lnSpc")) {
                ReadSpacing(style.line);
                continue;
            }
            if (name == QLatin1String("spcBef")) {
                ReadSpacing(style.before);
                continue;
            }
            if (name == QLatin1String("spcAft")) {
                ReadSpacing(style.after);
                continue;
            }
            if (name == QLatin1String("defRPr")) {
                ReadRunStyle(style.run);
                continue;
            }
            if (name == QLatin1String("buClr")) {
                while (NextChild()) {
                    if (std::optional<CColor> color = ReadColor())
                        style.bulletColor = CBulletColor{false, *color};
                    Skip();
                }
                continue;
            }
            if (name == QLatin1String("buClrTx")) {
                style.bulletColor = CBulletColor();
            } else if (name == QLatin1String("buSzTx")) {
                style.bulletSize = CBulletSize();
            } else if (name == QLatin1String("buSzPct")) {
                double percent = 0;
                if (!Percentage(e, QLatin1String("val"), percent))
                    return Fail(kPptxBadValue);
                style.bulletSize = CBulletSize{CBulletSize::kPercent,
                                               std::clamp(percent, kMinBulletPercent, kMaxBulletPercent)};
            } else if (name == QLatin1String("buSzPts")) {
                qint64 hundredths = 0;
                if (!Attribute(e, QLatin1String("val"), 1000000000, hundredths))
                    return Fail(kPptxBadValue);
                style.bulletSize =
                    CBulletSize{CBulletSize::kPoints, std::clamp(double(hundredths) / 100.0, 1.0, 4000.0)};
            } else if (name == QLatin1String("buFontTx")) {
                style.bulletFace = CBulletFace();
            } else if (name == QLatin1String("buFont")) {
                style.bulletFace = CBulletFace{false, e.value(QLatin1String("typeface")).toString().left(64)};
            } else if (name == QLatin1String("buNone")) {
                style.bullet = CBullet();
            } else if (name == QLatin1String("buChar")) {
                CBullet bullet;
                bullet.kind = CBullet::kChar;
                bullet.text = e.value(QLatin1String("char")).toString().left(2);
                style.bullet = bullet;
            } else if (name == QLatin1String("buBlip")) {
                // A picture as the bullet: a round one in its place.
                CBullet bullet;
                bullet.kind = CBullet::kChar;
                style.bullet = bullet;
            } else if (name == QLatin1String("buAutoNum")) {
                qint64 start = 1;
                if (!Attribute(e, QLatin1String("startAt"), HxPptxLimits::kMaxCoordinate, start))
                    return Fail(kPptxBadValue);
                CBullet bullet;
                bullet.kind = CBullet::kNumber;
                bullet.type = e.value(QLatin1String("type")).toString().left(32);
                bullet.startAt = int(std::clamp<qint64>(start, 1, HxPptxLimits::kMaxNumber));
                style.bullet = bullet;
            }
            Skip();
            if (m_error)
                return;
        }
    }

    // A list style (lstStyle, a text style, the default text style) at the current element.
    void ReadListStyle(CListStyle& list) {
        while (NextChild()) {
            const QStringView name = m_x.name();
            int level = -1;
            if (name == QLatin1String("defPPr"))
                level = CListStyle::kDefault;
            else if (name.size() == 7 && name.startsWith(QLatin1String("lvl")) &&
                     name.endsWith(QLatin1String("pPr")) && name[3] >= u'1' && name[3] <= u'9')
                level = name[3].unicode() - u'1';
            if (level >= 0)
                ReadParagraphStyle(list.levels[size_t(level)]);
            else
                Skip();
            if (m_error)
                return;
        }
    }

    // The chain of styles of a text: a placeholder's (`ph` when `placeholder`), or a text box's or a
    // table cell's.
    CTextChain ChainOf(bool placeholder, const CPlaceholder& ph) const {
        CTextChain chain;
        size_t n = 0;
        if (placeholder) {
            size_t bodies = 0;
            for (const CPlaceholders* list : {m_layout, m_master})
                if (const CPlaceholder* found = Matching(list, ph)) {
                    chain.lists[n++] = &found->style;
                    chain.bodies[bodies++] = &found->body;
                }
            const bool title = ph.family == QLatin1String("title");
            chain.lists[n++] = title ? &m_styles.title : &m_styles.body;
            chain.points = title ? kTitlePoints : kBodyPoints;
        } else {
            chain.lists[n++] = &m_styles.other;
        }
        chain.lists[n++] = m_defaults;
        return chain;
    }

    // The current element is a text body (txBody): its settings, list style and paragraphs, read
    // through `chain`; `own` receives its list style and `body` its settings.  Sizes and line
    // spacing come as the presentation program shrank them to fit the box.
    void ReadTextBody(HxSlideText& text, const CTextChain& chain, CListStyle& own, CBodyStyle& body) {
        CNumbering numbering;
        bool sized = false;
        m_fit = CBodyStyle();
        while (NextChild()) {
            const QStringView name = m_x.name();
            if (name == QLatin1String("bodyPr")) {
                ReadBodyStyle(body);
                m_fit = body;
            } else if (name == QLatin1String("lstStyle")) {
                ReadListStyle(own);
            } else if (name == QLatin1String("p")) {
                if (int(text.paragraphs.size()) >= HxPptxLimits::kMaxParagraphs)
                    return Fail(kPptxPastLimits);
                if (!sized) {
                    text.defaultPoints = Fitted(TextPoints(own, chain));
                    sized = true;
                }
                text.paragraphs.emplace_back();
                ReadParagraph(text, text.paragraphs.back(), chain, own, numbering);
            } else {
                Skip();
            }
            if (m_error)
                return;
        }
        if (!sized)
            text.defaultPoints = Fitted(TextPoints(own, chain));
        text.frame = Frame(body, chain);
        m_fit = CBodyStyle();
    }

    // The anchoring and the insets (left, top, right, bottom, under the given names) the current
    // element's attributes state; false when one is no valid length.
    bool ReadAnchorAndInsets(CBodyStyle& body, const QLatin1String (&names)[4]) {
        const QXmlStreamAttributes a = m_x.attributes();
        if (a.hasAttribute(QLatin1String("anchor")))
            body.anchor = AnchorOf(a.value(QLatin1String("anchor")));
        for (size_t side = 0; side < 4; ++side) {
            qint64 inset = 0;
            if (!Attribute(a, names[side], HxPptxLimits::kMaxCoordinate, inset)) {
                Fail(kPptxBadValue);
                return false;
            }
            if (a.hasAttribute(names[side]))
                body.insets[side] = inset;
        }
        return true;
    }

    // A text body's settings (bodyPr) at the current element.
    void ReadBodyStyle(CBodyStyle& body) {
        static const QLatin1String kInsets[4] = {QLatin1String("lIns"), QLatin1String("tIns"),
                                                 QLatin1String("rIns"), QLatin1String("bIns")};
        if (!ReadAnchorAndInsets(body, kInsets))
            return;
        while (NextChild()) {
            if (m_x.name() == QLatin1String("normAutofit")) {
                const QXmlStreamAttributes fit = m_x.attributes();
                double scale = 100, reduction = 0;
                if (!Percentage(fit, QLatin1String("fontScale"), scale) ||
                    !Percentage(fit, QLatin1String("lnSpcReduction"), reduction))
                    return Fail(kPptxBadValue);
                body.fontScale = std::clamp(scale, 1.0, 100.0);
                body.lineReduction = std::clamp(reduction, 0.0, 100.0);
            }
            Skip();
            if (m_error)
                return;
        }
    }

    // Where a text lies in its box as its own body settings and its placeholder's on the layout and
    // master give it, nearest first; the presentation's defaults for what none states.
    static HxSlideTextFrame Frame(const CBodyStyle& own, const CTextChain& chain) {
        CBodyStyle body = own;
        for (const CBodyStyle* far : chain.bodies)
            if (far) {
                Under(body.anchor, far->anchor);
                for (size_t side = 0; side < 4; ++side)
                    Under(body.insets[side], far->insets[side]);
            }
        HxSlideTextFrame frame;
        frame.anchor = body.anchor.value_or(HxSlideTextFrame::kTop);
        double* sides[4] = {&frame.left, &frame.top, &frame.right, &frame.bottom};
        for (size_t side = 0; side < 4; ++side)
            if (body.insets[side])
                *sides[side] = std::clamp(HxEmuToPoints(*body.insets[side]), 0.0, kMaxIndentPoints);
        return frame;
    }

    // The size of a text's runs without one of their own: its first level's.
    static double TextPoints(const CListStyle& own, const CTextChain& chain) {
        return LevelStyle(CParagraphStyle(), 0, own, chain).run.points.value_or(chain.points);
    }

    // A paragraph's properties at `level` as its own `style` and its text's list styles give them.
    static CParagraphStyle LevelStyle(CParagraphStyle style, int level, const CListStyle& own,
                                      const CTextChain& chain) {
        Under(style, own.levels[size_t(level)]);
        Under(style, own.levels[CListStyle::kDefault]);
        for (const CListStyle* list : chain.lists)
            if (list) {
                Under(style, list->levels[size_t(level)]);
                Under(style, list->levels[CListStyle::kDefault]);
            }
        return style;
    }

    // A run with the properties resolved: its own over its paragraph's defaults.  A face is the
    // run's own when it states one, else the inherited one; an East Asian face wins over a Latin
    // one, since the texts here are Chinese, and theme fonts ("+mn-lt", "+mj-ea") take the default
    // face.
    HxSlideRun MakeRun(const QString& text, const CRunStyle& own, const CRunStyle& inherited) const {
        CRunStyle style = own;
        Under(style, inherited);
        HxSlideRun run;
        run.text = text;
        run.points = style.points.value_or(0);
        run.bold = style.bold.value_or(false);
        run.italic = style.italic.value_or(false);
        run.underline = style.underline.value_or(false);
        run.baseline = style.baseline.value_or(0);
        if (style.color)
            run.hasColor = Resolve(*style.color, run.color);
        auto face = [](const CRunStyle& s) {
            for (const std::optional<QString>& f : {s.ea, s.latin})
                if (f && !f->isEmpty() && !f->startsWith(u'+'))
                    return *f;
            return QString();
        };
        run.face = face(own);
        if (run.face.isEmpty())
            run.face = face(inherited);
        return run;
    }

    void ReadParagraph(HxSlideText& text, HxSlideParagraph& p, const CTextChain& chain, const CListStyle& own,
                       CNumbering& numbering) {
        CParagraphStyle mine;
        int level = 0;
        std::vector<std::pair<QString, CRunStyle>> runs;
        while (NextChild()) {
            const QStringView name = m_x.name();
            if (name == QLatin1String("pPr")) {
                ReadParagraphStyle(mine, &level);
            } else if (name == QLatin1String("r") || name == QLatin1String("fld") ||
                       name == QLatin1String("br")) {
                const bool lineBreak = name == QLatin1String("br");
                CRunStyle style;
                QString t;
                ReadRun(style, t);
                if (lineBreak)
                    t = QStringLiteral("\n");
                if (!t.isEmpty())
                    runs.emplace_back(std::move(t), std::move(style));
            } else {
                Skip();
            }
            if (m_error)
                return;
        }
        const CParagraphStyle style = LevelStyle(mine, level, own, chain);
        p.runs.reserve(runs.size() + 1);
        for (auto& [t, runStyle] : runs) {
            p.runs.push_back(MakeRun(t, runStyle, style.run));
            if (p.runs.back().points > 0)
                p.runs.back().points = Fitted(p.runs.back().points);
        }
        SetFormat(text, p, style, level, numbering);
    }

    // A paragraph's format from its resolved style, and its bullet or number as its first run.
    void SetFormat(const HxSlideText& text, HxSlideParagraph& p, const CParagraphStyle& style, int level,
                   CNumbering& numbering) const {
        p.align = style.align.value_or(0);
        // The first line starts no further left than the box's edge.
        const double margin = std::clamp(HxEmuToPoints(style.margin.value_or(0)), 0.0, kMaxIndentPoints);
        p.margin = margin;
        p.indent = std::clamp(HxEmuToPoints(style.indent.value_or(0)), -margin, kMaxIndentPoints - margin);
        // The run whose text the bullet follows, and the size spacing in percent is taken of.
        const HxSlideRun* first = nullptr;
        for (const HxSlideRun& run : p.runs)
            if (!first && !run.text.trimmed().isEmpty())
                first = &run;
        const double points = first && first->points > 0 ? first->points : text.defaultPoints;
        auto space = [points](const std::optional<CSpacing>& spacing) {
            if (!spacing)
                return 0.0;
            return std::clamp(spacing->points ? spacing->value : spacing->value / 100.0 * points, 0.0,
                              kMaxIndentPoints);
        };
        p.spaceBefore = space(style.before);
        p.spaceAfter = space(style.after);
        if (style.line) {
            p.lineSpacingPoints = style.line->points;
            p.lineSpacing = style.line->points
                                ? std::clamp(style.line->value, 1.0, kMaxIndentPoints)
                                : std::clamp(style.line->value, kMinLinePercent, kMaxLinePercent);
        }
        // The presentation program's shrinking to fit takes from proportional line spacing (single
        // lines are 100 percent).
        if (m_fit.lineReduction > 0 && !p.lineSpacingPoints)
            p.lineSpacing = std::clamp((p.lineSpacing > 0 ? p.lineSpacing : 100.0) - m_fit.lineReduction,
                                       kMinLinePercent, kMaxLinePercent);
        // A paragraph without text shows no bullet and leaves the count of numbers as it is.
        if (!first)
            return;
        const CBullet bullet = style.bullet.value_or(CBullet());
        const int number = numbering.Next(level, bullet.kind == CBullet::kNumber ? &bullet : nullptr);
        if (bullet.kind == CBullet::kNone)
            return;
        HxSlideRun mark;
        const CBulletFace face = style.bulletFace.value_or(CBulletFace());
        mark.face = face.text || face.face.startsWith(u'+') ? first->face : face.face;
        if (bullet.kind == CBullet::kNumber) {
            mark.text = NumberText(bullet.type, number);
        } else {
            bool mapped = false;
            mark.text = BulletCharacter(bullet.text, face.text ? QString() : face.face, mapped);
            if (mapped)
                mark.face.clear(); // drawn in the default face, which has the character
        }
        mark.text += u'\t';
        const CBulletColor color = style.bulletColor.value_or(CBulletColor());
        if (color.text) {
            mark.hasColor = first->hasColor;
            mark.color = first->color;
        } else {
            mark.hasColor = Resolve(color.color, mark.color);
        }
        const CBulletSize size = style.bulletSize.value_or(CBulletSize());
        mark.points = std::clamp(size.kind == CBulletSize::kPoints    ? Fitted(size.value)
                                 : size.kind == CBulletSize::kPercent ? points * size.value / 100.0
                                                                      : points,
                                 1.0, 4000.0);
        mark.bold = first->bold;
        mark.italic = first->italic;
        p.runs.insert(p.runs.begin(), std::move(mark));
        p.bulleted = true;
    }

    // r, fld or br: its properties and its text.
    void ReadRun(CRunStyle& style, QString& text) {
        while (NextChild()) {
            const QStringView name = m_x.name();
            if (name == QLatin1String("rPr")) {
                ReadRunStyle(style);
            } else if (name == QLatin1String("t")) {
                const QString t = m_x.readElementText(QXmlStreamReader::SkipChildElements);
                if (m_x.hasError())
                    return Fail(kPptxBadXml);
                // Tabs and vertical tabs (soft breaks) as the text program shows them.
                QString clean = t;
                clean.replace(u'\v', u'\n');
                text += clean;
            } else {
                Skip();
            }
            if (m_error)
                return;
        }
        // The text as long as it is: the reader's string grows by doubling, and a deck holds many.
        text.squeeze();
    }

    // A table cell's properties (tcPr) at the current element: its margins and anchoring, as a
    // text body states its insets.
    void ReadCellMargins(CBodyStyle& margins) {
        static const QLatin1String kMargins[4] = {QLatin1String("marL"), QLatin1String("marT"),
                                                  QLatin1String("marR"), QLatin1String("marB")};
        if (!ReadAnchorAndInsets(margins, kMargins))
            return;
        Skip();
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
                    // A cell's text lies in it as its properties (tcPr) say, not its body's.
                    CBodyStyle margins;
                    while (NextChild()) {
                        if (m_x.name() == QLatin1String("txBody")) {
                            CListStyle own;
                            CBodyStyle body;
                            ReadTextBody(cell.text, ChainOf(false, CPlaceholder()), own, body);
                        } else if (m_x.name() == QLatin1String("tcPr")) {
                            ReadCellMargins(margins);
                        } else
                            Skip();
                        if (m_error)
                            return;
                    }
                    cell.text.frame = Frame(margins, CTextChain());
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
        bool placeholder = false, textRead = false;
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
                ph.family = PlaceholderFamily(ph.type);
                if (!Attribute(a, QLatin1String("idx"), 0xFFFFFFFFLL, ph.idx))
                    return Fail(kPptxBadValue);
                Skip();
            } else if (name == QLatin1String("txBody") && kind == HxSlideShape::kText) {
                // Its placeholder is known by now: nvSpPr comes before it.
                ReadTextBody(shape.text, ChainOf(placeholder, ph), ph.style, ph.body);
                textRead = true;
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
            m_collect->Add(ph);
        }
        if (!textRead) {
            CTextChain chain = ChainOf(placeholder, ph);
            shape.text.defaultPoints = TextPoints(ph.style, chain);
            shape.text.frame = Frame(ph.body, chain);
        }
        out.push_back(std::move(shape));
    }

    // A placeholder without a place of its own takes the layout's, else the master's.
    HxSlideBox Inherited(const CPlaceholder& ph) const {
        for (const CPlaceholders* list : {m_layout, m_master})
            if (const CPlaceholder* found = Matching(list, ph))
                return found->box;
        return HxSlideBox();
    }

    // The placeholder that a slide's placeholder stands for in `list`: on the layout the one of its
    // index, else one of its type; on the master one of its type.  None when there is none.
    const CPlaceholder* Matching(const CPlaceholders* list, const CPlaceholder& ph) const {
        if (!list)
            return nullptr;
        if (ph.idx >= 0 && list == m_layout)
            if (const CPlaceholder* found = list->OfIndex(ph.idx))
                return found;
        return list->OfFamily(ph.family);
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

// Reads the shape tree (p:cSld/p:spTree) of a slide, layout or master part, with the master's text
// styles and theme colours and the presentation's default text style given; for a master,
// `collectStyles` receives its text styles (p:txStyles).
HxPptxError ReadTree(const QByteArray& bytes, std::vector<HxSlideShape>& shapes,
                     const CPlaceholders* layout, const CPlaceholders* master,
                     CPlaceholders* collect, const CMasterStyles& styles,
                     const CListStyle* defaults, CMasterStyles* collectStyles = nullptr) {
    QXmlStreamReader x(bytes);
    CShapeReader reader(x);
    reader.m_layout = layout;
    reader.m_master = master;
    reader.m_collect = collect;
    reader.m_styles = styles;
    reader.m_defaults = defaults;
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
    while (NextToken(x, error)) {
        if (!collectStyles || !x.isStartElement() || x.name() != QLatin1String("txStyles"))
            continue;
        while (reader.NextChild()) {
            const QStringView name = x.name();
            CListStyle* style = name == QLatin1String("titleStyle")   ? &collectStyles->title
                                : name == QLatin1String("bodyStyle")  ? &collectStyles->body
                                : name == QLatin1String("otherStyle") ? &collectStyles->other
                                                                      : nullptr;
            if (style)
                reader.ReadListStyle(*style);
            else
                reader.Skip();
        }
        if (reader.m_error)
            return reader.m_error;
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

// The presentation's slides read into `deck`; with `countOnly` only what counts them: the package's
// relationships, the presentation part and its relationships, and the slides read looked up in the
// archive's directory (none of them opened).
HxPptxError ReadDeck(CZipParts& zip, HxSlideDeck& deck, bool countOnly) {
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

    // The slide size, the slides in their order and the default text style.
    QStringList slideParts;
    CListStyle defaults;
    {
        QXmlStreamReader x(bytes);
        HxPptxError error = kPptxOk;
        while (NextToken(x, error)) {
            if (!x.isStartElement())
                continue;
            const QXmlStreamAttributes a = x.attributes();
            if (x.name() == QLatin1String("defaultTextStyle")) {
                CShapeReader reader(x);
                reader.ReadListStyle(defaults);
                if (reader.m_error)
                    return reader.m_error;
            } else if (x.name() == QLatin1String("sldSz")) {
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
    if (countOnly) {
        // A slide that would be read is refused as missing when it is, as reading it refuses it.
        for (qsizetype n = 0; n < std::min<qsizetype>(slideParts.size(), HxPptxLimits::kMaxSlides); ++n)
            if (!zip.Has(slideParts[n]))
                return kPptxMissingPart;
        return kPptxOk;
    }

    // Layouts and masters are read once each.
    // (A map: the lists are pointed at while others are added.)
    std::map<QString, CPlaceholders> placeholders;
    std::map<QString, CMasterStyles> masterStyles;
    auto placeholdersOf = [&](const QString& part, const CPlaceholders* master,
                              const CMasterStyles& styles,
                              HxPptxError& error) -> const CPlaceholders* {
        if (part.isEmpty())
            return nullptr;
        const auto found = placeholders.find(part);
        if (found != placeholders.end())
            return &found->second;
        QByteArray b;
        if ((error = zip.Read(part, b)))
            return nullptr;
        std::vector<HxSlideShape> ignored;
        CPlaceholders list;
        CMasterStyles own;
        if ((error =
                 ReadTree(b, ignored, nullptr, master, &list, styles, &defaults, master ? nullptr : &own)))
            return nullptr;
        if (!master) {
            // A master's theme gives the colours its slides name.
            QHash<QString, CRel> masterRels;
            if ((error = ReadRels(zip, part, masterRels, false)))
                return nullptr;
            const QString theme = FirstTargetOfType(masterRels, QLatin1String("theme"));
            if (!theme.isEmpty() && zip.Has(theme)) {
                QByteArray t;
                if ((error = zip.Read(theme, t)) || (error = ReadTheme(t, own.scheme)))
                    return nullptr;
            }
            masterStyles[part] = std::move(own);
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
        const CPlaceholders* layout = nullptr;
        const CPlaceholders* master = nullptr;
        static const CMasterStyles kNoMaster;
        const CMasterStyles* styles = &kNoMaster;
        if (!layoutPart.isEmpty() && zip.Has(layoutPart)) {
            QHash<QString, CRel> layoutRels;
            if (HxPptxError e = ReadRels(zip, layoutPart, layoutRels, false))
                return e;
            const QString masterPart = FirstTargetOfType(layoutRels, QLatin1String("slideMaster"));
            if (!masterPart.isEmpty() && zip.Has(masterPart)) {
                master = placeholdersOf(masterPart, nullptr, kNoMaster, error);
                if (error)
                    return error;
                styles = &masterStyles[masterPart];
            }
            layout = placeholdersOf(layoutPart, master, *styles, error);
            if (error)
                return error;
        }
        HxSlide slide;
        if (HxPptxError e = ReadTree(bytes, slide.shapes, layout, master, nullptr, *styles, &defaults))
            return e;
        deck.slides.push_back(std::move(slide));
    }
    return kPptxOk;
}

} // namespace

namespace {

HxPptxError ReadPptx(const QByteArray& bytes, HxSlideDeck& deck, bool countOnly) {
    deck = HxSlideDeck();
    CZipParts zip;
    HxPptxError error = zip.Open(bytes);
    if (!error)
        error = ReadDeck(zip, deck, countOnly);
    if (error)
        deck = HxSlideDeck();
    return error;
}

HxPptxError ReadPptxFile(const CString& path, QByteArray& bytes) {
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
    bytes = file.readAll();
    if (bytes.size() != file.size())
        return kPptxCannotOpen;
    return kPptxOk;
}

} // namespace

HxPptxError HxReadPptx(const QByteArray& bytes, HxSlideDeck& deck) {
    return ReadPptx(bytes, deck, false);
}

HxPptxError HxReadPptxFile(const CString& path, HxSlideDeck& deck) {
    deck = HxSlideDeck();
    QByteArray bytes;
    if (HxPptxError e = ReadPptxFile(path, bytes))
        return e;
    return HxReadPptx(bytes, deck);
}

HxPptxError HxCountPptx(const QByteArray& bytes, int& count) {
    HxSlideDeck deck;
    const HxPptxError error = ReadPptx(bytes, deck, true);
    count = deck.slideCount;
    return error;
}

HxPptxError HxCountPptxFile(const CString& path, int& count) {
    count = 0;
    QByteArray bytes;
    if (HxPptxError e = ReadPptxFile(path, bytes))
        return e;
    return HxCountPptx(bytes, count);
}
