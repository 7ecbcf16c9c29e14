// CArchive: byte forms of MFC's archives, with every load checked against the bytes left.
#include "platform/archive.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {
constexpr WORD kNullTag = 0;
constexpr WORD kNewClassTag = 0xFFFF;
constexpr WORD kClassTag = 0x8000;
constexpr DWORD kBigClassTag = 0x80000000;
constexpr WORD kBigObjectTag = 0x7FFF;
constexpr DWORD kMaxMapCount = 0x3FFFFFFE;
constexpr size_t kMaxClassNameLength = 64;
} // namespace

const char* CArchiveException::What() const {
    switch (m_cause) {
    case endOfFile: return "unexpected end of archive";
    case badIndex: return "bad object index in archive";
    case badClass: return "unexpected class in archive";
    case badSchema: return "unsupported class schema in archive";
    case readOnly: return "archive is for loading only";
    case writeOnly: return "archive is for storing only";
    default: return "archive error";
    }
}

CArchive::CArchive(CFile* file, UINT mode, int, void*)
    : m_file(file), m_loading((mode & load) != 0), m_flushOnDelete((mode & bNoFlushOnDelete) == 0) {
    m_loadArray.push_back(LoadEntry{}); // index 0 is the null object
    if (m_loading && m_file) {
        // Counted in 64 bits and read in pieces no larger than a 32-bit count holds, so that a file
        // past 4 GiB is neither cut to its size modulo 4 GiB nor asked for in one read.
        const ULONGLONG length = m_file->GetLength();
        const ULONGLONG position = m_file->GetPosition();
        m_fileLeft = length > position ? length - position : 0;
        m_data.resize(size_t(std::min<ULONGLONG>(m_fileLeft, kWindowBytes)));
        Refill();
    }
}

CArchive::~CArchive() {
    if (!m_closed && !m_loading && m_flushOnDelete) {
        try {
            Flush();
        } catch (...) {
        }
    }
    Abort();
}

void CArchive::Fail(int cause) const {
    throw CArchiveException(cause, m_file ? m_file->GetFilePath() : CString());
}

void CArchive::Refill() {
    if (m_pos > 0) {
        std::memmove(m_data.data(), m_data.data() + m_pos, m_end - m_pos);
        m_end -= m_pos;
        m_pos = 0;
    }
    while (m_end < m_data.size() && m_fileLeft > 0) {
        const UINT wanted = UINT(std::min<ULONGLONG>(m_data.size() - m_end, m_fileLeft));
        const UINT n = m_file->Read(m_data.data() + m_end, wanted);
        if (n == 0) {
            m_fileLeft = 0; // the file ends before its length: what came is all there is
            break;
        }
        m_end += n;
        m_fileLeft -= std::min<ULONGLONG>(n, m_fileLeft);
    }
}

void CArchive::WritePending() {
    if (m_data.empty())
        return;
    m_file->Write(m_data.data(), UINT(m_data.size()));
    m_data.clear();
}

void CArchive::Flush() {
    if (m_loading || !m_file)
        return;
    WritePending();
    m_file->Flush();
}

void CArchive::Close() {
    if (!m_closed) {
        Flush();
        m_closed = true;
    }
}

void CArchive::Abort() {
    m_closed = true;
    m_data.clear();
    m_pos = m_end = 0;
    m_fileLeft = 0;
}

UINT CArchive::Read(void* buffer, UINT count) {
    if (!m_loading)
        Fail(CArchiveException::writeOnly);
    if (count > GetBytesLeft())
        Fail(CArchiveException::endOfFile);
    BYTE* out = static_cast<BYTE*>(buffer);
    size_t wanted = count;
    while (wanted > 0) {
        if (m_pos == m_end && wanted >= m_data.size()) {
            // A block as long as the window goes straight into its place.
            const UINT n = m_file->Read(out, UINT(std::min<ULONGLONG>(wanted, m_fileLeft)));
            if (n == 0) {
                m_fileLeft = 0;
                Fail(CArchiveException::endOfFile);
            }
            m_fileLeft -= std::min<ULONGLONG>(n, m_fileLeft);
            out += n;
            wanted -= n;
            continue;
        }
        if (m_pos == m_end) {
            Refill();
            if (m_pos == m_end)
                Fail(CArchiveException::endOfFile);
        }
        const size_t n = std::min(wanted, m_end - m_pos);
        std::memcpy(out, m_data.data() + m_pos, n);
        m_pos += n;
        out += n;
        wanted -= n;
    }
    return count;
}

