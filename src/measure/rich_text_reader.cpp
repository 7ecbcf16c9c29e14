// The RTF reader: bytes to a QTextDocument, kept groups byte for byte, bounded nesting.
#include "measure/rich_text.h"
#include "measure/rich_text_codepage.h"
#include "measure/rich_text_format.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

#include <algorithm>
#include <vector>

using namespace HxRtf;

namespace {

struct CharState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int vAlign = 0; // 0 normal, 1 superscript, 2 subscript
    int font = -1;  // index into the font table; -1 none
    int halfPoints = 24;
    int color = 0; // index into the colour table; 0 automatic
    bool operator==(const CharState&) const = default;
};

struct ParaState {
    int align = 0;                                             // 0 left, 1 right, 2 centre, 3 justified
    int left = 0, right = 0, first = 0, before = 0, after = 0; // twips
    int lineSpacing = 0;
    bool lineMultiple = false;
    int numbering = 0; // 0 none, else a QTextListFormat::Style
    int numberStart = 1;
    QString numberBefore, numberAfter;
    QList<QTextOption::Tab> tabs;                        // in twips
    QTextOption::TabType tabKind = QTextOption::LeftTab; // of the next \tx
};

enum class Dest { Body, FontTable, ColorTable, Skip, Numbering, NumberAfter, NumberBefore };

struct State {
    CharState chr;
    Dest dest = Dest::Body;
    int uc = 1;
};

struct FontEntry {
    QString face;
    int charset = 1;
};

// The longest face name kept, in UTF-16 units.
constexpr int kMaxFaceLength = 128;

int Clamp(long long v, int lo, int hi) {
    return int(std::clamp<long long>(v, lo, hi));
}

bool IsAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// RTF as the item's string can hold it: that string ends at the first zero byte, so zero bytes
// outside binary data are dropped (RTF readers skip them) and, with `binaryAsHex`, binary data
// holding a zero byte is written as hex digits instead, which readers of pictures and objects take
// alike.  RTF without zero bytes is kept unchanged.  The reader reads its input so cleaned (binary
// data left as it is), so that a group kept and stored reads back as it was read.
QByteArray StorableGroup(const QByteArray& group, bool binaryAsHex = true) {
    if (!group.contains('\0'))
        return group;
    static const char* const kHex = "0123456789abcdef";
    QByteArray out;
    const qsizetype n = group.size();
    qsizetype p = 0;
    // A control word just written without its delimiter: what is dropped after it must not join
    // it to the next letters or digits, so a blank delimits it then.
    bool openWord = false;
    auto drop = [&] {
        if (openWord)
            out.append(' ');
        openWord = false;
    };
    while (p < n) {
        const char c = group[p];
        if (c == '\0') {
            drop();
            ++p;
            continue;
        }
        if (c != '\\' || p + 1 >= n || !IsAlpha(group[p + 1])) {
            // A control symbol goes with its character (one of a zero byte goes altogether).
            if (c == '\\' && p + 1 < n) {
                if (group[p + 1] == '\0') {
                    drop();
                } else {
                    out.append(group.mid(p, 2));
                    openWord = false;
                }
                p += 2;
                continue;
            }
            out.append(c);
            openWord = false;
            ++p;
            continue;
        }
        // A control word: its name, its number and its delimiter.
        const qsizetype start = p++;
        while (p < n && IsAlpha(group[p]))
            ++p;
        const QByteArray name = group.mid(start + 1, p - start - 1);
        if (p < n && group[p] == '-')
            ++p;
        long long v = 0;
        while (p < n && IsDigit(group[p])) {
            if (v < 100000000000LL)
                v = v * 10 + (group[p] - '0');
            ++p;
        }
        const bool delimited = p < n && group[p] == ' ';
        if (delimited)
            ++p;
        if (name != "bin" || v <= 0) {
            out.append(group.mid(start, p - start));
            openWord = !delimited;
            continue;
        }
        const QByteArray data = group.mid(p, qsizetype(std::min<long long>(v, n - p)));
        p += data.size();
        if (!data.contains('\0') || !binaryAsHex) {
            out.append(group.mid(start, p - start));
            openWord = false;
            continue;
        }
        out.append(' ');
        for (char b : data) {
            out.append(kHex[static_cast<unsigned char>(b) >> 4]);
            out.append(kHex[static_cast<unsigned char>(b) & 15]);
        }
        openWord = false;
    }
    return out;
}

