// The document file: the record of CHalvixDoc stored field by field, and loaded into a new set of
// pages and tools that takes the document's place only once the whole file has been read and
// checked; then the pages are recomputed and the first page's view restored.  A file is read in
// whichever of the two layouts reads it to its end, the one its name suggests first.
#include "document/halvix_doc.h"

#include "document/doc_globals.h"
#include "document/neighbour_services.h"
#include "platform/image_reading.h"
#include "view/gl_context.h"
#include "view/texture_loading.h"
#include "view/view_camera.h"
#include "view/view_globals.h"
#include "view/view_settings.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace {

// g_storeMtfImages holds the document's flag while its pages are stored or loaded, 0 otherwise,
// whichever way the scope is left.
class CStoreMtfImagesScope {
public:
    explicit CStoreMtfImagesScope(int flag) { g_storeMtfImages = flag; }
    ~CStoreMtfImagesScope() { g_storeMtfImages = 0; }
    CStoreMtfImagesScope(const CStoreMtfImagesScope&) = delete;
    CStoreMtfImagesScope& operator=(const CStoreMtfImagesScope&) = delete;
};

float* LightComponent(int parameter) {
    float* lights[4] = {g_lightAmbient, g_lightDiffuse, g_lightSpecular, g_lightPosition};
    return lights[parameter];
}

void ApplyLight() {
    if (!HxMakeGlCurrent())
        return; // no context yet: the light waits in the globals for the view's set-up
    glLightfv(GL_LIGHT0, GL_AMBIENT, g_lightAmbient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, g_lightDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, g_lightSpecular);
    glLightfv(GL_LIGHT0, GL_POSITION, g_lightPosition);
}

[[noreturn]] void Refuse(int cause) {
    throw CArchiveException(cause);
}

// A record of a version later than this program's, met while it is read.
struct LaterVersion {};

// Refused as a failed open: the document that was open stays, and a later Save cannot overwrite the
// newer file.
void ReportLaterVersion() {
    AfxMessageBox(u"这是高版本生成的文档，请您升级到最新版本！", MB_OK);
}

} // namespace

// Everything a document record holds, read before any of it replaces the document's contents.
struct CHalvixDoc::LoadedDocument {
    CRecordList tools;
    int version = 0;
    CString author, description;
    int screenWidth = 0, screenHeight = 0;
    int storeMtfImages = 0;
    int reservedInt = 0;
    float reservedFloat = 0.0f;
    CString reservedText;
    CString labelFont, measureFont;
    int labelFontHeight = 0, measureFontHeight = 0;
    float lineWidth = 0.0f, pointSize = 0.0f;
    float light[4][4] = {}; // ambient, diffuse, specular, position
    CPageList pages;
    WORD pageCounter = 0;
    struct Texture {
        bool isDefault = true;
        int width = 0, height = 0;
        std::vector<BYTE> pixels;
    } textures[HX_DOCUMENT_TEXTURES];

    LoadedDocument() = default;
    LoadedDocument(const LoadedDocument&) = delete;
    LoadedDocument& operator=(const LoadedDocument&) = delete;
    ~LoadedDocument() {
        HxDeleteRecords(tools);
        while (!pages.IsEmpty())
            delete pages.RemoveHead();
    }
};

void CHalvixDoc::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring())
        Store(ar);
    else
        Load(ar);
}

// ---------------------------------------------------------------------------------------------
// Storing

void CHalvixDoc::Store(CArchive& ar) {
    // The camera of the current page lives in the view globals.
    if (CGPage* page = g_pCurPage)
        KeepPageView(page);
    // The records of textured objects count the uses of the document textures as they are written.
    for (int i = 1; i <= HX_DOCUMENT_TEXTURES; ++i)
        g_textureUseCount[i] = 0;

    m_screenWidth = GetSystemMetrics(SM_CXSCREEN);
    m_screenHeight = GetSystemMetrics(SM_CYSCREEN);
    m_tools.Serialize(ar);
    ar << (g_saveGfFormat ? kGfVersion : m_formatVersion);
    ar << m_author << m_description << m_screenWidth << m_screenHeight << m_storeMtfImages << m_reservedInt
       << m_reservedFloat << m_reservedText;
    {
        CStoreMtfImagesScope images(m_storeMtfImages);
        ar << g_labelFontName << g_textFontName << g_labelFontHeight << g_fontHeight << g_lineWidth
           << g_pointSize;
        for (int i = 0; i < 4; ++i) {
            for (int parameter = 0; parameter < 4; ++parameter)
                ar << LightComponent(parameter)[i];
        }
        m_pages.Serialize(ar);
    }
    ar << m_pageCounter;

    // A texture costs one byte unless an object uses it and it holds an image of the user's.
    for (int i = 0; i < HX_DOCUMENT_TEXTURES; ++i) {
        const int width = g_textureWidth[i], height = g_textureHeight[i];
        bool keepDefault =
            g_textureUseCount[i + 1] == 0 || !g_documentImages[i] || !HxImageSizeAllowed(width, height);
        ar << BYTE(keepDefault ? 1 : 0);
        if (keepDefault)
            continue;
        ar << width << height;
        ar.Write(g_documentImages[i], UINT(HxTexturePixelBytes(width, height)));
    }
    g_lastDocumentPath = GetPathName();
}

