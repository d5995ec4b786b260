#pragma once
// Init's decision for a run with Debug on: the diagnostic path is used only when WinSock was
// unused so far and is loaded and started, and the client opens.

// True when the diagnostic path can be used; the client is then open.
bool OpenDiagnosticPath();