class CRtfReader {
public:
    CRtfReader(const QByteArray& data, QTextDocument& doc, qsizetype maxLength)
        : m_data(data), m_doc(doc), m_cursor(&doc), m_maxLength(maxLength) {}

    bool Read(CString* error);
    bool TooLong() const { return m_tooLong; }

private:
    struct Word {
        QByteArray name;
        bool hasParam = false;
        long long param = 0;
    };

    bool Fail(const char* text) {
        if (m_error.IsEmpty())
            m_error = CString(text);
        return false;
    }
    // Reads a control word at m_pos (just after the backslash); m_pos ends after its delimiter.
    Word ReadWord();
    // The end (one past the closing brace) of the group opening at `open`; -1 when it does not
    // close, nests too deep or holds a \bin longer than the bytes left.
    qsizetype GroupEnd(qsizetype open, int depth);
    bool OpenGroup();
    void CloseGroup();
    // The reading proper, inside one edit of the document.
    void ReadGroups();
    bool ControlWord(const Word& w);
    void ControlSymbol(char c);
    void Text(char c);
    void KeepGroup(const QByteArray& bytes, bool drawn);

    // Text of the body and of the destinations that collect text.
    void AddChar(QChar c);
    void AddByte(char b);
    void FlushBytes();
    void FlushRun();
    void EndParagraph(bool last);
    // One more character of the document (a paragraph end and an object are one each).
    void Count();
    QTextCharFormat CharFormat(const CharState& s) const;
    int Codepage() const;
    void FinishFontEntry();
    void FlushFontBytes();

    State& Top() { return m_stack.back(); }

    const QByteArray& m_data;
    QTextDocument& m_doc;
    QTextCursor m_cursor;
    qsizetype m_pos = 0;
    std::vector<State> m_stack;
    CString m_error;

    int m_ansiCodepage = 1252;
    int m_defaultFont = 0;
    std::vector<int> m_fontIds; // \fN of each entry, in table order
    std::vector<FontEntry> m_fonts;
    int m_fontEntry = -1;         // the entry being read
    QByteArray m_fontBytes;       // its name's bytes not yet decoded
    QString m_fontName;           // its name so far
    std::vector<QColor> m_colors; // entry 0 automatic (invalid)
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorSet = false;

    ParaState m_para;
    int m_skip = 0;     // fallback characters still to skip after \u
    QByteArray m_bytes; // text bytes not yet decoded
    QString m_run;      // text waiting to be inserted
    CharState m_runState;
    bool m_content = false; // text or a paragraph end has been read
    bool m_endedWithPar = false;
    QList<QByteArray> m_headerGroups;
    QTextList* m_list = nullptr; // the list the previous paragraph belongs to
    qsizetype m_maxLength;       // characters the document may hold; -1 any number
    qsizetype m_length = 0;      // characters read so far
    bool m_tooLong = false;
};

