// talvoric generate: presses of the start button without a window.
#include <cstdint>
#include <cstdio>
#include <optional>

#include "cli_common.h"
#include "file_command_cli.h"
#include "generation.h"
#include "platform.h"

namespace talvoric::cli {
namespace {

struct GenerateOptions {
  CommonOptions common;
  std::optional<std::uint32_t> seed;
  std::uint32_t repeat = 1;
  bool histogram = false;
  std::optional<std::string> save;  // --save FILE: the last run's characters
  OverwriteAnswer answer;
};

void WriteAll(std::string_view bytes) {
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

void RunGenerate(const GenerateOptions& options) {
  const SettingsPaths paths = PrepareSettings(options.common);
  RandomGenerator generator;
  if (options.seed) {
    generator.Seed(*options.seed);
    generator.SeedPending = false;
  }
  std::string last;
  for (std::uint32_t run = 0; run < options.repeat; ++run) {
    const GenerationResult result = RunGeneration(paths, generator, &ClockSeconds);
    last = result.output ? *result.output : std::string("ERROR!");
    // The output box shows "ERROR!" when the random bytes could not be made.
    WriteAll(result.output ? std::string_view(*result.output) : std::string_view("ERROR!"));
    std::fputc('\n', stdout);
    if (options.histogram) {
      WriteAll(BuildHistogramText(result.table));
      std::fputc('\n', stdout);
    }
  }
  std::fflush(stdout);
  if (options.save) SaveGeneratedText(last, *options.save, options.answer);
}

const SubcommandRegistrar registrar(10, [](CLI::App& app) {
  auto options = std::make_shared<GenerateOptions>();
  CLI::App* sub = app.add_subcommand(
      "generate", "Generate characters as the start button does, one line per run");
  AddCommonOptions(*sub, options->common);
  sub->add_option("--seed", options->seed,
                  "Seed the generator with N (0..4294967295) instead of the clock")
      ->check(CLI::Range(static_cast<std::uint64_t>(0), static_cast<std::uint64_t>(UINT32_MAX)));
  sub->add_option("--repeat", options->repeat, "Number of runs, as presses of the start button")
      ->check(CLI::PositiveNumber);
  sub->add_flag("--histogram", options->histogram, "After each run, print its histogram text");
  sub->add_option("--save", options->save,
                  "Also write the last run's characters to FILE (\".txt\" is added to a name "
                  "without any \".\")");
  AddOverwriteOptions(*sub, options->answer);
  sub->callback([options] { RunGenerate(*options); });
});

}  // namespace
}  // namespace talvoric::cli
