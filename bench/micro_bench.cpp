// Microbenchmarks of the work cmdrunner does on its own: percent-decoding
// the argument, replacing line endings in captured text, and loading the
// command document and walking its commands.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_text.h"
#include "platform/percent_decoding.h"
#include "platform/text.h"
#include "xmldata/core_engine.h"
#include "xmldata/xml_extension_modified.h"

namespace {

constexpr size_t kDocumentSize = 128 * 1024;

void PercentDecoding(benchmark::State& state) {
  const std::string word = bench::PercentEncode(bench::CommandDocument(kDocumentSize));
  for (auto _ : state) benchmark::DoNotOptimize(platform::DecodePercent(word));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * word.size()));
}
BENCHMARK(PercentDecoding);

// With the check for well-formed UTF-8 that the argument goes through.
void DecodingFromURLVRD(benchmark::State& state) {
  const std::string word = bench::PercentEncode(bench::CommandDocument(kDocumentSize));
  for (auto _ : state) benchmark::DoNotOptimize(CoreEngine::DecodingFromURLVRD(word));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * word.size()));
}
BENCHMARK(DecodingFromURLVRD);

// The whole-text form, into a new string.
void ReplaceLineEndings(benchmark::State& state) {
  const std::string text = bench::CrlfText(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(platform::ReplaceLineEndings(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(ReplaceLineEndings)->Arg(1 << 20)->Arg(64 << 20);

// The form used on captured text: in place, 64 KiB chunks as reads deliver
// them. Each round starts from a fresh copy of the text, outside the timing.
void LineEndingReplacerInPlace(benchmark::State& state) {
  const std::string text = bench::CrlfText(static_cast<size_t>(state.range(0)));
  std::string work = text;
  constexpr size_t kChunk = 64 * 1024;
  for (auto _ : state) {
    state.PauseTiming();
    std::memcpy(work.data(), text.data(), text.size());
    state.ResumeTiming();
    platform::LineEndingReplacer replacer;
    size_t kept = 0;
    for (size_t at = 0; at < work.size(); at += kChunk) {
      const size_t chunk = std::min(kChunk, work.size() - at);
      // Each chunk is replaced where it landed, then joins the text before it.
      const size_t length = replacer.Replace(work.data() + at, chunk);
      std::memmove(work.data() + kept, work.data() + at, length);
      kept += length;
    }
    benchmark::DoNotOptimize(kept);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(LineEndingReplacerInPlace)->Arg(1 << 20)->Arg(64 << 20);

// What Run does with each command: read its tool path, argument values and
// fail_on_error. Returns the number of commands.
size_t WalkCommands(const XMLData& root) {
  size_t commands = 0;
  const auto list = root.GetNode("commands");
  for (const auto& child : list->Children()) {
    const XMLData command(child);
    benchmark::DoNotOptimize(command.GetURLDecodedString("tool_path", "", false));
    if (const auto arguments = command.GetNode("arguments")) {
      for (const auto& item : arguments->Children()) {
        benchmark::DoNotOptimize(XMLData(item).GetURLDecodedString("value", "", false));
      }
    }
    benchmark::DoNotOptimize(command.GetBoolean("fail_on_error", false));
    ++commands;
  }
  return commands;
}

// The whole of Run's work on the document: load it, then walk the commands.
void LoadAndWalkCommands(benchmark::State& state) {
  const std::string document = bench::CommandDocument(kDocumentSize);
  size_t commands = 0;
  for (auto _ : state) commands = WalkCommands(XMLExtensionModified::LoadXMLStr(document));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * document.size()));
  state.counters["commands"] = static_cast<double>(commands);
}
BENCHMARK(LoadAndWalkCommands)->Unit(benchmark::kMicrosecond);

// The same for the largest document that a caller can pass: its word must
// fit Linux's limit on one argument.
void LoadAndWalkLargestWord(benchmark::State& state) {
  const std::string document = bench::LargestWordDocument();
  size_t commands = 0;
  for (auto _ : state) commands = WalkCommands(XMLExtensionModified::LoadXMLStr(document));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * document.size()));
  state.counters["commands"] = static_cast<double>(commands);
  state.counters["document_kib"] = static_cast<double>(document.size()) / 1024;
}
BENCHMARK(LoadAndWalkLargestWord)->Unit(benchmark::kMicrosecond);

// The walk alone, on a document loaded once.
void WalkCommands(benchmark::State& state) {
  const std::string document = bench::CommandDocument(kDocumentSize);
  const XMLData root = XMLExtensionModified::LoadXMLStr(document);
  for (auto _ : state) benchmark::DoNotOptimize(WalkCommands(root));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * document.size()));
}
BENCHMARK(WalkCommands)->Unit(benchmark::kMicrosecond);

// The load alone, to tell the parser's share from the lookups'.
void LoadXMLStr(benchmark::State& state) {
  const std::string document = bench::CommandDocument(kDocumentSize);
  for (auto _ : state) benchmark::DoNotOptimize(XMLExtensionModified::LoadXMLStr(document));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * document.size()));
}
BENCHMARK(LoadXMLStr)->Unit(benchmark::kMicrosecond);

}  // namespace
