// Loads a generated grid mesh of about 100 MB through the resource manager and
// reports the time, the throughput and the peak resident memory of the process.
//
// The grid of N x N cells has (N + 1)^2 positions, texture coordinates and
// normals, and 2 N^2 triangles written as v/vt/vn with the same index three
// times, so every position is one distinct face vertex. N = 707 gives 501,264
// vertices and 999,698 triangles.

#include <benchmark/benchmark.h>

#include <boost/filesystem.hpp>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "system/loader/ressourcemanager.h"

namespace {

// Writes the grid with one usemtl line and its one-material library; removed
// with its directory when the program ends.
class GridFile {
 public:
  explicit GridFile(int cells)
      : dir(boost::filesystem::temp_directory_path() /
            boost::filesystem::unique_path("loadmesh-%%%%-%%%%")) {
    boost::filesystem::create_directories(dir);
    std::ofstream((dir / "grid.mtl").string()) << "newmtl ground\nKd 0.4 0.6 0.2\nNs 10\n";
    path = (dir / "grid.obj").string();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "wb"),
                                                        std::fclose);
    writeGrid(out.get(), cells);
    bytes = static_cast<double>(std::ftell(out.get()));
  }
  ~GridFile() {
    boost::system::error_code ignored;
    boost::filesystem::remove_all(dir, ignored);
  }

  std::string path;
  double bytes = 0;

 private:
  static void writeGrid(std::FILE* out, int cells) {
    const int side = cells + 1;
    std::fprintf(out, "# %d x %d grid\nmtllib grid.mtl\no grid\n", cells, cells);
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

  boost::filesystem::path dir;
};

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

void loadGrid(benchmark::State& state) {
  const GridFile file(static_cast<int>(state.range(0)));
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

// The small grid is for profiling (--benchmark_filter=loadGrid/100).
BENCHMARK(loadGrid)
    ->Arg(100)
    ->Arg(707)
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

}  // namespace

BENCHMARK_MAIN();
