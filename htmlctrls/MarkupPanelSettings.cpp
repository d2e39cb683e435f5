#include "MarkupPanelSettings.h"

TMarkupPanelSettings::TMarkupPanelSettings()
    : caption_(std::make_unique<TPanelCaption>()), font_(std::make_unique<TFont>())
{
    caption_->OnChange = [this](TObject*) { Changed(); };
}

TMarkupPanelSettings::~TMarkupPanelSettings() = default;

void TMarkupPanelSettings::Changed()
{
    if (updateCount_ == 0)
        Fire(OnChange, this);
}

void TMarkupPanelSettings::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0)
        Changed();
}
