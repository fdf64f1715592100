#pragma once
// Forms of the program keep their descriptions as RCDATA resources of the executable.
#include <string>

class TComponent;

// Reads the description stored under resourceName into root; a missing resource raises
// EReadError "Resource <name> not found".
void ReadFormResource(TComponent& root, const std::string& resourceName);
