// The whole harvest of one saved note page: folder name, picture strip,
// matches and every rewritten address. Usage: harvest_bench PAGE [benchmark flags]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/harvest.h"
#include "text/primitives.h"

namespace {

Bytes g_page;

void Harvest(benchmark::State& state) {
  RegexObject regex;
  size_t pictures = 0;
  for (auto _ : state) {
    const Text page = BytesToText(g_page);
    Text folder = FolderNameFromPage(page);
    const Text strip = CutPictureStrip(page);
    const int count = FindPictureMatches(regex, strip);
    for (int n = 1; n <= count; ++n) {
      Text address =
          ResizeImageAddress(PictureAddressFromMatch(regex.MatchText(n)), 1000, 1000, 1000);
      benchmark::DoNotOptimize(address);
    }
    benchmark::DoNotOptimize(folder);
    pictures = static_cast<size_t>(count);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * g_page.size());
  state.counters["pictures"] = static_cast<double>(pictures);
}
BENCHMARK(Harvest)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argv[1][0] == '-') {
    std::fprintf(stderr, "usage: %s PAGE [benchmark flags]\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  g_page = Bytes(s.str());
  argv[1] = argv[0];
  --argc;
  ++argv;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
