// Glyph layer: MEG coils (flat square plates across the coil normal), direction glyphs along
// the normal, the mark of the current sensor (a ring), and EEG electrodes as cube, ball or
// torus. Drawn with the engine's current material, in the frame being rendered.
#pragma once

#include "viewbase/CStatD3DM01Basic.h"

#include <vector>

class CMEGSensorzq;
class CEEGelectrodezq;

class CStatD3DM02Coils : public CStatD3DM01Basic {
public:
    // Draw modes of drawSnsCoils: coils and direction glyphs, coils only, direction only.
    enum { kDrawCoilDir = 0, kDrawCoil = 1, kDrawDir = 2 };

    // Coil plate of half side size (metres, times the sensor-size factor), thin along the
    // coil normal. 0 for a size that is not positive and finite.
    int makeCoilShape(float size);
    // Direction glyph: a rod of the given width and length from the coil along its normal.
    int makeDirShape(float width, float length);
    // Mark ring: tube thickness and ring diameter.
    int makeMarkShape(float thickness, float diameter);
    // Draws every coil of the sensor by drawMode. 0 without engine, sensor or coil shape.
    int drawSnsCoils(CMEGSensorzq* sensor, int drawMode);
    // Draws the electrode by the shape selector: cube or ball (the sensor glyph shape when the
    // view has built one, else made here) or a torus lying on the scalp. 0 without engine or
    // electrode.
    int drawElectrode(CEEGelectrodezq* electrode, int drawMode);
    // Draws the mark ring at the position, facing out of the sensor sphere, in the mark
    // material; the engine's material is restored. 0 without engine or mark shape.
    int rendMark(float x, float y, float z);

    // Collects the glyphs drawn until endGlyphBatch into one draw: each glyph's vertices are
    // moved into place and take the colour of the material current when it is drawn. A frame
    // of hundreds of sensors then costs one draw instead of one per glyph.
    void beginGlyphBatch();
    // Draws the collected glyphs, lit, and ends the batch. 0 without engine or vertices.
    int endGlyphBatch();

protected:
    // Draws shape with model = rotation taking +z to dir, then translation to pos.
    int rendShapeOriented(CMBasicShape& shape, const double pos[3], const double dir[3]);
    // Outward direction at pos: from the sensor sphere centre, else from the origin.
    void outwardDir(const double pos[3], double dir[3]) const;
    // Electrode glyph width: the width of the view's glyph shape when it has one, else twice
    // the session's electrode size (a ball of that radius).
    float eltSize() const;
    // Rebuilds the electrode glyph of the selector when its size changed.
    CMBasicShape* eltGlyph(float size);

private:
    // True when glyph `which` (0 coil, 1 direction, 2 mark) was last made with sizes a, b and
    // still has its vertices: the glyphs are asked for at every frame, made once.
    bool isMade(const CMBasicShape& shape, int which, float a, float b) const;
    // Records the sizes glyph `which` was made with; returns 1.
    int made(int which, float a, float b);
    // Appends shape under model to the batch, in the engine's current material colour.
    void appendToBatch(const CMBasicShape& shape, const float model[16]);

    float m_eltBuilt[3] = {0.0f, 0.0f, 0.0f}; // size each electrode glyph was made with
    float m_shapeMade[3][2] = {};
    bool m_batching = false;
    std::vector<D3DVTX_PNCd> m_batchVtx;
    CMVBzq m_batchVb;
};
