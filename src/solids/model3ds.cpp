// CGModel3ds: construction, the record, finding the model file (where it was, beside the document,
// or where the user says), reading it with its box and texture images; and the properties' fields.
#include "solids/model3ds.h"

#include "document/halvix_doc.h"
#include "view/texture_loading.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <limits>

IMPLEMENT_SERIAL(CGModel3ds, CGCell, 1)
IMPLEMENT_DYNAMIC(CDlg3ds, CDialog)

namespace {

constexpr double kDiagonalHalf = 15.0; // a new model's box gets a diagonal of 30 units

// A path holding a zero character (a damaged record) names no file.
bool IsFile(const CString& path) {
    return !path.IsEmpty() && path.Find(u'\0') < 0 && QFileInfo(path.ToQString()).isFile();
}

// Something other than a file (a folder, a pipe, a device) by that name.
bool IsOtherThanFile(const CString& path) {
    if (path.IsEmpty() || path.Find(u'\0') >= 0)
        return false;
    const QFileInfo info(path.ToQString());
    return info.exists() && !info.isFile();
}

// Where a texture named in a model is: as named (an absolute name, or relative to the model's
// folder), else under its bare file name in the model's folder, spelt in any case as the model's
// home system did not tell cases apart.  Backslashes separate folders.  Empty when not found.
CString FindTexture(const CString& name, const CString& folder) {
    QString n = name.ToQString();
    n.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (n.isEmpty())
        return CString();
    const QDir dir(folder.IsEmpty() ? QStringLiteral(".") : folder.ToQString());
    const QString bare = n.section(QLatin1Char('/'), -1);
    for (const QString& candidate : {QDir::isAbsolutePath(n) ? n : dir.filePath(n), dir.filePath(bare)}) {
        if (QFileInfo(candidate).isFile())
            return CString::FromQString(candidate);
    }
    if (bare.isEmpty())
        return CString();
    for (const QString& entry : dir.entryList(QDir::Files)) {
        if (entry.compare(bare, Qt::CaseInsensitive) == 0)
            return CString::FromQString(dir.filePath(entry));
    }
    return CString();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Construction and the record

CGModel3ds::CGModel3ds() = default;

CGModel3ds::CGModel3ds(WORD id, const CString& path, BYTE style) {
    m_id = id;
    m_path = path;
    m_style = style;
    m_name = FileNameOf(path);
    Recompute();
    m_center[0] = m_center[1] = m_center[2] = 0.0f;
    // A model that did not load, or has no extent, keeps scale 1.
    const float scale = float(kDiagonalHalf / m_halfDiagonal);
    if (m_valid && m_halfDiagonal > 0.0 && std::isfinite(scale) && scale > 0.0f)
        m_scale = scale;
}

CGModel3ds::~CGModel3ds() = default;

void CGModel3ds::Serialize(CArchive& ar) {
    CGCell::Serialize(ar);
    if (ar.IsStoring())
        ar << m_path << m_center[0] << m_center[1] << m_center[2] << m_scale;
    else
        ar >> m_path >> m_center[0] >> m_center[1] >> m_center[2] >> m_scale;
}

CString CGModel3ds::GetDescription() {
    return CString(u"3dsMax模型");
}

CString CGModel3ds::FolderOf(const CString& path) {
    int at = path.ReverseFind(u'\\');
    if (at < 0)
        at = path.ReverseFind(u'/');
    return at < 0 ? CString() : path.Left(at + 1);
}

CString CGModel3ds::FileNameOf(const CString& path) {
    return path.Mid(FolderOf(path).GetLength());
}

// ---------------------------------------------------------------------------------------------
// Reading the model

void CGModel3ds::Recompute() {
    if (m_path.GetLength() < 5)
        return;
    if (!LocateFile()) {
        m_valid = false;
        return;
    }
    Load();
}

bool CGModel3ds::LocateFile() {
    // What is there but is no file (a pipe, a device, a folder) is not searched for elsewhere: the
    // reader refuses it as no model file.
    if (IsFile(m_path) || IsOtherThanFile(m_path))
        return true;
    // Moved with its document: the same file name beside the document.  The stored path changes only
    // when the file is there.
    const CString folder = CHalvixDoc::GetDocumentFolder();
    if (!folder.IsEmpty() && m_path.Mid(1).FindOneOf(u"\\/") >= 0) {
        const CString beside = folder + FileNameOf(m_path);
        if (IsFile(beside)) {
            m_path = beside;
            return true;
        }
    }
    AfxMessageBox(HxFormat(u"原来设定的3ds模型文件:\n“ %s ”未找到，请重新指定其路径！", m_path), MB_OK);
    CFileDialog dlg(TRUE, u"3ds", CString(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    u"3ds Max file (*.3ds)|*.3ds||");
    if (dlg.DoModal() != IDOK || dlg.GetPathName().IsEmpty())
        return false; // the stored path stays, for the next time the document is opened
    m_path = dlg.GetPathName();
    return true;
}

void CGModel3ds::Load() {
    // Read anew, never appended: the model of an earlier read goes with its textures.
    m_valid = false;
    Model3dsData model;
    if (!Model3ds::ReadFile(m_path, model)) {
        TakeModel(Model3dsData(), false);
        return;
    }
    m_valid = true;
    if (!TakeModel(std::move(model), true))
        AfxMessageBox(u"纹理未能全部装入\n\n请检查文件位置及格式是否正确！", MB_OK);
}

bool CGModel3ds::TakeModel(Model3dsData&& model, bool loadTextures) {
    DropGlObjects();
    m_images.clear();
    m_model = std::move(model);

    // The box of the finite vertices; none without one.
    constexpr double kBig = std::numeric_limits<double>::max();
    double box[6] = {kBig, -kBig, kBig, -kBig, kBig, -kBig};
    bool any = false;
    for (const Object3ds& o : m_model.objects) {
        const size_t n = std::min(size_t(std::max(o.vertexCount, 0)), o.vertices.size() / 3);
        for (size_t i = 0; i < n; ++i) {
            const float* v = &o.vertices[i * 3];
            if (!std::isfinite(v[0]) || !std::isfinite(v[1]) || !std::isfinite(v[2]))
                continue;
            any = true;
            for (int k = 0; k < 3; ++k) {
                box[2 * k] = std::min(box[2 * k], double(v[k]));
                box[2 * k + 1] = std::max(box[2 * k + 1], double(v[k]));
            }
        }
    }
    for (int k = 0; k < 6; ++k)
        m_box[k] = any ? box[k] : 0.0;
    const double dx = m_box[1] - m_box[0], dy = m_box[3] - m_box[2], dz = m_box[5] - m_box[4];
    m_halfDiagonal = std::sqrt(dx * dx + dy * dy + dz * dz) / 2.0;
    for (int k = 0; k < 3; ++k)
        m_modelCenter[k] = (m_box[2 * k] + m_box[2 * k + 1]) / 2.0;

    bool allLoaded = true;
    for (size_t i = 0; i < m_model.materials.size(); ++i) {
        Material3ds& material = m_model.materials[i];
        material.textureIndex = int(i);
        if (loadTextures && !material.textureName.empty() && i < size_t(kTextureSlots))
            allLoaded &= LoadTexture(material.textureName, int(i), FolderOf(m_path));
    }
    m_listStale = true;
    return allLoaded;
}

bool CGModel3ds::LoadTexture(const std::string& name, int index, const CString& folder) {
    if (index < 0 || index >= kTextureSlots)
        return false;
    const CString path = FindTexture(CString::FromUtf8(name), folder);
    if (path.IsEmpty())
        return false;
    CTextureImage image;
    if (!HxLoadPackedImage(path, image.pixels, image.width, image.height))
        return false;
    if (m_images.size() <= size_t(index))
        m_images.resize(size_t(index) + 1);
    m_images[size_t(index)] = std::move(image);
    return true;
}

// ---------------------------------------------------------------------------------------------
// The properties

void CDlg3ds::FillFrom(const CGModel3ds& cell) {
    m_fileName = cell.m_path;
    for (int i = 0; i < 3; ++i)
        m_center[i] = cell.m_center[i];
    m_scale = cell.m_scale;
    m_displayMode = cell.m_style == CGModel3ds::kStyleWire ? 0 : 1;
    m_hide = cell.m_hidden != 0 ? 1 : 0;
}

void CDlg3ds::WriteTo(CGModel3ds& cell) const {
    for (int i = 0; i < 3; ++i)
        cell.m_center[i] = m_center[i];
    cell.m_scale = m_scale;
    if ((m_displayMode == 0) != (cell.m_style == CGModel3ds::kStyleWire))
        cell.m_style = BYTE(m_displayMode == 0 ? CGModel3ds::kStyleWire : 1);
    cell.m_hidden = m_hide != 0 ? 1 : 0;
}
