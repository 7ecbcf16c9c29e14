// CObject and run-time classes: class tests, dynamic creation by class name, serialisation schema.
#pragma once

#include "platform/types.h"

class CObject;
class CArchive;

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema; // 0xFFFF for classes that cannot be serialised
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
    bool IsDerivedFrom(const CRuntimeClass* base) const;
    bool IsSerializable() const { return m_wSchema != 0xFFFF && m_pfnCreateObject != nullptr; }

    // The serialisable class registered under this name, or null.
    static const CRuntimeClass* FromName(const char* name);
    static void Register(const CRuntimeClass* cls);
};

// Registers a class when the program starts (one static instance per class).
struct HxClassRegistrar {
    explicit HxClassRegistrar(const CRuntimeClass* cls) { CRuntimeClass::Register(cls); }
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCObject; }
    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const {}
    virtual void Dump() const {}

    bool IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }
    bool IsSerializable() const { return GetRuntimeClass()->IsSerializable(); }

    static const CRuntimeClass classCObject;
    static const CRuntimeClass* GetThisClass() { return &classCObject; }

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(c) (&c::class##c)

#define DECLARE_DYNAMIC(c)                                                                                   \
public:                                                                                                      \
    static const CRuntimeClass class##c;                                                                     \
    static const CRuntimeClass* GetThisClass() { return &class##c; }                                         \
    const CRuntimeClass* GetRuntimeClass() const override { return &class##c; }

#define DECLARE_DYNCREATE(c)                                                                                 \
    DECLARE_DYNAMIC(c)                                                                                       \
    static CObject* CreateObject();

#define DECLARE_SERIAL(c) DECLARE_DYNCREATE(c)

#define IMPLEMENT_RUNTIMECLASS_HX(c, base, schema, pfn)                                                      \
    const CRuntimeClass c::class##c = {#c, int(sizeof(c)), schema, pfn, &base::class##base};

#define IMPLEMENT_DYNAMIC(c, base) IMPLEMENT_RUNTIMECLASS_HX(c, base, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(c, base)                                                                         \
    CObject* c::CreateObject() { return new c; }                                                             \
    IMPLEMENT_RUNTIMECLASS_HX(c, base, 0xFFFF, &c::CreateObject)                                             \
    static const HxClassRegistrar hxRegistrar_##c(&c::class##c);

#define IMPLEMENT_SERIAL(c, base, schema)                                                                    \
    CObject* c::CreateObject() { return new c; }                                                             \
    IMPLEMENT_RUNTIMECLASS_HX(c, base, schema, &c::CreateObject)                                             \
    static const HxClassRegistrar hxRegistrar_##c(&c::class##c);


// Checked downcast: null when the object is not of (a class derived from) T.
template <class T> T* HxDynamicDowncast(CObject* p) {
    return p && p->IsKindOf(T::GetThisClass()) ? static_cast<T*>(p) : nullptr;
}
template <class T> const T* HxDynamicDowncast(const CObject* p) {
    return p && p->IsKindOf(T::GetThisClass()) ? static_cast<const T*>(p) : nullptr;
}
#define DYNAMIC_DOWNCAST(c, p) HxDynamicDowncast<c>(p)
#define STATIC_DOWNCAST(c, p) HxDynamicDowncast<c>(p)

// Base of the platform's exceptions (archives and files).
class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    virtual const char* What() const { return "exception"; }
};
