#include "DiscWaits.h"

#include <algorithm>

TDiscWaits::TWait::TWait(TDiscWaits& waits, int disc) : waits_(waits), disc_(disc) { waits_.waits_.push_back(this); }

TDiscWaits::TWait::~TWait() { std::erase(waits_.waits_, this); }

void TDiscWaits::Shown(int disc)
{
    for (TWait* wait : waits_)
        if (wait->disc_ != disc)
            wait->gone_ = true;
}
