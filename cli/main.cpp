// talvoric: the command-line front end over the same core and settings files as the
// window program.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>

#include "cli_common.h"
#include "platform.h"
#include "text_file.h"

namespace talvoric::cli {

std::vector<std::pair<int, SubcommandSetup>>& Subcommands() {
  static std::vector<std::pair<int, SubcommandSetup>> list;
  return list;
}

SubcommandRegistrar::SubcommandRegistrar(int order, SubcommandSetup setup) {
  Subcommands().emplace_back(order, std::move(setup));
}

}  // namespace talvoric::cli

int main(int argc, char** argv) {
  using namespace talvoric;
  // Standard output carries data only: a failed open stays quiet unless --verbose.
  SetOpenFailureHandler(nullptr);
  SetBinaryStandardOutput();
  CLI::App app{"Talvoric: strings of random printable ASCII characters.", "talvoric"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "talvoric 1.0");
  auto& list = cli::Subcommands();
  std::stable_sort(list.begin(), list.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [order, setup] : list) setup(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::RuntimeError& e) {
    // A subcommand's own failure: its message is already on standard error.
    return e.get_exit_code();
  } catch (const CLI::ParseError& e) {
    std::cerr << "talvoric: " << e.what() << "\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "talvoric: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
