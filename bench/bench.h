// A small timing harness for the benchmark programs: runs a callable a number
// of times, takes the wall time of every run, and prints min and median with
// the ratio to a baseline measured in the same run of the program.
//
//   qv::bench::Report report("Profile reads");
//   report.Add(qv::bench::Measure("system", 5, [&] { ... }));
//   report.Add(qv::bench::Measure("engine", 5, [&] { ... }));
//   report.Print("system");  // ratios against "system"
//
// Header-only and portable (std::chrono::steady_clock).
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace qv::bench {

// A folder of its own in the temporary folder: benchmarks of several
// checkouts may run at once on one machine.
inline std::filesystem::path ScratchFolder(const std::string& name) {
  const auto folder = std::filesystem::temp_directory_path() /
                      (name + "_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(folder);
  return folder;
}

struct Result {
  std::string name;
  int runs = 0;
  double min_ms = 0;
  double median_ms = 0;
};

// Keeps a computed value alive so that the work producing it is not
// optimised away.
inline const void* volatile kept = nullptr;

template <class T>
inline void Keep(const T& value) {
  kept = &value;
}

// Runs `work` once untimed (caches, lazy set-up), then `runs` times timed.
template <class Work>
Result Measure(std::string name, int runs, Work&& work) {
  using Clock = std::chrono::steady_clock;
  if (runs < 1) runs = 1;
  work();
  std::vector<double> ms;
  ms.reserve(static_cast<size_t>(runs));
  for (int i = 0; i < runs; ++i) {
    const Clock::time_point start = Clock::now();
    work();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  const size_t n = ms.size();
  const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
  return Result{std::move(name), runs, ms.front(), median};
}

class Report {
 public:
  explicit Report(std::string title) : title_(std::move(title)) {}

  void Add(Result r) { results_.push_back(std::move(r)); }
  const std::vector<Result>& Results() const { return results_; }

  const Result* Find(const std::string& name) const {
    for (const Result& r : results_)
      if (r.name == name) return &r;
    return nullptr;
  }

  // How many times faster `name` is than `baseline`, by median; 0 when either
  // is missing.
  double Speedup(const std::string& name, const std::string& baseline) const {
    const Result* r = Find(name);
    const Result* b = Find(baseline);
    if (!r || !b || r->median_ms <= 0) return 0;
    return b->median_ms / r->median_ms;
  }

  // Prints the table; with a baseline, every row gets its speed-up against it.
  void Print(const std::string& baseline = {}, FILE* out = stdout) const {
    std::fprintf(out, "%s\n", title_.c_str());
    std::fprintf(out, "  %-34s %5s %12s %12s %10s\n", "case", "runs", "min ms", "median ms",
                 baseline.empty() ? "" : "speed-up");
    for (const Result& r : results_) {
      std::fprintf(out, "  %-34s %5d %12.3f %12.3f", r.name.c_str(), r.runs, r.min_ms, r.median_ms);
      if (!baseline.empty() && Find(baseline))
        std::fprintf(out, " %9.1fx", Speedup(r.name, baseline));
      std::fprintf(out, "\n");
    }
    std::fflush(out);
  }

 private:
  std::string title_;
  std::vector<Result> results_;
};

}  // namespace qv::bench
