// Artwork on a large layer: the sample's pixels at the top left of a transparent SIZE x SIZE RGBA
// PNG, made once per size in a scratch folder removed at exit. `Decode` is FreeImage reading the
// file, the part no host can skip; `Build` is `pictaro build` of it as a whole process. Each
// reports its peak resident memory (peak_MB) next to the decoded layer's size (layer_MB).
// Slow and memory-hungry at 30000: leave them out with --benchmark_filter=-LargeLayer.
#include <FreeImage.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "hostengine/HostEngine.h"

namespace pictaro {
namespace {

namespace fs = std::filesystem;

// The scratch folder and the layers made in it, by size.
struct Scratch {
  fs::path folder;
  std::map<int, std::string> layers;
  ~Scratch() {
    std::error_code ignored;
    if (!folder.empty()) fs::remove_all(folder, ignored);
  }
};
Scratch scratch;

void PutBigEndian(std::ofstream& out, std::uint32_t value) {
  const std::array<char, 4> bytes = {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                                     static_cast<char>(value >> 8), static_cast<char>(value)};
  out.write(bytes.data(), 4);
}

void PutChunk(std::ofstream& out, const char* type, const std::uint8_t* data, std::size_t size) {
  PutBigEndian(out, static_cast<std::uint32_t>(size));
  out.write(type, 4);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
  if (size != 0) crc = crc32(crc, data, static_cast<uInt>(size));  // no data restarts the sum
  PutBigEndian(out, static_cast<std::uint32_t>(crc));
}

// Writes the PNG row by row, so that making it never holds the whole layer.
std::string LargeLayer(int size) {
  if (const auto made = scratch.layers.find(size); made != scratch.layers.end())
    return made->second;
  if (scratch.folder.empty()) {
    std::string pattern = (fs::temp_directory_path() / "pictaro-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return {};
    scratch.folder = pattern;
  }
  std::string error;
  const std::optional<Layer> sample =
      LoadLayerImage(PICTARO_SOURCE_DIR "/samples/sample-layer.png", false, error);
  if (!sample || sample->planes != 4) return {};
  const std::string path = (scratch.folder / ("layer-" + std::to_string(size) + ".png")).string();
  std::ofstream out(path, std::ios::binary);
  out.write("\x89PNG\r\n\x1a\n", 8);
  // Width and height, 8 bits per channel, RGBA, no interlacing.
  std::array<std::uint8_t, 13> header = {0, 0, 0, 0, 0, 0, 0, 0, 8, 6, 0, 0, 0};
  for (int i = 0; i < 4; ++i)
    header[i] = header[4 + i] = static_cast<std::uint8_t>(size >> (24 - 8 * i));
  PutChunk(out, "IHDR", header.data(), header.size());
  z_stream z{};
  deflateInit(&z, Z_BEST_SPEED);
  std::vector<std::uint8_t> row(1 + static_cast<std::size_t>(size) * 4);
  std::vector<std::uint8_t> packed(1 << 20);
  for (int y = 0; y <= size; ++y) {
    std::fill(row.begin(), row.end(), 0);  // filter 0, transparent black
    if (y < sample->height)
      std::memcpy(row.data() + 1, sample->At(0, y),
                  static_cast<std::size_t>(std::min(sample->width, size)) * 4);
    z.next_in = row.data();
    z.avail_in = y < size ? static_cast<uInt>(row.size()) : 0;
    const int flush = y < size ? Z_NO_FLUSH : Z_FINISH;
    do {
      z.next_out = packed.data();
      z.avail_out = static_cast<uInt>(packed.size());
      deflate(&z, flush);
      const std::size_t produced = packed.size() - z.avail_out;
      if (produced != 0) PutChunk(out, "IDAT", packed.data(), produced);
    } while (z.avail_out == 0);
  }
  deflateEnd(&z);
  PutChunk(out, "IEND", nullptr, 0);
  if (!out) return {};
  return scratch.layers[size] = path;
}

double LayerMegabytes(int size) {
  return static_cast<double>(size) * size * 4 / (1 << 20);
}

// The process's peak resident memory since the last reset, in MiB.
double PeakMegabytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024;
  return 0;
}
void ResetPeak() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

void BM_LargeLayerDecode(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  const std::string path = LargeLayer(size);
  if (path.empty()) return state.SkipWithError("can't make the layer");
  FreeImage_Initialise(FALSE);
  double peak = 0;
  for (auto _ : state) {
    ResetPeak();
    FIBITMAP* bitmap = FreeImage_Load(FIF_PNG, path.c_str(), 0);
    if (bitmap == nullptr) state.SkipWithError("FreeImage can't read the layer");
    FreeImage_Unload(bitmap);
    peak = PeakMegabytes();
  }
  FreeImage_DeInitialise();
  state.counters["peak_MB"] = peak;
  state.counters["layer_MB"] = LayerMegabytes(size);
}
BENCHMARK(BM_LargeLayerDecode)
    ->ArgName("size")
    ->Arg(12000)
    ->Arg(30000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

void BM_LargeLayerBuild(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  const std::string path = LargeLayer(size);
  if (path.empty()) return state.SkipWithError("can't make the layer");
  const std::string program = PICTARO_BIN_DIR "/pictaro";
  const std::string icon = (scratch.folder / "built.ico").string();
  std::vector<std::string> words = {program, "build", path, "-o", icon};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  double peak = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    // A copy of this process, not one sharing its memory until exec, so that the peak counted
    // starts from what this process holds now rather than from its own peak.
    const pid_t child = fork();
    if (child == 0) {
      // Its report would mix with the benchmark's table.
      const int quiet = open("/dev/null", O_WRONLY);
      dup2(quiet, 1);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) {
      state.SkipWithError("can't run pictaro");
      break;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(took.count());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("pictaro build failed");
    peak = static_cast<double>(usage.ru_maxrss) / 1024;
  }
  state.counters["peak_MB"] = peak;
  state.counters["layer_MB"] = LayerMegabytes(size);
}
BENCHMARK(BM_LargeLayerBuild)
    ->ArgName("size")
    ->Arg(12000)
    ->Arg(30000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace
}  // namespace pictaro
