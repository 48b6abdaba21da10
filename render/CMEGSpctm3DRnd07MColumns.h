// Renderer layer kept in the chain for its place; it adds nothing.
#pragma once

#include "render/CMEGSpctm3DRnd06OneChnl01Std.h"

class CMEGSpctm3DRnd07MColumns : public CMEGSpctm3DRnd06OneChnl01Std {};
