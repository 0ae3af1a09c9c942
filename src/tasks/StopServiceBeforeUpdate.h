#pragma once

class IUpdateReporter;
struct UpdateState;

// Stops the host's background service before its files are replaced and records that in
// state.ServiceStopped. Does nothing yet: service control is not built, so no service is
// ever stopped and ServiceStopped stays false.
void StopServiceBeforeUpdate(UpdateState &state, IUpdateReporter &reporter);
