// Archive byte forms: strings, counts, objects and classes; refusal of damaged input; files read as
// the archive goes and long blocks passed straight through.
#include "support/archive_helpers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

class CTestItem : public CObject {
    DECLARE_SERIAL(CTestItem)
public:
    int m_value = 0;
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            ar << m_value;
        else
            ar >> m_value;
    }
};
IMPLEMENT_SERIAL(CTestItem, CObject, 1)

class CTestDerivedItem : public CTestItem {
    DECLARE_SERIAL(CTestDerivedItem)
};
IMPLEMENT_SERIAL(CTestDerivedItem, CTestItem, 1)

class CTestOther : public CObject {
    DECLARE_SERIAL(CTestOther)
};
IMPLEMENT_SERIAL(CTestOther, CObject, 1)

class CTestSchema2 : public CObject {
    DECLARE_SERIAL(CTestSchema2)
};
IMPLEMENT_SERIAL(CTestSchema2, CObject, 2)

std::vector<BYTE> StoreString(const CString& s) {
    return StoreBytes([&](CArchive& ar) { ar << s; });
}

CString LoadString(const std::vector<BYTE>& bytes) {
    CString s;
    LoadBytes(bytes, [&](CArchive& ar) { ar >> s; });
    return s;
}

int LoadCause(const std::vector<BYTE>& bytes, const std::function<void(CArchive&)>& read) {
    try {
        LoadBytes(bytes, read);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return -1;
}

} // namespace

TEST(ArchiveStrings, GoldenBytesAtEveryLengthBoundary) {
    EXPECT_EQ(StoreString(CString()), (std::vector<BYTE>{0xFF, 0xFE, 0xFF, 0x00}));
    EXPECT_EQ(StoreString(u"A"), (std::vector<BYTE>{0xFF, 0xFE, 0xFF, 0x01, 0x41, 0x00}));
    EXPECT_EQ(StoreString(u"第一页"),
              (std::vector<BYTE>{0xFF, 0xFE, 0xFF, 0x03, 0x2C, 0x7B, 0x00, 0x4E, 0x75, 0x98}));

    for (int n : {254, 255, 300, 65533, 65534, 70000}) {
        CString s(u'x', n);
        std::vector<BYTE> bytes = StoreString(s);
        std::vector<BYTE> head(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 10));
        if (n < 255) {
            EXPECT_EQ(bytes.size(), 4u + 2 * n);
            EXPECT_EQ(bytes[3], n);
        } else if (n < 0xFFFE) {
            EXPECT_EQ(bytes.size(), 6u + 2 * n) << n;
            EXPECT_EQ(bytes[3], 0xFF);
            EXPECT_EQ(bytes[4] | (bytes[5] << 8), n);
        } else {
            EXPECT_EQ(bytes.size(), 10u + 2 * n) << n;
            EXPECT_EQ(bytes[3], 0xFF);
            EXPECT_EQ(bytes[4], 0xFF);
            EXPECT_EQ(bytes[5], 0xFF);
            EXPECT_EQ(bytes[6] | (bytes[7] << 8) | (bytes[8] << 16) | (bytes[9] << 24), n);
        }
        EXPECT_EQ(bytes[0], 0xFF);
        EXPECT_EQ(bytes[1], 0xFE);
        EXPECT_EQ(bytes[2], 0xFF);
        EXPECT_EQ(LoadString(bytes), s) << n;
    }
    std::vector<BYTE> b300 = StoreString(CString(u'y', 300));
    EXPECT_EQ((std::vector<BYTE>(b300.begin(), b300.begin() + 8)),
              (std::vector<BYTE>{0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01, 0x79, 0x00}));
}

TEST(ArchiveStrings, ReadsSingleByteTextOfOlderFiles) {
    // No Unicode marker: a byte length and then the characters in the Chinese code page.
    EXPECT_EQ(LoadString({0x02, 0x41, 0x42}), CString(u"AB"));
    EXPECT_EQ(LoadString({0x02, 0xB5, 0xDA}), CString(u"第"));
    EXPECT_EQ(LoadString({0x00}), CString());
}

