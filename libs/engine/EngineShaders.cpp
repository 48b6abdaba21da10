// The engine's shaders: per-pixel, two-sided lighting in view space.
#include "EngineShaders.h"

const char* const kEngineVertexShader = R"(#version 330 core
layout(location = 0) in vec4 inPos;
layout(location = 1) in vec4 inNml;
layout(location = 2) in vec4 inClr;
layout(std140) uniform VSCB0 { mat4 wvp; mat4 wv; };
out vec3 vNml;
out vec3 vPosView;
out vec4 vClr;
void main() {
    vec4 p = vec4(inPos.xyz, 1.0);
    gl_Position = wvp * p;
    vPosView = (wv * p).xyz;
    vNml = mat3(wv) * inNml.xyz;
    vClr = inClr;
}
)";

// A surface facing the light shows its colour unchanged; turned away it darkens towards the
// ambient share. Normals are flipped towards the eye, so both sides are lit alike.
const char* const kEnginePixelShader = R"(#version 330 core
layout(std140) uniform PSCB0 { vec4 lAmbient; vec4 lDiffuse; vec4 lSpecular; vec4 lDir; };
layout(std140) uniform PSCB1 { vec4 mColor; vec4 mDasp; };
layout(std140) uniform PSCB2 { ivec4 om; };
in vec3 vNml;
in vec3 vPosView;
in vec4 vClr;
out vec4 fragColor;
void main() {
    bool material = om.x == 0;
    vec4 base = material ? mColor : vClr;
    if (om.x == 2 || om.y == 0) {
        fragColor = base;
        return;
    }
    vec3 toEye = length(vPosView) > 0.0 ? normalize(-vPosView) : vec3(0.0, 0.0, 1.0);
    vec3 n = length(vNml) > 1e-20 ? normalize(vNml) : toEye;
    if (dot(n, toEye) < 0.0) n = -n;
    vec3 toLight = length(lDir.xyz) > 0.0 ? normalize(-lDir.xyz) : vec3(0.0, 0.0, 1.0);
    float ndl = max(dot(n, toLight), 0.0);
    vec3 amb = lAmbient.rgb * (material ? mDasp.y : 1.0);
    vec3 dif = lDiffuse.rgb * (material ? mDasp.x : 1.0);
    vec3 shade = (amb + dif * ndl) / max(amb + dif, vec3(1e-4));
    float highlight = pow(max(dot(n, normalize(toLight + toEye)), 0.0), max(mDasp.w, 1.0)) * mDasp.z;
    fragColor = vec4(base.rgb * shade + lSpecular.rgb * highlight, base.a);
}
)";
