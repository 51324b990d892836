// Loads generated OBJ files, a grid of about 100 MB among them, through the resource manager and
// reports the time, the throughput and the peak resident memory of the process.
//
// The grid of N x N cells has (N + 1)^2 positions, texture coordinates and
// normals, and 2 N^2 triangles written as v/vt/vn with the same index three
// times, so every position is one distinct face vertex. N = 707 gives 501,264
// vertices and 999,698 triangles.
//
// Two files of the same counts, N triangles over 3 N distinct face vertices and 1000 lines of
// each kind, compare ordinary face vertices with ones chosen to pile up in one sixty-fourth of a
// table hashed the way the loader's set of face vertices once was: boost's hash_combine of the
// three indices, its product with 2^64 / phi, the top bits choosing the slot.

#include <benchmark/benchmark.h>

#include <boost/filesystem.hpp>
#include <boost/functional/hash.hpp>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "system/loader/ressourcemanager.h"

namespace {

// Writes an OBJ file with one usemtl line and its one-material library; removed
// with its directory when the program ends.
class ObjFile {
 public:
  template <typename Writer>
  explicit ObjFile(Writer write)
      : dir(boost::filesystem::temp_directory_path() /
            boost::filesystem::unique_path("loadmesh-%%%%-%%%%")) {
    boost::filesystem::create_directories(dir);
    std::ofstream((dir / "grid.mtl").string()) << "newmtl ground\nKd 0.4 0.6 0.2\nNs 10\n";
    path = (dir / "grid.obj").string();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "wb"),
                                                        std::fclose);
    std::fprintf(out.get(), "mtllib grid.mtl\no grid\n");
    write(out.get());
    bytes = static_cast<double>(std::ftell(out.get()));
  }
  ~ObjFile() {
    boost::system::error_code ignored;
    boost::filesystem::remove_all(dir, ignored);
  }

  std::string path;
  double bytes = 0;

 private:
  boost::filesystem::path dir;
};

void writeGrid(std::FILE* out, int cells) {
  const int side = cells + 1;
  for (int j = 0; j < side; ++j) {
    for (int i = 0; i < side; ++i) {
      const double x = double(i) / cells, y = double(j) / cells;
      std::fprintf(out, "v %.6f %.6f %.6f\n", x, y, 0.05 * std::sin(9 * x) * std::cos(7 * y));
    }
  }
  for (int j = 0; j < side; ++j) {
    for (int i = 0; i < side; ++i) {
      std::fprintf(out, "vt %.6f %.6f\n", double(i) / cells, double(j) / cells);
    }
  }
  for (int j = 0; j < side; ++j) {
    for (int i = 0; i < side; ++i) {
      std::fprintf(out, "vn %.4f %.4f %.4f\n", 0.01 * (i % 7), 0.01 * (j % 5), 0.9999);
    }
  }
  std::fprintf(out, "usemtl ground\ns off\n");
  for (int j = 0; j < cells; ++j) {
    for (int i = 0; i < cells; ++i) {
      const int a = j * side + i + 1, b = a + 1, c = a + side, d = c + 1;
      std::fprintf(out, "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, b, b, b, d, d, d);
      std::fprintf(out, "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, d, d, d, c, c, c);
    }
  }
}

// True when the old set put (v, vt, vn) in the first sixty-fourth of its table, at any size.
bool collidedBefore(int v, int vt, int vn) {
  std::size_t seed = 0;
  boost::hash_combine(seed, v);
  boost::hash_combine(seed, vt);
  boost::hash_combine(seed, vn);
  return (std::uint64_t(seed) * 0x9E3779B97F4A7C15ULL) >> 58 == 0;
}

// Triangles over distinct face vertices taken in index order, each kept when keep says so.
void writeFaces(std::FILE* out, int triangles, bool (*keep)(int, int, int)) {
  const int lines = 1000;
  for (int i = 0; i < lines; ++i) {
    std::fprintf(out, "v %d 0 %d\nvt 0.%03d 0.5\nvn 0 0 1\n", i % 37, i / 37, i);
  }
  std::fprintf(out, "usemtl ground\n");
  long long next = 0;
  for (int t = 0; t < triangles * 3; ++t) {
    int v, vt, vn;
    do {
      v = int(next % lines) + 1;
      vt = int(next / lines % lines) + 1;
      vn = int(next / lines / lines) + 1;
      ++next;
    } while (!keep(v, vt, vn));
    std::fprintf(out, "%s %d/%d/%d%s", t % 3 == 0 ? "f" : "", v, vt, vn, t % 3 == 2 ? "\n" : "");
  }
}

// The highest resident set size of this process so far, in MB.
double peakResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.compare(0, 6, "VmHWM:") == 0) {
      std::istringstream fields(line.substr(6));
      double kilobytes = 0;
      fields >> kilobytes;
      return kilobytes / 1024;
    }
  }
  return 0;
}

