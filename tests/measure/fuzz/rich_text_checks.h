// The invariants the rich-text fuzzer checks on every input, shared with the unit test that replays
// the kept inputs.  The input is read as RTF; what is read is rendered to the one-bit picture of the
// editor's default rectangle, written as RTF, read again and written again: the second reading
// must succeed and both writings must agree, the picture must have its exact size.
#pragma once

#include "measure/rich_text.h"

#include <QTextDocument>

#include <functional>

namespace hx_rich_text_checks {

using Failure = std::function<void(const char* what)>;

inline void CheckInput(const QByteArray& input, const Failure& fail) {
    QTextDocument doc;
    CString error;
    const bool read = HxRtfToDocument(input, doc, &error);
    if (!read) {
        if (error.IsEmpty())
            fail("refused without a reason");
        if (!doc.isEmpty())
            fail("refused input left text behind");
    }
    int w = 0, h = 0;
    const std::vector<BYTE> bits = HxRenderRichText(doc, 584, 135, &w, &h);
    if (w != 584 || h != 135 || bits.size() != size_t((584 + 31) / 32 * 4 * 135))
        fail("picture of the wrong size");
    if (!read)
        return;
    const QByteArray written = HxDocumentToRtf(doc);
    QTextDocument again;
    if (!HxRtfToDocument(written, again, &error)) {
        fail("written RTF not read back");
        return;
    }
    if (HxRichPlainText(again) != HxRichPlainText(doc))
        fail("text changed by writing and reading");
    if (HxDocumentToRtf(again) != written)
        fail("writing what was read back gives other bytes");
    if (UnpackRtfBytes(PackRtfBytes(written)) != written)
        fail("packing lost bytes");
}

} // namespace hx_rich_text_checks
