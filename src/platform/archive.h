// CArchive: the archive byte forms of numbers, counts, strings and objects, stored and loaded.
#pragma once

#include "platform/cstring.h"
#include "platform/file.h"
#include "platform/object.h"

#include <type_traits>
#include <unordered_map>
#include <vector>

class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum { none = 0, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };
    explicit CArchiveException(int cause = none, const CString& fileName = CString())
        : m_cause(cause), m_strFileName(fileName) {}
    const char* What() const override;
    int m_cause;
    CString m_strFileName;
};

class CArchive {
public:
    enum Mode : UINT { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    // Loading reads the file as it goes, through a window of kWindowBytes (a long block straight into
    // its place), and checks every count and length against the bytes the file has left; a file
    // that ends before its length is known by its end from then on.  Storing gathers short writes
    // in the window and passes long blocks straight on; it writes through on Flush and Close.
    CArchive(CFile* file, UINT mode, int bufferSize = 4096, void* buffer = nullptr);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return m_loading; }
    bool IsStoring() const { return !m_loading; }
    CFile* GetFile() const { return m_file; }
    void Flush();
    void Close();
    void Abort();

    // Raw bytes.  A load that cannot be satisfied in full throws endOfFile.
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);
    size_t GetBytesLeft() const { return m_loading ? size_t(m_end - m_pos + m_fileLeft) : 0; }
    // Throws endOfFile unless count elements of at least minBytesEach can still be read.
    void CheckCount(ULONGLONG count, size_t minBytesEach) const;

    // Element counts: a WORD, or 0xFFFF followed by a DWORD from 65535 up.
    void WriteCount(ULONGLONG count);
    DWORD ReadCount();

    // Objects and classes share one index space per archive, starting at 1; 0 is null.
    void WriteObject(const CObject* object);
    // Reads an object, creating it by its class name.  A class that is not `requested` or
    // derived from it, an unknown class, a wrong schema or a bad index throws.  References
    // back to an object already read are refused (no stored record uses them, and two owners
    // of one object would corrupt memory).
    CObject* ReadObject(const CRuntimeClass* requested);
    void WriteClass(const CRuntimeClass* cls);
    const CRuntimeClass* ReadClass(const CRuntimeClass* requested = nullptr, UINT* schema = nullptr,
                                   DWORD* objectTag = nullptr);

    CArchive& operator<<(BYTE v) { return WriteRaw(v); }
    CArchive& operator<<(char v) { return WriteRaw(v); }
    CArchive& operator<<(signed char v) { return WriteRaw(v); }
    CArchive& operator<<(bool v) { return WriteRaw(BYTE(v ? 1 : 0)); }
    CArchive& operator<<(WORD v) { return WriteRaw(v); }
    CArchive& operator<<(short v) { return WriteRaw(v); }
    CArchive& operator<<(char16_t v) { return WriteRaw(v); }
    CArchive& operator<<(int v) { return WriteRaw(v); }
    CArchive& operator<<(UINT v) { return WriteRaw(v); }
    CArchive& operator<<(LONGLONG v) { return WriteRaw(v); }
    CArchive& operator<<(ULONGLONG v) { return WriteRaw(v); }
    CArchive& operator<<(float v) { return WriteRaw(v); }
    CArchive& operator<<(double v) { return WriteRaw(v); }
    CArchive& operator<<(const CString& s);
    CArchive& operator<<(const char16_t* s) { return *this << CString(s); }
    CArchive& operator<<(const CObject* object) { WriteObject(object); return *this; }

    CArchive& operator>>(BYTE& v) { return ReadRaw(v); }
    CArchive& operator>>(char& v) { return ReadRaw(v); }
    CArchive& operator>>(signed char& v) { return ReadRaw(v); }
    CArchive& operator>>(bool& v) { BYTE b; ReadRaw(b); v = b != 0; return *this; }
    CArchive& operator>>(WORD& v) { return ReadRaw(v); }
    CArchive& operator>>(short& v) { return ReadRaw(v); }
    CArchive& operator>>(char16_t& v) { return ReadRaw(v); }
    CArchive& operator>>(int& v) { return ReadRaw(v); }
    CArchive& operator>>(UINT& v) { return ReadRaw(v); }
    CArchive& operator>>(LONGLONG& v) { return ReadRaw(v); }
    CArchive& operator>>(ULONGLONG& v) { return ReadRaw(v); }
    CArchive& operator>>(float& v) { return ReadRaw(v); }
    CArchive& operator>>(double& v) { return ReadRaw(v); }
    CArchive& operator>>(CString& s);

    // Not in any archive form: longs differ in size between platforms.
    CArchive& operator<<(long) = delete;
    CArchive& operator>>(long&) = delete;

private:
    template <class T> CArchive& WriteRaw(T v) {
        static_assert(std::is_trivially_copyable_v<T>);
        Write(&v, sizeof v);
        return *this;
    }
    template <class T> CArchive& ReadRaw(T& v) {
        static_assert(std::is_trivially_copyable_v<T>);
        Read(&v, sizeof v);
        return *this;
    }
    void Fail(int cause) const;
    // Loading: moves the bytes not yet read to the front of the window and fills the rest from
    // the file.
    void Refill();
    // Storing: hands the gathered bytes to the file.
    void WritePending();

    static constexpr size_t kWindowBytes = size_t(1) << 20;

    struct LoadEntry {
        const CRuntimeClass* cls = nullptr; // a class entry
        CObject* object = nullptr;          // or an object entry
    };

    CFile* m_file;
    bool m_loading;
    bool m_flushOnDelete;
    bool m_closed = false;
    std::vector<BYTE> m_data; // loading: the window; storing: the bytes not yet written
    size_t m_pos = 0;         // loading: the next byte of the window to read
    size_t m_end = 0;         // loading: the end of what the window holds
    ULONGLONG m_fileLeft = 0; // loading: bytes of the file past the window
    DWORD m_mapCount = 1;
    std::unordered_map<const void*, DWORD> m_storeMap;
    std::vector<LoadEntry> m_loadArray;
};

// Typed object reads and writes: `ar >> pCell` checks that the object read is a T.
template <class T>
    requires std::is_base_of_v<CObject, T>
CArchive& operator>>(CArchive& ar, T*& object) {
    object = static_cast<T*>(ar.ReadObject(T::GetThisClass()));
    return ar;
}
template <class T>
    requires(std::is_base_of_v<CObject, T> && !std::is_same_v<T, CObject>)
CArchive& operator<<(CArchive& ar, T* object) {
    ar.WriteObject(object);
    return ar;
}