TEST(ArchiveCounts, WordOrEscapedDoubleWord) {
    auto count = [](ULONGLONG n) { return StoreBytes([&](CArchive& ar) { ar.WriteCount(n); }); };
    EXPECT_EQ(count(0), (std::vector<BYTE>{0x00, 0x00}));
    EXPECT_EQ(count(65534), (std::vector<BYTE>{0xFE, 0xFF}));
    EXPECT_EQ(count(65535), (std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(count(70000), (std::vector<BYTE>{0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}));
    for (ULONGLONG n : {0ull, 1ull, 65534ull, 65535ull, 65536ull, 70000ull}) {
        DWORD back = 0;
        LoadBytes(count(n), [&](CArchive& ar) { back = ar.ReadCount(); });
        EXPECT_EQ(back, n);
    }
}

TEST(ArchivePrimitives, LittleEndianAndBools) {
    std::vector<BYTE> bytes = StoreBytes([](CArchive& ar) {
        ar << BYTE(0xAB) << WORD(0x1234) << int(-2) << 1.5f << 0.25 << true << false;
    });
    std::vector<BYTE> expected = ByteBuilder().U8(0xAB).U16(0x1234).I32(-2).F32(1.5f).F64(0.25).U8(1).U8(0);
    EXPECT_EQ(bytes, expected);

    // Any non-zero byte reads as true.
    bool b = false;
    LoadBytes({0x07}, [&](CArchive& ar) { ar >> b; });
    EXPECT_TRUE(b);
}

TEST(ArchiveObjects, ClassTagsAndObjectIndicesShareOneIndexSpace) {
    CTestItem a, b;
    a.m_value = 7;
    b.m_value = 8;
    CTestOther other;
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) {
        ar << static_cast<CObject*>(&a);       // new class (index 1), object index 2
        ar << static_cast<CObject*>(&b);       // known class 0x8001, object index 3
        ar << static_cast<CObject*>(nullptr);  // null
        ar << static_cast<CObject*>(&other);   // new class (index 4), object index 5
        ar << static_cast<CObject*>(&a);       // the same object again: its index
    });
    std::vector<BYTE> expected = ByteBuilder()
                                     .NewClass("CTestItem").I32(7)
                                     .U16(0x8001).I32(8)
                                     .U16(0x0000)
                                     .NewClass("CTestOther")
                                     .U16(0x0002);
    EXPECT_EQ(bytes, expected);
}

TEST(ArchiveObjects, RoundTripCreatesObjectsByClassName) {
    CTestItem a;
    a.m_value = 11;
    CTestDerivedItem d;
    d.m_value = 12;
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) {
        ar << static_cast<CObject*>(&a) << static_cast<CObject*>(&d) << static_cast<CObject*>(nullptr);
    });
    LoadBytes(bytes, [](CArchive& ar) {
        CTestItem* x = nullptr;
        CTestItem* y = nullptr;
        CTestItem* z = reinterpret_cast<CTestItem*>(1);
        ar >> x >> y >> z;
        ASSERT_NE(x, nullptr);
        ASSERT_NE(y, nullptr);
        EXPECT_EQ(x->GetRuntimeClass(), RUNTIME_CLASS(CTestItem));
        EXPECT_EQ(y->GetRuntimeClass(), RUNTIME_CLASS(CTestDerivedItem));
        EXPECT_EQ(x->m_value, 11);
        EXPECT_EQ(y->m_value, 12);
        EXPECT_EQ(z, nullptr);
        delete x;
        delete y;
    });
}

