// Vector items and the scalar measurements of vectors on hand-computed figures: components and
// their texts, names, markup and descriptions, invalid parents, the collinear normal, records.
#include "measure/vector_items.h"
#include "support/archive_helpers.h"
#include "support/page_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class VectorItemsTest : public PageFixture {
protected:
    CGVertex* Point(float x, float y, float z, const char16_t* name) {
        CGVertex* p = AddPoint(x, y, z);
        p->m_name = name;
        return p;
    }
    template <class T, class... Parents> T* Item(Parents... parents) {
        return Insert(new T(NextId(), parents...));
    }
    static void ExpectVector(const CGTmVector& v, float x, float y, float z) {
        EXPECT_NEAR(v.m_vx, x, 1e-6f);
        EXPECT_NEAR(v.m_vy, y, 1e-6f);
        EXPECT_NEAR(v.m_vz, z, 1e-6f);
        EXPECT_EQ(v.m_param1, v.m_vx) << "the value word holds x";
    }
};

TEST_F(VectorItemsTest, VectorOfTwoPointsAndItsLength) {
    CGVertex* a = Point(1, 2, 3, u"A");
    CGVertex* b = Point(4, 6, 3, u"B");
    auto* ab = Item<CGTmVectorPP>(a->m_id, b->m_id);
    ExpectVector(*ab, 3, 4, 0);
    EXPECT_EQ(ab->m_name, u"AB");
    EXPECT_EQ(ab->m_text3, u"<v><e>AB</e></v>");
    EXPECT_EQ(ab->GetDescription(), u"向量AB的坐标");
    EXPECT_EQ(ab->m_text, u"(3, 4, 0)");
    ab->m_style = 1;
    ab->Recompute();
    EXPECT_EQ(ab->m_text, u"=(3, 4, 0)");
    auto* length = Item<CGTmVarVectorLength>(ab->m_id);
    EXPECT_EQ(length->m_text, u"5");
    EXPECT_EQ(length->m_name, u"|AB|");
    EXPECT_EQ(length->m_text3, u"<b:type=3><v><e>AB</e></v></b>");
    EXPECT_EQ(length->GetDescription(), u"向量AB的模");
    MovePoint(b, 1, 2, 4);
    EXPECT_EQ(ab->m_text, u"=(0, 0, 1)");
    EXPECT_EQ(length->m_text, u"1");
    // Invalid: question marks, the last components kept.
    a->m_valid = false;
    ab->Recompute();
    length->Recompute();
    EXPECT_EQ(ab->m_text, u"=( ?, ?, ?)");
    ExpectVector(*ab, 0, 0, 1);
    EXPECT_EQ(length->m_text, u"? ");
}

TEST_F(VectorItemsTest, PositionVectorOfAPoint) {
    CGVertex* p = Point(2, 0.5f, 1, u"P");
    auto* v = Item<CGTmVectorPoint>(p->m_id);
    EXPECT_EQ(v->m_name, u"P");
    EXPECT_EQ(v->m_text3, u"<e>P</e>");
    EXPECT_EQ(v->GetDescription(), u"点P的坐标");
    EXPECT_EQ(v->m_text, u"(2, 0.50, 1)");
    v->m_extA1 = 1;
    v->Recompute();
    EXPECT_EQ(v->m_text, u"(2, 0.50)") << "two components";
    EXPECT_FLOAT_EQ(v->m_labelPos[0], 13.0f) << "placed as a new text item";
}

TEST_F(VectorItemsTest, UnitNormalOfThreePoints) {
    CGVertex* a = Point(0, 0, 0, u"A");
    CGVertex* b = Point(1, 0, 0, u"B");
    CGVertex* c = Point(0, 1, 0, u"C");
    auto* n = Item<CGTmVectorNface>(a->m_id, b->m_id, c->m_id);
    ExpectVector(*n, 0, 0, 1);
    EXPECT_EQ(n->m_name, u"n(ABC)");
    EXPECT_EQ(n->m_text3, u"<v><_><e>n</e><e>ABC</e></_></v>");
    EXPECT_EQ(n->GetDescription(), u"平面ABC的法向量");
    auto* swapped = Item<CGTmVectorNface>(a->m_id, c->m_id, b->m_id);
    ExpectVector(*swapped, 0, 0, -1);
    MovePoint(c, 0, 0, 5);
    ExpectVector(*n, 0, -1, 0);
    // Collinear points span no plane: invalid, the last normal kept, no NaN anywhere.
    MovePoint(c, 3, 0, 0);
    EXPECT_FALSE(n->m_valid);
    EXPECT_EQ(n->m_text, u"( ?, ?, ?)");
    ExpectVector(*n, 0, -1, 0);
    auto* length = Item<CGTmVarVectorLength>(n->m_id);
    EXPECT_FALSE(length->m_valid);
    MovePoint(c, 0, 2, 0);
    EXPECT_TRUE(n->m_valid);
    EXPECT_EQ(n->m_text, u"(0, 0, 1)");
    EXPECT_EQ(length->m_text, u"1");
}

