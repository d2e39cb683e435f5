#include "PanelCaption.h"

TPanelCaption::TPanelCaption()
    : font_(std::make_unique<TFont>()),
      minGlyph_(std::make_unique<TBitmap>()),
      maxGlyph_(std::make_unique<TBitmap>()),
      closeMinGlyph_(std::make_unique<TBitmap>()),
      closeMaxGlyph_(std::make_unique<TBitmap>()),
      background_(std::make_unique<TBitmap>())
{
    font_->SetColor(clHighlightText);
    font_->OnChange = [this](TObject*) { Changed(); };
}

TPanelCaption::~TPanelCaption() = default;

void TPanelCaption::SetVisible(bool v)
{
    visible_ = v;
    Changed();
    Fire(OnStateChange, this);
}

void TPanelCaption::ShadeChanged()
{
    Fire(OnShadeChange, this);
    Changed();
}

void TPanelCaption::Assign(const TPersistent& source)
{
    const auto* other = dynamic_cast<const TPanelCaption*>(&source);
    if (!other || other == this)
        return;
    SetBackground(*other->background_);
    ButtonPosition = other->ButtonPosition;
    SetColor(other->color_);
    SetColorTo(other->colorTo_);
    SetCloseColor(other->closeColor_);
    SetCloseButton(other->closeButton_);
    SetCloseButtonColor(other->closeButtonColor_);
    SetCloseMinGlyph(*other->closeMinGlyph_);
    SetCloseMaxGlyph(*other->closeMaxGlyph_);
    SetFlat(other->flat_);
    SetFont(*other->font_);
    SetHeight(other->height_);
    SetIndent(other->indent_);
    SetMaxGlyph(*other->maxGlyph_);
    SetMinGlyph(*other->minGlyph_);
    SetMinMaxButton(other->minMaxButton_);
    SetMinMaxButtonColor(other->minMaxButtonColor_);
    SetShadeLight(other->shadeLight_);
    SetShadeGrain(other->shadeGrain_);
    SetShadeType(other->shadeType_);
    SetShape(other->shape_);
    SetTopIndent(other->topIndent_);
    SetVisible(other->visible_);
}