TEST(ArchiveObjects, RefusesWhatWouldCorruptMemory) {
    auto readItem = [](CArchive& ar) {
        CTestItem* p = nullptr;
        ar >> p;
        delete p;
    };
    // Unknown class name.
    EXPECT_EQ(LoadCause(ByteBuilder().NewClass("CNoSuchClass").I32(0), readItem), CArchiveException::badClass);
    // Known class of the wrong kind for the reader.
    EXPECT_EQ(LoadCause(ByteBuilder().NewClass("CTestOther"), readItem), CArchiveException::badClass);
    // Schema other than the class's.
    EXPECT_EQ(LoadCause(ByteBuilder().NewClass("CTestItem", 2).I32(0), readItem), CArchiveException::badSchema);
    EXPECT_EQ(LoadCause(ByteBuilder().NewClass("CTestSchema2", 1),
                        [](CArchive& ar) { delete ar.ReadObject(nullptr); }),
              CArchiveException::badSchema);
    // A class name of 64 characters or more.
    EXPECT_EQ(LoadCause(ByteBuilder().NewClass(std::string(64, 'C')), readItem), CArchiveException::badClass);
    // A class tag with no class behind it.
    EXPECT_EQ(LoadCause(ByteBuilder().U16(0x8001), readItem), CArchiveException::badIndex);
    EXPECT_EQ(LoadCause(ByteBuilder().U16(0x7FFF).U32(0x80000005), readItem), CArchiveException::badIndex);
    // An object index: a second owner of an object already read, or nothing at all.
    EXPECT_EQ(LoadCause(ByteBuilder().NewClass("CTestItem").I32(1).U16(0x0002),
                        [&](CArchive& ar) { readItem(ar); readItem(ar); }),
              CArchiveException::badIndex);
    EXPECT_EQ(LoadCause(ByteBuilder().U16(0x0009), readItem), CArchiveException::badIndex);
    // A class index used as an object.
    EXPECT_EQ(LoadCause(ByteBuilder().NewClass("CTestItem").I32(1).U16(0x0001),
                        [&](CArchive& ar) { readItem(ar); readItem(ar); }),
              CArchiveException::badIndex);
}

TEST(ArchiveDamage, EveryTruncationThrowsAndNeverReadsPastTheEnd) {
    CObList list;
    CTestItem* a = new CTestItem;
    a->m_value = 3;
    CTestDerivedItem* b = new CTestDerivedItem;
    list.AddTail(a);
    list.AddTail(b);
    CList<WORD, WORD> ids;
    ids.AddTail(5);
    ids.AddTail(9);
    std::vector<BYTE> full = StoreBytes([&](CArchive& ar) {
        ar << CString(u"页") << WORD(3) << 2.5f;
        list.Serialize(ar);
        ids.Serialize(ar);
        ar << CString(u"end");
    });
    auto readAll = [](CArchive& ar) {
        CString s;
        WORD w;
        float f;
        ar >> s >> w >> f;
        CObList l;
        CList<WORD, WORD> i;
        try {
            l.Serialize(ar);
            i.Serialize(ar);
            ar >> s;
        } catch (...) {
            for (POSITION p = l.GetHeadPosition(); p;)
                delete l.GetNext(p);
            throw;
        }
        EXPECT_EQ(s, CString(u"end"));
        EXPECT_EQ(l.GetCount(), 2);
        for (POSITION p = l.GetHeadPosition(); p;)
            delete l.GetNext(p);
    };
    LoadBytes(full, readAll);
    for (size_t n = 0; n < full.size(); ++n) {
        std::vector<BYTE> cut(full.begin(), full.begin() + n);
        EXPECT_EQ(LoadCause(cut, readAll), CArchiveException::endOfFile) << "cut at " << n;
    }
    delete a;
    delete b;
}

