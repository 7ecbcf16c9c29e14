// CGModel3ds: a 3DS model imported into the scene, kept in the document as its file's path, its centre
// and its scale and read again from the file whenever it is loaded; drawn lit and textured or as a
// wire frame, turned about the vertical by its parameter.  CDlg3ds: the fields of its properties.
#pragma once

#include "model/cell.h"
#include "solids/model3ds_reader.h"
#include "view/gl_context.h"

#include <algorithm>
#include <memory>
#include <vector>

// Pick class of models.
constexpr unsigned int kPickClassModel3ds = 11;

class CGModel3ds : public CGCell {
    DECLARE_SERIAL(CGModel3ds)
public:
    // Materials at this index and above get no texture.
    static constexpr int kTextureSlots = 100;
    static constexpr BYTE kStyleWire = 0; // any other style draws the model lit and textured

    CGModel3ds(); // no path, centre (0, 0, -10), scale 1; loads nothing until Recompute
    // A model named after its file, read from it (Recompute), centred on the origin and scaled so
    // that its box has a diagonal of 30 units; a model that did not load, or has no extent, keeps
    // scale 1.
    CGModel3ds(WORD id, const CString& path, BYTE style);
    ~CGModel3ds() override;

    // The common record, then the path, the centre (three floats) and the scale.
    void Serialize(CArchive& ar) override;
    // Finds the file (where it was, else beside the document last opened, else where the user says)
    // and reads it again.  A path shorter than 5 characters is never read.
    void Recompute() override;
    void DrawVisible() override;
    void DrawLit() override;
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "3dsMax模型"

    // Takes a model read from the file: its box and centre, the texture images of its first 100
    // materials (read from the model's folder when asked) and a display list to be made anew.  False
    // when a texture named by a material could not be read.
    bool TakeModel(Model3dsData&& model, bool loadTextures);
    // Reads the image of a material's texture file (the 8-bit name taken as UTF-8, found in the
    // model's folder) for material `index`; false when it cannot be read.
    bool LoadTexture(const std::string& name, int index, const CString& folder);

    // The box (x0, x1, y0, y1, z0, z1): its twelve edges, or the three faces z = z0, x = x0 and
    // y = y1 filled.
    static void DrawBoxGL(const double box[6], bool filled);

    // What the display list holds, handed to a sink object by object: BeginObject(textured, material
    // index), then per corner of each triangle Corner(normal, texture coordinate or null, colour or
    // null, position), then EndObject().  Faces naming a vertex the object lacks are left out; an
    // object is textured only when its material exists and has a texture slot; a texture coordinate
    // the object lacks is (0, 0).
    template <class Sink> void EmitMesh(Sink& sink) const;

    // The folder of a path (up to and including its last "\" or, without one, its last "/"), and the
    // name after it.
    static CString FolderOf(const CString& path);
    static CString FileNameOf(const CString& path);

    Model3dsData m_model;
    CString m_path;
    float m_center[3] = {0.0f, 0.0f, -10.0f};
    float m_scale = 1.0f;
    double m_box[6] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    double m_halfDiagonal = 0.0;
    double m_modelCenter[3] = {0.0, 0.0, 0.0};

private:
    struct CTextureImage {
        std::unique_ptr<BYTE[]> pixels; // packed as the view's textures
        int width = 0;
        int height = 0;
    };

    // Reads the file into the model (the previous model, its textures and its list dropped first).
    void Load();
    // The file where it is, else beside the document, else chosen by the user; false when none.
    bool LocateFile();
    // The list (and the textures it binds) made with the context current, once per model read and
    // per context; false when there is no list to call.
    bool EnsureList();
    // The model's placement: centre, turn about z by the parameter, scale.  False when the stored
    // numbers cannot place it.
    bool PushPlacement() const;
    void DropGlObjects();

    std::vector<CTextureImage> m_images; // by material index, below kTextureSlots
    CHxGlTexture m_textures[kTextureSlots];
    CHxGlLists m_list;
    bool m_listStale = true;
};

template <class Sink> void CGModel3ds::EmitMesh(Sink& sink) const {
    static const float kNoTexCoord[2] = {0.0f, 0.0f};
    const int materials = int(m_model.materials.size());
    for (const Object3ds& o : m_model.objects) {
        const int m = o.materialIndex;
        const bool known = m >= 0 && m < materials;
        const bool textured = o.textured != 0 && known && m < kTextureSlots;
        const bool colored = !textured && known;
        const bool texCoords = textured && o.texCoordCount > 0;
        const BYTE* color = colored ? m_model.materials[size_t(m)].color : nullptr;
        sink.BeginObject(textured, m);
        const int n = o.vertexCount;
        const size_t faces = std::min(size_t(std::max(o.faceCount, 0)), o.faces.size() / 3);
        if (o.vertices.size() >= size_t(std::max(n, 0)) * 3 &&
            o.normals.size() >= size_t(std::max(n, 0)) * 3) {
            for (size_t i = 0; i < faces; ++i) {
                const int* f = &o.faces[i * 3];
                if (f[0] < 0 || f[0] >= n || f[1] < 0 || f[1] >= n || f[2] < 0 || f[2] >= n)
                    continue;
                for (int k = 0; k < 3; ++k) {
                    const size_t v = size_t(f[k]);
                    const float* t = nullptr;
                    if (texCoords)
                        t = f[k] < o.texCoordCount && o.texCoords.size() >= (v + 1) * 2 ? &o.texCoords[v * 2]
                                                                                        : kNoTexCoord;
                    sink.Corner(&o.normals[v * 3], t, color, &o.vertices[v * 3]);
                }
            }
        }
        sink.EndObject();
    }
}

// "3ds模型属性": the model's file (shown only), centre, scale, display mode and hidden flag.
class CDlg3ds : public CDialog {
    DECLARE_DYNAMIC(CDlg3ds)
public:
    enum { IDD = 355 };
    static constexpr int kFileNameEdit = 1002; // "文件名：", read-only
    static constexpr int kHiddenCheck = 1003;  // "隐藏对象"
    static constexpr int kModeRadio = 1007;    // "显示方式": "线框模式" 0, "光照贴图" 1
    static constexpr int kCenterXEdit = 1260;  // "X:" in "中心"
    static constexpr int kCenterYEdit = 1261;
    static constexpr int kCenterZEdit = 1262;
    static constexpr int kScaleEdit = 1266; // "缩放比:"

    CDlg3ds() : CDialog(IDD) {}
    static CString Title() { return CString(u"3ds模型属性"); }
    // The fields from a model, and a model's fields from them (the style changes only between the
    // wire frame and the rest).
    void FillFrom(const CGModel3ds& cell);
    void WriteTo(CGModel3ds& cell) const;

    CString m_fileName;
    float m_center[3] = {0.0f, 0.0f, 0.0f};
    float m_scale = 1.0f;
    int m_displayMode = 1;
    int m_hide = 0;
};
