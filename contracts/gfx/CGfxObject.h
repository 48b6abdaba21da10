// Reference-counted base of every device object, released as in Direct3D.
#pragma once

class CGfxObject {
public:
    CGfxObject() = default;
    CGfxObject(const CGfxObject&) = delete;
    CGfxObject& operator=(const CGfxObject&) = delete;

    unsigned long AddRef() { return ++m_refs; }
    // Deletes the object when the last reference goes; returns the references left.
    unsigned long Release();

protected:
    virtual ~CGfxObject() = default;

private:
    unsigned long m_refs = 1;
};
