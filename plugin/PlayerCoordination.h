#pragma once
// Coordination with the HALOSEQ light-show player: pause it while music renders, let it
// resume once no frame has come for PlayerWait seconds.

constexpr unsigned kPlayerPauseMessage = 32772;   // WM_APP + 4
constexpr unsigned kPlayerResumeMessage = 32771;  // WM_APP + 3
constexpr const char* kPlayerWindowClass = "HALOSEQ_CLASS";

void PlayerStart();  // Init: pause request, flags cleared, one-second timer started
void PlayerStop();   // Quit: timer killed, resume request
void PlayerStamp();  // end of each frame: note that a frame was rendered, and when
