// The services the benchmark adds to its Wine prefix: demand-start services
// of the test service program, which never run during the benchmark.
#pragma once

#include <string>

namespace orvex::bench {

inline constexpr const char* BenchServicePrefix = "OrvexBench_";

// Installs services until Count of the benchmark's own exist; 0 on success.
int InstallBenchServices(int count, const std::string& exe);
// Deletes every service of the benchmark; 0 on success.
int RemoveBenchServices();

}  // namespace orvex::bench
