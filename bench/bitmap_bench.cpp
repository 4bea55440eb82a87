// Bitmap decoding throughput of the program's loader against stb_image, on
// the same 1024x1024 files made here in memory: 24-bit, 8-bit with a palette,
// and RLE8 (which stb_image refuses, so it runs alone). Prints Google
// Benchmark's table, then a summary in MiB/s of decoded RGB with the ratios.

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb/stb_image.h>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bitmap/bitmap_decode.h"

namespace {

constexpr int kSide = 1024;
constexpr int64_t kDecodedBytes = int64_t(kSide) * kSide * 3;

using Bytes = std::vector<unsigned char>;

void put16(Bytes& b, size_t at, uint32_t v)
{
    b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8);
}
void put32(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = uint8_t(v >> (8 * i));
}

// File header and 40-byte information header, palette entries zeroed.
Bytes headers(int bitCount, uint32_t compression, int paletteEntries)
{
    const size_t pixelsAt = 14 + 40 + 4 * size_t(paletteEntries);
    Bytes b(pixelsAt, 0);
    b[0] = 'B', b[1] = 'M';
    put32(b, 10, uint32_t(pixelsAt));
    put32(b, 14, 40);
    put32(b, 18, kSide);
    put32(b, 22, kSide);
    put16(b, 26, 1);
    put16(b, 28, uint16_t(bitCount));
    put32(b, 30, compression);
    put32(b, 46, uint32_t(paletteEntries));
    return b;
}

void finish(Bytes& b)
{
    put32(b, 2, uint32_t(b.size()));
    put32(b, 34, uint32_t(b.size() - 14 - 40 - (b[28] == 8 ? 1024 : 0)));
}

uint32_t g_seed = 12345;
uint32_t nextRandom()
{
    g_seed = g_seed * 1664525u + 1013904223u;
    return g_seed >> 8;
}

Bytes make24()
{
    Bytes b = headers(24, 0, 0);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            b.push_back(uint8_t(x ^ y));
            b.push_back(uint8_t(x * 3 + y));
            b.push_back(uint8_t(nextRandom()));
        }
    finish(b);
    return b;
}

// Palette indices in runs of 1 to 48 pixels, shared by the 8-bit and RLE8
// files so that both must decode to the same picture.
std::vector<uint8_t> makeIndices()
{
    std::vector<uint8_t> idx;
    idx.reserve(size_t(kSide) * kSide);
    while (idx.size() < size_t(kSide) * kSide) {
        const uint32_t r = nextRandom();
        const size_t run = 1 + r % 48;
        const uint8_t value = uint8_t(r >> 8);
        for (size_t i = 0; i < run && idx.size() < size_t(kSide) * kSide; ++i)
            idx.push_back(value);
    }
    return idx;
}

void addPalette(Bytes& b)
{
    for (int i = 0; i < 256; ++i) {
        b[54 + 4 * i] = uint8_t(i);
        b[54 + 4 * i + 1] = uint8_t(255 - i);
        b[54 + 4 * i + 2] = uint8_t(i * 7);
    }
}

Bytes make8(const std::vector<uint8_t>& idx)
{
    Bytes b = headers(8, 0, 256);
    addPalette(b);
    b.insert(b.end(), idx.begin(), idx.end());  // 1024-byte rows need no padding
    finish(b);
    return b;
}

// Runs of three or more as encoded pairs, shorter stretches gathered into
// absolute runs (padded to an even length), one end-of-line per row.
Bytes makeRle8(const std::vector<uint8_t>& idx)
{
    Bytes b = headers(8, 1, 256);
    addPalette(b);
    for (int y = 0; y < kSide; ++y) {
        const uint8_t* row = idx.data() + size_t(y) * kSide;
        int x = 0;
        std::vector<uint8_t> literal;
        auto flush = [&] {
            size_t i = 0;
            while (literal.size() - i >= 3) {
                size_t n = std::min<size_t>(255, literal.size() - i);
                b.push_back(0), b.push_back(uint8_t(n));
                b.insert(b.end(), literal.begin() + long(i), literal.begin() + long(i + n));
                if (n & 1)
                    b.push_back(0);
                i += n;
            }
            for (; i < literal.size(); ++i)
                b.push_back(1), b.push_back(literal[i]);
            literal.clear();
        };
        while (x < kSide) {
            int run = 1;
            while (x + run < kSide && row[x + run] == row[x] && run < 255)
                ++run;
            if (run >= 3) {
                flush();
                b.push_back(uint8_t(run)), b.push_back(row[x]);
            } else {
                literal.insert(literal.end(), row + x, row + x + run);
            }
            x += run;
        }
        flush();
        b.push_back(0), b.push_back(0);
    }
    b.push_back(0), b.push_back(1);
    finish(b);
    return b;
}

