// The lists, arrays and maps of the model, with MFC's iteration order and archive forms.
#pragma once

#include "platform/archive.h"

#include <cstring>
#include <functional>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Element serialisation: plain values are written as their raw little-endian bytes.

template <class T> void SerializeElements(CArchive& ar, T* elements, size_t count) {
    if constexpr (std::is_same_v<T, CString>) {
        for (size_t i = 0; i < count; ++i) {
            if (ar.IsStoring())
                ar << elements[i];
            else
                ar >> elements[i];
        }
    } else {
        static_assert(std::is_trivially_copyable_v<T>, "no archive form for this element type");
        if (ar.IsStoring())
            ar.Write(elements, UINT(count * sizeof(T)));
        else
            ar.Read(elements, UINT(count * sizeof(T)));
    }
}

template <class T> constexpr size_t HxElementMinBytes() {
    if constexpr (std::is_same_v<T, CString>)
        return 1;
    else
        return sizeof(T);
}

// ---------------------------------------------------------------------------------------------
// CList: a doubly linked list addressed by POSITION.

template <class TYPE, class ARG_TYPE = const TYPE&> class CList {
    struct Node {
        Node* next;
        Node* prev;
        TYPE data;
    };

public:
    CList() = default;
    explicit CList(int /*blockSize*/) {}
    CList(const CList& o) { AddTail(o); }
    CList& operator=(const CList& o) {
        if (this != &o) {
            RemoveAll();
            AddTail(o);
        }
        return *this;
    }
    ~CList() { RemoveAll(); }

    int GetCount() const { return m_count; }
    int GetSize() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    TYPE& GetHead() { return m_head->data; }
    const TYPE& GetHead() const { return m_head->data; }
    TYPE& GetTail() { return m_tail->data; }
    const TYPE& GetTail() const { return m_tail->data; }

    TYPE RemoveHead() {
        Node* n = m_head;
        TYPE v = std::move(n->data);
        Unlink(n);
        return v;
    }
    TYPE RemoveTail() {
        Node* n = m_tail;
        TYPE v = std::move(n->data);
        Unlink(n);
        return v;
    }
    POSITION AddHead(ARG_TYPE v) { return Pos(InsertNode(nullptr, m_head, v)); }
    POSITION AddTail(ARG_TYPE v) { return Pos(InsertNode(m_tail, nullptr, v)); }
    void AddTail(const CList& o) {
        for (Node* n = o.m_head; n; n = n->next)
            AddTail(n->data);
    }
    void AddTail(const CList* o) { AddTail(*o); }
    void AddHead(const CList& o) {
        for (Node* n = o.m_tail; n; n = n->prev)
            AddHead(n->data);
    }
    void RemoveAll() {
        Node* n = m_head;
        while (n) {
            Node* next = n->next;
            delete n;
            n = next;
        }
        m_head = m_tail = nullptr;
        m_count = 0;
    }

    POSITION GetHeadPosition() const { return Pos(m_head); }
    POSITION GetTailPosition() const { return Pos(m_tail); }
    TYPE& GetNext(POSITION& p) {
        Node* n = NodeOf(p);
        p = Pos(n->next);
        return n->data;
    }
    const TYPE& GetNext(POSITION& p) const {
        Node* n = NodeOf(p);
        p = Pos(n->next);
        return n->data;
    }
    TYPE& GetPrev(POSITION& p) {
        Node* n = NodeOf(p);
        p = Pos(n->prev);
        return n->data;
    }
    const TYPE& GetPrev(POSITION& p) const {
        Node* n = NodeOf(p);
        p = Pos(n->prev);
        return n->data;
    }
    TYPE& GetAt(POSITION p) { return NodeOf(p)->data; }
    const TYPE& GetAt(POSITION p) const { return NodeOf(p)->data; }
    void SetAt(POSITION p, ARG_TYPE v) { NodeOf(p)->data = v; }
    void RemoveAt(POSITION p) { Unlink(NodeOf(p)); }
    POSITION InsertBefore(POSITION p, ARG_TYPE v) {
        if (!p)
            return AddHead(v);
        Node* at = NodeOf(p);
        return Pos(InsertNode(at->prev, at, v));
    }
    POSITION InsertAfter(POSITION p, ARG_TYPE v) {
        if (!p)
            return AddTail(v);
        Node* at = NodeOf(p);
        return Pos(InsertNode(at, at->next, v));
    }
    // The first position holding v, searching after startAfter (from the head when null).
    POSITION Find(ARG_TYPE v, POSITION startAfter = nullptr) const {
        Node* n = startAfter ? NodeOf(startAfter)->next : m_head;
        for (; n; n = n->next)
            if (n->data == v)
                return Pos(n);
        return nullptr;
    }
    // The position of the 0-based index, null past the end.
    POSITION FindIndex(int index) const {
        if (index < 0 || index >= m_count)
            return nullptr;
        Node* n = m_head;
        while (index-- > 0)
            n = n->next;
        return Pos(n);
    }

    void Serialize(CArchive& ar) {
        if (ar.IsStoring()) {
            ar.WriteCount(ULONGLONG(m_count));
            for (Node* n = m_head; n; n = n->next)
                SerializeElements<TYPE>(ar, &n->data, 1);
        } else {
            DWORD count = ar.ReadCount();
            ar.CheckCount(count, HxElementMinBytes<TYPE>());
            while (count--) {
                TYPE v{};
                SerializeElements<TYPE>(ar, &v, 1);
                AddTail(v);
            }
        }
    }

    // Range-for over the values, head to tail.
    class Iter {
    public:
        explicit Iter(Node* n) : m_n(n) {}
        TYPE& operator*() const { return m_n->data; }
        Iter& operator++() { m_n = m_n->next; return *this; }
        bool operator!=(const Iter& o) const { return m_n != o.m_n; }
    private:
        Node* m_n;
    };
    Iter begin() const { return Iter(m_head); }
    Iter end() const { return Iter(nullptr); }

private:
    static POSITION Pos(Node* n) { return reinterpret_cast<POSITION>(n); }
    static Node* NodeOf(POSITION p) { return reinterpret_cast<Node*>(p); }
    Node* InsertNode(Node* prev, Node* next, ARG_TYPE v) {
        Node* n = new Node{next, prev, TYPE(v)};
        if (prev)
            prev->next = n;
        else
            m_head = n;
        if (next)
            next->prev = n;
        else
            m_tail = n;
        ++m_count;
        return n;
    }
    void Unlink(Node* n) {
        if (n->prev)
            n->prev->next = n->next;
        else
            m_head = n->next;
        if (n->next)
            n->next->prev = n->prev;
        else
            m_tail = n->prev;
        --m_count;
        delete n;
    }

    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    int m_count = 0;
};

