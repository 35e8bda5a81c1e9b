// Speed of the record formats beside the C and C++ library conversions, over
// the same million pseudo-random values and texts. Each benchmark iteration
// converts all of them; the table at the end gives nanoseconds per value and
// the ratios against the references measured in this same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "tests/support/random.h"
#include "text/display_text.h"
#include "text/record_format.h"

using namespace formreel;

namespace {

constexpr std::size_t Count = 1'000'000;

// |x| spread evenly over the decades from 10^low to 10^high, either sign.
std::vector<double> Values(std::uint64_t seed, double low, double high) {
  Random random{seed};
  std::vector<double> values(Count);
  for (double& x : values) {
    x = std::pow(10.0, low + (high - low) * random.Unit());
    if (random.Next() & 1) x = -x;
  }
  return values;
}

// Typed texts as the parse finds them: right-aligned in the 30 readable
// columns of a record. The library parsers read the very same characters,
// from the first non-blank on, so that both sides touch the same memory.
struct Texts {
  std::vector<Record> records;
  std::vector<std::uint8_t> starts;  // 0-based column of the first character
};

void AddText(Texts& texts, std::string_view text) {
  Record record;
  const auto start = static_cast<std::size_t>(ReadableColumns) - text.size();
  std::copy(text.begin(), text.end(), record.Buffer() + start);
  texts.records.push_back(record);
  texts.starts.push_back(static_cast<std::uint8_t>(start));
}

// Reals as the form shows and users type them: the display texts of values
// over 40 decades, each cut to a random number of significant digits.
Texts RealTexts() {
  Random random{3};
  Texts texts;
  for (std::size_t k = 0; k < Count; ++k) {
    double x = std::pow(10.0, -20 + 40 * random.Unit());
    if (random.Next() & 1) x = -x;
    std::array<char, 40> text;
    const int digits = 1 + static_cast<int>(random.Next() % 17);
    const auto end =
        std::to_chars(text.data(), text.data() + text.size(), x, std::chars_format::general, digits)
            .ptr;
    AddText(texts, std::string_view(text.data(), static_cast<std::size_t>(end - text.data())));
  }
  return texts;
}

Texts IntegerTexts() {
  Random random{4};
  Texts texts;
  for (std::size_t k = 0; k < Count; ++k) {
    // Every length from 1 to 10 digits equally often, either sign.
    const auto digits = static_cast<int>(random.Next() % 10);
    auto value = static_cast<std::int64_t>(random.Next() % 2147483647);
    for (int d = 9; d > digits; --d) value /= 10;
    if (random.Next() & 1) value = -value;
    const std::string text = std::to_string(value);
    AddText(texts, text);
  }
  return texts;
}

const std::vector<double>& NumberValues() {
  static const std::vector<double> values = Values(1, 0, 13);
  return values;
}
const std::vector<double>& FractionValues() {
  static const std::vector<double> values = Values(2, -20, 0);
  return values;
}
const std::vector<std::int32_t>& LongValues() {
  static const std::vector<std::int32_t> values = [] {
    Random random{5};
    std::vector<std::int32_t> v(Count);
    for (std::int32_t& x : v)
      x = static_cast<std::int32_t>(static_cast<std::uint32_t>(random.Next()));
    return v;
  }();
  return values;
}
const Texts& RealInputs() {
  static const Texts texts = RealTexts();
  return texts;
}
const Texts& IntegerInputs() {
  static const Texts texts = IntegerTexts();
  return texts;
}

template <typename Value>
void Compose(benchmark::State& state, const RecordFormat& format,
             const std::vector<Value>& values) {
  Record record;
  for (auto _ : state) {
    for (const Value x : values) {
      if (ComposeRecord(record, format, {x, EndOfNumber}) != RecordStatus::Ok)
        state.SkipWithError("a composition failed");
      benchmark::DoNotOptimize(record);
    }
  }
}

template <typename Value>
void Snprintf(benchmark::State& state, const char* pattern, const std::vector<Value>& values) {
  std::array<char, 64> text;
  for (auto _ : state) {
    for (const Value x : values) {
      std::snprintf(text.data(), text.size(), pattern, x);
      benchmark::DoNotOptimize(text);
    }
  }
}

void ToCharsFixed(benchmark::State& state, int decimals, const std::vector<double>& values) {
  std::array<char, 64> text;
  for (auto _ : state) {
    for (const double x : values) {
      benchmark::DoNotOptimize(std::to_chars(text.data(), text.data() + text.size(), x,
                                             std::chars_format::fixed, decimals));
      benchmark::DoNotOptimize(text);
    }
  }
}

void BM_ComposeNumberDisplay(benchmark::State& s) {
  Compose(s, NumberDisplayFormat, NumberValues());
}
void BM_SnprintfNumber(benchmark::State& s) { Snprintf(s, "%29.14f", NumberValues()); }
void BM_ToCharsNumber(benchmark::State& s) { ToCharsFixed(s, 14, NumberValues()); }
void BM_ComposeFractionDisplay(benchmark::State& s) {
  Compose(s, FractionDisplayFormat, FractionValues());
}
void BM_SnprintfFraction(benchmark::State& s) { Snprintf(s, "%29.27f", FractionValues()); }
void BM_ToCharsFraction(benchmark::State& s) { ToCharsFixed(s, 27, FractionValues()); }
void BM_ComposeLongIntegerDisplay(benchmark::State& s) {
  Compose(s, LongIntegerDisplayFormat, LongValues());
}
void BM_SnprintfLong(benchmark::State& s) { Snprintf(s, "%18d", LongValues()); }
void BM_ToCharsLong(benchmark::State& state) {
  std::array<char, 16> text;
  for (auto _ : state) {
    for (const std::int32_t x : LongValues()) {
      benchmark::DoNotOptimize(std::to_chars(text.data(), text.data() + text.size(), x));
      benchmark::DoNotOptimize(text);
    }
  }
}

void BM_ParseRealRead(benchmark::State& state) {
  for (auto _ : state) {
    for (const Record& record : RealInputs().records) {
      double value = 0;
      benchmark::DoNotOptimize(ParseRecord(record, RealReadFormat, value));
      benchmark::DoNotOptimize(value);
    }
  }
}
void BM_Strtod(benchmark::State& state) {
  const Texts& texts = RealInputs();
  for (auto _ : state) {
    for (std::size_t k = 0; k < Count; ++k)
      benchmark::DoNotOptimize(
          std::strtod(texts.records[k].Terminated() + texts.starts[k], nullptr));
  }
}
void BM_FromCharsDouble(benchmark::State& state) {
  const Texts& texts = RealInputs();
  for (auto _ : state) {
    for (std::size_t k = 0; k < Count; ++k) {
      const char* text = texts.records[k].Terminated();
      double value = 0;
      std::from_chars(text + texts.starts[k], text + ReadableColumns, value);
      benchmark::DoNotOptimize(value);
    }
  }
}
void BM_ParseIntegerRead(benchmark::State& state) {
  for (auto _ : state) {
    for (const Record& record : IntegerInputs().records) {
      std::int32_t value = 0;
      benchmark::DoNotOptimize(ParseRecord(record, IntegerReadFormat, value));
      benchmark::DoNotOptimize(value);
    }
  }
}
void BM_Strtol(benchmark::State& state) {
  const Texts& texts = IntegerInputs();
  for (auto _ : state) {
    for (std::size_t k = 0; k < Count; ++k)
      benchmark::DoNotOptimize(
          std::strtol(texts.records[k].Terminated() + texts.starts[k], nullptr, 10));
  }
}
void BM_FromCharsInt(benchmark::State& state) {
  const Texts& texts = IntegerInputs();
  for (auto _ : state) {
    for (std::size_t k = 0; k < Count; ++k) {
      const char* text = texts.records[k].Terminated();
      std::int32_t value = 0;
      std::from_chars(text + texts.starts[k], text + ReadableColumns, value);
      benchmark::DoNotOptimize(value);
    }
  }
}

BENCHMARK(BM_ComposeNumberDisplay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnprintfNumber)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToCharsNumber)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeFractionDisplay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnprintfFraction)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToCharsFraction)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeLongIntegerDisplay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnprintfLong)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToCharsLong)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseRealRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Strtod)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FromCharsDouble)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseIntegerRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Strtol)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FromCharsInt)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's processor time per value while the console shows
// the runs: processor time, and the least over repetitions
// (--benchmark_repetitions), so that other work on the machine weighs less.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.iterations <= 0) continue;
      const double perValue = run.cpu_accumulated_time * 1e9 / static_cast<double>(run.iterations) /
                              static_cast<double>(Count);
      const auto [entry, added] = perValue_.emplace(run.run_name.function_name, perValue);
      if (!added) entry->second = std::min(entry->second, perValue);
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // One row per comparison: ours, the reference, and reference / ours.
  void PrintRatios() const {
    struct Comparison {
      const char* ours;
      const char* reference;
      const char* goal;
    };
    const Comparison comparisons[] = {
        {"BM_ComposeNumberDisplay", "BM_SnprintfNumber", "> 1"},
        {"BM_ComposeNumberDisplay", "BM_ToCharsNumber", ">= 0.5"},
        {"BM_ComposeFractionDisplay", "BM_SnprintfFraction", "> 1"},
        {"BM_ComposeFractionDisplay", "BM_ToCharsFraction", ">= 0.5"},
        {"BM_ComposeLongIntegerDisplay", "BM_SnprintfLong", "> 1"},
        {"BM_ComposeLongIntegerDisplay", "BM_ToCharsLong", ">= 0.5"},
        {"BM_ParseRealRead", "BM_Strtod", "> 1"},
        {"BM_ParseRealRead", "BM_FromCharsDouble", ">= 0.5"},
        {"BM_ParseIntegerRead", "BM_Strtol", "> 1"},
        {"BM_ParseIntegerRead", "BM_FromCharsInt", ">= 0.5"},
    };
    std::printf("\n%-30s %9s  %-22s %9s  %7s  %s\n", "record format", "ns/value", "reference",
                "ns/value", "ratio", "goal");
    for (const Comparison& c : comparisons) {
      const auto ours = perValue_.find(c.ours);
      const auto reference = perValue_.find(c.reference);
      if (ours == perValue_.end() || reference == perValue_.end()) continue;
      const double ratio = reference->second / ours->second;
      const bool met = c.goal[0] == '>' && c.goal[1] == '=' ? ratio >= 0.5 : ratio > 1;
      std::printf("%-30s %9.1f  %-22s %9.1f  %7.2f  %s %s\n", c.ours + 3, ours->second,
                  c.reference + 3, reference->second, ratio, c.goal, met ? "met" : "NOT MET");
    }
    std::printf(
        "(ratio = reference time / record format time; above 1 means the record format is "
        "faster)\n");
  }

 private:
  std::map<std::string, double> perValue_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // Build the inputs before timing anything.
  NumberValues();
  FractionValues();
  LongValues();
  RealInputs();
  IntegerInputs();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
