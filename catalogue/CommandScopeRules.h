#pragma once
// Which scope the command editor offers and starts with.
#include "catalogue/CommandPaths.h"

#include <string>

// Whether path is folder itself or lies below it (ASCII case ignored,
// whole components only: C:\Users\ann is not inside C:\Users\an).
bool IsInsideFolder(const std::wstring& path, const std::wstring& folder);

// "All users" needs administrator rights, and a program folder other users
// can reach: one inside a user's profile is that user's alone.
enum class MachineScopeOffer { offered, needsElevation, privateFolder };
MachineScopeOffer OfferMachineScope(bool elevated, const std::wstring& programFolder,
                                    const std::wstring& profilesFolder);

// New commands: "All users" where it is offered (what every earlier
// version made), "Just me" otherwise.
CommandScope DefaultCommandScope(MachineScopeOffer offer);