TEST_F(VectorItemsTest, SumsDifferencesAndProducts) {
    CGVertex* o = Point(0, 0, 0, u"O");
    auto* i = Item<CGTmVectorPP>(o->m_id, Point(1, 0, 0, u"X")->m_id);
    auto* j = Item<CGTmVectorPP>(o->m_id, Point(0, 1, 0, u"Y")->m_id);
    auto* k = Item<CGTmVectorPP>(o->m_id, Point(0, 0, 1, u"Z")->m_id);
    auto* sum = Item<CGTmVectorAdd>(i->m_id, j->m_id);
    auto* difference = Item<CGTmVectorMinus>(i->m_id, j->m_id);
    auto* cross = Item<CGTmVectorCross>(i->m_id, j->m_id);
    ExpectVector(*sum, 1, 1, 0);
    ExpectVector(*difference, 1, -1, 0);
    ExpectVector(*cross, 0, 0, 1);
    EXPECT_EQ(sum->m_name, u"[OX]+[OY]");
    EXPECT_EQ(sum->m_text3, u"<l><v><e>OX</e></v><e>+</e><v><e>OY</e></v>=</l>");
    EXPECT_EQ(sum->GetDescription(), u"向量OX，OY的和");
    EXPECT_EQ(difference->m_name, u"[OX]-[OY]");
    EXPECT_EQ(difference->m_text3, u"<l><v><e>OX</e></v><e>-</e><v><e>OY</e></v>=</l>");
    EXPECT_EQ(difference->GetDescription(), u"向量OX,OY的差");
    EXPECT_EQ(cross->m_name, u"[OX]×[OY]");
    EXPECT_EQ(cross->GetDescription(), u"向量OX,OY的向量积");

    auto* mixed = Item<CGTmVarVecProduct>(i->m_id, j->m_id, k->m_id);
    auto* turned = Item<CGTmVarVecProduct>(j->m_id, i->m_id, k->m_id);
    EXPECT_EQ(mixed->m_text, u"1");
    EXPECT_EQ(turned->m_text, u"-1");
    EXPECT_EQ(mixed->m_name, u"([ OX],[ OY],[ OZ])");
    EXPECT_EQ(mixed->m_text3,
              u"<b><l><v><e>OX</e></v><e>,</e><v><e>OY</e></v><e>,</e><v><e>OZ</e></v></l></b>");
    EXPECT_EQ(mixed->GetDescription(), u"向量OX、OY和OZ的混合积");

    auto* dot = Item<CGTmVarVectorDot>(sum->m_id, i->m_id);
    EXPECT_EQ(dot->m_text, u"1");
    EXPECT_EQ(dot->m_name, u"[[OX]+[OY]]·[ OX]");
    EXPECT_EQ(dot->GetDescription(), u"向量[OX]+[OY]与OX的数量积");

    const char16_t* letters[3] = {u"x", u"y", u"z"};
    CGTmVariable* parts[3] = {Item<CGTmVarVectorComponentX>(difference->m_id),
                              Item<CGTmVarVectorComponentY>(difference->m_id),
                              Item<CGTmVarVectorComponentZ>(difference->m_id)};
    const char16_t* values[3] = {u"1", u"-1", u"0"};
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ(parts[n]->m_text, values[n]);
        EXPECT_EQ(parts[n]->m_name, CString(letters[n]) + u" ([OX]-[OY])");
        EXPECT_EQ(parts[n]->m_text3,
                  CString(u"<_><e>") + letters[n] + u"</e>" + difference->m_text3 + u"</_>");
        EXPECT_EQ(parts[n]->GetDescription(), CString(u"向量[OX]-[OY]的") + letters[n] + u"分量");
    }
}

