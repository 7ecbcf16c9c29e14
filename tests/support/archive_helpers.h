// Helpers for tests of archive bytes: store into memory, load from bytes.
#pragma once

#include "platform/afx.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

inline std::vector<BYTE> StoreBytes(const std::function<void(CArchive&)>& write) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
    }
    return file.Data();
}

inline void LoadBytes(const std::vector<BYTE>& bytes, const std::function<void(CArchive&)>& read) {
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    read(ar);
}

// Stores `bytes` zeros, a block of 4 MiB again and again: a record of any length that costs no memory.
inline void StoreZeros(CArchive& ar, unsigned long long bytes) {
    static const std::vector<BYTE> block(size_t(4) << 20);
    while (bytes > 0) {
        const UINT n = UINT(std::min<unsigned long long>(bytes, block.size()));
        ar.Write(block.data(), n);
        bytes -= n;
    }
}

// Builds expected byte sequences field by field, in the archive's little-endian forms.
class ByteBuilder {
public:
    ByteBuilder& U8(unsigned v) { m_b.push_back(BYTE(v)); return *this; }
    ByteBuilder& U16(unsigned v) { U8(v & 0xFF); return U8((v >> 8) & 0xFF); }
    ByteBuilder& U32(unsigned long v) { U16(v & 0xFFFF); return U16((v >> 16) & 0xFFFF); }
    ByteBuilder& I32(int v) { return U32((unsigned long)(unsigned)v); }
    ByteBuilder& F32(float v) { unsigned u; std::memcpy(&u, &v, 4); return U32(u); }
    ByteBuilder& F64(double v) { unsigned long long u; std::memcpy(&u, &v, 8); U32(u & 0xFFFFFFFF); return U32(u >> 32); }
    ByteBuilder& Str(const std::u16string& s) {
        U8(0xFF).U16(0xFFFE);
        if (s.size() < 0xFF) U8(unsigned(s.size()));
        else if (s.size() < 0xFFFE) U8(0xFF).U16(unsigned(s.size()));
        else U8(0xFF).U16(0xFFFF).U32((unsigned long)s.size());
        for (char16_t c : s) U16(c);
        return *this;
    }
    ByteBuilder& Ascii(const std::string& s) { for (char c : s) U8((unsigned char)c); return *this; }
    ByteBuilder& NewClass(const std::string& name, unsigned schema = 1) {
        return U16(0xFFFF).U16(schema).U16(unsigned(name.size())).Ascii(name);
    }
    ByteBuilder& Append(const std::vector<BYTE>& v) { m_b.insert(m_b.end(), v.begin(), v.end()); return *this; }
    const std::vector<BYTE>& Bytes() const { return m_b; }
    operator std::vector<BYTE>() const { return m_b; }

private:
    std::vector<BYTE> m_b;
};
