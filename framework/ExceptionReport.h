#pragma once
// The boundary every callback of ours ends at: window and dialog procedures,
// the property-sheet callbacks, the modal loop, the program's entry. No C++
// exception may unwind through code of the system's; it is reported here
// and the program goes on.
#include <string>

// Call only inside a catch block: tells the user what the exception in
// flight means (a file error, lack of memory, anything else) and returns.
void ReportCurrentException() noexcept;

// The texts of the last two kinds.
inline constexpr const wchar_t* kOutOfMemoryText = L"There is not enough memory to complete this action. Nothing else was changed.";
inline constexpr const wchar_t* kUnexpectedErrorText = L"An unexpected error stopped this action. Nothing else was changed.";
