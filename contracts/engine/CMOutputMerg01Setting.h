// Output-merger colour source: the vertex colours or the material colour of what is drawn.
#pragma once

class CM3Dzq;

class CMOutputMerg01Setting {
public:
    enum ColorSource { kMaterial = 0, kVertexLit = 1, kVertexUnlit = 2 };

    // Vertex colours, lit; source is kept as given (the render-state window shows it).
    // Nonzero apply sends the setting to the engine now (0 when there is no engine).
    int setVertexColor1SrcMode(int source, int apply);
    // The material colour instead of vertex colours.
    int setMat2disableVtxColor(int apply);
    // Sends the setting to the engine's pixel-shader constants.
    int applySetting();

    int m_colorSource = kVertexLit;
    int m_vtxColor1Src = 1;
    CM3Dzq* m_pM3D = nullptr;
};
