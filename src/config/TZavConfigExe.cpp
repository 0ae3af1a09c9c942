#include "config/TZavConfigExe.h"

#include "config/TZavConfigNat.h"

TZavConfigExe::TZavConfigExe(QObject *owner) : TZavConfig(owner, DerivedClass{})
{
    SetStorage(new TZavConfigNat(this));
    SetToolMode(false);
}
