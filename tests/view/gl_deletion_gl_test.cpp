// Display lists and textures held by cells: made in a context, deleted only when a context is
// current again, and forgotten with the context they belong to.
#include "gl_test_fixture.h"

namespace {

class GlDeletionTest : public GlViewTest {
protected:
    void SetUp() override {
        GlViewTest::SetUp();
        HxEndGlContextGeneration();
    }
};

TEST_F(GlDeletionTest, ListsAreDeletedAtTheNextFlushWithAContext) {
    CHxGlLists lists;
    const GLuint base = lists.Make(3);
    ASSERT_NE(base, 0u);
    EXPECT_TRUE(lists.IsValid());
    EXPECT_TRUE(glIsList(base + 2));

    lists.Release();
    EXPECT_FALSE(lists.IsValid());
    EXPECT_EQ(HxPendingGlDeletions(), 3u);
    // Without a current context the queue waits.
    context.doneCurrent();
    HxFlushGlDeletions();
    EXPECT_EQ(HxPendingGlDeletions(), 3u);
    ASSERT_TRUE(context.makeCurrent(&surface));
    HxFlushGlDeletions();
    EXPECT_EQ(HxPendingGlDeletions(), 0u);
    EXPECT_FALSE(glIsList(base));
}

TEST_F(GlDeletionTest, TexturesAndCopiesAndRemakes) {
    CHxGlTexture texture;
    const GLuint name = texture.Make();
    ASSERT_NE(name, 0u);
    glBindTexture(GL_TEXTURE_2D, name);
    EXPECT_TRUE(glIsTexture(name));

    CHxGlTexture copy(texture); // a copied cell makes its own
    EXPECT_FALSE(copy.IsValid());
    copy = texture;
    EXPECT_FALSE(copy.IsValid());
    EXPECT_EQ(HxPendingGlDeletions(), 0u);

    CHxGlLists lists;
    const GLuint first = lists.Make(1);
    const GLuint second = lists.Make(2); // remaking queues the old block
    EXPECT_NE(second, 0u);
    EXPECT_EQ(HxPendingGlDeletions(), 1u);
    {
        CHxGlTexture scoped;
        scoped.Make();
    } // destroyed: queued
    EXPECT_EQ(HxPendingGlDeletions(), 2u);
    HxFlushGlDeletions();
    EXPECT_FALSE(glIsList(first));
    EXPECT_TRUE(glIsList(second));
}

TEST_F(GlDeletionTest, AnEndedGenerationMakesHeldNamesStaleAndDropsTheQueue) {
    CHxGlLists lists;
    CHxGlLists other;
    ASSERT_NE(lists.Make(2), 0u);
    ASSERT_NE(other.Make(1), 0u);
    other.Release();
    EXPECT_EQ(HxPendingGlDeletions(), 1u);

    HxEndGlContextGeneration();
    EXPECT_EQ(HxPendingGlDeletions(), 0u);
    EXPECT_FALSE(lists.IsValid());
    EXPECT_EQ(lists.Base(), 0u);
    // A stale block released later is not queued: its names may already be another's.
    lists.Release();
    EXPECT_EQ(HxPendingGlDeletions(), 0u);
}

TEST(GlDeletionHeadless, NothingIsMadeWithoutAContext) {
    HxSetGlContextProvider(nullptr);
    ASSERT_FALSE(HxHasCurrentGlContext());
    CHxGlLists lists;
    CHxGlTexture texture;
    EXPECT_EQ(lists.Make(4), 0u);
    EXPECT_EQ(texture.Make(), 0u);
    lists.Release();
    texture.Release();
    EXPECT_EQ(HxPendingGlDeletions(), 0u);
}

} // namespace