// ---------------------------------------------------------------------------------------------
// Loading

void CHalvixDoc::Load(CArchive& ar) {
    LoadedDocument loaded;
    try {
        ReadRecord(ar, loaded);
    } catch (const LaterVersion&) {
        ReportLaterVersion();
        throw CUserException();
    }
    Commit(loaded);
}

void CHalvixDoc::ReadRecord(CArchive& ar, LoadedDocument& loaded) {
    HxLoadToolList(ar, loaded.tools);
    ar >> loaded.version >> loaded.author >> loaded.description >> loaded.screenWidth >>
        loaded.screenHeight >> loaded.storeMtfImages >> loaded.reservedInt >> loaded.reservedFloat >>
        loaded.reservedText;
    // Left to the reader to report: a read in a layout the file was not written in may meet any
    // number here, and another layout may still read the file.
    if (loaded.version >= kFirstRefusedVersion)
        throw LaterVersion();
    {
        CStoreMtfImagesScope images(loaded.storeMtfImages);
        ar >> loaded.labelFont >> loaded.measureFont >> loaded.labelFontHeight >> loaded.measureFontHeight >>
            loaded.lineWidth >> loaded.pointSize;
        for (int i = 0; i < 4; ++i) {
            for (int parameter = 0; parameter < 4; ++parameter)
                ar >> loaded.light[parameter][i];
        }
        loaded.pages.Serialize(ar);
        ar >> loaded.pageCounter;
    }
    for (auto& texture : loaded.textures) {
        BYTE isDefault;
        ar >> isDefault;
        texture.isDefault = isDefault != 0;
        if (texture.isDefault)
            continue;
        ar >> texture.width >> texture.height;
        // A document's pictures are held to the limits of every picture the program reads.
        if (!HxImageSizeAllowed(texture.width, texture.height))
            Refuse(CArchiveException::badIndex);
        long long bytes = HxTexturePixelBytes(texture.width, texture.height);
        ar.CheckCount(ULONGLONG(bytes), 1);
        texture.pixels.resize(size_t(bytes));
        ar.Read(texture.pixels.data(), UINT(bytes));
    }

    for (POSITION pos = loaded.pages.GetHeadPosition(); pos;) {
        CGPage* page = loaded.pages.GetNext(pos);
        if (!page)
            Refuse(CArchiveException::badIndex);
        // Page numbers are handed out from the counter and never used twice.
        loaded.pageCounter = std::max(loaded.pageCounter, page->m_pageId);
    }
}

BOOL CHalvixDoc::ReadGfDocument(CFile& file, const CString& pathForMessages, BOOL report) {
    return ReadInLayouts(file, pathForMessages, report, true);
}

BOOL CHalvixDoc::ReadDocument(CFile& file, const CString& pathForMessages, BOOL report) {
    // The caller's CGfFormatScope has chosen the older layout for every record read.
    if (g_saveGfFormat)
        return CDocument::ReadDocument(file, pathForMessages, report);
    return ReadInLayouts(file, pathForMessages, report, false);
}

