#pragma once
// What the New/Edit Command dialog accepts as a command, platform-free: the
// checks of its OK handler, in their order.
#include <string>

// The string id of the first failing check (empty name, illegal name,
// a target that is empty once its trailing backslashes are trimmed), or 0
// when the input passes.
unsigned FirstInputProblem(const std::string& name, const std::string& target);
// Why the input cannot be stored faithfully (a target or parameters longer
// than a shortcut holds, a line break that would split the properties
// file), or an empty text when it can.
std::string UnstorableInputText(const std::string& target, const std::string& parameters);
