#pragma once
// The XML document wrapper of the class library, over pugixml. A document parses a reply and
// hands out node objects that it owns; a node's class is chosen by the registrations its parent
// made for the child's tag, so typed bindings sit on top without any logic of their own.
// Child lookup by name creates a missing element (automatic node creation), so reading a field
// that a reply lacks gives an empty text instead of an error.
#include "SysUtils.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

class TXMLDocument;
class TXMLNode;

// The parser's own complaint about text that is not well-formed XML.
class EDOMParseError : public Exception { using Exception::Exception; };
// A node asked for a binding it cannot give.
class EXMLDocError : public Exception { using Exception::Exception; };

using TXMLNodeFactory = std::function<std::unique_ptr<TXMLNode>()>;

template <typename T>
TXMLNodeFactory XMLNodeClass()
{
    return [] { return std::make_unique<T>(); };
}

class TXMLNode {
public:
    TXMLNode() = default;
    virtual ~TXMLNode() = default;
    TXMLNode(const TXMLNode&) = delete;
    TXMLNode& operator=(const TXMLNode&) = delete;

    String NodeName() const;
    // The element's text: its first text or CDATA child.
    String Text() const;
    void SetText(const String& text);
    String Attribute(const String& name) const;  // empty when absent
    void SetAttribute(const String& name, const String& value);
    bool HasChildNode(const String& name) const;
    // The first child element of that name, created empty when there is none.
    TXMLNode* ChildNode(const String& name);
    // Text of the child element of that name (created when missing).
    String ChildValue(const String& name) { return ChildNode(name)->Text(); }
    void SetChildValue(const String& name, const String& value) { ChildNode(name)->SetText(value); }
    // Children of one tag, in document order.
    std::vector<TXMLNode*> ChildrenNamed(const String& name);
    TXMLDocument* OwnerDocument() const { return document_; }

protected:
    // Run once the node is bound; bindings register their child classes here.
    virtual void AfterConstruction() {}
    void RegisterChildNode(const String& tag, TXMLNodeFactory factory);
    // A new element of that tag, bound, appended (index -1) or inserted before the index-th
    // child of that tag.
    TXMLNode* CreateChild(const String& tag, int index);
    // The node object of a child element, bound by the registration for its tag.
    TXMLNode* ChildFor(void* node, const String& tag);
    // Removes a child element with its subtree; their node objects are freed.
    void RemoveChild(TXMLNode* child);

    void* node_ = nullptr;  // pugi::xml_node_struct*
    // Grows with every change this node makes to its children.
    unsigned childrenVersion_ = 0;

private:
    friend class TXMLDocument;
    TXMLDocument* document_ = nullptr;
    std::map<String, TXMLNodeFactory> childClasses_;
};

// A node whose children of one tag form a list.
class TXMLNodeCollection : public TXMLNode {
public:
    int Count();
    // The index-th child of the item tag; EListError outside 0..Count-1.
    TXMLNode* Node(int index);
    TXMLNode* AddItem(int index);  // -1 appends
    void Delete(int index);
    void Clear();

protected:
    String ItemTag;

private:
    // The item elements in order, kept while the children stay as they were, so that reading
    // the items one by one does not walk the list from its start each time.
    void Refresh();
    std::vector<void*> items_;
    unsigned itemsVersion_ = ~0u;
};

class TXMLDocument {
public:
    TXMLDocument();
    ~TXMLDocument();
    TXMLDocument(const TXMLDocument&) = delete;
    TXMLDocument& operator=(const TXMLDocument&) = delete;

    // Parses the bytes of a document; the encoding comes from its byte-order mark or its
    // declaration (UTF-8, UTF-16, UTF-32, ISO-8859-1 and Windows-1252), UTF-8 otherwise.
    // Raises EDOMParseError with the parser's message when the bytes are not well-formed.
    void LoadFromXML(const std::string& bytes);
    String SaveToXML() const;
    TXMLNode* DocumentElement();
    // Binds the document element under the tag to the class, creating the element in an
    // empty document; EXMLDocError when the document element has another name.
    TXMLNode* GetDocBinding(const String& tag, TXMLNodeFactory factory);

private:
    friend class TXMLNode;
    TXMLNode* Bind(void* node, const TXMLNodeFactory* factory);
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Parses bytes into a new document.
std::shared_ptr<TXMLDocument> LoadXMLData(const std::string& bytes);