// ---------------------------------------------------------------------------------------------
// CArray: a growable array.

template <class TYPE, class ARG_TYPE = const TYPE&> class CArray {
public:
    CArray() = default;
    int GetSize() const { return int(m_v.size()); }
    int GetCount() const { return int(m_v.size()); }
    bool IsEmpty() const { return m_v.empty(); }
    int GetUpperBound() const { return int(m_v.size()) - 1; }
    void SetSize(int n, int /*growBy*/ = -1) { m_v.resize(size_t(std::max(n, 0))); }
    void FreeExtra() { m_v.shrink_to_fit(); }
    void RemoveAll() { m_v.clear(); }
    const TYPE& GetAt(int i) const { return m_v.at(size_t(i)); }
    TYPE& GetAt(int i) { return m_v.at(size_t(i)); }
    void SetAt(int i, ARG_TYPE v) { m_v.at(size_t(i)) = v; }
    TYPE& ElementAt(int i) { return m_v.at(size_t(i)); }
    const TYPE& operator[](int i) const { return m_v.at(size_t(i)); }
    TYPE& operator[](int i) { return m_v.at(size_t(i)); }
    TYPE* GetData() { return m_v.data(); }
    const TYPE* GetData() const { return m_v.data(); }
    void SetAtGrow(int i, ARG_TYPE v) {
        if (i >= GetSize())
            m_v.resize(size_t(i) + 1);
        m_v.at(size_t(i)) = v;
    }
    int Add(ARG_TYPE v) {
        m_v.push_back(v);
        return GetSize() - 1;
    }
    int Append(const CArray& o) {
        int first = GetSize();
        m_v.insert(m_v.end(), o.m_v.begin(), o.m_v.end());
        return first;
    }
    void Copy(const CArray& o) { m_v = o.m_v; }
    void InsertAt(int i, ARG_TYPE v, int count = 1) {
        if (i > GetSize())
            m_v.resize(size_t(i));
        m_v.insert(m_v.begin() + i, size_t(count), v);
    }
    void RemoveAt(int i, int count = 1) {
        if (i < 0 || count <= 0 || i >= GetSize())
            return;
        count = std::min(count, GetSize() - i);
        m_v.erase(m_v.begin() + i, m_v.begin() + i + count);
    }

    void Serialize(CArchive& ar) {
        if (ar.IsStoring()) {
            ar.WriteCount(m_v.size());
            if (!m_v.empty())
                SerializeElements<TYPE>(ar, m_v.data(), m_v.size());
        } else {
            DWORD count = ar.ReadCount();
            ar.CheckCount(count, HxElementMinBytes<TYPE>());
            m_v.assign(count, TYPE{});
            if (count)
                SerializeElements<TYPE>(ar, m_v.data(), m_v.size());
        }
    }

    auto begin() { return m_v.begin(); }
    auto end() { return m_v.end(); }
    auto begin() const { return m_v.begin(); }
    auto end() const { return m_v.end(); }
    std::vector<TYPE>& Vector() { return m_v; }
    const std::vector<TYPE>& Vector() const { return m_v; }

private:
    std::vector<TYPE> m_v;
};

