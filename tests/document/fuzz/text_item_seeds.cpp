// Seed documents of the text items and command buttons for the document fuzzer: bitmap texts (free
// and at a point), pictures, formula texts (free and at a point, with and without their pictures)
// and command buttons, whole and with hostile sizes and counts written into their records.
#include "text_item_seeds.h"

#include "document/halvix_doc.h"
#include "dynamics/buttons.h"
#include "measure/text_items.h"
#include "model/free_points.h"
#include "model/vertex.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

// The figures of the seed page, for damaging them before the document is stored.
struct CTextFigures {
    CGTextbit* bitmap = nullptr;
    CGTbHenchman* follower = nullptr;
    CGTbImage* picture = nullptr;
    CGTbMtfText* formula = nullptr;
    CGTbMhc* attached = nullptr;
    CGButnCommand* buttons[2] = {nullptr, nullptr};
};

template <class T> T* Put(CGPage* page, T* cell) {
    page->m_cells.SetAt(cell->m_id, cell);
    return cell;
}

std::vector<BYTE> Pattern(size_t n) {
    std::vector<BYTE> bytes(n);
    for (size_t i = 0; i < n; ++i)
        bytes[i] = BYTE(i * 37 + 11);
    return bytes;
}

std::vector<BYTE> TextDocument(bool storePictures, const std::function<void(CTextFigures&)>& damage) {
    CHalvixDoc doc;
    doc.OnNewDocument();
    doc.m_storeMtfImages = storePictures ? 1 : 0;
    CGPage* page = doc.GetPage(0);
    g_pCurPage = page;
    g_cellMap = &page->m_cells;
    auto* point = Put(page, new CGVertex(page->m_nextId++, page->m_nextVertex++, u"P", 1.0f, 2.0f, 3.0f));
    CTextFigures f;
    f.bitmap =
        Put(page, new CGTextbit(page->m_nextId++, 40, 3, Pattern(size_t(CGTextbit::BitmapRowBytes(40)) * 3)));
    f.follower = Put(page, new CGTbHenchman(page->m_nextId++, 8, 2, Pattern(8), point->m_id));
    f.picture = Put(
        page, new CGTbImage(page->m_nextId++, 13, 11, Pattern(size_t(CGTextbit::PictureRowBytes(13)) * 11)));
    f.picture->m_scaleX = -0.5f;
    f.formula =
        Put(page, new CGTbMtfText(page->m_nextId++, u"<#><l><e>x²+1</e></l></#>", RGB(255, 255, 255), 1));
    f.formula->m_kind = 4;
    // A small picture of its own (kept as it is when the document stores formula pictures).
    f.formula->m_width = 7;
    f.formula->m_height = 6;
    f.formula->m_bits = Pattern(4 * 7 * 6);
    f.attached =
        Put(page, new CGTbMhc(page->m_nextId++, u"<#><l><e>M</e></l></#>", RGB(0, 0, 0), point->m_id));
    f.buttons[0] = Put(page, new CGButnCommand(page->m_nextId++, u"演示", {32776, 32788, 32862}, 12));
    f.buttons[1] = Put(page, new CGButnCommand(page->m_nextId++, u"一步", {33309}, 0));
    if (damage)
        damage(f);
    return doc.StoreToBytes();
}

// The bytes with the first run of the int32 values `run` found, its value at `index` set to `to`.
std::vector<BYTE> Patched(std::vector<BYTE> bytes, const std::vector<int32_t>& run, size_t index,
                          int32_t to) {
    std::vector<BYTE> pattern(run.size() * 4);
    std::memcpy(pattern.data(), run.data(), pattern.size());
    auto at = std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
    if (at != bytes.end())
        std::memcpy(&*(at + long(index * 4)), &to, 4);
    return bytes;
}

} // namespace

std::vector<std::pair<std::string, std::vector<BYTE>>> HxTextItemSeedDocuments() {
    std::vector<std::pair<std::string, std::vector<BYTE>>> seeds;
    const std::vector<BYTE> plain = TextDocument(false, nullptr);
    const std::vector<BYTE> pictures = TextDocument(true, nullptr);
    seeds.push_back({"texts.hvx", plain});
    seeds.push_back({"texts-pictures.hvx", pictures});
    // Hostile picture sizes written over the stored ones (the writer itself writes only sizes it
    // can read back): the bitmap text's width (40 x 3), the picture's height (13 x 11), the formula
    // picture's sides (7 x 6).
    seeds.push_back({"texts-bitmap-width-negative.hvx", Patched(pictures, {40, 3}, 0, -7)});
    seeds.push_back({"texts-bitmap-width-huge.hvx", Patched(pictures, {40, 3}, 0, 0x7FFFFFF0)});
    seeds.push_back({"texts-picture-height-huge.hvx", Patched(pictures, {13, 11}, 1, 0x40000000)});
    seeds.push_back({"texts-picture-height-tall.hvx", Patched(pictures, {13, 11}, 1, 40000)});
    seeds.push_back(
        {"texts-formula-sides-huge.hvx", Patched(Patched(pictures, {7, 6}, 0, 30000), {30000, 6}, 1, 30000)});
    seeds.push_back({"texts-formula-height-negative.hvx", Patched(pictures, {7, 6}, 1, -1)});
    // Sizes the writer stores as no picture, and a picture with a zero zoom.
    seeds.push_back({"texts-unstorable-sizes.hvx", TextDocument(true, [](CTextFigures& f) {
                         f.bitmap->m_width = -40;
                         f.picture->m_height = 40000;
                         f.formula->m_width = 30000;
                         f.formula->m_height = 30000;
                     })});
    seeds.push_back({"texts-picture-zero.hvx", TextDocument(false, [](CTextFigures& f) {
                         f.picture->m_width = 0;
                         f.picture->m_scaleY = 0.0f;
                     })});
    // Command buttons with bad counts: none, odd ids and delays, negative, beyond the bound, more than
    // the record holds.
    seeds.push_back({"texts-command-none.hvx",
                     TextDocument(false, [](CTextFigures& f) { f.buttons[0]->m_commands.clear(); })});
    seeds.push_back({"texts-command-odd.hvx", TextDocument(false, [](CTextFigures& f) {
                         f.buttons[0]->m_commands = {0, -1, 0x7FFFFFFF, 32788, 57665};
                         f.buttons[0]->m_delay = -5;
                         f.buttons[1]->m_delay = 0x7FFFFFFF;
                     })});
    for (int32_t count : {-1, 10001, 0x7FFFFFFF, 4}) {
        seeds.push_back({"texts-command-count-" + std::to_string(count) + ".hvx",
                         Patched(plain, {3, 12, 0, 0, 32776}, 0, count)});
    }
    // Cut short inside the picture rows.
    std::vector<BYTE> cut = pictures;
    cut.resize(cut.size() * 2 / 3);
    seeds.push_back({"texts-cut.hvx", cut});
    return seeds;
}
