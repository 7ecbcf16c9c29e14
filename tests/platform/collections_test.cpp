// Lists, arrays and maps: MFC's iteration order of word-keyed maps and the archive forms.
#include "support/archive_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace {

class CTestCell : public CObject {
    DECLARE_SERIAL(CTestCell)
public:
    WORD m_id = 0;
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            ar << m_id;
        else
            ar >> m_id;
    }
};
IMPLEMENT_SERIAL(CTestCell, CObject, 1)

class CTestNotACell : public CObject {
    DECLARE_SERIAL(CTestNotACell)
};
IMPLEMENT_SERIAL(CTestNotACell, CObject, 1)

std::vector<WORD> Walk(const CMap<WORD, WORD, WORD, WORD>& m) {
    std::vector<WORD> keys;
    for (POSITION p = m.GetStartPosition(); p;) {
        WORD k, v;
        m.GetNextAssoc(p, k, v);
        keys.push_back(k);
    }
    return keys;
}

std::vector<WORD> Range(int from, int to) { // inclusive, either direction
    std::vector<WORD> v;
    if (from <= to)
        for (int i = from; i <= to; ++i) v.push_back(WORD(i));
    else
        for (int i = from; i >= to; --i) v.push_back(WORD(i));
    return v;
}

std::vector<WORD> Concat(std::initializer_list<std::vector<WORD>> parts) {
    std::vector<WORD> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

} // namespace

TEST(WordMapOrder, KeysWalkByBucketThenNewestFirst) {
    CMap<WORD, WORD, WORD, WORD> m;
    for (WORD k = 1; k <= 3; ++k) m.SetAt(k, k);
    EXPECT_EQ(Walk(m), (std::vector<WORD>{3, 2, 1}));

    CMap<WORD, WORD, WORD, WORD> m40;
    for (WORD k = 1; k <= 40; ++k) m40.SetAt(k, WORD(k * 2));
    EXPECT_EQ(Walk(m40), Concat({Range(15, 1), Range(31, 16), Range(40, 32)}));

    // Replacing a value keeps the key's place.
    m40.SetAt(7, 99);
    EXPECT_EQ(Walk(m40), Concat({Range(15, 1), Range(31, 16), Range(40, 32)}));
    WORD v = 0;
    EXPECT_TRUE(m40.Lookup(7, v));
    EXPECT_EQ(v, 99);

    // Removals unlink; a key inserted again goes to the head of its bucket.
    EXPECT_TRUE(m40.RemoveKey(5));
    EXPECT_TRUE(m40.RemoveKey(20));
    EXPECT_FALSE(m40.RemoveKey(20));
    EXPECT_EQ(Walk(m40), Concat({Range(15, 6), Range(4, 1), Range(31, 21), Range(19, 16), Range(40, 32)}));
    m40.SetAt(5, 0);
    EXPECT_EQ(Walk(m40), Concat({{5}, Range(15, 6), Range(4, 1), Range(31, 21), Range(19, 16), Range(40, 32)}));

    // (key >> 4) % 17: key 272 shares bucket 0 with 1..15, key 288 bucket 1.
    CMap<WORD, WORD, WORD, WORD> wrap;
    for (WORD k : {1, 2, 272, 16, 288}) wrap.SetAt(k, 0);
    EXPECT_EQ(Walk(wrap), (std::vector<WORD>{272, 2, 1, 288, 16}));
}

TEST(WordMapOrder, LargeMapsStillLookUpEveryKey) {
    CMap<WORD, WORD, WORD, WORD> m;
    for (int k = 1; k < 20000; ++k) m.SetAt(WORD(k), WORD(k ^ 0x5A5A));
    EXPECT_EQ(m.GetCount(), 19999);
    for (int k = 1; k < 20000; k += 7) {
        WORD v;
        ASSERT_TRUE(m.Lookup(WORD(k), v));
        EXPECT_EQ(v, WORD(k ^ 0x5A5A));
    }
    for (int k = 1; k < 20000; k += 2) m.RemoveKey(WORD(k));
    std::vector<WORD> keys = Walk(m);
    EXPECT_EQ(keys.size(), 9999u);
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys.front(), 2);
    EXPECT_EQ(keys.back(), 19998);
    m.RemoveAll();
    EXPECT_TRUE(m.IsEmpty());
    EXPECT_EQ(m.GetStartPosition(), nullptr);
}