TEST_F(VectorItemsTest, MultipleOfAVector) {
    CGVertex* a = Point(0, 0, 0, u"A");
    auto* v = Item<CGTmVectorPP>(a->m_id, Point(1, 2, 3, u"B")->m_id);
    auto* k = Insert(new CGTmVarParameter(NextId(), u"k", 0.0f));
    auto* kv = Item<CGTmVectorScaled>(k->m_id, v->m_id);
    kv->m_style = 1;
    kv->Recompute();
    EXPECT_EQ(kv->m_text, u"=(0, 0, 0)");
    EXPECT_EQ(kv->m_name, u"[k][AB]");
    EXPECT_EQ(kv->m_text3, u"<l><v><e>AB</e></v>=</l>") << "a parameter without markup";
    EXPECT_EQ(kv->GetDescription(), u"数k乘向量AB");
    k->m_param1 = -2.0f;
    kv->Recompute();
    ExpectVector(*kv, -2, -4, -6);
    k->m_valid = false;
    kv->Recompute();
    EXPECT_EQ(kv->m_text, u"=( ?, ?, ?)");
    // A vector where the number belongs (a damaged file) is no number.
    auto* wrong = Item<CGTmVectorScaled>(v->m_id, v->m_id);
    EXPECT_FALSE(wrong->m_valid);
}

TEST_F(VectorItemsTest, EveryClassStoresItsComponentsUnderItsName) {
    CGVertex* a = Point(1, 0, 0, u"A");
    CGVertex* b = Point(0, 2, 0, u"B");
    CGVertex* c = Point(0, 0, 3, u"C");
    auto* ab = Item<CGTmVectorPP>(a->m_id, b->m_id);
    auto* ac = Item<CGTmVectorPP>(a->m_id, c->m_id);
    auto* k = Insert(new CGTmVarParameter(NextId(), u"k", 2.0f));
    std::vector<CGTmVector*> vectors = {Item<CGTmVectorPoint>(a->m_id),
                                        ab,
                                        Item<CGTmVectorNface>(a->m_id, b->m_id, c->m_id),
                                        Item<CGTmVectorAdd>(ab->m_id, ac->m_id),
                                        Item<CGTmVectorMinus>(ab->m_id, ac->m_id),
                                        Item<CGTmVectorCross>(ab->m_id, ac->m_id),
                                        Item<CGTmVectorScaled>(k->m_id, ab->m_id)};
    for (CGTmVector* item : vectors) {
        const std::string name = item->GetRuntimeClass()->m_lpszClassName;
        const std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { ar << item; });
        CObject* back = nullptr;
        LoadBytes(bytes, [&](CArchive& ar) { back = ar.ReadObject(RUNTIME_CLASS(CGTmVector)); });
        auto* vector = DYNAMIC_DOWNCAST(CGTmVector, back);
        ASSERT_NE(vector, nullptr) << name;
        EXPECT_EQ(std::string(back->GetRuntimeClass()->m_lpszClassName), name);
        EXPECT_EQ(vector->m_vx, item->m_vx) << name;
        EXPECT_EQ(vector->m_vz, item->m_vz) << name;
        EXPECT_TRUE(vector->m_text.IsEmpty()) << name;
        delete back;
    }
    std::vector<CGTmVariable*> values = {Item<CGTmVarVectorLength>(ab->m_id),
                                         Item<CGTmVarVectorDot>(ab->m_id, ac->m_id),
                                         Item<CGTmVarVecProduct>(ab->m_id, ac->m_id, ab->m_id),
                                         Item<CGTmVarVectorComponentX>(ab->m_id),
                                         Item<CGTmVarVectorComponentY>(ab->m_id),
                                         Item<CGTmVarVectorComponentZ>(ab->m_id)};
    for (CGTmVariable* item : values) {
        const std::string name = item->GetRuntimeClass()->m_lpszClassName;
        const std::vector<BYTE> bytes = StoreBytes([&](CArchive& ar) { ar << item; });
        CObject* back = nullptr;
        LoadBytes(bytes, [&](CArchive& ar) { back = ar.ReadObject(RUNTIME_CLASS(CGTmVariable)); });
        auto* value = DYNAMIC_DOWNCAST(CGTmVariable, back);
        ASSERT_NE(value, nullptr) << name;
        EXPECT_EQ(std::string(back->GetRuntimeClass()->m_lpszClassName), name);
        EXPECT_EQ(value->m_text, item->m_text) << name;
        delete back;
    }
}

} // namespace
