// Generation costs: the walk with few and many enabled characters, and a run with no
// target against one with a 1 GiB sparse target.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "generation.h"
#include "text_file.h"

namespace {

using namespace talvoric;

// Missing settings files are part of the measured runs; keep their alert bytes off the
// report.
const bool quiet = (SetOpenFailureHandler(nullptr), true);

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

struct BenchDir {
  BenchDir() {
    dir = std::filesystem::temp_directory_path() / ("talvoric-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    paths = BuildSettingsPaths((dir / "").string());
  }
  ~BenchDir() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  std::filesystem::path dir;
  SettingsPaths paths;
};

void BM_Walk(benchmark::State& state) {
  static const char* sets[] = {"A", "AB", ""};
  CharTable table;
  LoadCharTableFromContent(table, sets[state.range(0)]);
  RandomGenerator g;
  g.Seed(1);
  g.SeedPending = false;
  const std::string mixed = *MakeRandomBytes(g, nullptr, " ", 65535);
  for (auto _ : state) {
    std::string bytes = mixed;
    CharTable t = table;
    SelectCharacters(t, bytes);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetLabel(state.range(0) == 0 ? "1 enabled" : state.range(0) == 1 ? "2 enabled" : "94 enabled");
}
BENCHMARK(BM_Walk)->Arg(0)->Arg(1)->Arg(2);

void BM_RunGeneration(benchmark::State& state) {
  BenchDir d;
  Write(d.paths.size, "65535");
  if (state.range(0) == 1) {
    const std::string target = (d.dir / "sparse.bin").string();
    {
      std::ofstream(target, std::ios::binary);
    }
    std::filesystem::resize_file(target, 1ull << 30);  // 1 GiB, all holes (zero bytes)
    // A zero byte ends the content at once; make the start real data so the prefix counts.
    std::FILE* f = std::fopen(target.c_str(), "r+b");
    const std::string head(70000, 'k');
    std::fwrite(head.data(), 1, head.size(), f);
    std::fclose(f);
    Write(d.paths.xorTarget, target);
  }
  RandomGenerator g;
  g.Seed(1);
  g.SeedPending = false;
  for (auto _ : state) {
    GenerationResult r = RunGeneration(d.paths, g, nullptr);
    benchmark::DoNotOptimize(r.output->data());
  }
  state.SetLabel(state.range(0) == 1 ? "1 GiB sparse target" : "no target");
}
BENCHMARK(BM_RunGeneration)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_Histogram(benchmark::State& state) {
  CharTable table;
  LoadCharTableFromContent(table, "");
  for (auto& e : table) e.count = 697;
  for (auto _ : state) benchmark::DoNotOptimize(BuildHistogramText(table));
}
BENCHMARK(BM_Histogram);

}  // namespace

namespace {
void BM_TargetPrefix(benchmark::State& state) {
  BenchDir d;
  const std::string target = (d.dir / "sparse.bin").string();
  {
    std::ofstream out(target, std::ios::binary);
    out << std::string(70000, 'k');
  }
  if (state.range(0) == 1) std::filesystem::resize_file(target, 1ull << 30);
  for (auto _ : state) benchmark::DoNotOptimize(talvoric::ReadTextFilePrefix(target, 65535));
  state.SetLabel(state.range(0) == 1 ? "1 GiB sparse target" : "70000-byte target");
}
BENCHMARK(BM_TargetPrefix)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
}  // namespace
