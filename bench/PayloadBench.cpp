// The payload store against zlib alone: the store's construction on this program's own
// payload resource (the very resource Setup.exe carries) against one raw inflate of the
// same bytes into a buffer allocated beforehand; the store's peak memory against the
// inflated size, counted at every C++ allocation and, as a check, as the growth of the
// peak working set (Wine's peak private-bytes counter does not follow the heap); and the
// sizes of Setup.exe, of Setup.exe without its payload against the NSIS peer without its
// files, and of its payload against zlib -9; its code (the file less its payload and its
// pictures, the bitmap and icon resources) and the larger drawn pictures' own size. With a
// baseline build of Setup.exe, each size beside the same of that build, measured alike.
//   PayloadBench --setup=<Setup.exe> --nsis-empty=<NSIS peer without files> --rounds=N
//                [--baseline=<Setup.exe of another build>]                (Windows paths)
#include <windows.h>

#include <psapi.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "bench/BenchStats.h"
#include "instutils/Handles.h"
#include "payload/AttachFiles.h"
#include "resources/SetupResources.h"

namespace {

// Every C++ allocation is counted, so the store's peak is known to the byte.
std::size_t liveBytes = 0, peakBytes = 0;
constexpr std::size_t kHeader = 16;  // keeps the caller's block aligned

void* CountedAlloc(std::size_t size) {
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (!block) throw std::bad_alloc();
  *reinterpret_cast<std::size_t*>(block) = size;
  liveBytes += size;
  if (liveBytes > peakBytes) peakBytes = liveBytes;
  return block + kHeader;
}

void CountedFree(void* p) {
  if (!p) return;
  unsigned char* block = static_cast<unsigned char*>(p) - kHeader;
  liveBytes -= *reinterpret_cast<std::size_t*>(block);
  std::free(block);
}

struct TResource {
  const std::uint8_t* bytes = nullptr;
  DWORD size = 0;
};

TResource FilesResource(HMODULE module) {
  HRSRC res = FindResourceA(module, SETUP_RESOURCE_NAME(PAYLOAD_FILES), SETUP_RESOURCE_NAME(PAYLOAD_FILES));
  const void* bytes = res ? LockResource(LoadResource(module, res)) : nullptr;
  if (!bytes) bench::Fail("no FILES resource");
  return {static_cast<const std::uint8_t*>(bytes), SizeofResource(module, res)};
}

// The bytes of a module's resources of one type, all of them or those whose name ends
// in a drawn scale ("_150", "_200").
struct TResourceSum {
  bool scaledOnly;
  unsigned long long bytes;
};

BOOL CALLBACK AddResource(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param) {
  auto* sum = reinterpret_cast<TResourceSum*>(param);
  if (sum->scaledOnly) {
    const std::string n = IS_INTRESOURCE(name) ? "" : name;
    if (!n.ends_with("_150") && !n.ends_with("_200")) return TRUE;
  }
  if (HRSRC res = FindResourceA(module, name, type)) sum->bytes += SizeofResource(module, res);
  return TRUE;
}

unsigned long long ResourceBytes(HMODULE module, LPCSTR type, bool scaledOnly) {
  TResourceSum sum{scaledOnly, 0};
  EnumResourceNamesA(module, type, AddResource, reinterpret_cast<LONG_PTR>(&sum));
  return sum.bytes;
}

PROCESS_MEMORY_COUNTERS Counters() {
  PROCESS_MEMORY_COUNTERS c{};
  c.cb = sizeof c;
  GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c);
  return c;
}

double TimeStore() {
  const double start = bench::NowMs();
  auto store = std::make_unique<payload::TAttachedFiles>();
  const double took = bench::NowMs() - start;
  store.reset();  // its clean-up (a sweep of the temporary folder) is not part of the work
  return took;
}

// One inflate call over the whole stream into a buffer that already holds room for it.
double TimeRawInflate(const TResource& packed, std::vector<std::uint8_t>& out) {
  const double start = bench::NowMs();
  z_stream stream{};
  stream.next_in = const_cast<Bytef*>(packed.bytes);
  stream.avail_in = packed.size;
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  if (inflateInit(&stream) != Z_OK) bench::Fail("inflateInit");
  const int result = inflate(&stream, Z_FINISH);
  inflateEnd(&stream);
  const double took = bench::NowMs() - start;
  if (result != Z_STREAM_END || stream.total_out != out.size()) bench::Fail("raw inflate");
  return took;
}

std::string Kb(double bytes) { return bench::Format("%.0f KB", bytes / 1024); }

}  // namespace

void* operator new(std::size_t size) { return CountedAlloc(size); }
void* operator new[](std::size_t size) { return CountedAlloc(size); }
void operator delete(void* p) noexcept { CountedFree(p); }
void operator delete[](void* p) noexcept { CountedFree(p); }
void operator delete(void* p, std::size_t) noexcept { CountedFree(p); }
void operator delete[](void* p, std::size_t) noexcept { CountedFree(p); }

