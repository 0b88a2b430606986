#pragma once
// The allocation failure handler: "Free memory and try again" with Retry and Cancel.
// Retry lets the allocation try again; Cancel ends the program at once.

class THost;

namespace TOutOfMemory {
void Install(THost& host);
void Uninstall();
// What the handler does, callable by tests: true for Retry.
bool AskRetry(THost& host);
} // namespace TOutOfMemory