Bytes g_bmp24, g_bmp8, g_rle8;
std::string g_file24, g_file8;

void BM_decodeBitmap(benchmark::State& state, const Bytes* file)
{
    std::string err;
    for (auto _ : state) {
        RgbImage* image = decodeBitmap(file->data(), file->size(), &err);
        benchmark::DoNotOptimize(image->data);
        freeRgbImage(image);
    }
    state.SetBytesProcessed(state.iterations() * kDecodedBytes);
}

void BM_stbi_load_from_memory(benchmark::State& state, const Bytes* file)
{
    for (auto _ : state) {
        int w, h, n;
        unsigned char* data = stbi_load_from_memory(file->data(), int(file->size()), &w, &h, &n, 3);
        benchmark::DoNotOptimize(data);
        stbi_image_free(data);
    }
    state.SetBytesProcessed(state.iterations() * kDecodedBytes);
}

void BM_readBitmapFile(benchmark::State& state, const std::string* path)
{
    std::string err;
    for (auto _ : state) {
        RgbImage* image = readBitmapFile(path->c_str(), &err);
        benchmark::DoNotOptimize(image->data);
        freeRgbImage(image);
    }
    state.SetBytesProcessed(state.iterations() * kDecodedBytes);
}

void BM_stbi_load(benchmark::State& state, const std::string* path)
{
    for (auto _ : state) {
        int w, h, n;
        unsigned char* data = stbi_load(path->c_str(), &w, &h, &n, 3);
        benchmark::DoNotOptimize(data);
        stbi_image_free(data);
    }
    state.SetBytesProcessed(state.iterations() * kDecodedBytes);
}

// Both decoders must agree (stb's rows run top-down, ours bottom-up), and the
// RLE8 file must decode to the same picture as the plain 8-bit one.
bool sameDecodes(std::string* why)
{
    auto ours = [](const Bytes& f) {
        std::string err;
        RgbImage* image = decodeBitmap(f.data(), f.size(), &err);
        Bytes out;
        if (image && image->width == kSide && image->height == kSide)
            out.assign(image->data, image->data + kDecodedBytes);
        freeRgbImage(image);
        return out;
    };
    auto stb = [](const Bytes& f) {
        int w = 0, h = 0, n = 0;
        unsigned char* data = stbi_load_from_memory(f.data(), int(f.size()), &w, &h, &n, 3);
        Bytes out;
        if (data && w == kSide && h == kSide)
            for (int y = kSide - 1; y >= 0; --y)
                out.insert(out.end(), data + size_t(y) * kSide * 3, data + size_t(y + 1) * kSide * 3);
        stbi_image_free(data);
        return out;
    };
    const Bytes a24 = ours(g_bmp24), a8 = ours(g_bmp8), rle = ours(g_rle8);
    if (a24.empty() || a8.empty() || rle.empty())
        return *why = "the loader refused a bench file", false;
    if (a24 != stb(g_bmp24))
        return *why = "24-bit decodes differ from stb_image", false;
    if (a8 != stb(g_bmp8))
        return *why = "8-bit decodes differ from stb_image", false;
    if (rle != a8)
        return *why = "RLE8 decodes differently from the same picture in plain 8-bit", false;
    return true;
}

std::string writeTemp(const Bytes& b)
{
    char path[] = "/tmp/maze-bench-bmp-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0)
        return "";
    const bool ok = write(fd, b.data(), b.size()) == ssize_t(b.size());
    close(fd);
    return ok ? path : "";
}

// Shows the medians of Google Benchmark's table, in registration order, and
// takes note of them. The machine is described by scripts/bench instead.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    SummaryReporter() : ConsoleReporter(OO_Tabular) {}
    std::map<std::string, double> mibPerSecond;  // benchmark name -> median MiB/s
    std::vector<std::string> order;              // benchmark names as registered
    int64_t repetitions = 0;

    bool ReportContext(const Context& context) override
    {
        name_field_width_ = context.name_field_width + 7;  // room for "_median"
        return true;
    }
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median")
                continue;
            medians_.push_back(run);
            repetitions = run.repetitions;
            auto it = run.counters.find("bytes_per_second");
            if (it != run.counters.end())
                mibPerSecond[run.run_name.function_name] = it->second.value / (1 << 20);
        }
    }
    void Finalize() override
    {
        auto rank = [&](const Run& r) {
            return std::find(order.begin(), order.end(), r.run_name.function_name) - order.begin();
        };
        std::stable_sort(medians_.begin(), medians_.end(),
                         [&](const Run& a, const Run& b) { return rank(a) < rank(b); });
        if (!medians_.empty())
            ConsoleReporter::ReportRuns(medians_);
        ConsoleReporter::Finalize();
    }

