#include "DataBinder1.h"

namespace {

template <typename T>
T* As(TXMLNode* node)
{
    auto* bound = dynamic_cast<T*>(node);
    if (!bound)
        throw EXMLDocError("Interface not supported");
    return bound;
}

}  // namespace

void TXMLRspType::AfterConstruction()
{
    RegisterChildNode("title", XMLNodeClass<TXMLTitleType>());
    ItemTag = "title";
}

IXMLTitleType TXMLRspType::Title(int index) { return As<TXMLTitleType>(Node(index)); }
IXMLTitleType TXMLRspType::Add() { return As<TXMLTitleType>(AddItem(-1)); }
IXMLTitleType TXMLRspType::Insert(int index) { return As<TXMLTitleType>(AddItem(index)); }

void TXMLTitleType::AfterConstruction() { RegisterChildNode("covers", XMLNodeClass<TXMLCoversType>()); }

IXMLCoversType TXMLTitleType::Covers() { return As<TXMLCoversType>(ChildNode("covers")); }

void TXMLCoversType::AfterConstruction()
{
    RegisterChildNode("cover", XMLNodeClass<TXMLCoverType>());
    ItemTag = "cover";
}

IXMLCoverType TXMLCoversType::Cover(int index) { return As<TXMLCoverType>(Node(index)); }
IXMLCoverType TXMLCoversType::Add() { return As<TXMLCoverType>(AddItem(-1)); }
IXMLCoverType TXMLCoversType::Insert(int index) { return As<TXMLCoverType>(AddItem(index)); }

IXMLRspType Getrsp(TXMLDocument& document)
{
    return As<TXMLRspType>(document.GetDocBinding("rsp", XMLNodeClass<TXMLRspType>()));
}
