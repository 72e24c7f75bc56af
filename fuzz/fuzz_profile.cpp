// Fuzzes the profile service: arbitrary file bytes, then a few writes (set a
// value, delete a key, delete a section) with arbitrary names and values,
// some of them meeting a failing disk. After each write:
// - a refused write (or one that met the failing disk) left the file byte for byte;
// - a written value reads back unchanged, through the API and from the disk;
// - every line the write did not replace is still there, in order, byte for
//   byte (the file's last line may gain a line ending when a line follows it);
// - a deleted key reads as missing.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_files.h"
#include "platform/profile/atomic_file.h"
#include "platform/profile/ini_document.h"
#include "platform/profile/profile.h"

namespace {

enum class Op { Set, DeleteKey, DeleteSection };

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t nl = text.find('\n', start);
    const std::size_t end = nl == std::string::npos ? text.size() : nl + 1;
    lines.push_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}

bool same_line(const std::string& before, const std::string& after, bool last) {
  if (before == after) return true;
  // Only an unterminated last line may change, and only by gaining its ending.
  return last && before.back() != '\n' && after.size() > before.size() && after.compare(0, before.size(), before) == 0 &&
         (after.substr(before.size()) == "\n" || after.substr(before.size()) == "\r\n");
}

// `after` is `before` with at most `may_replace` of its lines replaced and any
// lines inserted in one place: the lines before that place and the lines after
// it are unchanged.
bool keeps_foreign_lines(const std::string& before, const std::string& after, std::size_t may_replace) {
  const std::vector<std::string> old_lines = lines_of(before);
  const std::vector<std::string> new_lines = lines_of(after);
  std::size_t head = 0;
  while (head < old_lines.size() && head < new_lines.size() &&
         same_line(old_lines[head], new_lines[head], head + 1 == old_lines.size()))
    ++head;
  std::size_t tail = 0;
  while (tail < old_lines.size() - head && tail < new_lines.size() - head &&
         old_lines[old_lines.size() - 1 - tail] == new_lines[new_lines.size() - 1 - tail])
    ++tail;
  return old_lines.size() - head - tail <= may_replace;
}

void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = fuzzfiles::scratch_folder() + "/fuzz.ini";
  FuzzedDataProvider in(data, size);
  // Through the API, so its cached copy of the last input goes with the file.
  OFSTRUCT of{};
  OpenFile(path.c_str(), &of, OF_DELETE);
  fuzzfiles::write_file(path, in.ConsumeRandomLengthString(4096));

  for (int step = 0; step < 4 && in.remaining_bytes() > 0; ++step) {
    const Op op = in.PickValueInArray({Op::Set, Op::Set, Op::DeleteKey, Op::DeleteSection});
    const int failing_step = in.ConsumeIntegralInRange(-1, 2);  // a WriteStep, or -1: the disk works
    const std::string section = in.ConsumeRandomLengthString(64);
    const std::string key = in.ConsumeRandomLengthString(64);
    const std::string value = in.ConsumeRandomLengthString(128);

    char buf[512];
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buf, sizeof buf, path.c_str());
    GetPrivateProfileIntA(section.c_str(), key.c_str(), 7, path.c_str());

    std::string before, after;
    fuzzfiles::read_file(path, &before);
    if (failing_step >= 0) {
      profile::set_write_fault_for_testing(
          [failing_step](profile::WriteStep s) { return static_cast<int>(s) != failing_step; });
    }
    const BOOL ok = WritePrivateProfileStringA(section.c_str(), op == Op::DeleteSection ? nullptr : key.c_str(),
                                               op == Op::Set ? value.c_str() : nullptr, path.c_str());
    profile::set_write_fault_for_testing(nullptr);
    fuzzfiles::read_file(path, &after);

    if (!ok || failing_step >= 0) {
      check(after == before, "a refused or failed write changed the file");
      continue;
    }
    // Section and key as the API sees them: without their blanks, cut at a NUL.
    const std::string s(profile::trim_blanks(section.c_str()));
    const std::string k(profile::trim_blanks(key.c_str()));
    const std::string v = value.c_str();
    if (op == Op::Set) {
      check(keeps_foreign_lines(before, after, 1), "a write lost or changed a line it did not own");
      std::string read(v.size() + 2, '\0');
      const DWORD n = GetPrivateProfileStringA(s.c_str(), k.c_str(), "\x01", read.data(),
                                               static_cast<DWORD>(read.size()), path.c_str());
      check(read.substr(0, n) == v, "a written value read back changed");
      const profile::IniDocument disk = profile::IniDocument::parse(after);
      const auto on_disk = disk.get(s, k);
      check(on_disk && *on_disk == v, "a written value reads back changed from the disk");
    } else if (op == Op::DeleteKey) {
      char read[8];
      GetPrivateProfileStringA(s.c_str(), k.c_str(), "\x01", read, sizeof read, path.c_str());
      check(std::string(read) == "\x01", "a deleted key still reads");
    }
  }
  return 0;
}
