#pragma once
// Importing an export file: reading it, planning against what the machine
// holds, and writing the plan. Texts stay UTF-8 until they reach a store.
#include "transfer/ImportPlan.h"
#include "transfer/TransferCommandLine.h"

#include <string>
#include <vector>

// The file's entries, any script; read.error: the file as a whole is
// unusable.
TransferRead ReadImportFile(const std::wstring& file);

// What the machine holds now, for the planner.
ImportState CurrentImportState();

struct ImportOutcome {
    int done = 0;    // added, replaced or already there
    int skipped = 0; // by the plan
    std::vector<std::string> failures; // planned but not written: what and why
};
// Writes the plan's adds and replaces; report gets one line per entry.
ImportOutcome ApplyImport(const ImportPlan& plan, std::vector<std::string>& report);

// The TransferExitCode of an outcome.
int ImportExitCode(const ImportOutcome& outcome);

// /import: read, plan with the request's options, write. Returns the exit code.
int ImportFrom(const TransferRequest& request, std::vector<std::string>& report);
