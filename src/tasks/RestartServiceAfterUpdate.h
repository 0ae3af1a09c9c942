#pragma once

class IUpdateReporter;
struct UpdateState;

// Starts the host's background service again when this run stopped it
// (state.ServiceStopped). Does nothing yet: service control is not built.
void RestartServiceAfterUpdate(UpdateState &state, IUpdateReporter &reporter);
