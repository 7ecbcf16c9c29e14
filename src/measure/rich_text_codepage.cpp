// Code pages of RTF text through iconv.
#include "measure/rich_text_codepage.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace {

const char* IconvName(int codepage) {
    switch (codepage) {
    case 936:
        return "GB18030";
    case 950:
        return "BIG5";
    case 932:
        return "CP932";
    case 949:
        return "CP949";
    case 874:
        return "CP874";
    case 1250:
        return "CP1250";
    case 1251:
        return "CP1251";
    case 1252:
        return "CP1252";
    case 1253:
        return "CP1253";
    case 1254:
        return "CP1254";
    case 1255:
        return "CP1255";
    case 1256:
        return "CP1256";
    case 1257:
        return "CP1257";
    case 1258:
        return "CP1258";
    default:
        return nullptr;
    }
}

// Runs iconv over the whole input; false when the conversion cannot be opened or, with `strict`,
// meets a character it cannot convert.  Without `strict` an undecodable byte is skipped and
// `replacement` written in its place.
bool Convert(const char* to, const char* from, const QByteArray& in, QByteArray& out, bool strict,
             const QByteArray& replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::vector<char> buffer(size_t(in.size()) * 4 + 16);
    char* src = const_cast<char*>(in.constData());
    size_t srcLeft = size_t(in.size());
    out.clear();
    bool ok = true;
    while (srcLeft > 0) {
        char* dst = buffer.data();
        size_t dstLeft = buffer.size();
        const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer.data(), qsizetype(buffer.size() - dstLeft));
        if (r != size_t(-1))
            continue;
        if (errno == E2BIG)
            continue;
        if (strict) {
            ok = false;
            break;
        }
        // An invalid or incomplete sequence: skip one byte.
        out.append(replacement);
        ++src;
        --srcLeft;
    }
    iconv_close(cd);
    return ok;
}

} // namespace

int HxRtfCodepageOfCharset(int charset, int ansiCodepage) {
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return 42;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    default:
        return ansiCodepage;
    }
}

int HxRtfFaceCodepage(int charset, int ansiCodepage) {
    const int codepage = HxRtfCodepageOfCharset(charset, ansiCodepage);
    return codepage == 42 ? ansiCodepage : codepage;
}

QString HxRtfDecode(const QByteArray& bytes, int codepage) {
    if (codepage == 42) {
        QString s;
        s.reserve(bytes.size());
        for (char c : bytes)
            s.append(QChar(char16_t(0xF000 + static_cast<unsigned char>(c))));
        return s;
    }
    if (const char* name = IconvName(codepage)) {
        QByteArray utf8;
        if (Convert("UTF-8", name, bytes, utf8, false, QByteArray("\xEF\xBF\xBD")))
            return QString::fromUtf8(utf8);
    }
    return QString::fromLatin1(bytes);
}

QByteArray HxRtfEncode(const QString& text, int codepage) {
    const char* name = IconvName(codepage);
    if (!name)
        return {};
    QByteArray out;
    if (!Convert(name, "UTF-8", text.toUtf8(), out, true, {}))
        return {};
    return out;
}
