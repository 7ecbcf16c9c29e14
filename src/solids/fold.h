// CGFold: the net of a convex hull.  Every face is laid flat in its own frame, the faces are hinged
// into a tree along shared edges, and the parameter t (the cell's first parameter word, which an
// animation button drives) folds the flat net up into the closed solid, all at once or level by level.
#pragma once

#include "model/cell.h"
#include "solids/polyhedron_data.h"

class CGPolyhedron;

struct FoldPoint2 {
    double x = 0.0;
    double y = 0.0;
};

// One face of the net.  Node references are indices into the net's nodes, -1 for none.
struct FoldNode {
    std::vector<FoldPoint2> polygon;   // corners in the face's own frame, in loop order
    std::vector<FoldPoint2> texCoords; // one per corner, in [0, 1]
    int32_t texture = 8;               // index into g_textureIds, 8 to 14
    std::vector<int> neighbours;       // per loop edge k (corner k to k + 1): the face across it
    std::vector<int> children;         // hinged on this node
    std::vector<double> normalAngles;  // per loop edge: radians between this normal and the neighbour's
    double normal[3] = {0.0, 0.0, 0.0};
    double height = 0.0;
    int parent = -1;
    int32_t edge = 0;       // the hinge edge in this node's loop
    int32_t parentEdge = 0; // the hinge edge in the parent's loop
    FoldPoint2 hingePoint;  // translation in the parent's frame, applied first
    double ownOffset[3] = {0.0, 0.0, 0.0};
    double hingeAngle = 0.0; // degrees, about z before the fold
    double ownAngle = 0.0;   // degrees, about z last
    double foldAngle = 0.0;  // degrees, the full turn about the hinge
    int32_t level = 0;
    bool placed = false;
};

class CGFold : public CGCell {
    DECLARE_SERIAL(CGFold)
public:
    // m_style: the hull's three styles.
    static constexpr BYTE kStyleAuto = 0;
    static constexpr BYTE kStyleVisible = 1;
    static constexpr BYTE kStyleLit = 2;
    // m_spreadMode
    static constexpr int32_t kSpreadTogether = 0; // "同时展开"
    static constexpr int32_t kSpreadByLevel = 1;  // "分级展开"
    // How a node's face is drawn.
    enum FaceMode { kFaceFill = 0, kFaceOutline = 1, kFacePoints = 2, kFaceTextured = 3 };

    CGFold();
    // The net of a hull (already in g_cellMap): sets the hull's style to "仅实线", t to 1.0 (the base
    // face in place, every other face flat around it) and builds the tree.
    CGFold(WORD id, WORD hullId, const CString& name, BYTE style, int32_t spreadMode);

    // The common record, then the spreading mode.  The tree is rebuilt by the page's recomputation.
    void Serialize(CArchive& ar) override;
    // Builds the tree again from the hull.  A first parent that is not a hull leaves an empty net.
    void Recompute() override;
    void DrawDepth() override;
    void DrawVisible() override;
    void DrawHidden() override;
    void DrawOnTop() override;
    void DrawLit() override;
    void DrawForPick(int mode) override;
    CString GetDescription() override; // "多面体展开图"

    // Centres and heights into the hull's faces, its faces sorted by height (so the hull changes),
    // then one node per face hinged on its lowest placed neighbour.  Faces that no pass can hinge
    // (a face set that is not closed or not connected) stay out of the tree.
    void BuildUnfoldingTree(CGPolyhedron& hull);

    // The fold factor of a node of a level at the parameter t.
    static double FoldFactor(int32_t spreadMode, int32_t level, double t);
    // Draws a node and its children with the transforms of the parameter t; nothing for t < 0.
    void DrawFoldNode(int node, int faceMode, int32_t spreadMode, double t) const;

    bool HasRoot() const { return m_root >= 0; }
    // The fold parameter: 0 a flat net, 1 the base face in place, 2 (or the deepest level + 1 when
    // folding by levels) the closed solid.  An animation button writes it and then calls SyncVertex.
    float FoldParameter() const { return m_param1; }
    // The parameter at which the net is closed: 2 when it folds all at once, its deepest level + 1
    // when it folds level by level.  An animation of the net runs from 1 up to it.
    float ClosedParameter() const;

    std::vector<FoldNode> m_nodes;
    int m_root = -1;
    double m_position[3] = {0.0, 0.0, 0.0}; // world position of the base face's first corner
    int32_t m_spreadMode = kSpreadTogether;
    int32_t m_deepestLevel = 0;

private:
    void DrawNet(int faceMode) const;
    // With the entries of the modelview stack still free: a subtree deeper than that is left out.
    void DrawFoldNode(int node, int faceMode, int32_t spreadMode, double t, int stackLeft) const;
};

// The texture index the next net face takes, 8 to 14 in turn across all nets.
extern int32_t g_nextNetTexture;

// The angle from p to q in [0, 2π), counter-clockwise; π or 0 for (nearly) parallel vectors.
double PlanarAngle(const FoldPoint2& p, const FoldPoint2& q);
// Where Q lies in the frame with A at the origin and B on the negative x axis, Q on the side y ≥ 0.
FoldPoint2 PlaceByDistances(const FoldPoint2& A, const FoldPoint2& B, const FoldPoint2& Q);
