// The root of the class library: CObject with its run-time class record, so
// that an object can tell its class name and ancestry (IsKindOf).
#pragma once

#include "platform/base/types.h"

struct CRuntimeClass {
    const char* m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;

    bool IsDerivedFrom(const CRuntimeClass* base) const;
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* cls) const;

    static const CRuntimeClass classCObject;
};

#define RUNTIME_CLASS(name) (&name::class##name)

// In a class declaration: gives the class its run-time class record.
#define DECLARE_DYNAMIC(name)                                 \
public:                                                       \
    static const CRuntimeClass class##name;                   \
    const CRuntimeClass* GetRuntimeClass() const override;

// In the class's source file.
#define IMPLEMENT_DYNAMIC(name, base)                                                    \
    const CRuntimeClass name::class##name = {#name, RUNTIME_CLASS(base)};                \
    const CRuntimeClass* name::GetRuntimeClass() const { return RUNTIME_CLASS(name); }
