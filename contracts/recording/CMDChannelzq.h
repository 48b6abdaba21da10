// The instantiated channel.
#pragma once

#include "recording/CMDChannel1Spctm.h"

class CMDChannelzq : public CMDChannel1Spctm {};
