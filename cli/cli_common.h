// Shared pieces of the command-line front end: subcommand registration and the
// settings folder every subcommand takes (--dir).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "settings_paths.h"

namespace talvoric::cli {

// Each subcommand file registers itself once, at start-up, with a function that adds
// its subcommand to the application.
using SubcommandSetup = std::function<void(CLI::App& app)>;
struct SubcommandRegistrar {
  SubcommandRegistrar(int order, SubcommandSetup setup);
};
std::vector<std::pair<int, SubcommandSetup>>& Subcommands();

// Options every subcommand shares.
struct CommonOptions {
  std::string dir;       // the settings folder; empty: the executable's own folder
  bool verbose = false;  // name unreadable files on standard error
};
void AddCommonOptions(CLI::App& sub, CommonOptions& options);

// Resolves the settings folder (a missing --dir folder is a usage error: exit 2 with a
// message) and installs the open-failure report. Throws CLI::ValidationError.
SettingsPaths PrepareSettings(const CommonOptions& options);

}  // namespace talvoric::cli
