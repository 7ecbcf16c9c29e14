// Run-time classes: kind tests, creation by name.
#include "platform/afx.h"

#include <gtest/gtest.h>

namespace {
class CTestBase : public CObject {
    DECLARE_SERIAL(CTestBase)
};
IMPLEMENT_SERIAL(CTestBase, CObject, 1)

class CTestMiddle : public CTestBase {
    DECLARE_SERIAL(CTestMiddle)
};
IMPLEMENT_SERIAL(CTestMiddle, CTestBase, 1)

class CTestLeaf : public CTestMiddle {
    DECLARE_SERIAL(CTestLeaf)
};
IMPLEMENT_SERIAL(CTestLeaf, CTestMiddle, 1)

class CTestAbstractish : public CObject {
    DECLARE_DYNAMIC(CTestAbstractish)
};
IMPLEMENT_DYNAMIC(CTestAbstractish, CObject)
} // namespace

TEST(RuntimeClasses, KindTestsWalkTheBaseChain) {
    CTestLeaf leaf;
    CTestMiddle middle;
    EXPECT_TRUE(leaf.IsKindOf(RUNTIME_CLASS(CTestLeaf)));
    EXPECT_TRUE(leaf.IsKindOf(RUNTIME_CLASS(CTestMiddle)));
    EXPECT_TRUE(leaf.IsKindOf(RUNTIME_CLASS(CTestBase)));
    EXPECT_TRUE(leaf.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(middle.IsKindOf(RUNTIME_CLASS(CTestLeaf)));
    EXPECT_EQ(DYNAMIC_DOWNCAST(CTestLeaf, static_cast<CObject*>(&middle)), nullptr);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CTestBase, static_cast<CObject*>(&leaf)), &leaf);
}

TEST(RuntimeClasses, CreationByNameAndSchema) {
    const CRuntimeClass* cls = CRuntimeClass::FromName("CTestLeaf");
    ASSERT_EQ(cls, RUNTIME_CLASS(CTestLeaf));
    EXPECT_EQ(cls->m_wSchema, 1u);
    CObject* obj = cls->CreateObject();
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(obj->GetRuntimeClass(), RUNTIME_CLASS(CTestLeaf));
    delete obj;
    EXPECT_EQ(CRuntimeClass::FromName("CTestAbstractish"), nullptr);
    EXPECT_FALSE(RUNTIME_CLASS(CTestAbstractish)->IsSerializable());
    EXPECT_EQ(CRuntimeClass::FromName("NoSuch"), nullptr);
    EXPECT_STREQ(RUNTIME_CLASS(CTestMiddle)->m_lpszClassName, "CTestMiddle");
}
