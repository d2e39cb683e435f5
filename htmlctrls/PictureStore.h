#pragma once
// Named pictures for mark-up: a component holding a collection of pictures that IMG tags find
// by name.
#include "MarkupPicture.h"

#include <memory>
#include <vector>

class TPictureCollection;

class TPictureItem : public TPersistent {
public:
    explicit TPictureItem(TPictureCollection* collection = nullptr);
    TPictureCollection* Collection() const { return collection_; }
    TMarkupPicture& Picture() { return *picture_; }
    const TMarkupPicture& Picture() const { return *picture_; }
    // Copies the given picture into the item's own.
    void SetPicture(const TMarkupPicture& picture) { picture_->Assign(picture); }
    String Name;
    int Tag = 0;
    // The source must be a picture item: name, tag and picture are copied.
    void Assign(const TPersistent& source) override;

private:
    TPictureCollection* collection_;
    std::unique_ptr<TMarkupPicture> picture_;
};

class TPictureStore;

// Owns its items.
class TPictureCollection : public TPersistent {
public:
    explicit TPictureCollection(TPictureStore* owner = nullptr) : owner_(owner) {}
    TPictureStore* Owner() const { return owner_; }
    TPictureItem* Add();
    int Count() const { return static_cast<int>(items_.size()); }
    TPictureItem* Items(int index) const;
    void Delete(int index);
    void Clear() { items_.clear(); }
    // Copies the other collection's items; the items held before are freed.
    void Assign(const TPersistent& source) override;
    bool AnimatePictures();

private:
    TPictureStore* owner_;
    std::vector<std::unique_ptr<TPictureItem>> items_;
};

class TPictureStore : public TComponent, public TMarkupImageSource {
public:
    explicit TPictureStore(TComponent* owner = nullptr);
    TPictureCollection& Items() { return items_; }
    // Copies the items of the given collection into the store's own.
    void SetItems(const TPictureCollection& items) { items_.Assign(items); }
    String Version() const { return "1.0.0.0"; }
    void SetVersion(const String&) {}
    // The first item whose name matches, ignoring case.
    virtual TMarkupPicture* FindPicture(const String& name);
    TMarkupImage* FindImage(const String& source) override { return FindPicture(source); }

private:
    TPictureCollection items_;
};