int main(int argc, char** argv) {
  std::string setupExe, nsisEmptyExe, baselineExe;
  int rounds = 21;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--setup=", 0) == 0) setupExe = arg.substr(8);
    if (arg.rfind("--nsis-empty=", 0) == 0) nsisEmptyExe = arg.substr(13);
    if (arg.rfind("--rounds=", 0) == 0) rounds = std::atoi(arg.c_str() + 9);
    if (arg.rfind("--baseline=", 0) == 0) baselineExe = arg.substr(11);
  }
  if (setupExe.empty() || nsisEmptyExe.empty() || rounds < 1)
    bench::Fail("usage: PayloadBench --setup=PATH --nsis-empty=PATH [--rounds=N]");

  return bench::Main([&] {
    // Memory first, while the process is still fresh: the store's first construction.
    const PROCESS_MEMORY_COUNTERS before = Counters();
    const std::size_t liveBefore = liveBytes;
    peakBytes = liveBytes;
    std::size_t inflated = 0;
    {
      payload::TAttachedFiles store;
      inflated = static_cast<std::size_t>(store.DataSize());
    }
    const std::size_t storePeak = peakBytes - liveBefore;
    const PROCESS_MEMORY_COUNTERS after = Counters();

    const TResource own = FilesResource(GetModuleHandleA(nullptr));
    std::vector<std::uint8_t> out(inflated, 1);  // allocated and touched before any timing
    TimeStore();                                 // one of each untimed: warm caches alike
    TimeRawInflate(own, out);
    bench::TPairs pairs;
    for (int round = 0; round < rounds; ++round) {
      // Alternate which side goes first, so neither always finds the other's leftovers.
      if (round % 2) {
        const double raw = TimeRawInflate(own, out);
        pairs.Add(TimeStore(), raw);
      } else {
        const double store = TimeStore();
        pairs.Add(store, TimeRawInflate(own, out));
      }
    }

    // Sizes, from Setup.exe itself (and the baseline build, measured alike): its file, its
    // FILES resource, its pictures (the bitmap and icon resources, the packed larger sizes).
    const auto fileSize = [](const std::string& path) -> unsigned long long {
      WIN32_FILE_ATTRIBUTE_DATA file;
      if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &file))
        bench::Fail("cannot read " + path);
      return file.nFileSizeLow;
    };
    const auto load = [](const std::string& exe) {
      inst::UniqueLibrary m(LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
      if (!m) bench::Fail("cannot load " + exe);
      return m;
    };
    struct TSizes {
      unsigned long long file, payload, pictures, scaledPictures;
    };
    const auto sizesOf = [&](const std::string& exe, HMODULE m) {
      // The larger drawn sizes are bitmaps, or data resources that hold them packed.
      const unsigned long long scaled = ResourceBytes(m, RT_BITMAP, true) + ResourceBytes(m, RT_RCDATA, true);
      return TSizes{fileSize(exe), FilesResource(m).size,
                    ResourceBytes(m, RT_BITMAP, false) + ResourceBytes(m, RT_ICON, false) +
                        ResourceBytes(m, RT_RCDATA, true),
                    scaled};
    };
    const inst::UniqueLibrary setup = load(setupExe);
    const TResource shipped = FilesResource(setup.get());
    if (shipped.size != own.size || std::memcmp(shipped.bytes, own.bytes, own.size) != 0)
      bench::Fail("Setup.exe carries another payload than this program");
    const TSizes ours = sizesOf(setupExe, setup.get());
    const unsigned long long nsisSize = fileSize(nsisEmptyExe);
    uLongf best = compressBound(static_cast<uLong>(inflated));
    std::vector<std::uint8_t> packed9(best);
    if (compress2(packed9.data(), &best, out.data(), static_cast<uLong>(inflated), 9) != Z_OK)
      bench::Fail("compress2");

    // A size row of ours, with the baseline build's figure beside it when there is one.
    const TSizes base =
        baselineExe.empty() ? TSizes{} : sizesOf(baselineExe, load(baselineExe).get());
    const auto sizeRow = [&](const std::string& what, unsigned long long measured,
                             unsigned long long baseline, const std::string& against = "",
                             const std::string& ratio = "") {
      if (baselineExe.empty()) return bench::Row(what, bench::Bytes(measured), against, ratio);
      bench::Row(what, bench::Bytes(measured), against, ratio, bench::Bytes(baseline),
                 baseline ? bench::Format("%.3f", static_cast<double>(measured) / baseline)
                          : bench::kNotMeasured);
    };

    bench::TimeRow("Payload: store construction / one raw zlib inflate", pairs);
    bench::Row("Payload: store's peak heap / inflated size", Kb(static_cast<double>(storePeak)),
               Kb(static_cast<double>(inflated)),
               bench::Format("%.2f", static_cast<double>(storePeak) / inflated));
    bench::Row("Payload: peak working set (OS) / inflated size",
               Kb(static_cast<double>(after.PeakWorkingSetSize - before.PeakWorkingSetSize)),
               Kb(static_cast<double>(inflated)),
               bench::Format("%.2f", static_cast<double>(after.PeakWorkingSetSize -
                                                         before.PeakWorkingSetSize) /
                                         inflated));
    sizeRow("Size: Setup.exe", ours.file, base.file);
    sizeRow("Size: Setup.exe without its payload / NSIS installer without the six files",
            ours.file - ours.payload, base.file - base.payload, bench::Bytes(nsisSize),
            bench::Format("%.2f", static_cast<double>(ours.file - ours.payload) / nsisSize));
    sizeRow("Size: payload as shipped / zlib -9 of the same inflated bytes", own.size, base.payload,
            bench::Bytes(best), bench::Format("%.4f", static_cast<double>(own.size) / best));
    sizeRow("Size: the larger drawn pictures (150 and 200 percent, as stored)", ours.scaledPictures,
            base.scaledPictures);
    sizeRow("Size: Setup.exe less payload and pictures", ours.file - ours.payload - ours.pictures,
            base.file - base.payload - base.pictures);
  });
}
