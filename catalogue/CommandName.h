#pragma once
// Rules on command names: which characters a name may hold, and its
// lower-case form, which is the command's identity everywhere.
#include <string>

// Digits, ASCII letters and ! # $ % & ( ) + - | { } _ @; not empty.
bool IsLegalCommandChar(unsigned char c);
bool IsLegalCommandName(const std::string& name);

// Multi-byte aware lower-casing in the current code page (Win32:
// CommandNameCase.cpp).
std::string ToLowerCommandName(const std::string& name);
