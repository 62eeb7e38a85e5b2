#pragma once
// SHA-256 through the system's cryptography API (bcrypt).
#include <string>
#include <string_view>

// The bytes' SHA-256 as 64 lower-case hex digits; empty when the system
// could not compute it.
std::string Sha256Hex(std::string_view bytes);
