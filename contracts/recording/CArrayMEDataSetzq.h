// The instantiated data set.
#pragma once

#include "recording/CArrayMEDataSet.h"

class CArrayMEDataSetzq : public CArrayMEDataSet {};
