#pragma once
// Creating and deleting commands: the App Paths entry, the shortcut file and
// the properties file of each.
#include <string>

// Writes the three items; every false result has shown its message.
// name: legal and lower case; target: non-empty, trailing backslashes gone.
bool CreateCommand(const std::string& name, const std::string& target,
                   const std::string& parameters, int showCommand);

// Removes the three items, each attempted; true when all three went. Silent.
bool DeleteCommand(const std::string& name);
