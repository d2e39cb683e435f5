#pragma once
// Waiting in tests: the event loop runs until a condition holds, never a fixed sleep.
#include <functional>

// Processes events until done() is true or timeoutMs has passed; the result is done().
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000);
