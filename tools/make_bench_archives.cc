// Writes the archive set of the extraction benchmark: make_bench_archives
// FOLDER [MIB]. About MIB MiB (default 200) of file data in 8 ZIP archives of
// 400 files each, in nested folders, half of the files deflated and half
// stored, with contents that deflate shrinks by about half.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/programs/zip_writer.h"

namespace {

constexpr int kArchives = 8;
constexpr int kFilesPerArchive = 400;

struct Random {
  uint64_t state;
  uint32_t next() {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(state >> 33);
  }
};

// Lines of record-like text with random digits: compressible, not trivially.
std::string content(Random& r, size_t size) {
  std::string s;
  s.reserve(size + 80);
  while (s.size() < size) {
    s += "REG ";
    for (int i = 0; i < 24; ++i)
      s += static_cast<char>('0' + r.next() % 10);
    s += " CLIENTE ";
    for (int i = 0; i < 16; ++i)
      s += static_cast<char>('A' + r.next() % 26);
    s += "\r\n";
  }
  s.resize(size);
  return s;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_bench_archives FOLDER [MIB]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const double mib = argc > 2 ? std::atof(argv[2]) : 200.0;
  const size_t mean = static_cast<size_t>(mib * 1048576 / (kArchives * kFilesPerArchive));
  Random r{42};
  for (int a = 0; a < kArchives; ++a) {
    qov::ZipWriter zip;
    std::string path = folder + "/bench" + std::to_string(a) + ".zip";
    if (!zip.open(path)) {
      std::fprintf(stderr, "make_bench_archives: %s: %s\n", path.c_str(), zip.error().c_str());
      return 1;
    }
    for (int f = 0; f < kFilesPerArchive; ++f) {
      std::string name = "DADOS/A" + std::to_string(a) + "/D" + std::to_string(f % 20) + "/F" +
                         std::to_string(f) + ".DAT";
      size_t size = mean / 2 + r.next() % mean;
      auto method = f % 2 ? qov::ZipWriter::Method::kStored : qov::ZipWriter::Method::kDeflated;
      if (!zip.add_file(name, content(r, size), method)) {
        std::fprintf(stderr, "make_bench_archives: %s\n", zip.error().c_str());
        return 1;
      }
    }
    if (!zip.close())
      return 1;
  }
  return 0;
}
