#pragma once

// True when the process runs as the system account: the unattended (silent) mode of the
// updater. Decided by the process credentials alone (on Linux: effective user id 0).
bool ProcessRunsAsSystemAccount();
