#pragma once
// Creating and deleting commands: the App Paths entry, the shortcut file and
// the properties file of each.
#include <string>

// Show commands of the window-mode combo box, in its order.
int ShowCommandFromModeIndex(int index);   // 0 -> 1, 1 -> 7, 2 -> 3, else 0
int ModeIndexFromPropertiesLine(const std::string& line); // "7" -> 1, "3" -> 2, else 0

// Writes the three items; every false result has shown its message.
// name: legal and lower case; target: non-empty, trailing backslashes gone.
bool CreateCommand(const std::string& name, const std::string& target,
                   const std::string& parameters, int showCommand);

// Removes the three items, each attempted; true when all three went. Silent.
bool DeleteCommand(const std::string& name);