class CWordArray : public CObject, public CArray<WORD, WORD> {
    DECLARE_SERIAL(CWordArray)
public:
    void Serialize(CArchive& ar) override { CArray<WORD, WORD>::Serialize(ar); }
};

class CDWordArray : public CObject, public CArray<DWORD, DWORD> {
    DECLARE_SERIAL(CDWordArray)
public:
    void Serialize(CArchive& ar) override { CArray<DWORD, DWORD>::Serialize(ar); }
};

class CStringArray : public CObject, public CArray<CString, const CString&> {
    DECLARE_SERIAL(CStringArray)
public:
    void Serialize(CArchive& ar) override { CArray<CString, const CString&>::Serialize(ar); }
};

// ---------------------------------------------------------------------------------------------
// Object lists and arrays: elements are written as object references with their class.

class CObList : public CObject, public CList<CObject*, CObject*> {
    DECLARE_SERIAL(CObList)
public:
    // Loading reads objects of `elementClass` (or derived); anything else is refused.
    void SerializeAs(CArchive& ar, const CRuntimeClass* elementClass);
    void Serialize(CArchive& ar) override { SerializeAs(ar, RUNTIME_CLASS(CObject)); }
};

class CObArray : public CObject, public CArray<CObject*, CObject*> {
    DECLARE_SERIAL(CObArray)
public:
    void SerializeAs(CArchive& ar, const CRuntimeClass* elementClass);
    void Serialize(CArchive& ar) override { SerializeAs(ar, RUNTIME_CLASS(CObject)); }
};

class CPtrList : public CList<void*, void*> {};
class CPtrArray : public CArray<void*, void*> {};

// ---------------------------------------------------------------------------------------------
// CMap: MFC's hash map.  Keys hash to (key >> 4) % table size for integers, buckets are walked
// from 0 up and inside a bucket the most recently inserted key comes first.  A side index keeps
// lookups constant-time.

