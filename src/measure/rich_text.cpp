// The RTF writer, the kept groups' placeholder boxes, the packing of RTF bytes into the item's
// string and the short name of the rich text (its one-bit picture is in rich_text_picture.cpp).
#include "measure/rich_text.h"
#include "measure/rich_text_codepage.h"
#include "measure/rich_text_format.h"

#include <QAbstractTextDocumentLayout>
#include <QHash>
#include <QPainter>
#include <QTextBlock>
#include <QTextList>
#include <QTextObjectInterface>

#include <algorithm>
#include <cmath>

using namespace HxRtf;

// ---------------------------------------------------------------------------------------------
// Packing

CString PackRtfBytes(const QByteArray& rtf) {
    // Bytes up to the first zero: the unpacked form ends there.
    qsizetype n = rtf.indexOf('\0');
    if (n < 0)
        n = rtf.size();
    QString s;
    s.reserve(n / 2 + 1);
    for (qsizetype i = 0; i < n; i += 2) {
        const unsigned b0 = static_cast<unsigned char>(rtf[i]);
        const unsigned b1 = i + 1 < n ? static_cast<unsigned char>(rtf[i + 1]) : 0u;
        s.append(QChar(char16_t(b0 | (b1 << 8))));
    }
    return CString::FromQString(s);
}

QByteArray UnpackRtfBytes(const CString& packed) {
    const QString s = packed.ToQString();
    QByteArray out;
    out.reserve(s.size() * 2);
    for (QChar c : s) {
        const char16_t u = c.unicode();
        const char b0 = char(u & 0xFF), b1 = char(u >> 8);
        if (b0 == 0)
            break;
        out.append(b0);
        if (b1 == 0)
            break;
        out.append(b1);
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Kept groups

namespace {

class CRichObjectHandler : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat& format) override {
        return format.property(kGroupBox).toSizeF();
    }
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int, const QTextFormat&) override {
        if (rect.width() < 1 || rect.height() < 1)
            return;
        // An object this program cannot show: a framed box with its diagonals.
        painter->save();
        painter->setPen(QPen(Qt::black, 1));
        painter->setBrush(Qt::NoBrush);
        const QRectF r = rect.adjusted(0.5, 0.5, -0.5, -0.5);
        painter->drawRect(r);
        painter->drawLine(r.topLeft(), r.bottomRight());
        painter->drawLine(r.bottomLeft(), r.topRight());
        painter->restore();
    }
};

CRichObjectHandler& ObjectHandler() {
    static CRichObjectHandler handler;
    return handler;
}

} // namespace

void HxInstallRichObjectHandler(QTextDocument& doc) {
    doc.documentLayout()->registerHandler(kKeptGroupObject, &ObjectHandler());
}

bool HxIsKeptGroup(const QTextCharFormat& format) {
    return format.objectType() == kKeptGroupObject && format.hasProperty(kGroupBytes);
}

QByteArray HxKeptGroupBytes(const QTextCharFormat& format) {
    return format.property(kGroupBytes).toByteArray();
}

QSizeF HxKeptGroupBox(const QTextCharFormat& format) {
    return format.property(kGroupBox).toSizeF();
}

QString HxRichPlainText(const QTextDocument& doc) {
    QString s = doc.toPlainText();
    s.remove(QChar::ObjectReplacementCharacter);
    s.replace(QChar(0x2028), QChar('\n'));
    return s;
}

CString HxRichTextShortName(const QString& plain) {
    if (plain.size() > 5)
        return CString::FromQString(plain.left(4) + QStringLiteral("..."));
    return CString::FromQString(plain);
}

// ---------------------------------------------------------------------------------------------
// Writer