void CArchive::Write(const void* buffer, UINT count) {
    if (m_loading)
        Fail(CArchiveException::readOnly);
    const BYTE* p = static_cast<const BYTE*>(buffer);
    if (count >= kWindowBytes && m_file) {
        // A long block (a picture's rows) is not copied into the window first.
        WritePending();
        m_file->Write(p, count);
        return;
    }
    m_data.insert(m_data.end(), p, p + count);
    if (m_data.size() >= kWindowBytes && m_file)
        WritePending();
}

void CArchive::CheckCount(ULONGLONG count, size_t minBytesEach) const {
    if (minBytesEach == 0)
        minBytesEach = 1;
    if (count > GetBytesLeft() / minBytesEach)
        Fail(CArchiveException::endOfFile);
}

void CArchive::WriteCount(ULONGLONG count) {
    if (count < 0xFFFF) {
        *this << WORD(count);
    } else {
        *this << WORD(0xFFFF);
        *this << DWORD(count);
    }
}

DWORD CArchive::ReadCount() {
    WORD w;
    *this >> w;
    if (w != 0xFFFF)
        return w;
    DWORD d;
    *this >> d;
    return d;
}

CArchive& CArchive::operator<<(const CString& s) {
    // Unicode marker, then the length in code units, then UTF-16LE without terminator.
    *this << BYTE(0xFF);
    *this << WORD(0xFFFE);
    size_t n = s.Str().size();
    if (n < 0xFF) {
        *this << BYTE(n);
    } else if (n < 0xFFFE) {
        *this << BYTE(0xFF);
        *this << WORD(n);
    } else {
        *this << BYTE(0xFF);
        *this << WORD(0xFFFF);
        *this << DWORD(n);
    }
    for (char16_t c : s.Str())
        *this << WORD(c);
    return *this;
}

