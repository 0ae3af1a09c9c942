#pragma once

#include "config/TZavConfigXML.h"

// The document class the router creates; it adds nothing to TZavConfigXML.
class TZavConfigXMLFast : public TZavConfigXML
{
public:
    using TZavConfigXML::TZavConfigXML;
};