TEST(ArchiveDamage, CountsAndLengthsAreCheckedAgainstTheBytesLeft) {
    // A string claiming 70000 characters with 4 bytes behind it.
    EXPECT_EQ(LoadCause(ByteBuilder().U8(0xFF).U16(0xFFFE).U8(0xFF).U16(0xFFFF).U32(70000).U32(0),
                        [](CArchive& ar) { CString s; ar >> s; }),
              CArchiveException::endOfFile);
    // Lists and maps claiming four billion elements.
    EXPECT_EQ(LoadCause(ByteBuilder().U16(0xFFFF).U32(0xFFFFFFF0).U16(1),
                        [](CArchive& ar) { CList<WORD, WORD> l; l.Serialize(ar); }),
              CArchiveException::endOfFile);
    EXPECT_EQ(LoadCause(ByteBuilder().U16(0xFFFF).U32(0xFFFFFFF0).U16(1),
                        [](CArchive& ar) { CWordArray a; a.Serialize(ar); }),
              CArchiveException::endOfFile);
    EXPECT_EQ(LoadCause(ByteBuilder().U16(0xFFFF).U32(0x40000000).U32(0),
                        [](CArchive& ar) { CMapWordToOb m; m.Serialize(ar); }),
              CArchiveException::endOfFile);
}

TEST(ArchiveFiles, StoreAndLoadThroughTheFileSystem) {
    QString path = QDir::tempPath() + "/halvix_archive_test.bin";
    {
        CFile f(CString::FromQString(path), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        ar << CString(u"文件") << int(605);
        ar.Close();
    }
    {
        CFile f(CString::FromQString(path), CFile::modeRead);
        CArchive ar(&f, CArchive::load);
        CString s;
        int v = 0;
        ar >> s >> v;
        EXPECT_EQ(s, CString(u"文件"));
        EXPECT_EQ(v, 605);
    }
    QFile::remove(path);
    CFileException e;
    CFile missing;
    EXPECT_FALSE(missing.Open(u"/nonexistent/dir/x.hvx", CFile::modeRead, &e));
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
}

namespace {

// A file in memory that records the length of each read and write asked of it.
class CRecordingFile : public CMemFile {
public:
    using CMemFile::CMemFile;
    UINT Read(void* buffer, UINT count) override {
        m_reads.push_back(count);
        return CMemFile::Read(buffer, count);
    }
    void Write(const void* buffer, UINT count) override {
        m_writes.push_back(count);
        CMemFile::Write(buffer, count);
    }
    std::vector<UINT> m_reads, m_writes;
};

} // namespace

TEST(ArchiveFiles, ALongFileIsReadAsItGoesAndLongBlocksPassStraightThrough) {
    // A number, a block of 8 MiB with a byte of its own at each place, and a number.
    std::vector<BYTE> block(size_t(8) << 20);
    for (size_t k = 0; k < block.size(); ++k)
        block[k] = BYTE(k * 7 + (k >> 10));
    CRecordingFile stored;
    {
        CArchive ar(&stored, CArchive::store);
        ar << int(7);
        ar.Write(block.data(), UINT(block.size()));
        ar << int(9);
        ar.Close();
    }
    // The block reaches the file in one piece of its own, not copied behind the number first.
    EXPECT_EQ(stored.m_writes, (std::vector<UINT>{4, UINT(block.size()), 4}));
    const std::vector<BYTE> bytes = stored.Data();
    ASSERT_EQ(bytes.size(), block.size() + 8);

    CRecordingFile file(bytes);
    CArchive ar(&file, CArchive::load);
    // Opening the archive reads no more than a small part of the file, yet counts all of it.
    EXPECT_LE(file.GetPosition(), ULONGLONG(1) << 20);
    EXPECT_EQ(ar.GetBytesLeft(), bytes.size());
    EXPECT_THROW(ar.CheckCount(bytes.size() + 1, 1), CArchiveException);
    int first = 0, last = 0;
    ar >> first;
    std::vector<BYTE> read(block.size());
    ar.Read(read.data(), UINT(read.size()));
    EXPECT_EQ(ar.GetBytesLeft(), 4u);
    ar >> last;
    EXPECT_EQ(first, 7);
    EXPECT_TRUE(read == block);
    EXPECT_EQ(last, 9);
    // Most of the block came from the file straight into its place.
    ASSERT_FALSE(file.m_reads.empty());
    EXPECT_GE(*std::max_element(file.m_reads.begin(), file.m_reads.end()), UINT(block.size() / 2));
    EXPECT_EQ(ar.GetBytesLeft(), 0u);
    EXPECT_THROW(ar >> last, CArchiveException);
}
