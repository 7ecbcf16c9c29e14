// The solids of revolution built on points: a sphere on its centre and north pole, a cylinder and a
// cone on their base centre, a point of the base circle and the top centre or apex, and a frustum on
// its two centres and a point of each circle.  They recompute their numbers from the points and are
// drawn and stored as the fixed solids they derive from.
#pragma once

#include "solids/revolution.h"

class CGSphereCN : public CGSphere {
    DECLARE_SERIAL(CGSphereCN)
public:
    CGSphereCN() = default;
    CGSphereCN(WORD id, WORD center, WORD pole);

    // Centre O, axis N - O, radius |N - O|.  The parents are read in order and the first that is not
    // a valid point makes the sphere invalid, keeping what the earlier ones set.
    void Recompute() override;
    CString GetDescription() override; // "以O为球心，北极点为N的球"
};

class CGCylinderCPC : public CGCylinder {
    DECLARE_SERIAL(CGCylinderCPC)
public:
    CGCylinderCPC() = default;
    CGCylinderCPC(WORD id, WORD baseCenter, WORD rimPoint, WORD topCenter);

    // Base centre O, radius |R - O| (R need not lie in the base plane), axis V - O and height |V - O|.
    void Recompute() override;
    CString GetDescription() override; // "以OV为轴，OR为底面半径的圆柱"
};

class CGConeCPV : public CGCone {
    DECLARE_SERIAL(CGConeCPV)
public:
    CGConeCPV() = default;
    CGConeCPV(WORD id, WORD baseCenter, WORD rimPoint, WORD apex);

    // As the cylinder's, with the apex for V.
    void Recompute() override;
    CString GetDescription() override; // "以V为顶点，OR为底面半径的圆锥"
};

class CGFrustumCP2 : public CGFrustum {
    DECLARE_SERIAL(CGFrustumCP2)
public:
    CGFrustumCP2() = default;
    CGFrustumCP2(WORD id, WORD bottomCenter, WORD bottomRim, WORD topCenter, WORD topRim);

    // Base centre O1, radius |R1 - O1|, axis O2 - O1, height |O2 - O1|, top ratio |R2 - O2| / radius.
    // A bottom radius of 0 leaves the top ratio as it was.
    void Recompute() override;
    CString GetDescription() override; // "以O1O2为轴，O1R1、O2R2为两底半径的圆台"
};