template <class KEY> inline UINT HashKey(const KEY& key) {
    if constexpr (std::is_integral_v<KEY> || std::is_enum_v<KEY>)
        return UINT((std::uintptr_t)(key) >> 4);
    else if constexpr (std::is_pointer_v<KEY>)
        return UINT(reinterpret_cast<std::uintptr_t>(key) >> 4);
    else if constexpr (std::is_same_v<KEY, CString>) {
        UINT h = 0;
        for (char16_t c : key.Str())
            h = (h << 5) + h + c;
        return h;
    } else
        return UINT(std::hash<KEY>()(key));
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> class CMap {
    struct Assoc {
        Assoc* next; // in its bucket
        Assoc* prev;
        UINT bucket;
        KEY key;
        VALUE value;
    };

public:
    explicit CMap(int /*blockSize*/ = 10) {}
    CMap(const CMap&) = delete;
    CMap& operator=(const CMap&) = delete;
    ~CMap() { RemoveAll(); }

    int GetCount() const { return int(m_index.size()); }
    int GetSize() const { return int(m_index.size()); }
    bool IsEmpty() const { return m_index.empty(); }
    UINT GetHashTableSize() const { return m_tableSize; }

    // Changes the number of buckets; only while the map is empty.
    void InitHashTable(UINT size, bool = true) {
        if (IsEmpty() && size > 0)
            m_tableSize = size;
    }

    bool Lookup(ARG_KEY key, VALUE& value) const {
        auto it = m_index.find(key);
        if (it == m_index.end())
            return false;
        value = it->second->value;
        return true;
    }
    bool Contains(ARG_KEY key) const { return m_index.count(key) != 0; }
    VALUE* PLookup(ARG_KEY key) {
        auto it = m_index.find(key);
        return it == m_index.end() ? nullptr : &it->second->value;
    }
    VALUE& operator[](ARG_KEY key) {
        auto it = m_index.find(key);
        if (it != m_index.end())
            return it->second->value;
        return NewAssoc(key)->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }
    bool RemoveKey(ARG_KEY key) {
        auto it = m_index.find(key);
        if (it == m_index.end())
            return false;
        Assoc* a = it->second;
        m_index.erase(it);
        if (a->prev)
            a->prev->next = a->next;
        else
            m_buckets[a->bucket] = a->next;
        if (a->next)
            a->next->prev = a->prev;
        delete a;
        if (m_index.empty())
            m_buckets.clear();
        return true;
    }
    void RemoveAll() {
        for (Assoc* head : m_buckets) {
            while (head) {
                Assoc* next = head->next;
                delete head;
                head = next;
            }
        }
        m_buckets.clear();
        m_index.clear();
    }

    POSITION GetStartPosition() const {
        for (Assoc* head : m_buckets)
            if (head)
                return reinterpret_cast<POSITION>(head);
        return nullptr;
    }
    void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const {
        Assoc* a = reinterpret_cast<Assoc*>(pos);
        key = a->key;
        value = a->value;
        Assoc* next = a->next;
        for (UINT b = a->bucket + 1; !next && b < m_buckets.size(); ++b)
            next = m_buckets[b];
        pos = reinterpret_cast<POSITION>(next);
    }

    // Every key in iteration order.
    std::vector<KEY> Keys() const {
        std::vector<KEY> keys;
        keys.reserve(m_index.size());
        for (Assoc* head : m_buckets)
            for (Assoc* a = head; a; a = a->next)
                keys.push_back(a->key);
        return keys;
    }

private:
    Assoc* NewAssoc(ARG_KEY key) {
        if (m_buckets.empty())
            m_buckets.assign(m_tableSize, nullptr);
        UINT b = HashKey<KEY>(KEY(key)) % m_tableSize;
        Assoc* a = new Assoc{m_buckets[b], nullptr, b, KEY(key), VALUE{}};
        if (a->next)
            a->next->prev = a;
        m_buckets[b] = a;
        m_index.emplace(KEY(key), a);
        return a;
    }

    UINT m_tableSize = 17;
    std::vector<Assoc*> m_buckets;
    std::unordered_map<KEY, Assoc*> m_index;
};

class CMapWordToOb : public CObject, public CMap<WORD, WORD, CObject*, CObject*> {
    DECLARE_SERIAL(CMapWordToOb)
public:
    // Loading reads objects of `valueClass`; a duplicate key or an object of another class is
    // refused (the object just read is deleted before the exception leaves).
    void SerializeAs(CArchive& ar, const CRuntimeClass* valueClass);
    void Serialize(CArchive& ar) override { SerializeAs(ar, RUNTIME_CLASS(CObject)); }
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {};
class CMapStringToPtr : public CMap<CString, const char16_t*, void*, void*> {};

// ---------------------------------------------------------------------------------------------
// Typed wrappers over the object containers.

template <class BASE, class TYPE> class CTypedPtrList : public BASE {
public:
    TYPE GetHead() const { return static_cast<TYPE>(const_cast<CTypedPtrList*>(this)->BASE::GetHead()); }
    TYPE GetTail() const { return static_cast<TYPE>(const_cast<CTypedPtrList*>(this)->BASE::GetTail()); }
    TYPE RemoveHead() { return static_cast<TYPE>(BASE::RemoveHead()); }
    TYPE RemoveTail() { return static_cast<TYPE>(BASE::RemoveTail()); }
    TYPE GetNext(POSITION& p) const { return static_cast<TYPE>(const_cast<CTypedPtrList*>(this)->BASE::GetNext(p)); }
    TYPE GetPrev(POSITION& p) const { return static_cast<TYPE>(const_cast<CTypedPtrList*>(this)->BASE::GetPrev(p)); }
    TYPE GetAt(POSITION p) const { return static_cast<TYPE>(const_cast<CTypedPtrList*>(this)->BASE::GetAt(p)); }
    POSITION AddHead(TYPE v) { return BASE::AddHead(v); }
    POSITION AddTail(TYPE v) { return BASE::AddTail(v); }
    POSITION InsertBefore(POSITION p, TYPE v) { return BASE::InsertBefore(p, v); }
    POSITION InsertAfter(POSITION p, TYPE v) { return BASE::InsertAfter(p, v); }
    void SetAt(POSITION p, TYPE v) { BASE::SetAt(p, v); }
    POSITION Find(TYPE v, POSITION startAfter = nullptr) const { return BASE::Find(v, startAfter); }
    // Loading refuses elements that are not of TYPE's class.
    void Serialize(CArchive& ar) override {
        BASE::SerializeAs(ar, std::remove_pointer_t<TYPE>::GetThisClass());
    }
};

template <class BASE, class TYPE> class CTypedPtrArray : public BASE {
public:
    TYPE GetAt(int i) const { return static_cast<TYPE>(BASE::GetAt(i)); }
    TYPE operator[](int i) const { return static_cast<TYPE>(BASE::GetAt(i)); }
    void SetAt(int i, TYPE v) { BASE::SetAt(i, v); }
    void SetAtGrow(int i, TYPE v) { BASE::SetAtGrow(i, v); }
    int Add(TYPE v) { return BASE::Add(v); }
    void InsertAt(int i, TYPE v, int count = 1) { BASE::InsertAt(i, v, count); }
    void Serialize(CArchive& ar) override {
        BASE::SerializeAs(ar, std::remove_pointer_t<TYPE>::GetThisClass());
    }
};

template <class BASE, class KEY, class VALUE> class CTypedPtrMap : public BASE {
public:
    bool Lookup(KEY key, VALUE& value) const {
        CObject* v = nullptr;
        if (!BASE::Lookup(key, v))
            return false;
        value = static_cast<VALUE>(v);
        return true;
    }
    // The value of key, or null when the key is not in the map.
    VALUE Find(KEY key) const {
        CObject* v = nullptr;
        return BASE::Lookup(key, v) ? static_cast<VALUE>(v) : nullptr;
    }
    void SetAt(KEY key, VALUE value) { BASE::SetAt(key, value); }
    void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const {
        CObject* v = nullptr;
        BASE::GetNextAssoc(pos, key, v);
        value = static_cast<VALUE>(v);
    }
    void Serialize(CArchive& ar) override {
        BASE::SerializeAs(ar, std::remove_pointer_t<VALUE>::GetThisClass());
    }
};
