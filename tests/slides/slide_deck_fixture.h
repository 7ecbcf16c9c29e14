// A document for the slide import's tests to import into, at 0.05 drawing units a pixel: a deck's
// slides imported as the dialog's OK imports them, within given bounds, or priced without importing.
#pragma once

#include "document/document_test_support.h"
#include "slides/pptx_reader.h"
#include "view/slide_import.h"

#include <gtest/gtest.h>

class SlideDeckTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        g_unitLength = 0.05f;
    }
    bool Import(const QByteArray& bytes, bool convert, int slides = 1,
                const HxSlideImportBounds& bounds = HxSlideImportBounds()) {
        HxSlideDeck deck;
        EXPECT_EQ(HxReadPptx(bytes, deck), kPptxOk);
        return HxImportSlideDeck(m_doc.get(), deck, 1, slides, convert, nullptr, bounds);
    }
    // The work the import of the slides 1..slides would be priced at.
    qint64 WorkOf(const QByteArray& bytes, bool convert, int slides = 1) {
        HxSlideDeck deck;
        EXPECT_EQ(HxReadPptx(bytes, deck), kPptxOk);
        return HxSlideImportCostOf(deck, 1, slides, convert).work;
    }
};