BOOL CHalvixDoc::ReadInLayouts(CFile& file, const CString& pathForMessages, BOOL report, bool gfName) {
    auto fail = [&](const CException* e) {
        if (report)
            ReportSaveLoadException(pathForMessages, e, FALSE);
        return FALSE;
    };
    if (IsTooLargeToRead(file)) {
        if (report)
            ReportTooLargeToRead(pathForMessages);
        return FALSE;
    }
    const ULONGLONG start = file.GetPosition();
    // One read of the record in one layout, and how it ended.
    struct Attempt {
        std::unique_ptr<LoadedDocument> loaded; // null when the read failed
        size_t bytesLeft = 0;                   // after the record
        bool laterVersion = false;
        bool outOfMemory = false;
        CArchiveException error; // why the read failed, or why the file is not this record alone
        // A file read in a layout it was not written in may pass every check and end early, with
        // the rest unread: a layout is the file's only when its record is the whole file.
        bool Whole() const { return loaded && bytesLeft == 0; }
    };
    auto read = [&](bool gfLayout) {
        Attempt attempt;
        try {
            attempt.loaded = std::make_unique<LoadedDocument>();
            file.Seek(LONGLONG(start), CFile::begin);
            std::optional<CGfFormatScope> layout;
            if (gfLayout)
                layout.emplace();
            CArchive ar(&file, CArchive::load);
            ReadRecord(ar, *attempt.loaded);
            attempt.bytesLeft = ar.GetBytesLeft();
            if (attempt.bytesLeft != 0)
                attempt.error = CArchiveException(CArchiveException::genericException);
        } catch (const CArchiveException& e) {
            attempt.loaded.reset();
            attempt.error = e;
        } catch (const LaterVersion&) {
            attempt.loaded.reset();
            attempt.laterVersion = true;
        } catch (const std::bad_alloc&) {
            attempt.loaded.reset();
            attempt.outOfMemory = true;
        }
        return attempt;
    };
    auto take = [&](Attempt& attempt) {
        Commit(*attempt.loaded);
        return TRUE;
    };
    auto refuse = [&](const Attempt& attempt) {
        if (attempt.laterVersion) {
            ReportLaterVersion();
            return FALSE;
        }
        return fail(attempt.outOfMemory ? nullptr : &attempt.error);
    };
    try {
        if (gfName) {
            // The older layout first: the copy the save-copy command writes, version 330.
            Attempt older = read(true);
            if (older.laterVersion)
                return refuse(older);
            if (older.Whole() && older.loaded->version == kGfVersion)
                return take(older);
            // The present layout: an untitled document takes the name of its copy, and a later Save
            // writes the present layout there.  A file that reads whole in the older layout too (its
            // version is not 330) is the present one's when the present layout reads it whole.
            Attempt present = read(false);
            if (present.laterVersion)
                return refuse(present);
            if (present.Whole())
                return take(present);
            return older.Whole() ? take(older) : refuse(older);
        }
        // The present layout, the one a document's own file holds.  When it does not read the file
        // whole, the file may be a ".gf" copy under another name, which the older layout reads to
        // its end (the present one may have met any error on the way, a later version too).  Else a
        // record read whole with more bytes after it (a document padded at its end) opens as the
        // present layout reads it, and anything else is refused for what the present layout met.
        Attempt present = read(false);
        if (present.Whole())
            return take(present);
        Attempt older = read(true);
        if (older.Whole())
            return take(older);
        return present.loaded ? take(present) : refuse(present);
    } catch (const CUserException&) {
        return FALSE; // told already
    } catch (const CException& e) {
        return fail(&e);
    } catch (const std::bad_alloc&) {
        return fail(nullptr);
    }
}

