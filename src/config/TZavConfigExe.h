#pragma once

#include "config/TZavConfig.h"

// The access object every task creates for a configuration document: a TZavConfig
// with its own router, tool mode off.
class TZavConfigExe : public TZavConfig
{
    Q_OBJECT
public:
    explicit TZavConfigExe(QObject *owner = nullptr);
};
