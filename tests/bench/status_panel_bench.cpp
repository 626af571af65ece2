// The cost of one repaint's texts: building the status panel with no target file and
// with a 1 GiB (sparse) target. The target is opened and sized, never read, so the two
// should cost about the same; reading the target through is measured alongside for scale.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "status_panel.h"
#include "text_file.h"

namespace {

using namespace talvoric;

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A settings folder with a type file, a size file, and (when asked) a sparse target of
// 1 GiB named by a long path, so that the name is shortened too.
struct PanelDir {
  explicit PanelDir(bool withTarget) {
    dir = std::filesystem::temp_directory_path() /
          ("talvoric-panel-bench-" + std::to_string(::getpid()) + (withTarget ? "-t" : "-n"));
    std::filesystem::create_directories(dir);
    paths = BuildSettingsPaths((dir / "").string());
    Write(paths.type, "0123456789abcdefXYZ!?#");
    Write(paths.size, "0042");
    target = (dir / "a-rather-long-target-file-name-for-the-panel.bin").string();
    if (withTarget) {
      Write(target, "");
      std::filesystem::resize_file(target, std::uintmax_t{1} << 30);
      Write(paths.xorTarget, target);
    } else {
      Write(paths.xorTarget, "");
    }
  }
  ~PanelDir() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  std::filesystem::path dir;
  SettingsPaths paths;
  std::string target;
};

void BM_BuildStatusPanel(benchmark::State& state) {
  const bool withTarget = state.range(0) != 0;
  const PanelDir panelDir(withTarget);
  for (auto _ : state) {
    StatusPanel panel = BuildStatusPanel(panelDir.paths);
    benchmark::DoNotOptimize(panel.items.data());
  }
  state.SetLabel(withTarget ? "1 GiB sparse target" : "no target");
}
BENCHMARK(BM_BuildStatusPanel)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// For scale: what confirming the target by reading it through would cost per repaint.
void BM_ReadTargetThrough(benchmark::State& state) {
  const PanelDir panelDir(true);
  for (auto _ : state) {
    benchmark::DoNotOptimize(CountTextFile(panelDir.target));
  }
  state.SetLabel("1 GiB sparse target, counted through");
}
BENCHMARK(BM_ReadTargetThrough)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