namespace {

struct WrittenChar {
    bool bold = false, italic = false, underline = false;
    int vAlign = 0;
    int font = 0;
    int halfPoints = 24;
    int color = 0;
};

// Faces written with GB2312 when the font table has no character set for them: those named in
// Chinese, and the Chinese faces of Windows by their Latin names.
bool IsChineseFace(const QString& face) {
    for (QChar c : face)
        if (c.unicode() >= 0x2E80)
            return true;
    static const char* const kLatinNames[] = {
        "SimSun",          "NSimSun",    "SimHei",  "KaiTi",           "KaiTi_GB2312", "FangSong",
        "FangSong_GB2312", "LiSu",       "YouYuan", "DengXian",        "STSong",       "STKaiti",
        "STHeiti",         "STFangsong", "STXihei", "Microsoft YaHei", "SimSun-ExtB"};
    for (const char* name : kLatinNames)
        if (face.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

class CRtfWriter {
public:
    explicit CRtfWriter(const QTextDocument& doc) : m_doc(doc) {}
    QByteArray Write();

private:
    struct Font {
        QString face;
        int charset;
    };
    int FontIndex(const QTextCharFormat& f);
    int ColorIndex(const QTextCharFormat& f);
    void CollectTables();
    void WriteParagraph(const QTextBlock& block);
    void WriteRun(const QTextCharFormat& f, const QString& text);
    void WriteText(const QString& text);
    static void Unicode(QByteArray& out, char16_t u);

    const QTextDocument& m_doc;
    std::vector<Font> m_fonts;
    std::vector<QColor> m_colors; // from index 1
    // Where each font and colour is in its table: a text of as many runs as the editor holds, each
    // its own, would take seconds searching the tables from the start.
    QHash<std::pair<QString, int>, int> m_fontIndex;
    QHash<QRgb, int> m_colorIndex;
    QByteArray m_out;
    WrittenChar m_state;
};

void CRtfWriter::Unicode(QByteArray& out, char16_t u) {
    out += "\\u" + QByteArray::number(int(int16_t(u))) + '?';
}

int CRtfWriter::FontIndex(const QTextCharFormat& f) {
    const QStringList families = f.fontFamilies().toStringList();
    const QString face = families.isEmpty() ? QStringLiteral("宋体") : families.first();
    int charset = f.hasProperty(kFontCharset) ? f.intProperty(kFontCharset) : (IsChineseFace(face) ? 134 : 0);
    const std::pair key{face, charset};
    if (const auto it = m_fontIndex.constFind(key); it != m_fontIndex.constEnd())
        return *it;
    m_fontIndex.insert(key, int(m_fonts.size()));
    m_fonts.push_back(Font{face, charset});
    return int(m_fonts.size()) - 1;
}

int CRtfWriter::ColorIndex(const QTextCharFormat& f) {
    if (!f.hasProperty(QTextFormat::ForegroundBrush))
        return 0;
    const QColor c = f.foreground().color();
    if (const auto it = m_colorIndex.constFind(c.rgb()); it != m_colorIndex.constEnd())
        return *it;
    m_colors.push_back(c);
    m_colorIndex.insert(c.rgb(), int(m_colors.size()));
    return int(m_colors.size());
}

void CRtfWriter::CollectTables() {
    for (QTextBlock b = m_doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (HxIsKeptGroup(f))
                continue; // written as read, without a font or colour of ours
            FontIndex(f);
            ColorIndex(f);
        }
    if (m_fonts.empty()) {
        m_fontIndex.insert({QStringLiteral("宋体"), 134}, 0);
        m_fonts.push_back(Font{QStringLiteral("宋体"), 134});
    }
}

void CRtfWriter::WriteText(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u == '\\' || u == '{' || u == '}') {
            m_out += '\\';
            m_out += char(u);
        } else if (u == '\t') {
            m_out += "\\tab ";
        } else if (u == 0x2028) {
            m_out += "\\line ";
        } else if (u >= 0x20 && u < 0x80) {
            m_out += char(u);
        } else if (u >= 0x80) {
            Unicode(m_out, u);
        }
    }
}

void CRtfWriter::WriteRun(const QTextCharFormat& f, const QString& text) {
    if (HxIsKeptGroup(f)) {
        // Each object character is its group, as it was read.
        const QByteArray bytes = HxKeptGroupBytes(f);
        for (qsizetype i = 0; i < text.size(); ++i)
            if (text[i] == QChar::ObjectReplacementCharacter)
                m_out += bytes;
        return;
    }
    WrittenChar s;
    s.bold = f.fontWeight() >= QFont::DemiBold;
    s.italic = f.fontItalic();
    s.underline = f.fontUnderline();
    s.vAlign = f.verticalAlignment() == QTextCharFormat::AlignSuperScript ? 1
               : f.verticalAlignment() == QTextCharFormat::AlignSubScript ? 2
                                                                          : 0;
    s.font = FontIndex(f);
    const double points = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : 12.0;
    s.halfPoints =
        std::clamp(int(std::lround(points * 2)), HxRtfLimits::kMinHalfPoints, HxRtfLimits::kMaxHalfPoints);
    s.color = ColorIndex(f);
    QByteArray cw;
    if (s.color != m_state.color)
        cw += "\\cf" + QByteArray::number(s.color);
    if (s.bold != m_state.bold)
        cw += s.bold ? "\\b" : "\\b0";
    if (s.italic != m_state.italic)
        cw += s.italic ? "\\i" : "\\i0";
    if (s.underline != m_state.underline)
        cw += s.underline ? "\\ul" : "\\ulnone";
    if (s.vAlign != m_state.vAlign)
        cw += s.vAlign == 1 ? "\\super" : s.vAlign == 2 ? "\\sub" : "\\nosupersub";
    if (s.font != m_state.font)
        cw += "\\f" + QByteArray::number(s.font);
    if (s.halfPoints != m_state.halfPoints)
        cw += "\\fs" + QByteArray::number(s.halfPoints);
    if (!cw.isEmpty())
        m_out += cw + ' ';
    m_state = s;
    WriteText(text);
}

void CRtfWriter::WriteParagraph(const QTextBlock& block) {
    m_out += "\\pard";
    m_out += HxRtfParagraphWords(block.blockFormat());
    if (QTextList* list = block.textList()) {
        const QTextListFormat lf = list->format();
        const char* kind = "\\pndec";
        switch (lf.style()) {
        case QTextListFormat::ListDisc:
        case QTextListFormat::ListCircle:
        case QTextListFormat::ListSquare:
            kind = "\\pnlvlblt";
            break;
        case QTextListFormat::ListLowerAlpha:
            kind = "\\pnlvlbody\\pnlcltr";
            break;
        case QTextListFormat::ListUpperAlpha:
            kind = "\\pnlvlbody\\pnucltr";
            break;
        case QTextListFormat::ListLowerRoman:
            kind = "\\pnlvlbody\\pnlcrm";
            break;
        case QTextListFormat::ListUpperRoman:
            kind = "\\pnlvlbody\\pnucrm";
            break;
        default:
            kind = "\\pnlvlbody\\pndec";
            break;
        }
        m_out += "{\\pntext ";
        WriteText(list->itemText(block));
        m_out += "\\tab}{\\*\\pn";
        m_out += kind;
        const int start = lf.hasProperty(kListStart) ? lf.intProperty(kListStart) : 1;
        m_out += "\\pnindent0\\pnstart" + QByteArray::number(start);
        if (!lf.numberPrefix().isEmpty()) {
            m_out += "{\\pntxtb ";
            WriteText(lf.numberPrefix());
            m_out += '}';
        }
        if (!lf.numberSuffix().isEmpty()) {
            m_out += "{\\pntxta ";
            WriteText(lf.numberSuffix());
            m_out += '}';
        }
        m_out += '}';
    } else {
        m_out += ' ';
    }
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        WriteRun(frag.charFormat(), frag.text());
    }
}

