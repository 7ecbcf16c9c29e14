// Archive forms of the object containers.
#include "platform/collections.h"

IMPLEMENT_SERIAL(CWordArray, CObject, 1)
IMPLEMENT_SERIAL(CDWordArray, CObject, 1)
IMPLEMENT_SERIAL(CStringArray, CObject, 1)
IMPLEMENT_SERIAL(CObList, CObject, 1)
IMPLEMENT_SERIAL(CObArray, CObject, 1)
IMPLEMENT_SERIAL(CMapWordToOb, CObject, 1)

void CObList::SerializeAs(CArchive& ar, const CRuntimeClass* elementClass) {
    if (ar.IsStoring()) {
        ar.WriteCount(ULONGLONG(GetCount()));
        for (POSITION p = GetHeadPosition(); p;)
            ar.WriteObject(GetNext(p));
    } else {
        DWORD count = ar.ReadCount();
        ar.CheckCount(count, 2);
        while (count--)
            AddTail(ar.ReadObject(elementClass));
    }
}

void CObArray::SerializeAs(CArchive& ar, const CRuntimeClass* elementClass) {
    if (ar.IsStoring()) {
        ar.WriteCount(ULONGLONG(GetSize()));
        for (int i = 0; i < GetSize(); ++i)
            ar.WriteObject(GetAt(i));
    } else {
        DWORD count = ar.ReadCount();
        ar.CheckCount(count, 2);
        RemoveAll();
        for (DWORD i = 0; i < count; ++i)
            Add(ar.ReadObject(elementClass));
    }
}

void CMapWordToOb::SerializeAs(CArchive& ar, const CRuntimeClass* valueClass) {
    if (ar.IsStoring()) {
        ar.WriteCount(ULONGLONG(GetCount()));
        for (POSITION p = GetStartPosition(); p;) {
            WORD key;
            CObject* value;
            GetNextAssoc(p, key, value);
            ar << key;
            ar.WriteObject(value);
        }
    } else {
        DWORD count = ar.ReadCount();
        ar.CheckCount(count, 4);
        while (count--) {
            WORD key;
            ar >> key;
            CObject* value = ar.ReadObject(valueClass);
            if (Contains(key)) {
                delete value;
                throw CArchiveException(CArchiveException::badIndex);
            }
            SetAt(key, value);
        }
    }
}
