#pragma once

#include "common/TIntList.h"

class IUpdateReporter;
struct UpdateState;

// Returns once the host has ended: its process id is no longer among the processes of the
// host program and the host program file can be opened for exclusive writing (a running
// program file cannot). No time limit. Sleeps between passes without processing messages,
// then pauses 500 ms around the line "Anwendung beendet. Update starten...".
void WaitForHostExit(const UpdateState &state, IUpdateReporter &reporter, TIntList &hostProcesses);
