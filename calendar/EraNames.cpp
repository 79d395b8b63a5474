#include "EraNames.h"

// Placeholder until the era table lands.
std::string GetDelimitedField(const std::string&, char, int) { return {}; }
std::string GetEraText(int) { return {}; }