void CHalvixDoc::Commit(LoadedDocument& loaded) {
    DeleteContents();
    while (!loaded.tools.IsEmpty())
        m_tools.AddTail(loaded.tools.RemoveHead());
    while (!loaded.pages.IsEmpty())
        m_pages.AddTail(loaded.pages.RemoveHead());
    m_formatVersion = loaded.version;
    m_author = loaded.author;
    m_description = loaded.description;
    m_screenWidth = loaded.screenWidth;
    m_screenHeight = loaded.screenHeight;
    m_storeMtfImages = loaded.storeMtfImages;
    m_reservedInt = loaded.reservedInt;
    m_reservedFloat = loaded.reservedFloat;
    m_reservedText = loaded.reservedText;
    m_pageCounter = loaded.pageCounter;

    // Settings that fonts and OpenGL could not use are left at their defaults.
    auto height = [](int h) { return h > 0 && h <= 1000 ? h : 24; };
    auto size = [](float v, float fallback) {
        return std::isfinite(v) && v > 0.0f && v <= 100.0f ? v : fallback;
    };
    g_labelFontName = loaded.labelFont.IsEmpty() ? CString(u"Times New Roman") : loaded.labelFont;
    g_textFontName = loaded.measureFont.IsEmpty() ? CString(u"Times New Roman") : loaded.measureFont;
    g_labelFontHeight = height(loaded.labelFontHeight);
    g_fontHeight = height(loaded.measureFontHeight);
    g_lineWidth = size(loaded.lineWidth, 2.0f);
    g_pointSize = size(loaded.pointSize, 6.0f);
    for (int parameter = 0; parameter < 4; ++parameter) {
        for (int i = 0; i < 4; ++i) {
            if (std::isfinite(loaded.light[parameter][i]))
                LightComponent(parameter)[i] = loaded.light[parameter][i];
        }
    }
    ApplyLight();

    // A record without pages (never written by the program) gets the first page of a new document.
    if (m_pages.IsEmpty()) {
        m_pageCounter = 0;
        AppendPage(u"第一页");
    }
    // Every page recomputed in id order, which is dependency order.
    for (POSITION pos = m_pages.GetHeadPosition(); pos;) {
        CGPage* page = m_pages.GetNext(pos);
        if (page->m_projection < 0 || page->m_projection > 2)
            page->m_projection = 1;
        MakePageCurrent(page);
        for (POSITION cellPos = page->m_cells.GetStartPosition(); cellPos;) {
            WORD id;
            CGCell* cell;
            page->m_cells.GetNextAssoc(cellPos, id, cell);
            cell->m_mark = true;
        }
        page->CollectMarkedIds(page->m_scratchIds);
        page->UpdateCellsById(page->m_scratchIds);
    }
    RestoreFirstPageView();

    // The textures: the default image again where the file has none of its own (loaded again only
    // when the texture held another), else the pixels of the file.
    for (int i = 0; i < HX_DOCUMENT_TEXTURES; ++i) {
        auto& texture = loaded.textures[i];
        if (texture.isDefault) {
            HxRestoreBuiltInTexture(i);
        } else {
            auto* pixels = new BYTE[texture.pixels.size()];
            std::copy(texture.pixels.begin(), texture.pixels.end(), pixels);
            HxSetDocumentTexturePixels(i, pixels, texture.width, texture.height);
        }
    }
}

void CHalvixDoc::RestoreFirstPageView() {
    CGPage* page = m_pages.GetHead();
    MakePageCurrent(page);
    ApplyPageView(page);
}

void CHalvixDoc::KeepPageView(CGPage* page) {
    page->m_viewTrans[0] = g_viewTransX;
    page->m_viewTrans[1] = g_viewTransY;
    page->m_viewTrans[2] = g_viewTransZ;
    page->m_viewRot[3] = float(g_viewRotation[0]);
    page->m_viewRot[0] = float(g_viewRotation[1]);
    page->m_viewRot[1] = float(g_viewRotation[2]);
    page->m_viewRot[2] = float(g_viewRotation[3]);
    page->m_viewZoom = g_viewZoom;
}

void CHalvixDoc::ApplyPageView(const CGPage* page) {
    ApplyPageCamera(page);
    ApplyPageLook(page);
}

void CHalvixDoc::ApplyPageCamera(const CGPage* page) {
    g_viewTransX = page->m_viewTrans[0];
    g_viewTransY = page->m_viewTrans[1];
    g_viewTransZ = page->m_viewTrans[2];
    g_viewRotation[0] = page->m_viewRot[3];
    g_viewRotation[1] = page->m_viewRot[0];
    g_viewRotation[2] = page->m_viewRot[1];
    g_viewRotation[3] = page->m_viewRot[2];
    g_viewZoom = page->m_viewZoom;
}

void CHalvixDoc::ApplyPageLook(const CGPage* page) {
    std::copy(page->m_background, page->m_background + 4, g_backgroundColor);
    g_viewLocked = page->m_viewLocked ? 1 : 0;
    g_dragLocked = page->m_dragLocked ? 1 : 0;
    if (HxMakeGlCurrent())
        glClearColor(g_backgroundColor[0], g_backgroundColor[1], g_backgroundColor[2], g_backgroundColor[3]);

    bool unitChanged = false;
    const unsigned units = unsigned(page->m_unitsPerLength);
    if (double(units) != std::round(1.0 / double(g_unitLength))) {
        g_unitLength = 1.0f / float(units);
        unitChanged = true;
    }
    if (page->m_projection != g_projectionType || unitChanged)
        ReloadProjection(page->m_projection);
}