private:
    std::vector<Run> medians_;
};

}  // namespace

int main(int argc, char** argv)
{
    g_bmp24 = make24();
    const std::vector<uint8_t> idx = makeIndices();
    g_bmp8 = make8(idx);
    g_rle8 = makeRle8(idx);
    std::string why;
    if (!sameDecodes(&why)) {
        std::fprintf(stderr, "bitmap_bench: %s\n", why.c_str());
        return 1;
    }
    // stb_image turns RLE down; say so rather than leave the cell empty.
    int w, h, n;
    unsigned char* stbRle = stbi_load_from_memory(g_rle8.data(), int(g_rle8.size()), &w, &h, &n, 3);
    const std::string stbRleNote = stbRle ? "decoded" : std::string("refused: ") + stbi_failure_reason();
    stbi_image_free(stbRle);

    g_file24 = writeTemp(g_bmp24);
    g_file8 = writeTemp(g_bmp8);
    if (g_file24.empty() || g_file8.empty()) {
        std::fprintf(stderr, "bitmap_bench: cannot write the bench files in /tmp\n");
        return 1;
    }

    SummaryReporter reporter;
    auto add = [&](const std::string& name, auto fn, auto arg) {
        benchmark::RegisterBenchmark(name.c_str(), fn, arg);
        reporter.order.push_back(name);
    };
    struct Case {
        const char* name;
        const Bytes* bytes;
    };
    const Case cases[] = {{"24bit", &g_bmp24}, {"8bit", &g_bmp8}, {"rle8", &g_rle8}};
    for (const Case& c : cases) {
        add(std::string("decodeBitmap/") + c.name, BM_decodeBitmap, c.bytes);
        if (c.bytes != &g_rle8)
            add(std::string("stbi_load_from_memory/") + c.name, BM_stbi_load_from_memory, c.bytes);
    }
    add("readBitmapFile/24bit", BM_readBitmapFile, &g_file24);
    add("stbi_load/24bit", BM_stbi_load, &g_file24);
    add("readBitmapFile/8bit", BM_readBitmapFile, &g_file8);
    add("stbi_load/8bit", BM_stbi_load, &g_file8);

    // Repetitions interleaved at random, so that load from elsewhere on the
    // machine falls on both decoders alike; medians are reported.
    std::vector<char*> args(argv, argv + argc);
    std::string reps = "--benchmark_repetitions=7", interleave = "--benchmark_enable_random_interleaving=true",
                only = "--benchmark_report_aggregates_only=true", minTime = "--benchmark_min_time=0.2";
    args.insert(args.begin() + 1, {reps.data(), interleave.data(), only.data(), minTime.data()});
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    unlink(g_file24.c_str());
    unlink(g_file8.c_str());

    auto rate = [&](const std::string& name) {
        auto it = reporter.mibPerSecond.find(name);
        return it == reporter.mibPerSecond.end() ? 0.0 : it->second;
    };
    std::printf("\nBitmap decoding, 1024x1024, MiB/s of decoded RGB (median of %d runs)\n", int(reporter.repetitions));
    std::printf("  %-28s %12s %12s %9s\n", "", "maze loader", "stb_image", "maze/stb");
    const struct {
        const char* label;
        const char* ours;
        const char* theirs;
    } rows[] = {
        {"24-bit, in memory", "decodeBitmap/24bit", "stbi_load_from_memory/24bit"},
        {"8-bit palette, in memory", "decodeBitmap/8bit", "stbi_load_from_memory/8bit"},
        {"24-bit, from a file", "readBitmapFile/24bit", "stbi_load/24bit"},
        {"8-bit palette, from a file", "readBitmapFile/8bit", "stbi_load/8bit"},
    };
    for (const auto& r : rows) {
        const double a = rate(r.ours), b = rate(r.theirs);
        std::printf("  %-28s %12.1f %12.1f %9.2f\n", r.label, a, b, b > 0 ? a / b : 0.0);
    }
    std::printf("  %-28s %12.1f   (stb_image %s)\n", "RLE8, in memory", rate("decodeBitmap/rle8"),
                stbRleNote.c_str());
    return 0;
}
