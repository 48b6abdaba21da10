// First layer of the sensor-scene control: a static control that owns a 3D scene of MEG
// sensors or EEG electrodes. It holds the whole state of the scene (engine, bound data,
// switches, materials, glyphs, contour geometry, mouse points, host callback); the later
// layers add the operations. Sizes and positions are in metres, as the recording gives them.
#pragma once

#include "engine/CMBasicShape.h"
#include "engine/CMMaterialzq.h"
#include "engine/CMOutputMerg01Setting.h"
#include "viewbase/CSnsCnvxHull4Cntmp.h"
#include "viewbase/CSnsFanData4ContourMapx.h"
#include "win/CPoint.h"
#include "win/CStatic.h"

class CM3Dzq;
class CArrayMEDataSetzq;
class CMEGDatazq;
class CMDTrialzq;

class CStatD3DM : public CStatic {
public:
    // Operation modes: what mouse drags, the wheel and arrow keys do.
    enum OperMode {
        kModeNormal = 300,
        kModeRotate = 301,
        kModeZoom = 302,
        kModeMove = 303,
        kModePick = 403,
        kModeSnsSize = 407,
    };
    enum ChnType { kChnMeg = 0, kChnEeg = 1 };
    enum SnsShape { kShapeCube = 0, kShapeBall = 1, kShapeTorus = 2 };
    // Default neighbour distances of the fan surfaces: 50 mm joins each Neuromag place to its
    // ring of 3 to 7 neighbouring places and each electrode of a 64-channel cap to 3 to 8
    // others.
    static constexpr double kMegNbrDistance = 0.05;
    static constexpr double kEegNbrDistance = 0.05;

    CStatD3DM();
    ~CStatD3DM() override;

    // Frees every sensor glyph (coil, direction, mark and electrode shapes).
    int releaseSnsCoilD3DAll();
    // Frees the contour geometry of both channel types (hull meshes and fans).
    int cleanTriMegSnsVtx();

    CM3Dzq* m_pM3D = nullptr; // the scene's engine, owned; null until snsSrc3Dinit succeeds
    int m_bScene3DInit = 0;   // set by the paint handler after a successful snsSrc3Dinit
    CWnd* m_pOwner = nullptr; // window given to snsSrc3Dinit (the dialog holding the view)

    CArrayMEDataSetzq* m_pMEDataSet = nullptr; // bound data set, not owned
    CMEGDatazq* m_pMEGData = nullptr;          // session shown
    CMDTrialzq* m_pTrial = nullptr;            // current trial shown

    int m_chnType = kChnMeg;      // 0 MEG sensors, 1 EEG electrodes
    int m_operMode = kModeNormal; // OperMode, or a mode of the deriving view
    int m_surfHullMode = 1;       // nonzero: hull contour surface; zero: sensor fans
    int m_snsShapeSel = kShapeCube;
    int m_cntmpOn = 0;      // contour surface built and drawn while nonzero
    int m_cntmpColorOn = 1; // surface vertices take the sensors' colours
    int m_markOn = 0;       // the current channel's sensor is marked
    int m_autofitColor = 0; // colour range refitted after each window move
    int m_autofitPlace = 0;
    int m_eegMark = 0;
    float m_surfColor[4] = {0.80f, 0.80f, 0.78f, 1.0f}; // vertex colour without sensor colours

    CMOutputMerg01Setting m_outmerg;
    int m_vtxColorSrc = CMOutputMerg01Setting::kVertexLit;
    CMMaterialzq m_mat;      // the view's own drawings (spectrogram surface)
    CMMaterialzq m_matSns;   // sensors not coloured by spectrum
    CMMaterialzq m_matSurf;  // contour surface
    CMMaterialzq m_matMark;  // mark of the current sensor
    CMBasicShape m_snsShape; // electrode glyph; rebuilt by the view as cube or sphere
    int m_eltShapeSw = 0;    // 0: electrodes as cubes, else spheres

    CSnsCnvxHull4Cntmp m_hullMeg;
    CSnsCnvxHull4Cntmp m_hullEeg;
    CSnsFanData4ContourMapx m_fanMeg;
    CSnsFanData4ContourMapx m_fanEeg;
    double m_nbrDistMeg = kMegNbrDistance;
    double m_nbrDistEeg = kEegNbrDistance;
    // Sensor sphere: least-squares centre, fitted radius and the radius limit (the largest
    // distance of a sensor from the centre).
    float m_snsSphereCenter[3] = {0.0f, 0.0f, 0.0f};
    float m_snsSphereRadius = 0.0f; // radius limit
    float m_snsSphereFit = 0.0f;    // fitted radius

    // Scene frame fitted to the sensors (autofitSensorCenter), applied to the engine.
    float m_snsCenter[3] = {0.0f, 0.0f, 0.0f};
    float m_snsExtent = 0.0f; // 0 while not fitted
    // Colour range of getD3DColor4ChnVStd (autofitColor2MeasureData).
    double m_clrLower = 0.0;
    double m_clrUpper = 0.0;

    CPoint m_ptLast;             // last mouse point of a drag, client coordinates
    CPoint m_ptAnchor;           // where the drag began
    float m_snsSizeScale = 1.0f; // glyph size factor that the sensor-size mode drags
    int m_pickChn = -1;          // channel picked last, -1 none

    // Host callback and its owner window: stored for the host, never called here.
    int (*m_cbfHost)(int, int) = nullptr;
    CWnd* m_pCbfOwner = nullptr;

    // Glyphs in model space (unit orientation +z), made by CStatD3DM02Coils.
    CMBasicShape m_coilShape;
    CMBasicShape m_dirShape;
    CMBasicShape m_markShape;
    CMBasicShape m_eltCube;
    CMBasicShape m_eltBall;
    CMBasicShape m_eltTorus;
};
