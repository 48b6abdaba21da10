// CRuntimeClass: the class record behind MFC's runtime type information.
#pragma once

#include "win/WinDefs.h"

class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    // True when this class is pBase or derives from it.
    BOOL IsDerivedFrom(const CRuntimeClass* pBase) const;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

// Runtime class of a class: DECLARE_DYNAMIC in the class, IMPLEMENT_DYNAMIC in one source.
#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static const CRuntimeClass class##class_name;                                                  \
    virtual const CRuntimeClass* GetRuntimeClass() const;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    const CRuntimeClass class_name::class##class_name = {                                          \
        #class_name, static_cast<int>(sizeof(class_name)), 0xFFFF, nullptr,                        \
        RUNTIME_CLASS(base_class_name)};                                                           \
    const CRuntimeClass* class_name::GetRuntimeClass() const {                                     \
        return RUNTIME_CLASS(class_name);                                                          \
    }
