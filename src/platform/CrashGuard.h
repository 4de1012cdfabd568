#pragma once

namespace hc::crash {

// Runs the action once when the process is about to die of an unhandled failure (a structured exception
// nobody handles, or std::terminate). The action must ask nothing of anyone: the process is going down.
void OnUnhandledFailure(void (*action)(void* context), void* context);
// Nothing runs any more: the context is about to go.
void Disarm();

}  // namespace hc::crash
