// The benchmarks of the hot paths; each reports beside a baseline measured in the same run.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