CArchive& CArchive::operator>>(CString& s) {
    // The length: a byte, or 0xFF and a word, or 0xFF, 0xFFFF and a double word.  A word 0xFFFE
    // in place of the length marks Unicode text, and the length follows again.
    int charSize = 1;
    ULONGLONG length = 0;
    BYTE b;
    *this >> b;
    if (b < 0xFF) {
        length = b;
    } else {
        WORD w;
        *this >> w;
        if (w == 0xFFFE) {
            charSize = 2;
            *this >> b;
            if (b < 0xFF) {
                length = b;
                goto haveLength;
            }
            *this >> w;
        }
        if (w < 0xFFFF) {
            length = w;
        } else {
            DWORD d;
            *this >> d;
            length = d;
        }
    }
haveLength:
    CheckCount(length, size_t(charSize));
    if (charSize == 2) {
        std::u16string text(size_t(length), u'\0');
        for (auto& c : text) {
            WORD w;
            *this >> w;
            c = char16_t(w);
        }
        s = CString(std::move(text));
    } else {
        // Old single-byte text: Chinese documents carry the GBK code page.
        std::string bytes(size_t(length), '\0');
        Read(bytes.data(), UINT(length));
        QStringDecoder decoder("GB18030");
        if (decoder.isValid()) {
            QString q = decoder(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
            s = CString::FromQString(q);
        } else {
            s = CString::FromQString(QString::fromLatin1(bytes.data(), qsizetype(bytes.size())));
        }
    }
    return *this;
}

void CArchive::WriteClass(const CRuntimeClass* cls) {
    if (m_loading)
        Fail(CArchiveException::readOnly);
    auto it = m_storeMap.find(cls);
    if (it != m_storeMap.end()) {
        DWORD index = it->second;
        if (index < kBigObjectTag) {
            *this << WORD(kClassTag | index);
        } else {
            *this << kBigObjectTag;
            *this << DWORD(kBigClassTag | index);
        }
        return;
    }
    *this << kNewClassTag;
    *this << WORD(cls->m_wSchema);
    size_t n = std::strlen(cls->m_lpszClassName);
    *this << WORD(n);
    Write(cls->m_lpszClassName, UINT(n));
    if (m_mapCount >= kMaxMapCount)
        Fail(CArchiveException::badIndex);
    m_storeMap[cls] = m_mapCount++;
}

void CArchive::WriteObject(const CObject* object) {
    if (m_loading)
        Fail(CArchiveException::readOnly);
    if (!object) {
        *this << kNullTag;
        return;
    }
    auto it = m_storeMap.find(object);
    if (it != m_storeMap.end()) {
        DWORD index = it->second;
        if (index < kBigObjectTag) {
            *this << WORD(index);
        } else {
            *this << kBigObjectTag;
            *this << DWORD(index);
        }
        return;
    }
    WriteClass(object->GetRuntimeClass());
    if (m_mapCount >= kMaxMapCount)
        Fail(CArchiveException::badIndex);
    m_storeMap[object] = m_mapCount++;
    const_cast<CObject*>(object)->Serialize(*this);
}

const CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* requested, UINT* schema, DWORD* objectTag) {
    if (!m_loading)
        Fail(CArchiveException::writeOnly);
    WORD tag;
    *this >> tag;
    DWORD obTag;
    if (tag == kBigObjectTag) {
        *this >> obTag;
    } else {
        obTag = (DWORD(tag & kClassTag) << 16) | (tag & ~kClassTag);
    }

    const CRuntimeClass* cls = nullptr;
    if (tag == kNewClassTag) {
        WORD wSchema, nameLength;
        *this >> wSchema >> nameLength;
        if (nameLength >= kMaxClassNameLength)
            Fail(CArchiveException::badClass);
        char name[kMaxClassNameLength + 1] = {};
        Read(name, nameLength);
        cls = CRuntimeClass::FromName(name);
        if (!cls)
            Fail(CArchiveException::badClass);
        if (cls->m_wSchema != wSchema)
            Fail(CArchiveException::badSchema);
        if (schema)
            *schema = wSchema;
        if (m_mapCount >= kMaxMapCount)
            Fail(CArchiveException::badIndex);
        m_loadArray.push_back(LoadEntry{cls, nullptr});
        ++m_mapCount;
    } else if (obTag & kBigClassTag) {
        DWORD index = obTag & ~kBigClassTag;
        if (index == 0 || index >= m_loadArray.size() || !m_loadArray[index].cls)
            Fail(CArchiveException::badIndex);
        cls = m_loadArray[index].cls;
        if (schema)
            *schema = cls->m_wSchema;
    } else {
        // An object tag, not a class: the caller handles it.
        if (objectTag)
            *objectTag = obTag;
        return nullptr;
    }
    if (requested && !cls->IsDerivedFrom(requested))
        Fail(CArchiveException::badClass);
    return cls;
}

CObject* CArchive::ReadObject(const CRuntimeClass* requested) {
    DWORD obTag = 0;
    const CRuntimeClass* cls = ReadClass(requested, nullptr, &obTag);
    if (!cls) {
        if (obTag == 0)
            return nullptr;
        // A reference to an earlier entry.
        Fail(CArchiveException::badIndex);
    }
    if (!cls->m_pfnCreateObject)
        Fail(CArchiveException::badClass);
    CObject* object = cls->CreateObject();
    size_t index = m_loadArray.size();
    m_loadArray.push_back(LoadEntry{nullptr, object});
    ++m_mapCount;
    try {
        object->Serialize(*this);
    } catch (...) {
        m_loadArray[index].object = nullptr;
        delete object;
        throw;
    }
    return object;
}
