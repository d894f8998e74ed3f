// Map images and sample studies.
//
//   BM_BuildHuffmanTree: the 255 merges over the fixed 511-node pool.
//   BM_ParseProjection/<scenario>: reading a projection file as opening it
//     does: header, table, tree and decoding the whole map bitmap.
//   BM_GenerateStudy/<scenario>: making a sample study in memory.

#include "formats/Huffman.h"
#include "formats/ProjectionReader.h"
#include "samples/SampleStudy.h"

#include <benchmark/benchmark.h>

#include <map>

namespace tarvo {
namespace {

const CSampleStudy& Study(const std::string& scenario) {
    static std::map<std::string, CSampleStudy> studies;
    auto it = studies.find(scenario);
    if (it == studies.end())
        it = studies.emplace(scenario, *GenerateSampleStudy(scenario, 1)).first;
    return it->second;
}

void BM_BuildHuffmanTree(benchmark::State& state) {
    const auto counts = CHuffmanTree::CountBytes(Study("office").bitmap);
    for (auto _ : state) {
        CHuffmanTree tree;
        tree.Build(counts);
        benchmark::DoNotOptimize(tree.Root().weight);
    }
}
BENCHMARK(BM_BuildHuffmanTree);

void BM_ParseProjection(benchmark::State& state, const std::string& scenario) {
    const CSampleStudy& study = Study(scenario);
    for (auto _ : state) {
        const CProjectionParse parse = ParseProjection(study.projectionBytes, study.projectionKind);
        if (parse.status != ProjectionParseStatus::Ok)
            state.SkipWithError("projection refused");
        benchmark::DoNotOptimize(parse.contents.bitmap.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(study.bitmap.size()));
}
BENCHMARK_CAPTURE(BM_ParseProjection, office, std::string("office"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ParseProjection, campus, std::string("campus"))->Unit(benchmark::kMillisecond);

void BM_GenerateStudy(benchmark::State& state, const std::string& scenario) {
    for (auto _ : state) {
        auto study = GenerateSampleStudy(scenario, 1);
        benchmark::DoNotOptimize(study->walks.data());
    }
}
BENCHMARK_CAPTURE(BM_GenerateStudy, office, std::string("office"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GenerateStudy, large, std::string("large"))->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tarvo

BENCHMARK_MAIN();
