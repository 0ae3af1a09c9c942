#pragma once

#include "platform/log/TZavLog.h"

#include <memory>

struct UpdateState;

// The run log of an unattended update: only when the updater runs as the system account
// and the host program exists; its files "QX_Update_*.log" sit in the folder "Log" beside
// the host program. Otherwise none.
std::unique_ptr<TZavLog> OpenRunLog(const UpdateState &state);
