// A document for the slide import's tests to import into, at 0.05 drawing units a pixel: a deck's
// slides imported as the dialog's OK imports them, within given bounds, or priced without importing;
// or a deck written to a file and imported through the command, the dialog answered.
#pragma once

#include "document/document_test_support.h"
#include "slides/pptx_reader.h"
#include "slides/slide_deck_draw.h"
#include "slides/slide_records.h"
#include "view/slide_import.h"
#include "view/slide_pages.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <functional>

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
    // Imports as Import does, the drawing's clock reading what `clock` says of the shapes drawn so far
    // (the texts, tables and pictures handed on to the pages).
    bool ImportTimed(const QByteArray& bytes, bool convert, int slides, HxSlideImportBounds bounds,
                     const std::function<qint64(int shapes)>& clock) {
        HxSlideDeck deck;
        EXPECT_EQ(HxReadPptx(bytes, deck), kPptxOk);
        int shapes = 0;
        bounds.clock = [&] { return clock(shapes); };
        HxSlideRecordReader reader(1, slides, convert, bounds);
        reader.Feed(HxSlideRecords::Hello());
        HxDrawSlideDeck(deck, 1, slides, convert, bounds, [&](const QByteArray& record) {
            const quint32 type = qFromLittleEndian<quint32>(record.constData());
            shapes += type == HxSlideRecords::kText || type == HxSlideRecords::kTableBegin ||
                      type == HxSlideRecords::kPicture;
            reader.Feed(record);
        });
        EXPECT_EQ(reader.GetState(), HxSlideRecordReader::kDone);
        return HxFinishSlideImport(m_doc.get(), CString(), 1, slides, HxSlideDrawingEnd::kWhole, reader,
                                   nullptr, kSlideImportTotalSeconds,
                                   int(HxRoundedUp(bounds.milliseconds, 1000)));
    }
    // The work the import of the slides 1..slides would be priced at.
    qint64 WorkOf(const QByteArray& bytes, bool convert, int slides = 1) {
        HxSlideDeck deck;
        EXPECT_EQ(HxReadPptx(bytes, deck), kPptxOk);
        return HxSlideImportCostOf(deck, 1, slides, convert).work;
    }
};

class SlideFileTest : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        g_unitLength = 0.05f;
        ASSERT_TRUE(m_dir.isValid());
    }
    QString Write(const QByteArray& bytes, const QString& name = QStringLiteral("slides.pptx")) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    // Imports the file with the dialog answered: the range and the check box.  `offered` sees the
    // dialog as the command filled it in, before it is answered.
    BOOL ImportFile(const QString& path, int from, int to, bool convert,
                    const std::function<void(const CDlgPPT&)>& offered = {},
                    const std::function<void()>& afterNewPage = {}) {
        HxSetDialogRunner([&](CDialog& dialog) -> INT_PTR {
            auto* ppt = dynamic_cast<CDlgPPT*>(&dialog);
            if (!ppt)
                return IDCANCEL;
            if (offered)
                offered(*ppt);
            ppt->m_from = from;
            ppt->m_to = to;
            ppt->m_convert = convert ? TRUE : FALSE;
            return IDOK;
        });
        const BOOL result = HxImportSlideFile(m_doc.get(), CString::FromQString(path), afterNewPage);
        HxSetDialogRunner(nullptr);
        return result;
    }
    BOOL Import(const QByteArray& bytes, int from, int to, bool convert) {
        return ImportFile(Write(bytes), from, to, convert);
    }
    QTemporaryDir m_dir;
};
