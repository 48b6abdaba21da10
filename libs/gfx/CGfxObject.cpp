// Reference counting of device objects.
#include "gfx/CGfxObject.h"

#include "GfxInternal.h"

unsigned long CGfxObject::Release() {
    if (--m_refs > 0) {
        return m_refs;
    }
    gfxForget(this);
    delete this;
    return 0;
}
