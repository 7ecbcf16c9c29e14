// The class registry behind dynamic creation.
#include "platform/object.h"

#include <cstring>
#include <map>
#include <string>

namespace {
std::map<std::string, const CRuntimeClass*>& Registry() {
    static std::map<std::string, const CRuntimeClass*> registry;
    return registry;
}
} // namespace

const CRuntimeClass CObject::classCObject = {"CObject", int(sizeof(CObject)), 0xFFFF, nullptr, nullptr};
IMPLEMENT_DYNAMIC(CException, CObject)

void CObject::Serialize(CArchive&) {}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == base)
            return true;
    return false;
}

const CRuntimeClass* CRuntimeClass::FromName(const char* name) {
    auto it = Registry().find(name ? name : "");
    return it == Registry().end() ? nullptr : it->second;
}

void CRuntimeClass::Register(const CRuntimeClass* cls) {
    if (cls && cls->m_lpszClassName)
        Registry()[cls->m_lpszClassName] = cls;
}