CRtfReader::Word CRtfReader::ReadWord() {
    Word w;
    const qsizetype n = m_data.size();
    while (m_pos < n && IsAlpha(m_data[m_pos]) && w.name.size() < 32)
        w.name.append(m_data[m_pos++]);
    while (m_pos < n && IsAlpha(m_data[m_pos])) // a word longer than any known one
        ++m_pos;
    bool negative = false;
    if (m_pos < n && m_data[m_pos] == '-' && m_pos + 1 < n && IsDigit(m_data[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    long long v = 0;
    while (m_pos < n && IsDigit(m_data[m_pos])) {
        w.hasParam = true;
        if (v < 100000000000LL)
            v = v * 10 + (m_data[m_pos] - '0');
        ++m_pos;
    }
    w.param = negative ? -v : v;
    if (m_pos < n && m_data[m_pos] == ' ')
        ++m_pos;
    return w;
}

qsizetype CRtfReader::GroupEnd(qsizetype open, int depth) {
    const qsizetype n = m_data.size();
    int level = 0;
    qsizetype p = open;
    while (p < n) {
        const char c = m_data[p];
        if (c == '{') {
            ++level;
            if (depth + level > HxRtfLimits::kMaxDepth) {
                Fail("RTF groups nest too deep");
                return -1;
            }
            ++p;
        } else if (c == '}') {
            ++p;
            if (--level == 0)
                return p;
        } else if (c == '\\') {
            ++p;
            if (p < n && IsAlpha(m_data[p])) {
                const qsizetype save = m_pos;
                m_pos = p;
                const Word w = ReadWord();
                p = m_pos;
                m_pos = save;
                if (w.name == "bin" && w.param > 0) {
                    if (w.param > n - p) {
                        Fail("RTF \\bin runs past the end");
                        return -1;
                    }
                    p += qsizetype(w.param);
                }
            } else if (p < n) {
                ++p;
            }
        } else {
            ++p;
        }
    }
    Fail("RTF group not closed");
    return -1;
}

int CRtfReader::Codepage() const {
    int font = m_stack.empty() ? -1 : m_stack.back().chr.font;
    for (size_t i = 0; font < 0 && i < m_fontIds.size(); ++i)
        if (m_fontIds[i] == m_defaultFont)
            font = int(i);
    if (font >= 0 && font < int(m_fonts.size()))
        return HxRtfCodepageOfCharset(m_fonts[size_t(font)].charset, m_ansiCodepage);
    return m_ansiCodepage;
}

QTextCharFormat CRtfReader::CharFormat(const CharState& s) const {
    QTextCharFormat f;
    f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.italic);
    f.setFontUnderline(s.underline);
    f.setVerticalAlignment(s.vAlign == 1   ? QTextCharFormat::AlignSuperScript
                           : s.vAlign == 2 ? QTextCharFormat::AlignSubScript
                                           : QTextCharFormat::AlignNormal);
    f.setFontPointSize(s.halfPoints / 2.0);
    int font = s.font;
    for (size_t i = 0; font < 0 && i < m_fontIds.size(); ++i)
        if (m_fontIds[i] == m_defaultFont)
            font = int(i); // the default font until \f names another
    if (font >= 0 && font < int(m_fonts.size())) {
        const FontEntry& e = m_fonts[size_t(font)];
        f.setFontFamilies({e.face});
        f.setProperty(kFontCharset, e.charset);
    }
    if (s.color > 0 && s.color < int(m_colors.size()) && m_colors[size_t(s.color)].isValid())
        f.setForeground(m_colors[size_t(s.color)]);
    return f;
}

void CRtfReader::FlushBytes() {
    if (m_bytes.isEmpty())
        return;
    const QByteArray bytes = m_bytes;
    m_bytes.clear();
    const Dest d = m_stack.empty() ? Dest::Body : Top().dest;
    if (d == Dest::FontTable) {
        return;
    }
    const QString text = HxRtfDecode(bytes, Codepage());
    for (QChar c : text)
        AddChar(c);
}

void CRtfReader::FlushRun() {
    FlushBytes();
    if (m_run.isEmpty())
        return;
    m_cursor.insertText(m_run, CharFormat(m_runState));
    m_run.clear();
}

void CRtfReader::AddChar(QChar c) {
    // Control characters other than the tab are not text (a \'00 or a \u0 among them).
    if (c.unicode() < 0x20 && c != QChar('\t'))
        return;
    const Dest d = Top().dest;
    if (d == Dest::NumberAfter) {
        if (m_para.numberAfter.size() < 16)
            m_para.numberAfter.append(c);
        return;
    }
    if (d == Dest::NumberBefore) {
        if (m_para.numberBefore.size() < 16)
            m_para.numberBefore.append(c);
        return;
    }
    if (d != Dest::Body)
        return;
    Count();
    if (!m_run.isEmpty() && !(Top().chr == m_runState)) {
        const QString pending = m_run;
        m_run.clear();
        m_cursor.insertText(pending, CharFormat(m_runState));
    }
    m_runState = Top().chr;
    m_run.append(c);
    m_content = true;
    m_endedWithPar = false;
}

void CRtfReader::AddByte(char b) {
    const Dest d = Top().dest;
    if (d == Dest::FontTable) {
        if (m_fontBytes.size() < 4 * kMaxFaceLength)
            m_fontBytes.append(b);
        return;
    }
    if (d == Dest::Skip || d == Dest::ColorTable || d == Dest::Numbering)
        return;
    m_bytes.append(b);
}

void CRtfReader::FlushFontBytes() {
    if (m_fontEntry < 0 || m_fontBytes.isEmpty())
        return;
    m_fontName +=
        HxRtfDecode(m_fontBytes, HxRtfFaceCodepage(m_fonts[size_t(m_fontEntry)].charset, m_ansiCodepage));
    m_fontBytes.clear();
}

void CRtfReader::FinishFontEntry() {
    if (m_fontEntry < 0)
        return;
    FlushFontBytes();
    // A face's name has no control characters or semicolons and no blanks around it; no face has
    // a name this long: the rest of a longer one is dropped (whole characters).
    QString name = m_fontName;
    name.removeIf([](QChar c) { return c.unicode() < 0x20 || c == QChar(';'); });
    name = name.trimmed().left(kMaxFaceLength);
    for (QString before; before != name;) {
        before = name;
        name = name.trimmed();
        if (!name.isEmpty() && name.back().isHighSurrogate())
            name.chop(1);
    }
    m_fonts[size_t(m_fontEntry)].face = name;
    m_fontName.clear();
    m_fontEntry = -1;
}

void CRtfReader::Count() {
    // A closing \par adds a paragraph end that is taken back at the end: one more is allowed while
    // reading, and the whole document is measured when it is read.
    if (++m_length > m_maxLength + 1 && m_maxLength >= 0 && !m_tooLong) {
        m_tooLong = true;
        Fail("RTF text too long");
    }
}

void CRtfReader::EndParagraph(bool last) {
    FlushRun();
    QTextBlockFormat bf;
    bf.setAlignment(m_para.align == 1   ? Qt::AlignRight
                    : m_para.align == 2 ? Qt::AlignHCenter
                    : m_para.align == 3 ? Qt::AlignJustify
                                        : Qt::AlignLeft);
    bf.setLeftMargin(TwipsToPixels(m_para.left));
    bf.setRightMargin(TwipsToPixels(m_para.right));
    bf.setTextIndent(TwipsToPixels(m_para.first));
    bf.setTopMargin(TwipsToPixels(m_para.before));
    bf.setBottomMargin(TwipsToPixels(m_para.after));
    if (!m_para.tabs.isEmpty()) {
        QList<QTextOption::Tab> tabs = m_para.tabs;
        for (QTextOption::Tab& tab : tabs)
            tab.position = TwipsToPixels(int(tab.position));
        bf.setTabPositions(tabs);
    }
    if (m_para.lineSpacing != 0) {
        if (m_para.lineMultiple && m_para.lineSpacing > 0)
            bf.setLineHeight(m_para.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (m_para.lineSpacing > 0)
            bf.setLineHeight(TwipsToPixels(m_para.lineSpacing), QTextBlockFormat::MinimumHeight);
        else
            bf.setLineHeight(TwipsToPixels(-m_para.lineSpacing), QTextBlockFormat::FixedHeight);
    }
    m_cursor.setBlockFormat(bf);
    if (m_para.numbering != 0) {
        QTextListFormat lf;
        lf.setStyle(QTextListFormat::Style(m_para.numbering));
        lf.setNumberPrefix(m_para.numberBefore);
        lf.setNumberSuffix(m_para.numberAfter);
        lf.setProperty(kListStart, m_para.numberStart);
        if (m_list && m_list->format() == lf)
            m_list->add(m_cursor.block());
        else
            m_list = m_cursor.createList(lf);
    } else {
        m_list = nullptr;
    }
    if (!last) {
        Count();
        m_cursor.insertBlock();
    }
}

void CRtfReader::KeepGroup(const QByteArray& group, bool drawn) {
    const QByteArray bytes = StorableGroup(group);
    FlushRun();
    if (!m_content && !drawn) {
        m_headerGroups.append(bytes);
        return;
    }
    QTextCharFormat f = CharFormat(Top().chr);
    f.setObjectType(kKeptGroupObject);
    f.setProperty(kGroupBytes, bytes);
    QSizeF box(0, 0);
    if (drawn) {
        // The size the group states for its picture (\objw/\objh, \picwgoal/\pichgoal), in twips.
        auto find = [&](const char* key) {
            const qsizetype at = bytes.indexOf(key);
            if (at < 0)
                return HxRtfLimits::kDefaultBoxTwips;
            qsizetype p = at + qsizetype(qstrlen(key));
            long long v = 0;
            while (p < bytes.size() && IsDigit(bytes[p]) && v < 1000000)
                v = v * 10 + (bytes[p++] - '0');
            return v > 0 ? Clamp(v, 15, HxRtfLimits::kMaxTwips) : HxRtfLimits::kDefaultBoxTwips;
        };
        const bool object = bytes.startsWith("{\\object");
        box = QSizeF(TwipsToPixels(find(object ? "\\objw" : "\\picwgoal")),
                     TwipsToPixels(find(object ? "\\objh" : "\\pichgoal")));
    }
    f.setProperty(kGroupBox, box);
    Count();
    m_cursor.insertText(QString(QChar::ObjectReplacementCharacter), f);
    m_content = true;
    m_endedWithPar = false;
}

bool CRtfReader::OpenGroup() {
    // m_pos is at '{'.
    const qsizetype open = m_pos;
    qsizetype p = open + 1;
    while (p < m_data.size() && (m_data[p] == '\r' || m_data[p] == '\n'))
        ++p;
    bool starred = false;
    QByteArray first;
    if (p + 1 < m_data.size() && m_data[p] == '\\' && m_data[p + 1] == '*') {
        starred = true;
        p += 2;
        while (p < m_data.size() && (m_data[p] == '\r' || m_data[p] == '\n' || m_data[p] == ' '))
            ++p;
    }
    if (p + 1 < m_data.size() && m_data[p] == '\\' && IsAlpha(m_data[p + 1])) {
        const qsizetype save = m_pos;
        m_pos = p + 1;
        first = ReadWord().name;
        m_pos = save;
    }
    const Dest d = m_stack.empty() ? Dest::Body : Top().dest;
    const bool body = d == Dest::Body;
    static const char* const kDrawn[] = {"object", "pict"};
    static const char* const kKept[] = {"stylesheet",        "info",    "header",   "footer",
                                        "headerl",           "headerr", "headerf",  "footerl",
                                        "footerr",           "footerf", "footnote", "listtable",
                                        "listoverridetable", "revtbl",  "shp"};
    bool drawn = false, kept = starred && first != "pn";
    for (const char* k : kDrawn)
        drawn = drawn || first == k;
    for (const char* k : kKept)
        kept = kept || first == k;
    if (d == Dest::FontTable || d == Dest::ColorTable || d == Dest::Skip) {
        kept = false; // inside these everything is read or skipped, not kept
        drawn = false;
    }
    // A group of its own destination inside a font entry (the panose numbers or another name that
    // word processors write there) is no part of the face's name.
    const bool skipped = d == Dest::FontTable && starred;
    if ((kept || drawn) && body) {
        const qsizetype end = GroupEnd(open, int(m_stack.size()) - 1);
        if (end < 0)
            return false;
        KeepGroup(m_data.mid(open, end - open), drawn);
        m_pos = end;
        return true;
    }
    if (int(m_stack.size()) >= HxRtfLimits::kMaxDepth + 1)
        return Fail("RTF groups nest too deep");
    FlushRun();
    State s = m_stack.empty() ? State() : Top();
    if (kept || drawn || skipped)
        s.dest = Dest::Skip;
    m_stack.push_back(s);
    ++m_pos;
    return true;
}

void CRtfReader::CloseGroup() {
    FlushRun();
    if (Top().dest == Dest::FontTable && m_stack.size() >= 2 &&
        m_stack[m_stack.size() - 2].dest == Dest::FontTable)
        FinishFontEntry();
    m_stack.pop_back();
    m_skip = 0;
}

void CRtfReader::Text(char c) {
    if (c == '\r' || c == '\n' || c == '\0')
        return;
    if (m_skip > 0) {
        --m_skip;
        return;
    }
    State& t = Top();
    if (t.dest == Dest::ColorTable) {
        if (c == ';') {
            m_colors.push_back(m_colorSet ? QColor(m_red, m_green, m_blue) : QColor());
            m_red = m_green = m_blue = 0;
            m_colorSet = false;
        }
        return;
    }
    if (t.dest == Dest::FontTable) {
        if (c == ';') {
            FinishFontEntry();
            return;
        }
        AddByte(c);
        return;
    }
    if (t.dest == Dest::Body && c == '\t') {
        FlushBytes();
        AddChar(QChar('\t'));
        return;
    }
    if (static_cast<unsigned char>(c) < 0x80) {
        FlushBytes();
        AddChar(QChar(c));
    } else {
        AddByte(c);
    }
}

void CRtfReader::ControlSymbol(char c) {
    switch (c) {
    case '\\':
    case '{':
    case '}':
        Text(c);
        return;
    case '~':
        FlushBytes();
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        AddChar(QChar(0x00A0));
        return;
    case '_':
        FlushBytes();
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        AddChar(QChar(0x2011));
        return;
    case '\r':
    case '\n':
        if (Top().dest == Dest::Body)
            EndParagraph(false);
        return;
    default:
        return; // \- and \| and the like: nothing shown
    }
}

bool CRtfReader::ControlWord(const Word& w) {
    const QByteArray& n = w.name;
    State& t = Top();
    CharState& c = t.chr;
    const bool on = !w.hasParam || w.param != 0;
    if (n == "bin") {
        const long long len = w.hasParam ? w.param : 0;
        if (len < 0 || len > m_data.size() - m_pos)
            return Fail("RTF \\bin runs past the end");
        m_pos += qsizetype(len);
        return true;
    }
    // A control word counts as one fallback character after \u.
    if (m_skip > 0 && n != "u") {
        --m_skip;
        return true;
    }
    if (n == "u") {
        if (!w.hasParam)
            return true;
        FlushBytes();
        long long v = w.param;
        if (v < 0)
            v += 65536;
        if (v >= 0x20 && v < 65536) {
            if (t.dest == Dest::FontTable) {
                FlushFontBytes();
                if (m_fontEntry >= 0 && m_fontName.size() < 4 * kMaxFaceLength)
                    m_fontName.append(QChar(char16_t(v)));
            } else {
                AddChar(QChar(char16_t(v)));
            }
        }
        m_skip = t.uc;
        return true;
    }
    if (t.dest == Dest::FontTable) {
        if (n == "f" && w.hasParam) {
            FinishFontEntry();
            if (int(m_fonts.size()) < HxRtfLimits::kMaxFonts) {
                m_fontIds.push_back(int(std::clamp<long long>(w.param, -1000000, 1000000)));
                m_fonts.push_back(FontEntry{});
                m_fontEntry = int(m_fonts.size()) - 1;
                m_fontBytes.clear();
                m_fontName.clear();
            }
        } else if (n == "fcharset" && m_fontEntry >= 0) {
            m_fonts[size_t(m_fontEntry)].charset = Clamp(w.param, 0, 255);
        }
        return true;
    }
    if (t.dest == Dest::ColorTable) {
        if (n == "red" || n == "green" || n == "blue") {
            (n == "red" ? m_red : n == "green" ? m_green : m_blue) = Clamp(w.param, 0, 255);
            m_colorSet = true;
        }
        return true;
    }
    if (t.dest == Dest::Numbering) {
        if (n == "pnlvlblt")
            m_para.numbering = QTextListFormat::ListDisc;
        else if (n == "pndec")
            m_para.numbering = QTextListFormat::ListDecimal;
        else if (n == "pnlcltr")
            m_para.numbering = QTextListFormat::ListLowerAlpha;
        else if (n == "pnucltr")
            m_para.numbering = QTextListFormat::ListUpperAlpha;
        else if (n == "pnlcrm")
            m_para.numbering = QTextListFormat::ListLowerRoman;
        else if (n == "pnucrm")
            m_para.numbering = QTextListFormat::ListUpperRoman;
        else if (n == "pnstart")
            m_para.numberStart = Clamp(w.param, 0, 32767);
        else if (n == "pntxta") {
            t.dest = Dest::NumberAfter;
            m_para.numberAfter.clear();
        } else if (n == "pntxtb") {
            t.dest = Dest::NumberBefore;
            m_para.numberBefore.clear();
        }
        if (m_para.numbering == 0 && n.startsWith("pnlvl"))
            m_para.numbering = QTextListFormat::ListDecimal;
        return true;
    }
    // Destinations opened by their first word.
    if (n == "fonttbl") {
        t.dest = Dest::FontTable;
        return true;
    }
    if (n == "colortbl") {
        t.dest = Dest::ColorTable;
        m_colors.clear();
        return true;
    }
    if (n == "pntext") {
        t.dest = Dest::Skip;
        return true;
    }
    if (n == "pn") {
        t.dest = Dest::Numbering;
        m_para.numbering = 0;
        m_para.numberStart = 1;
        m_para.numberBefore.clear();
        m_para.numberAfter.clear();
        return true;
    }
    if (t.dest == Dest::Skip)
        return true;
    if (t.dest == Dest::NumberAfter || t.dest == Dest::NumberBefore) {
        if (n == "tab")
            AddChar(QChar('\t'));
        return true;
    }

    FlushBytes();
    if (n == "ansicpg") {
        m_ansiCodepage = Clamp(w.param, 0, 65535);
    } else if (n == "deff") {
        m_defaultFont = Clamp(w.param, -1000000, 1000000);
    } else if (n == "par") {
        EndParagraph(false);
        m_content = true;
        m_endedWithPar = true;
    } else if (n == "line") {
        AddChar(QChar(0x2028));
    } else if (n == "tab") {
        AddChar(QChar('\t'));
    } else if (n == "emdash") {
        AddChar(QChar(0x2014));
    } else if (n == "endash") {
        AddChar(QChar(0x2013));
    } else if (n == "bullet") {
        AddChar(QChar(0x2022));
    } else if (n == "lquote" || n == "rquote") {
        AddChar(QChar(n == "lquote" ? 0x2018 : 0x2019));
    } else if (n == "ldblquote" || n == "rdblquote") {
        AddChar(QChar(n == "ldblquote" ? 0x201C : 0x201D));
    } else if (n == "uc") {
        t.uc = Clamp(w.param, 0, 10);
    } else if (n == "b") {
        c.bold = on;
    } else if (n == "i") {
        c.italic = on;
    } else if (n == "ul") {
        c.underline = on;
    } else if (n == "ulnone") {
        c.underline = false;
    } else if (n == "super") {
        c.vAlign = 1;
    } else if (n == "sub") {
        c.vAlign = 2;
    } else if (n == "nosupersub") {
        c.vAlign = 0;
    } else if (n == "plain") {
        c = CharState();
        c.font = -1;
        for (size_t i = 0; i < m_fontIds.size(); ++i)
            if (m_fontIds[i] == m_defaultFont)
                c.font = int(i);
    } else if (n == "f") {
        // A font missing from the table keeps the font in effect.
        for (size_t i = 0; i < m_fontIds.size(); ++i)
            if (w.hasParam && m_fontIds[i] == w.param) {
                c.font = int(i);
                break;
            }
    } else if (n == "fs") {
        if (w.hasParam)
            c.halfPoints = Clamp(w.param, HxRtfLimits::kMinHalfPoints, HxRtfLimits::kMaxHalfPoints);
    } else if (n == "cf") {
        c.color = w.param > 0 && w.param < (long long)m_colors.size() ? int(w.param) : 0;
    } else if (n == "pard") {
        m_para = ParaState();
    } else if (n == "ql") {
        m_para.align = 0;
    } else if (n == "qr") {
        m_para.align = 1;
    } else if (n == "qc") {
        m_para.align = 2;
    } else if (n == "qj") {
        m_para.align = 3;
    } else if (n == "li") {
        m_para.left = Clamp(w.param, -HxRtfLimits::kMaxTwips, HxRtfLimits::kMaxTwips);
    } else if (n == "ri") {
        m_para.right = Clamp(w.param, -HxRtfLimits::kMaxTwips, HxRtfLimits::kMaxTwips);
    } else if (n == "fi") {
        m_para.first = Clamp(w.param, -HxRtfLimits::kMaxTwips, HxRtfLimits::kMaxTwips);
    } else if (n == "sb") {
        m_para.before = Clamp(w.param, 0, HxRtfLimits::kMaxTwips);
    } else if (n == "sa") {
        m_para.after = Clamp(w.param, 0, HxRtfLimits::kMaxTwips);
    } else if (n == "sl") {
        m_para.lineSpacing = Clamp(w.param, -HxRtfLimits::kMaxTwips, HxRtfLimits::kMaxTwips);
    } else if (n == "slmult") {
        m_para.lineMultiple = on;
    } else if (n == "tqr" || n == "tqc" || n == "tqdec") {
        m_para.tabKind = n == "tqr"   ? QTextOption::RightTab
                         : n == "tqc" ? QTextOption::CenterTab
                                      : QTextOption::DelimiterTab;
    } else if (n == "tx") {
        if (w.hasParam && m_para.tabs.size() < HxRtfLimits::kMaxTabs) {
            QTextOption::Tab tab;
            tab.position = Clamp(w.param, 0, HxRtfLimits::kMaxTwips);
            tab.type = m_para.tabKind;
            // A decimal tab lines up at the point (the only delimiter RTF has).
            if (tab.type == QTextOption::DelimiterTab)
                tab.delimiter = QChar('.');
            m_para.tabs.append(tab);
        }
        m_para.tabKind = QTextOption::LeftTab;
    }
    return true;
}

bool CRtfReader::Read(CString* error) {
    // The reading is one edit of the document, kept by no undo step: its layout (a shown editor's)
    // hears of it once, when it is complete.  The document is emptied inside that edit, so that the
    // layout sees a whole new document, which it lays out as far as it is asked to, not at once.
    const bool undo = m_doc.isUndoRedoEnabled();
    m_doc.setUndoRedoEnabled(false);
    m_cursor = QTextCursor(&m_doc);
    m_cursor.beginEditBlock();
    m_doc.clear();
    ReadGroups();
    if (m_error.IsEmpty() && m_maxLength >= 0 && m_doc.characterCount() - 1 > m_maxLength) {
        m_tooLong = true;
        Fail("RTF text too long");
    }
    if (m_error.IsEmpty()) {
        QTextFrameFormat ff = m_doc.rootFrame()->frameFormat();
        ff.setProperty(kHeaderGroups, QVariant::fromValue(m_headerGroups));
        m_doc.rootFrame()->setFrameFormat(ff);
    }
    m_cursor.endEditBlock();
    m_list = nullptr;
    if (!m_error.IsEmpty())
        m_doc.clear();
    m_doc.setUndoRedoEnabled(undo);
    if (!m_error.IsEmpty()) {
        if (error)
            *error = m_error;
        return false;
    }
    return true;
}

void CRtfReader::ReadGroups() {
    const qsizetype n = m_data.size();
    // Leading blanks, then "{\rtf".
    qsizetype start = 0;
    while (start < n && (m_data[start] == ' ' || m_data[start] == '\r' || m_data[start] == '\n'))
        ++start;
    if (!m_data.mid(start, 5).startsWith("{\\rtf")) {
        Fail("not RTF");
    } else {
        m_pos = start;
        bool ok = true;
        bool closed = false;
        while (ok && !m_tooLong && m_pos < n) {
            const char ch = m_data[m_pos];
            if (ch == '{') {
                ok = OpenGroup();
            } else if (ch == '}') {
                ++m_pos;
                if (m_stack.empty()) {
                    ok = Fail("unbalanced RTF group");
                    break;
                }
                CloseGroup();
                if (m_stack.empty()) {
                    closed = true;
                    break; // what follows the document's group is not read
                }
            } else if (ch == '\\') {
                ++m_pos;
                if (m_pos >= n)
                    break;
                if (IsAlpha(m_data[m_pos])) {
                    const Word w = ReadWord();
                    ok = ControlWord(w);
                } else if (m_data[m_pos] == '\'') {
                    ++m_pos;
                    auto hex = [](char h) {
                        return h >= '0' && h <= '9'   ? h - '0'
                               : h >= 'a' && h <= 'f' ? h - 'a' + 10
                               : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                      : -1;
                    };
                    const int hi = m_pos < n ? hex(m_data[m_pos]) : -1;
                    const int lo = m_pos + 1 < n ? hex(m_data[m_pos + 1]) : -1;
                    if (hi >= 0 && lo >= 0) {
                        m_pos += 2;
                        if (m_skip > 0)
                            --m_skip;
                        else
                            AddByte(char(hi * 16 + lo));
                    }
                } else {
                    const char s = m_data[m_pos++];
                    if (s == '*')
                        continue;
                    if (m_skip > 0 && s != '\\' && s != '{' && s != '}') {
                        --m_skip;
                        continue;
                    }
                    ControlSymbol(s);
                }
            } else {
                ++m_pos;
                if (!m_stack.empty())
                    Text(ch);
            }
        }
        if (ok && !closed)
            Fail("RTF group not closed");
        if (m_error.IsEmpty()) {
            FlushRun();
            if (m_endedWithPar && m_doc.blockCount() > 1) {
                // A closing \par ends the last paragraph; it does not open an empty one.
                m_cursor.deletePreviousChar();
            } else {
                EndParagraph(true);
            }
        }
    }
}

} // namespace

bool HxRtfToDocument(const QByteArray& rtf, QTextDocument& doc, CString* error, qsizetype maxLength,
                     bool* tooLong) {
    HxInstallRichObjectHandler(doc);
    const QByteArray input = StorableGroup(rtf, false);
    CRtfReader reader(input, doc, maxLength);
    const bool read = reader.Read(error);
    if (tooLong)
        *tooLong = reader.TooLong();
    return read;
}