TEST(WordMapArchive, EntriesInWalkOrderAndRefusals) {
    CTypedPtrMap<CMapWordToOb, WORD, CTestCell*> map;
    for (WORD k : {1, 2, 17}) {
        auto* c = new CTestCell;
        c->m_id = k;
        map.SetAt(k, c);
    }
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { map.Serialize(ar); });
    std::vector<BYTE> expected = ByteBuilder()
                                     .U16(3)
                                     .U16(2).NewClass("CTestCell").U16(2)
                                     .U16(1).U16(0x8001).U16(1)
                                     .U16(17).U16(0x8001).U16(17);
    EXPECT_EQ(bytes, expected);

    CTypedPtrMap<CMapWordToOb, WORD, CTestCell*> back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.GetCount(), 3);
    EXPECT_EQ(back.Find(17)->m_id, 17);
    EXPECT_EQ(back.Find(3), nullptr);

    // A duplicate key, or a value of another class, is refused.
    std::vector<BYTE> dup = ByteBuilder().U16(2).U16(4).NewClass("CTestCell").U16(4).U16(4).U16(0x8001).U16(4);
    CTypedPtrMap<CMapWordToOb, WORD, CTestCell*> bad;
    EXPECT_THROW(LoadBytes(dup, [&](CArchive& ar) { bad.Serialize(ar); }), CArchiveException);
    EXPECT_EQ(bad.GetCount(), 1);
    std::vector<BYTE> wrong = ByteBuilder().U16(1).U16(4).NewClass("CTestNotACell");
    CTypedPtrMap<CMapWordToOb, WORD, CTestCell*> bad2;
    EXPECT_THROW(LoadBytes(wrong, [&](CArchive& ar) { bad2.Serialize(ar); }), CArchiveException);
    EXPECT_EQ(bad2.GetCount(), 0);

    for (auto* m : {&map, &back, &bad})
        for (POSITION p = m->GetStartPosition(); p;) {
            WORD k;
            CTestCell* c;
            m->GetNextAssoc(p, k, c);
            delete c;
        }
}

TEST(Lists, PositionsFindAndArchiveForm) {
    CList<WORD, WORD> l;
    l.AddTail(3);
    l.AddTail(5);
    l.AddHead(1);
    POSITION p5 = l.Find(5);
    ASSERT_NE(p5, nullptr);
    l.InsertBefore(p5, 4);
    l.InsertAfter(p5, 6);
    EXPECT_EQ(l.GetCount(), 5);
    std::vector<WORD> seen;
    for (WORD w : l) seen.push_back(w);
    EXPECT_EQ(seen, (std::vector<WORD>{1, 3, 4, 5, 6}));
    EXPECT_EQ(l.GetAt(l.FindIndex(2)), 4);
    EXPECT_EQ(l.FindIndex(5), nullptr);
    l.AddTail(3);
    EXPECT_EQ(l.Find(3, l.Find(3)), l.GetTailPosition());

    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { l.Serialize(ar); });
    EXPECT_EQ(bytes, (std::vector<BYTE>)ByteBuilder().U16(6).U16(1).U16(3).U16(4).U16(5).U16(6).U16(3));
    CList<WORD, WORD> back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    seen.clear();
    for (POSITION p = back.GetHeadPosition(); p;) seen.push_back(back.GetNext(p));
    EXPECT_EQ(seen, (std::vector<WORD>{1, 3, 4, 5, 6, 3}));

    l.RemoveAt(l.GetHeadPosition());
    EXPECT_EQ(l.RemoveTail(), 3);
    EXPECT_EQ(l.RemoveHead(), 3);
    EXPECT_EQ(l.GetHead(), 4);
    EXPECT_EQ(l.GetTail(), 6);
    POSITION back2 = l.GetTailPosition();
    EXPECT_EQ(l.GetPrev(back2), 6);
    EXPECT_EQ(l.GetAt(back2), 5);
}

TEST(Arrays, WordArrayArchiveFormAndGrowth) {
    CWordArray a;
    a.SetAtGrow(3, 9);
    EXPECT_EQ(a.GetSize(), 4);
    EXPECT_EQ(a[0], 0);
    a.InsertAt(1, 7);
    a.RemoveAt(0);
    EXPECT_EQ(a.GetSize(), 4);
    EXPECT_EQ(a[0], 7);
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { a.Serialize(ar); });
    EXPECT_EQ(bytes, (std::vector<BYTE>)ByteBuilder().U16(4).U16(7).U16(0).U16(0).U16(9));
    CWordArray back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.Vector(), a.Vector());
}

TEST(ObjectLists, TypedListRefusesOtherClasses) {
    CTypedPtrList<CObList, CTestCell*> list;
    auto* c = new CTestCell;
    c->m_id = 4;
    list.AddTail(c);
    list.AddTail(static_cast<CTestCell*>(nullptr));
    std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { list.Serialize(ar); });
    EXPECT_EQ(bytes, (std::vector<BYTE>)ByteBuilder().U16(2).NewClass("CTestCell").U16(4).U16(0));
    CTypedPtrList<CObList, CTestCell*> back;
    LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back.GetHead()->m_id, 4);
    EXPECT_EQ(back.GetTail(), nullptr);
    delete back.GetHead();
    delete c;

    CTypedPtrList<CObList, CTestCell*> bad;
    EXPECT_THROW(LoadBytes(ByteBuilder().U16(1).NewClass("CTestNotACell"), [&](CArchive& ar) { bad.Serialize(ar); }),
                 CArchiveException);
    EXPECT_TRUE(bad.IsEmpty());
}
