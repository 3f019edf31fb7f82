#pragma once

#include <string>

// A control of the plug-in's windows by the name that res/resource_ids.h
// gives its id, so that the log reads without the header at hand; the number
// for an id that has no name there.
std::string controlName(int id);
