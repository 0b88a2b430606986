#include "settings/TProgramContext.h"

TProgramContext::TProgramContext(const std::string& folder) : folder_(folder) {}
