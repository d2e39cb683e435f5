#pragma once
// The typed binding of the cover catalogue's search reply:
//   <rsp stat="..."><title><name/><id/><added/><uploader/><category/><image/>
//     <covers><cover><type/><width/><height/><filesize/><url/><thumbnail/><preview/></cover>...
//   </covers></title>...</rsp>
// Names are matched exactly, case included. The node objects belong to the document, which
// the caller keeps alive while it reads.
#include "XMLDoc.h"

class TXMLTitleType;
class TXMLCoversType;
class TXMLCoverType;
class TXMLRspType;

using IXMLRspType = TXMLRspType*;
using IXMLTitleType = TXMLTitleType*;
using IXMLCoversType = TXMLCoversType*;
using IXMLCoverType = TXMLCoverType*;

class TXMLRspType : public TXMLNodeCollection {
public:
    String Stat() const { return Attribute("stat"); }
    IXMLTitleType Title(int index);
    void SetStat(const String& value) { SetAttribute("stat", value); }
    IXMLTitleType Add();
    IXMLTitleType Insert(int index);

protected:
    void AfterConstruction() override;
};

class TXMLTitleType : public TXMLNode {
public:
    String Name() { return ChildValue("name"); }
    String Id() { return ChildValue("id"); }
    String Added() { return ChildValue("added"); }
    String Uploader() { return ChildValue("uploader"); }
    String Category() { return ChildValue("category"); }
    String Image() { return ChildValue("image"); }
    IXMLCoversType Covers();
    void SetName(const String& v) { SetChildValue("name", v); }
    void SetId(const String& v) { SetChildValue("id", v); }
    void SetAdded(const String& v) { SetChildValue("added", v); }
    void SetUploader(const String& v) { SetChildValue("uploader", v); }
    void SetCategory(const String& v) { SetChildValue("category", v); }
    void SetImage(const String& v) { SetChildValue("image", v); }

protected:
    void AfterConstruction() override;
};

class TXMLCoversType : public TXMLNodeCollection {
public:
    IXMLCoverType Cover(int index);
    IXMLCoverType Add();
    IXMLCoverType Insert(int index);

protected:
    void AfterConstruction() override;
};

class TXMLCoverType : public TXMLNode {
public:
    String Type() { return ChildValue("type"); }
    // EConvertError when the element is missing or not a number.
    int Width() { return StrToInt(ChildValue("width")); }
    int Height() { return StrToInt(ChildValue("height")); }
    int Filesize() { return StrToInt(ChildValue("filesize")); }
    String Url() { return ChildValue("url"); }
    String Thumbnail() { return ChildValue("thumbnail"); }
    String Preview() { return ChildValue("preview"); }
    void SetType(const String& v) { SetChildValue("type", v); }
    void SetWidth(int v) { SetChildValue("width", IntToStr(v)); }
    void SetHeight(int v) { SetChildValue("height", IntToStr(v)); }
    void SetFilesize(int v) { SetChildValue("filesize", IntToStr(v)); }
    void SetUrl(const String& v) { SetChildValue("url", v); }
    void SetThumbnail(const String& v) { SetChildValue("thumbnail", v); }
    void SetPreview(const String& v) { SetChildValue("preview", v); }
};

// The document element bound as the reply; EXMLDocError when it is not "rsp".
IXMLRspType Getrsp(TXMLDocument& document);
