// Renderer layer kept in the chain for its place; it adds nothing.
#pragma once

#include "render/CMEGSpctm3DRnd08Contourmap01Std.h"

class CMEGSpctm3DRnd09File : public CMEGSpctm3DRnd08Contourmap01Std {};
