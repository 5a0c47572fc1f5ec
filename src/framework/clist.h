#pragma once
// Doubly linked list of values in the shape the record lists use (MFC's
// CList). Nodes come from blocks of a fixed number of nodes and stay at the
// same address while they are in the list, so a POSITION may be kept, for
// instance as a list-view row's item data. The blocks are freed when the list
// becomes empty. Free of windows.h.
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

struct __POSITION {};
using POSITION = __POSITION*;

template <class TYPE, class ARG_TYPE = const TYPE&> class CList {
public:
    explicit CList(int nBlockSize = 10) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;
    ~CList() { RemoveAll(); }

    int GetCount() const { return m_nCount; }
    bool IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return m_pNodeHead->data; }
    const TYPE& GetHead() const { return m_pNodeHead->data; }
    TYPE& GetTail() { return m_pNodeTail->data; }
    const TYPE& GetTail() const { return m_pNodeTail->data; }

    POSITION GetHeadPosition() const { return ToPos(m_pNodeHead); }
    POSITION GetTailPosition() const { return ToPos(m_pNodeTail); }

    TYPE& GetNext(POSITION& rPosition) {
        Node* node = ToNode(rPosition);
        rPosition = ToPos(node->pNext);
        return node->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const {
        Node* node = ToNode(rPosition);
        rPosition = ToPos(node->pNext);
        return node->data;
    }
    TYPE& GetPrev(POSITION& rPosition) {
        Node* node = ToNode(rPosition);
        rPosition = ToPos(node->pPrev);
        return node->data;
    }
    // Whether the position is one of this list's; a walk of the list.
    bool Contains(POSITION position) const {
        for (Node* node = m_pNodeHead; node; node = node->pNext)
            if (ToPos(node) == position)
                return true;
        return false;
    }
    TYPE& GetAt(POSITION position) { return ToNode(position)->data; }
    const TYPE& GetAt(POSITION position) const { return ToNode(position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { ToNode(pos)->data = newElement; }

    POSITION AddHead(ARG_TYPE newElement) { return Link(nullptr, m_pNodeHead, newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return Link(m_pNodeTail, nullptr, newElement); }
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
        if (!position)
            return AddHead(newElement);
        Node* old = ToNode(position);
        return Link(old->pPrev, old, newElement);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
        if (!position)
            return AddTail(newElement);
        Node* old = ToNode(position);
        return Link(old, old->pNext, newElement);
    }

    TYPE RemoveHead() {
        Node* node = m_pNodeHead;
        TYPE value = node->data;
        RemoveAt(ToPos(node));
        return value;
    }
    TYPE RemoveTail() {
        Node* node = m_pNodeTail;
        TYPE value = node->data;
        RemoveAt(ToPos(node));
        return value;
    }
    void RemoveAt(POSITION position) {
        Node* node = ToNode(position);
        if (node == m_pNodeHead)
            m_pNodeHead = node->pNext;
        else
            node->pPrev->pNext = node->pNext;
        if (node == m_pNodeTail)
            m_pNodeTail = node->pPrev;
        else
            node->pNext->pPrev = node->pPrev;
        FreeNode(node);
    }
    void RemoveAll() {
        for (Node* node = m_pNodeHead; node; node = node->pNext)
            node->data.~TYPE();
        m_pNodeHead = m_pNodeTail = nullptr;
        m_pNodeFree = nullptr;
        m_nCount = 0;
        while (m_pBlocks) {
            Block* next = m_pBlocks->pNext;
            ::operator delete(m_pBlocks);
            m_pBlocks = next;
        }
    }

    // A walk: head to tail, the position of the first value for which the
    // callback (value, its position, the context) gives non-zero, or null.
    // The next position is taken first, so the callback may remove the value
    // it is given; with a callback that always gives 0 it is a for-each.
    using FindCallback = int32_t (*)(const TYPE* pValue, POSITION pos, void* pContext);
    POSITION FindIf(FindCallback pfnCallback, void* pContext) const {
        for (Node* node = m_pNodeHead; node;) {
            Node* next = node->pNext;
            if (pfnCallback(&node->data, ToPos(node), pContext))
                return ToPos(node);
            node = next;
        }
        return nullptr;
    }

private:
    struct Node {
        Node* pNext;
        Node* pPrev;
        TYPE data;
    };
    struct Block {
        Block* pNext;
    };
    // Nodes follow the block header, suitably aligned.
    static constexpr size_t kHeader =
        (sizeof(Block) + alignof(Node) - 1) / alignof(Node) * alignof(Node);

    static POSITION ToPos(Node* node) { return reinterpret_cast<POSITION>(node); }
    static Node* ToNode(POSITION pos) { return reinterpret_cast<Node*>(pos); }

    // A new node between two neighbours (null: the end of the list there).
    POSITION Link(Node* pPrev, Node* pNext, ARG_TYPE newElement) {
        Node* node = NewNode(pPrev, pNext, newElement);
        (pPrev ? pPrev->pNext : m_pNodeHead) = node;
        (pNext ? pNext->pPrev : m_pNodeTail) = node;
        return ToPos(node);
    }
    Node* NewNode(Node* pPrev, Node* pNext, ARG_TYPE value) {
        if (!m_pNodeFree) {
            void* raw = ::operator new(kHeader + sizeof(Node) * static_cast<size_t>(m_nBlockSize));
            Block* block = static_cast<Block*>(raw);
            block->pNext = m_pBlocks;
            m_pBlocks = block;
            Node* nodes = reinterpret_cast<Node*>(static_cast<char*>(raw) + kHeader);
            for (int i = m_nBlockSize - 1; i >= 0; --i) {
                nodes[i].pNext = m_pNodeFree;
                m_pNodeFree = &nodes[i];
            }
        }
        Node* node = m_pNodeFree;
        m_pNodeFree = node->pNext;
        new (&node->data) TYPE(value);
        node->pPrev = pPrev;
        node->pNext = pNext;
        ++m_nCount;
        return node;
    }
    void FreeNode(Node* node) {
        node->data.~TYPE();
        node->pNext = m_pNodeFree;
        m_pNodeFree = node;
        if (--m_nCount == 0)
            RemoveAll();
    }

    Node* m_pNodeHead = nullptr;
    Node* m_pNodeTail = nullptr;
    Node* m_pNodeFree = nullptr;
    Block* m_pBlocks = nullptr;
    int m_nCount = 0;
    int m_nBlockSize;
};
