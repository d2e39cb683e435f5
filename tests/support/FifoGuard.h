#pragma once
// Calls that must refuse a FIFO at once. Should one wait on it instead, the test fails after a
// few seconds and the FIFO's other end is opened and closed to release the call, so that a
// regression fails the test instead of hanging it.
#include <functional>
#include <string>

// Runs call on a thread of its own and rethrows what it raised.
void CallNotWaitingOn(const std::string& fifo, const std::function<void()>& call);