QByteArray CRtfWriter::Write() {
    CollectTables();
    m_out = "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl";
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        Font f = m_fonts[i];
        f.face.removeIf([](QChar c) { return c.unicode() < 0x20 || c == QChar(';'); });
        m_out +=
            "{\\f" + QByteArray::number(int(i)) + "\\fnil\\fcharset" + QByteArray::number(f.charset) + ' ';
        const QByteArray encoded = HxRtfEncode(f.face, HxRtfFaceCodepage(f.charset, 936));
        if (!encoded.isEmpty()) {
            for (char c : encoded) {
                const auto b = static_cast<unsigned char>(c);
                if (b >= 0x80 || c == '\\' || c == '{' || c == '}' || c == ';') {
                    static const char* const kHex = "0123456789abcdef";
                    m_out += "\\'";
                    m_out += kHex[b >> 4];
                    m_out += kHex[b & 15];
                } else {
                    m_out += c;
                }
            }
        } else {
            WriteText(f.face);
        }
        m_out += ";}";
    }
    m_out += "}\r\n";
    if (!m_colors.empty()) {
        m_out += "{\\colortbl ;";
        for (const QColor& c : m_colors)
            m_out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) +
                     "\\blue" + QByteArray::number(c.blue()) + ';';
        m_out += "}\r\n";
    }
    const QVariant header = m_doc.rootFrame()->frameFormat().property(kHeaderGroups);
    for (const QByteArray& g : header.value<QList<QByteArray>>())
        m_out += g;
    m_out += "\\viewkind4\\uc1";
    // The reader starts in font 0 at 12 points: state what differs at the first run.
    m_state = WrittenChar();
    for (QTextBlock b = m_doc.begin(); b.isValid(); b = b.next()) {
        if (b != m_doc.begin())
            m_out += "\\par\r\n";
        WriteParagraph(b);
    }
    m_out += "\\par\r\n}\r\n";
    return m_out;
}

} // namespace

