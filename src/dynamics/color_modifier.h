// Colour modifiers: cells with no figure of their own that colour other cells from live values
// (one value gives a hue or a grey, three give red, green and blue or hue, saturation and
// lightness), at every recompute.
#pragma once

#include "model/cell.h"

// The base of modifiers: two values of its own, kept in the record unchanged.
class CGModifier : public CGCell {
    DECLARE_SERIAL(CGModifier)
public:
    CGModifier();
    explicit CGModifier(WORD id);
    void Serialize(CArchive& ar) override;

    int m_value1 = 0;
    int m_value2 = 0;
};

// Colours its targets from its values.  Parents: the value cell (or three), then the targets.  The
// kind byte is the colour mode; the parameter range maps a value onto 0..1, wrapping outside it.
class CGMdfColor : public CGModifier {
    DECLARE_SERIAL(CGMdfColor)
public:
    static constexpr BYTE kHue = 1;  // one value: the hue at full saturation, lightness 0.5
    static constexpr BYTE kGrey = 2; // one value: a grey
    static constexpr BYTE kRgb = 3;  // three values: red, green, blue
    static constexpr BYTE kHsl = 4;  // three values: hue, saturation, lightness

    // For loading: name "Parametric Color", range 0 to 1.
    CGMdfColor();
    // The values and targets from the current page's selection (the first one or three selected
    // values, then the selected points, lines, faces, curves, texts and solids, list by list); then
    // the colour is applied.
    CGMdfColor(WORD id, BYTE mode, float rangeEnd, int handedOver, float rangeStart);

    void Recompute() override;
    void DrawOnTop() override;
    void DrawForPick(int mode) override;
    CString GetDescription() override;
    void Serialize(CArchive& ar) override;

    // How many value parents the mode uses (1 or 3).
    int ValueCount() const { return m_kind >= kRgb ? 3 : 1; }
    // A value's place in the cycle: 0 <= t < 1 (the modes wrap a negative q from different sides,
    // with the same result).
    static double Wrap(double value, float rangeStart, float rangeEnd, BYTE mode);
    // The colour of the three places t (only t[0] for the one-value modes) as bytes.
    static CRgba ColourOf(BYTE mode, const double t[3]);

    float m_rangeStart = 0.0f;
    float m_rangeEnd = 1.0f;
    int m_handedOver = 0; // given by the creating command, kept in the record
};
