#include "XMLDoc.h"

#include "Classes.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <typeinfo>
#include <unordered_map>

namespace {

pugi::xml_node Wrap(void* node) { return pugi::xml_node(static_cast<pugi::xml_node_struct*>(node)); }

String Lower(String s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The encoding named by the declaration of a document without a byte-order mark.
String DeclaredEncoding(const std::string& bytes)
{
    if (bytes.compare(0, 5, "<?xml") != 0)
        return {};
    const size_t end = bytes.find("?>");
    if (end == std::string::npos)
        return {};
    const std::string decl = bytes.substr(0, end);
    size_t at = decl.find("encoding");
    if (at == std::string::npos)
        return {};
    at = decl.find_first_of("\"'", at);
    if (at == std::string::npos)
        return {};
    const size_t close = decl.find(decl[at], at + 1);
    if (close == std::string::npos)
        return {};
    return Lower(decl.substr(at + 1, close - at - 1));
}

}  // namespace

struct TXMLDocument::Impl {
    pugi::xml_document doc;
    std::unordered_map<pugi::xml_node_struct*, std::unique_ptr<TXMLNode>> nodes;
    std::vector<std::unique_ptr<TXMLNode>> retired;

    // Wrappers of a subtree about to be removed go with it.
    void Forget(pugi::xml_node node)
    {
        for (pugi::xml_node child : node.children())
            Forget(child);
        nodes.erase(node.internal_object());
    }
};

TXMLDocument::TXMLDocument() : impl_(std::make_unique<Impl>()) {}
TXMLDocument::~TXMLDocument() = default;

void TXMLDocument::LoadFromXML(const std::string& bytes)
{
    impl_->nodes.clear();
    impl_->retired.clear();
    pugi::xml_encoding encoding = pugi::encoding_auto;
    std::string converted;
    const std::string* source = &bytes;
    const String declared = DeclaredEncoding(bytes);
    if (declared == "windows-1252" || declared == "cp1252") {
        converted = AnsiToUtf8(bytes);
        source = &converted;
        encoding = pugi::encoding_utf8;
    }
    const pugi::xml_parse_result result =
        impl_->doc.load_buffer(source->data(), source->size(), pugi::parse_default, encoding);
    if (!result)
        throw EDOMParseError(Format("%s at offset %lld", result.description(), static_cast<long long>(result.offset)));
}

String TXMLDocument::SaveToXML() const
{
    std::ostringstream out;
    impl_->doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return out.str();
}

TXMLNode* TXMLDocument::Bind(void* node, const TXMLNodeFactory* factory)
{
    auto* key = static_cast<pugi::xml_node_struct*>(node);
    auto found = impl_->nodes.find(key);
    if (found != impl_->nodes.end())
        return found->second.get();
    std::unique_ptr<TXMLNode> wrapper = factory ? (*factory)() : std::make_unique<TXMLNode>();
    wrapper->document_ = this;
    wrapper->node_ = node;
    TXMLNode* result = wrapper.get();
    impl_->nodes.emplace(key, std::move(wrapper));
    result->AfterConstruction();
    return result;
}

TXMLNode* TXMLDocument::DocumentElement()
{
    pugi::xml_node element = impl_->doc.document_element();
    return element ? Bind(element.internal_object(), nullptr) : nullptr;
}

TXMLNode* TXMLDocument::GetDocBinding(const String& tag, TXMLNodeFactory factory)
{
    pugi::xml_node element = impl_->doc.document_element();
    if (!element)
        element = impl_->doc.append_child(tag.c_str());
    else if (tag != element.name())
        throw EXMLDocError(Format("The document element is \"%s\", not \"%s\"", element.name(), tag.c_str()));
    // A plain wrapper made earlier by DocumentElement gives way to the binding; it stays
    // alive, so a caller still holding it reads the same element.
    auto found = impl_->nodes.find(element.internal_object());
    if (found != impl_->nodes.end() && typeid(*found->second) == typeid(TXMLNode)) {
        impl_->retired.push_back(std::move(found->second));
        impl_->nodes.erase(found);
    }
    return Bind(element.internal_object(), &factory);
}

std::shared_ptr<TXMLDocument> LoadXMLData(const std::string& bytes)
{
    auto document = std::make_shared<TXMLDocument>();
    document->LoadFromXML(bytes);
    return document;
}

String TXMLNode::NodeName() const { return Wrap(node_).name(); }

String TXMLNode::Text() const
{
    // A comment or a CDATA section splits an element's text into pieces; the text is all of them.
    String text;
    for (pugi::xml_node child : Wrap(node_).children())
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text += child.value();
    return text;
}

void TXMLNode::SetText(const String& text)
{
    // Every piece goes, so that the text reads back as it was set.
    pugi::xml_node node = Wrap(node_);
    for (pugi::xml_node child = node.first_child(); child;) {
        pugi::xml_node next = child.next_sibling();
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            node.remove_child(child);
        child = next;
    }
    node.text().set(text.c_str());
    ++childrenVersion_;
}

String TXMLNode::Attribute(const String& name) const { return Wrap(node_).attribute(name.c_str()).value(); }

void TXMLNode::SetAttribute(const String& name, const String& value)
{
    pugi::xml_node node = Wrap(node_);
    pugi::xml_attribute attribute = node.attribute(name.c_str());
    if (!attribute)
        attribute = node.append_attribute(name.c_str());
    attribute.set_value(value.c_str());
}

bool TXMLNode::HasChildNode(const String& name) const { return static_cast<bool>(Wrap(node_).child(name.c_str())); }

TXMLNode* TXMLNode::ChildNode(const String& name)
{
    pugi::xml_node node = Wrap(node_);
    pugi::xml_node child = node.child(name.c_str());
    if (!child) {
        child = node.append_child(name.c_str());
        ++childrenVersion_;
    }
    auto factory = childClasses_.find(name);
    return document_->Bind(child.internal_object(), factory == childClasses_.end() ? nullptr : &factory->second);
}

std::vector<TXMLNode*> TXMLNode::ChildrenNamed(const String& name)
{
    auto factory = childClasses_.find(name);
    const TXMLNodeFactory* f = factory == childClasses_.end() ? nullptr : &factory->second;
    std::vector<TXMLNode*> result;
    for (pugi::xml_node child : Wrap(node_).children(name.c_str()))
        result.push_back(document_->Bind(child.internal_object(), f));
    return result;
}

TXMLNode* TXMLNode::ChildFor(void* node, const String& tag)
{
    auto factory = childClasses_.find(tag);
    return document_->Bind(node, factory == childClasses_.end() ? nullptr : &factory->second);
}

void TXMLNode::RegisterChildNode(const String& tag, TXMLNodeFactory factory)
{
    childClasses_[tag] = std::move(factory);
}

TXMLNode* TXMLNode::CreateChild(const String& tag, int index)
{
    pugi::xml_node node = Wrap(node_);
    pugi::xml_node child;
    if (index < 0) {
        child = node.append_child(tag.c_str());
    } else {
        std::vector<TXMLNode*> items = ChildrenNamed(tag);
        if (index > static_cast<int>(items.size()))
            ListIndexError(index);
        child = index == static_cast<int>(items.size()) ? node.append_child(tag.c_str())
                                                        : node.insert_child_before(tag.c_str(), Wrap(items[index]->node_));
    }
    ++childrenVersion_;
    return ChildFor(child.internal_object(), tag);
}

void TXMLNode::RemoveChild(TXMLNode* child)
{
    pugi::xml_node node = Wrap(child->node_);
    document_->impl_->Forget(node);
    Wrap(node_).remove_child(node);
    ++childrenVersion_;
}

void TXMLNodeCollection::Refresh()
{
    if (itemsVersion_ == childrenVersion_)
        return;
    items_.clear();
    for (pugi::xml_node child = Wrap(node_).child(ItemTag.c_str()); child; child = child.next_sibling(ItemTag.c_str()))
        items_.push_back(child.internal_object());
    itemsVersion_ = childrenVersion_;
}

int TXMLNodeCollection::Count()
{
    Refresh();
    return static_cast<int>(items_.size());
}

TXMLNode* TXMLNodeCollection::Node(int index)
{
    Refresh();
    if (index < 0 || index >= static_cast<int>(items_.size()))
        ListIndexError(index);
    // Only the item asked for gets a node object.
    return ChildFor(items_[index], ItemTag);
}

TXMLNode* TXMLNodeCollection::AddItem(int index) { return CreateChild(ItemTag, index); }

void TXMLNodeCollection::Delete(int index)
{
    TXMLNode* item = Node(index);
    RemoveChild(item);
}

void TXMLNodeCollection::Clear()
{
    while (Count() > 0)
        Delete(0);
}
