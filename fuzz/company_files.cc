// The record readers behind qxcheck and qxdump on arbitrary file contents.
// The input is a list of files, each {u8 name, u16 length, bytes}, written
// into a company folder of the process's own; the whole folder is checked
// and every file dumped, in process.
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/falhas.h"
#include "fuzz_folder.h"
#include "qxdump/dump.h"
#include "storage/check/check_folder.h"

namespace {

constexpr std::array<const char*, 16> kNames = {
    "CNLC0324.DAT", "CNLG0324.DAT", "CNLQ0324.DAT", "CNLM0324.DAT", "CNLH0324.DAT", "CNDIFDC.DAT",
    "QXCTLARQ.DAT", "CNFORIMP.DAT", "CNFORIMP.TMP", "CNNTEXPL.DAT", "CNNTEXCP.DAT", "CNLC0224.DAT",
    "CNLG0224.DAT", "cnlc0324.dat", "CNLC0000.DAT", "CNLH0000.DAT",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string folder = qx::fuzz::FuzzFolder() + "/CN";
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  std::filesystem::create_directory(folder, ignored);

  qx::check::DifferenceOptions options;
  options.modo = static_cast<uint16_t>(data[0] % 5);
  options.porFilial = (data[0] & 0x80) != 0;
  std::vector<std::string> written;
  for (size_t at = 1; size - at >= 3;) {
    const char* name = kNames[data[at] % kNames.size()];
    const size_t length = std::min<size_t>(data[at + 1] | data[at + 2] << 8, size - at - 3);
    std::ofstream(folder + "/" + name, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data + at + 3), static_cast<std::streamsize>(length));
    written.push_back(name);
    at += 3 + length;
  }

  qx::check::Report report;
  std::string error;
  if (!qx::check::CheckFolder(folder, options, &report, &error)) __builtin_trap();
  for (size_t i = 0; i < written.size(); ++i) {
    qx::dump::Options dump;
    dump.form = static_cast<qx::dump::Form>(i % 3);
    std::ostringstream out;
    // A damaged or unreadable file ends its dump with the tool's own failure.
    try {
      qx::dump::DumpFile(folder + "/" + written[i], dump, out);
    } catch (const qx::cli::FalhaLocal&) {
    } catch (const qx::cli::ErroUso&) {
    }
  }
  return 0;
}
