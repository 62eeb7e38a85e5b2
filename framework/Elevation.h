#pragma once
// Whether this process runs with administrator rights (an elevated token).
// The services' stand-in answers in tests: under Wine every process is.
bool IsProcessElevated();