// Keeps the loader's progress lines out of the benchmark's table.
class Silence {
 public:
  Silence() : out(std::cout.rdbuf(nullptr)), err(std::cerr.rdbuf(nullptr)) {}
  ~Silence() {
    std::cout.clear();
    std::cerr.clear();
    std::cout.rdbuf(out);
    std::cerr.rdbuf(err);
  }

 private:
  std::streambuf* out;
  std::streambuf* err;
};

void loadFile(benchmark::State& state, const ObjFile& file) {
  System::Loader::RessourceManager* manager = System::Loader::RessourceManager::getInstance();
  std::size_t vertices = 0, triangles = 0;
  for (auto _ : state) {
    Silence quiet;
    const boost::shared_ptr<Data::Geometry::Mesh> mesh = manager->loadMesh(file.path);
    vertices = mesh->vertices.size();
    triangles = mesh->triangles.size();
    benchmark::DoNotOptimize(mesh.get());
  }
  state.counters["file_MB"] = file.bytes / 1e6;
  state.counters["throughput_MB"] = benchmark::Counter(
      file.bytes / 1e6 * double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["vertices"] = double(vertices);
  state.counters["triangles"] = double(triangles);
  state.counters["peakRSS_MB"] = peakResidentMegabytes();
}

void loadGrid(benchmark::State& state) {
  const int cells = static_cast<int>(state.range(0));
  loadFile(state, ObjFile([cells](std::FILE* out) { writeGrid(out, cells); }));
}

void loadFaces(benchmark::State& state, bool colliding) {
  const int triangles = static_cast<int>(state.range(0));
  const auto any = [](int, int, int) { return true; };
  loadFile(state, ObjFile([=](std::FILE* out) {
             writeFaces(out, triangles, colliding ? collidedBefore : +any);
           }));
}

// The small grid is for profiling (--benchmark_filter=loadGrid/100).
BENCHMARK(loadGrid)
    ->Arg(100)
    ->Arg(707)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(loadFaces, ordinary, false)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(loadFaces, colliding, true)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// An OBJ file whose N mtllib lines all name the file itself, 400 kB for N = 20000: a library is
// read once per load, so the time grows with N, not with its square.
void loadSelfNamingLibraries(benchmark::State& state) {
  const boost::filesystem::path dir =
      boost::filesystem::temp_directory_path() / boost::filesystem::unique_path("selfnamed-%%%%");
  boost::filesystem::create_directories(dir);
  const std::string path = (dir / "self.obj").string();
  std::ofstream out(path);
  for (int64_t k = 0; k < state.range(0); ++k) out << "mtllib self.obj\n";
  out << "v 0 0 0\nf 1// 1// 1//\n";
  out.close();
  for (auto _ : state) {
    Silence quiet;
    benchmark::DoNotOptimize(System::Loader::RessourceManager::getInstance()->loadMesh(path));
  }
  boost::filesystem::remove_all(dir);
}

BENCHMARK(loadSelfNamingLibraries)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();

// An OBJ file whose N mtllib lines all name one library of N materials, about 400 kB for
// N = 10000: what the lines deliver again is bounded per load, so the time does not grow with N
// squared.
void loadRepeatedLibrary(benchmark::State& state) {
  const boost::filesystem::path dir =
      boost::filesystem::temp_directory_path() / boost::filesystem::unique_path("repeated-%%%%");
  boost::filesystem::create_directories(dir);
  const std::string path = (dir / "repeated.obj").string();
  std::ofstream library((dir / "lib.mtl").string()), out(path);
  for (int64_t k = 0; k < state.range(0); ++k) {
    library << "newmtl m" << k << "\nKd 0.5 0.5 0.5\n";
    out << "mtllib lib.mtl\n";
  }
  out << "v 0 0 0\nf 1// 1// 1//\n";
  library.close();
  out.close();
  for (auto _ : state) {
    Silence quiet;
    benchmark::DoNotOptimize(System::Loader::RessourceManager::getInstance()->loadMesh(path));
  }
  boost::filesystem::remove_all(dir);
}

BENCHMARK(loadRepeatedLibrary)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