QByteArray HxRtfParagraphWords(const QTextBlockFormat& bf) {
    QByteArray out;
    const Qt::Alignment a = bf.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignRight)
        out += "\\qr";
    else if (a & Qt::AlignHCenter)
        out += "\\qc";
    else if (a & Qt::AlignJustify)
        out += "\\qj";
    auto put = [&](const char* word, double pixels) {
        const int twips = PixelsToTwips(pixels);
        if (twips != 0)
            out += word + QByteArray::number(twips);
    };
    put("\\li", bf.leftMargin());
    put("\\ri", bf.rightMargin());
    put("\\fi", bf.textIndent());
    put("\\sb", bf.topMargin());
    put("\\sa", bf.bottomMargin());
    switch (bf.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        out += "\\sl" + QByteArray::number(int(std::lround(bf.lineHeight() * 240.0 / 100.0))) + "\\slmult1";
        break;
    case QTextBlockFormat::MinimumHeight:
        out += "\\sl" + QByteArray::number(PixelsToTwips(bf.lineHeight())) + "\\slmult0";
        break;
    case QTextBlockFormat::FixedHeight:
        out += "\\sl-" + QByteArray::number(PixelsToTwips(bf.lineHeight())) + "\\slmult0";
        break;
    default:
        break;
    }
    // Each tab stop: its kind (a left one says none) and its place.
    for (const QTextOption::Tab& tab : bf.tabPositions()) {
        switch (tab.type) {
        case QTextOption::RightTab:
            out += "\\tqr";
            break;
        case QTextOption::CenterTab:
            out += "\\tqc";
            break;
        case QTextOption::DelimiterTab:
            out += "\\tqdec";
            break;
        default:
            break;
        }
        out += "\\tx" + QByteArray::number(PixelsToTwips(tab.position));
    }
    return out;
}

QByteArray HxDocumentToRtf(const QTextDocument& doc) {
    CRtfWriter writer(doc);
    return writer.Write();
}

#include "rich_text.moc"
